import QtQuick
import "../../modules/qml/theme"

// The DPI panel and the lift-off box, driven with the real mouse; what they
// send is read back from the virtual mouse, what they store from the files.
StrydeTestCase {
    id: test
    name: "DpiAndLiftOff"

    function cleanup() {
        stopMain()
    }

    function knob(index) {
        return findChild(item("dpiSlider" + index), "knob")
    }
    function label(index) {
        return item("dpiLabel" + index).text
    }

    function test_knob_ends_show_the_sensor_range_data() {
        return [
            { tag: "3360, 553", family: 553, min: 200, max: 6000, base: 50, top: "6000" },
            { tag: "wide range, 560", family: 560, min: 100, max: 16010, base: 100, top: "16000" },
            { tag: "odd step", family: 553, min: 500, max: 7300, base: 250, top: "7250" }
        ]
    }
    function test_knob_ends_show_the_sensor_range(data) {
        startMain({ family: data.family, files: { "modules/setting/apConfig.bin": {
            "mouse/minDPI": data.min, "mouse/maxDPI": data.max, "mouse/dpiBase": data.base } } })
        var slider = item("dpiSlider1")
        verify(!root.hasUnsaved)
        dragBy(knob(1), 6, 6, 0, 400)            // down: the low end
        compare(slider.value, 3)
        compare(label(1), String(data.min))
        verify(item("dpiSettingMain").isSave)
        compare(item("saveButton").color, Qt.color("#ff3030"))
        dragBy(knob(1), 6, 6, 0, -400)           // up: the high end
        compare(slider.value, 161)
        compare(label(1), data.top)
    }

    function test_stored_values_come_back_on_the_knobs() {
        startMain({ files: { "modules/setting/p1.bin": {
            "mouse/dpiValueArray": [200, 850, 1600, 3200, 4450, 5000, 5950, 6000] } } })
        var shown = []
        for (var i = 0; i < 8; ++i)
            shown[i] = label(i)
        compare(shown, ["200", "850", "1600", "3200", "4450", "5000", "5950", "6000"])
        verify(!root.hasUnsaved, "start-up leaves nothing unsaved")
    }

    function test_stage_count_drop_down() {
        startMain({ files: { "modules/setting/p1.bin": { "mouse/dpiCount": 4, "mouse/currentDpiCount": 3 } } })
        var dpi = item("dpiSettingMain")
        var segment = item("dpiSegment")
        compare(segment.count, 4, "entries beyond dpiCount are removed")
        compare(segment.textValue, "3")
        verify(item("dpiStage2").visible && !item("dpiStage3").visible)
        click(segment)
        waitDropArea(segment, 4 * 24)
        mouseClick(segment, 20, 24 + 1 * 24 + 12)       // "2"
        tryCompare(dpi, "currentDpiCount", 2)
        verify(dpi.isSave)
        verify(item("dpiStage1").visible && !item("dpiStage2").visible)
    }

    function test_save_sends_the_table_and_stores_it_data() {
        return [ { tag: "553", family: 553 }, { tag: "560", family: 560 } ]
    }
    function test_save_sends_the_table_and_stores_it(data) {
        startMain({ family: data.family })
        // The stored table, sent once as it is.
        item("dpiSettingMain").isSave = true
        click(item("saveButton"))
        var before = rig.mouseState()
        dragBy(knob(0), 6, 6, 0, -400)
        compare(label(0), "6000")
        var mark = rig.traceMark()
        click(item("saveButton"))
        verify(!root.hasUnsaved)
        compare(item("saveButton").faceColor, Theme.colorBlue)
        verify(ui_View.enabled, "unlocked again")
        verify(rig.commands(mark).length > 0)
        var stored = rig.readSetting("modules/setting/p1.bin", "mouse/dpiValueArray")
        compare(stored, ["6000", "1000", "1500", "2000", "3000", "4000", "5000", "6000"])
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/currentDpiCount"), "4")
        var after = rig.mouseState()
        if (data.family === 553) {
            verify(after.dpiCodes.slice(0, 2) !== before.dpiCodes.slice(0, 2), "stage 1's new code reached the mouse")
            compare(after.dpiCodes.slice(2, 8), before.dpiCodes.slice(2, 8), "the other stages kept theirs")
            compare(after.dpiStageCount, 4)
        } else {
            verify(JSON.stringify(after.profileBlocks) !== JSON.stringify(before.profileBlocks),
                   "the profile blocks reached the mouse")
        }
    }

    function test_reset_icon_restores_the_profile_defaults() {
        startMain({ files: { "modules/setting/p1.bin": {
            "mouse/dpiValueArray": [400, 800, 1200, 1600, 2000, 2400, 2800, 3200] } } })
        compare(label(0), "400")
        var mark = rig.traceMark()
        var dpi = item("dpiSettingMain")
        mouseClick(dpi, dpi.width - 18, 16)
        compare(label(0), "500", "the defaults of pD.bin")
        compare(label(7), "6000")
        verify(dpi.isSave)
        compare(rig.commands(mark), [], "nothing is sent before Save")
    }

    function test_lift_off_ends_data() {
        return [
            { tag: "low end", dx: -400, label: "0.5mm", rate: "79", position: 3 },
            { tag: "high end", dx: 400, label: "2mm", rate: "63", position: 89 }
        ]
    }
    function test_lift_off_ends(data) {
        startMain()
        var lod = item("reportRateLV")
        click(lod)
        waitDropArea(lod, 24)
        dragBy(findChild(lod.sliderControl, "knob"), 6, 6, data.dx, 0)
        compare(lod.sliderControl.value, data.position)
        compare(lod.textValue, data.label)
        verify(item("lodMain").isSave)
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/reportRate"), String(data.position))
        var mark = rig.traceMark()
        click(item("saveButton"))
        var sent = rig.writes(mark)
        compare(sent.length, 1)
        verify(sent[0].startsWith("07 00 " + data.rate), "lift-off " + data.rate + " enabled: " + sent[0])
        verify(!item("lodMain").isSave)
    }

    function test_lift_off_enable_box() {
        startMain()
        var enable = item("lodEnable")
        verify(enable.isSelect)
        click(enable)
        verify(!enable.isSelect)
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/reportRateEn"), "false")
        verify(item("lodMain").isSave)
        var mark = rig.traceMark()
        click(item("saveButton"))
        compare(rig.writes(mark).length, 1)
        verify(String(rig.writes(mark)[0]).startsWith("07 00 00 7d"), "disabled lift-off is sent as 0, 0: " + rig.writes(mark))
    }
}
