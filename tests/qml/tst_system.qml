import QtQuick
import QtTest

// The system settings dialog: each change is stored in the profile and
// applied to the system's pointer settings at once.
StrydeTestCase {
    id: test
    name: "SystemSettings"

    function cleanup() {
        stopMain()
    }

    // The pointer settings applied so far, as text (readable when a test fails).
    function applied() {
        return JSON.stringify(rig.pointerCalls())
    }
    function expected(calls) {
        return JSON.stringify(calls)
    }

    function openDialog() {
        click(item("systemSettingButton"))
        var dialog = item("systemSettingMain")
        verify(dialog.visible)
        return dialog
    }

    function test_stored_values_are_shown() {
        startMain({ files: { "modules/setting/p1.bin": { "mouse/mouseRate": 120, "mouse/doubleRate": 300,
                                                         "mouse/scrollRate": 7 } } })
        openDialog()
        compare(item("mouseSpeedSlider").value, 120)
        compare(item("doubleSpeedSlider").value, 300)
        verify(item("rowsRadio").isSelect && !item("screenRadio").isSelect)
        compare(item("rowsField").textValue, "7")
        compare(applied(), expected([]), "start-up applies nothing")
    }

    function test_mouse_speed_levels_data() {
        return [
            { tag: "36 is level 1", position: 36, speed: 2 },
            { tag: "37 is level 2", position: 37, speed: 4 },
            { tag: "left end is level 0", position: 3, speed: 1 },
            { tag: "right end is level 10", position: 337, speed: 20 }
        ]
    }
    function test_mouse_speed_levels(data) {
        startMain()
        openDialog()
        var slider = item("mouseSpeedSlider")
        // A click on the track puts the knob's centre under the pointer.
        mouseClick(slider, Math.min(data.position + 6, slider.width - 1), 6)
        tryCompare(slider, "xPosition", data.position)
        compare(applied(), expected([{ setting: "speed", value: data.speed }]))
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/mouseRate"), String(data.position))
    }

    function test_double_click_speed_is_applied_on_release() {
        startMain()
        openDialog()
        var slider = item("doubleSpeedSlider")
        dragBy(findChild(slider, "knob"), 6, 6, -400, 0)
        compare(slider.xPosition, 3)
        compare(applied(), expected([{ setting: "doubleClick", value: 900 }]))
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/doubleRate"), "3")
    }

    function test_scroll_one_screen_stores_and_sends_1000() {
        startMain()
        openDialog()
        click(item("screenRadio"))
        verify(!item("rowsRadio").isSelect)
        compare(applied(), expected([{ setting: "scrollLines", value: 1000 }]))
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/scrollRate"), "1000")
        click(item("rowsRadio"))
        verify(!item("screenRadio").isSelect)
        compare(JSON.stringify(rig.pointerCalls()[1]), expected({ setting: "scrollLines", value: 3 }))
    }

    function test_rows_field_data() {
        return [
            { tag: "a number", keys: [Qt.Key_4, Qt.Key_2], text: "42", lines: 42 },
            { tag: "empty", keys: [Qt.Key_Backspace], text: "1", lines: 1 },
            { tag: "zero", keys: [Qt.Key_0], text: "1", lines: 1 },
            { tag: "beyond 100", keys: [Qt.Key_1, Qt.Key_0, Qt.Key_0, Qt.Key_0], text: "100", lines: 100 }
        ]
    }
    function test_rows_field(data) {
        startMain()
        openDialog()
        var field = item("rowsField")
        click(field)
        field.txtInput.selectAll()
        for (var k of data.keys)
            keyClick(k)
        keyClick(Qt.Key_Return)
        compare(field.textValue, data.text)
        compare(applied(), expected([{ setting: "scrollLines", value: data.lines }]))
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/scrollRate"), String(data.lines))
    }

    function test_reset_icon_applies_the_defaults_at_once() {
        startMain({ files: { "modules/setting/p1.bin": { "mouse/mouseRate": 3, "mouse/doubleRate": 3,
                                                         "mouse/scrollRate": 1000 } } })
        var dialog = openDialog()
        verify(item("screenRadio").isSelect)
        // The reset icon sits left of the close icon in the title bar.
        mouseClick(dialog, dialog.width - 16 - 16 - 16 - 8, 20)
        compare(item("mouseSpeedSlider").value, 170)
        verify(item("rowsRadio").isSelect)
        compare(applied(), expected([{ setting: "speed", value: 10 }, { setting: "doubleClick", value: 480 },
                                     { setting: "scrollLines", value: 3 }]))
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/scrollRate"), "3")
        // The close icon.
        mouseClick(dialog, dialog.width - 16 - 8, 20)
        verify(!dialog.visible && !item("mainMask").visible)
    }
}
