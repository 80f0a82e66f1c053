import QtQuick
import QtTest

// Pictures of the lighting panel in every effect, for an RGB and a
// single-colour mouse, and of the recoil-preset dialog, in both languages,
// saved to build/screenshots/ to be looked at.
StrydeTestCase {
    id: test
    name: "LightGunScreens"

    readonly property var effectNames: ["static", "breath", "neon", "off", "twinkling", "breath_loop"]

    function cleanup() {
        stopMain()
    }

    function chooseEffect(index) {
        var list = item("lightEffect")
        click(list)
        waitDropArea(list, list.count * 24)
        mouseClick(list, 30, 24 + index * 24 + 12)
        waitDropArea(list, 0)
    }

    function test_lighting_data() {
        return [
            { tag: "rgb_en", language: "English", isColorful: true, is55328: true, kind: "rgb" },
            { tag: "rgb_zh", language: "ChineseSimplified", isColorful: true, is55328: true, kind: "rgb" },
            { tag: "single_en", language: "English", isColorful: false, kind: "single" },
            { tag: "single_zh", language: "ChineseSimplified", isColorful: false, kind: "single" }
        ]
    }
    function test_lighting(data) {
        startMain({ language: data.language, isColorful: data.isColorful, is55328: !!data.is55328 })
        var lang = data.language === "English" ? "en" : "zh"
        var list = item("lightEffect")
        click(list)
        waitDropArea(list, list.count * 24)
        shot("light_" + data.kind + "_list_" + lang)
        list.closeMenu()
        waitDropArea(list, 0)
        for (var i = 0; i < list.count; ++i) {
            chooseEffect(i)
            if (i === 2) {
                // Neon: block 3 selected, its knob moved along the bar.
                click(item("colorBlock2"))
                dragBy(item("colorKnob2"), 6, 6, -40, 0)
                click(item("speedSlider"))
                tryCompare(item("speedSlider"), "value", 3 + 2 * 19.5)
            }
            shot("light_" + data.kind + "_" + effectNames[i] + "_" + lang)
        }
    }

    function test_recoil_data() {
        return [ { tag: "en", language: "English" }, { tag: "zh", language: "ChineseSimplified" } ]
    }
    function test_recoil(data) {
        startMain({ language: data.language, isColorful: true })
        var entry = item("gunEditorEntry")
        entry.visible = true
        click(entry)
        entry.visible = false
        shot("recoil_" + data.tag)

        // Slot 2 holding UNP9, pulled down further and firing 12 times.
        var slot = item("gunSlot")
        click(slot)
        waitDropArea(slot, 3 * 24)
        shot("recoil_slots_open_" + data.tag)
        mouseClick(slot, 30, 24 + 24 + 12)
        waitDropArea(slot, 0)
        click(item("gunRow4"))
        dragBy(item("gunDot"), 4, 4, 0, 50)
        var times = item("gunTimes")
        mouseClick(times, times.width / 2, times.height / 2)
        keyClick(Qt.Key_A, Qt.ControlModifier)
        keyClick("1")
        keyClick("2")
        keyClick(Qt.Key_Return)
        var rate = item("gunRate")
        click(rate)
        waitDropArea(rate, 24)
        shot("recoil_edited_" + data.tag, Qt.point(600, 600))
    }
}
