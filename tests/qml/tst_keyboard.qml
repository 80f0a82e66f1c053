import QtQuick
import QtTest

// The interface driven from the keyboard: Tab order, the focus frame, dialogs
// that keep the focus, and the keys of the shared controls.
StrydeTestCase {
    id: test
    name: "Keyboard"

    function cleanup() { stopMain() }

    function spy(target, signalName) {
        return createTemporaryObject(spyComponent, test, { target: target, signalName: signalName })
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    function focused() {
        return root.Window.activeFocusItem
    }

    function ringOf(control) {
        for (var i = 0; i < control.children.length; ++i) {
            var c = control.children[i]
            if (c.isFocusRing === true)
                return c
        }
        return null
    }

    // The window's focus frame is drawn for `ring`.
    function framed(ring) {
        var frame = item("focusFrame")
        return frame.visible && frame.ring === ring && frame.parent === ring.parent
    }

    function inside(outer, item) {
        for (var p = item; p; p = p.parent) {
            if (p === outer)
                return true
        }
        return false
    }

    // Tab round the whole window: every stop once, in reading order, each
    // with its frame, and no frame before the first Tab.
    function test_tab_walks_the_window_in_reading_order() {
        startMain()
        var save = item("saveButton")
        verify(!framed(ringOf(save)))
        verify(!focused() || !focused().activeFocusOnTab, "nothing has the keyboard focus at start")

        var names = []
        var first = null
        for (var i = 0; i < 200; ++i) {
            keyClick(Qt.Key_Tab)
            var f = focused()
            verify(f && f.activeFocusOnTab, "Tab gives a control the focus")
            if (f === first)
                break
            if (first === null)
                first = f
            var ring = ringOf(f) || (f.parent ? ringOf(f.parent) : null)
            verify(ring && framed(ring), "a frame around " + f.objectName)
            names.push(f.objectName)
        }
        verify(names.length > 40, "Tab stops: " + names.join(" "))
        function at(name) {
            var k = names.indexOf(name)
            verify(k >= 0, name + " is a Tab stop: " + names.join(" "))
            return k
        }
        var order = ["keyRow0", "keyRow7", "macroEditorEntry", "reportRateLV", "lodEnable",
                     "systemSettingButton", "mouseTag0", "mouseTag7", "dpiSegment", "dpiSlider0", "dpiSlider3",
                     "lightEffect", "colorBar", "configButton", "resetButton", "saveButton", "profileList",
                     "closeIcon"]
        for (var k = 1; k < order.length; ++k)
            verify(at(order[k - 1]) < at(order[k]), order[k - 1] + " before " + order[k])

        // Shift+Tab goes back the same way.
        keyClick(Qt.Key_Backtab)
        compare(focused().objectName, names[names.length - 1])
        shot("keyboard_focus_last")
    }

    function test_an_open_dialog_keeps_the_focus_and_escape_closes_it() {
        startMain()
        var button = item("systemSettingButton")
        button.forceActiveFocus(Qt.TabFocusReason)
        keyClick(Qt.Key_Return)
        var dialog = item("systemSettingMain")
        tryCompare(dialog, "visible", true)
        verify(dialog.activeFocus, "the dialog takes the focus as it opens")
        var seen = {}
        for (var i = 0; i < 12; ++i) {
            keyClick(Qt.Key_Tab)
            verify(inside(dialog, focused()), "Tab stays in the dialog, not on " + focused())
            seen[focused().objectName || String(focused())] = true
        }
        for (i = 0; i < 12; ++i) {
            keyClick(Qt.Key_Backtab)
            verify(inside(dialog, focused()), "Shift+Tab stays in the dialog")
        }
        verify(Object.keys(seen).length >= 6, "the dialog's controls: " + Object.keys(seen).join(" "))
        shot("keyboard_focus_dialog")
        keyClick(Qt.Key_Escape)
        tryCompare(dialog, "visible", false)
        compare(item("mainMask").visible, false)
        verify(button.activeFocus, "the focus goes back to the button that opened it")
    }

    function test_arrow_keys_move_sliders() {
        startMain()
        var data = [
            { qml: "SliderButton { width: 104 }", keys: [Qt.Key_Right, Qt.Key_Right, Qt.Key_Up], values: [4, 5, 6] },
            { qml: "SliderButton { width: 104; keyStep: 10 }", keys: [Qt.Key_Right, Qt.Key_Left, Qt.Key_Left],
              values: [13, 3, 3] },
            { qml: "SliderButton { width: 104; isScale: true; segment: 4 }",
              keys: [Qt.Key_Right, Qt.Key_Right, Qt.Key_Down, Qt.Key_End, Qt.Key_Home],
              values: [24.5, 46, 24.5, 89, 3] }
        ]
        for (var d = 0; d < data.length; ++d) {
            var slider = control(data[d].qml)
            slider.setValue(3)
            var delayed = spy(slider, "valueChangeDelay")
            slider.forceActiveFocus(Qt.TabFocusReason)
            for (var k = 0; k < data[d].keys.length; ++k) {
                keyClick(data[d].keys[k])
                compare(slider.value, data[d].values[k], data[d].qml + " key " + k)
            }
            // A key at an end sends nothing; every move is reported as finished.
            verify(delayed.count >= 1 && delayed.count <= data[d].keys.length)
            compare(delayed.signalArguments[delayed.count - 1][0], Math.floor(slider.value))
            slider.destroy()
        }
    }

    function test_drop_down_keys() {
        startMain()
        var box = control("Item { property bool escaped: false; Keys.onEscapePressed: escaped = true;"
                          + " DropDownList { objectName: 'list'; currentSelect: 0; mdItems: ListModel {"
                          + " ListElement { textValue: 'one' } ListElement { textValue: 'two' }"
                          + " ListElement { textValue: 'three' } } } }")
        var list = findChild(box, "list")
        var chosen = spy(list, "valueChange")
        var clicks = spy(list, "btnClick")
        list.forceActiveFocus(Qt.TabFocusReason)

        keyClick(Qt.Key_Down)                      // opens
        verify(list.isDrop)
        compare(clicks.count, 1)
        waitDropArea(list, 72)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)                      // stays on the last row
        compare(list.keyRow, 2)
        keyClick(Qt.Key_Return)
        tryCompare(chosen, "count", 1)
        compare(chosen.signalArguments[0][0], 2)
        compare(list.textValue, "three")

        keyClick(Qt.Key_Space)                     // opens again
        waitDropArea(list, 72)
        keyClick(Qt.Key_Up)
        keyClick(Qt.Key_Escape)                    // closes, chooses nothing
        verify(!list.isDrop)
        compare(box.escaped, false)
        waitDropArea(list, 0)
        compare(chosen.count, 1)
        compare(list.currentSelect, 2)
        keyClick(Qt.Key_Escape)                    // a closed list leaves Escape to its dialog
        compare(box.escaped, true)
    }

    function test_space_presses_buttons_and_boxes() {
        startMain()
        var check = control("CheckBox { textValue: 'Enable' }")
        var seen = []
        check.btnClick.connect(function() { seen.push(check.isSelect) })
        check.forceActiveFocus(Qt.TabFocusReason)
        keyClick(Qt.Key_Space)
        keyClick(Qt.Key_Return)
        compare(seen, [false, true], "the handler sees the state before the key")
        compare(check.isSelect, false)

        var radio = control("RadioButton { textValue: 'One'; index: 3 }")
        var radioClicks = spy(radio, "btnClick")
        radio.forceActiveFocus(Qt.TabFocusReason)
        keyClick(Qt.Key_Space)
        verify(radio.isSelect)
        compare(radioClicks.signalArguments[0][0], 3)

        var button = control("TextButton { text: 'Go' }")
        var pressed = spy(button, "clicked")
        button.forceActiveFocus(Qt.TabFocusReason)
        keyClick(Qt.Key_Enter)
        keyClick(Qt.Key_Space)
        compare(pressed.count, 2)
    }

    // A capture started from the keyboard: keys reach the capture (through the
    // hooks), not the focus; the release of the key that started it is not
    // taken; the focus comes back when the capture ends.
    function test_keys_go_to_a_capture_not_to_the_focus() {
        startMain()
        item("keyRow3").forceActiveFocus(Qt.TabFocusReason)
        keyClick(Qt.Key_Return)
        var dialog = item("keyAssigmentMain")
        tryCompare(dialog, "visible", true)
        var field = item("fireField")
        field.forceActiveFocus(Qt.TabFocusReason)
        root.detectKeyboard(true, 0x28)            // the hooks see Enter go down ...
        keyClick(Qt.Key_Return)                    // ... and the field starts the capture as it comes up
        verify(dialog.isFireInput)
        root.detectKeyboard(false, 0x28)           // Enter's release, late from the hooks: not the fire key
        verify(dialog.isFireInput)
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Space)
        verify(dialog.isFireInput, "Tab and Space went to the capture")
        verify(!field.activeFocus)
        root.detectKeyboard(true, 0x07)
        verify(!dialog.isFireInput)
        compare(dialog.keyCode1, 0x07)
        verify(field.activeFocus, "the focus is back on the field")
        shot("keyboard_focus_fire_field")

        // A control below the dialog's visible part scrolls into view as it takes the focus.
        var body = item("keyAssigmentBody")
        compare(body.contentY, 0)
        var drop = item("macroDrop")
        drop.forceActiveFocus(Qt.TabFocusReason)
        var at = drop.mapToItem(body, 0, 0).y
        verify(body.contentY > 0 && at >= 0 && at + drop.height <= body.height, "scrolled to the macro drop-down")
        keyClick(Qt.Key_Escape)
        tryCompare(dialog, "visible", false)
    }
}
