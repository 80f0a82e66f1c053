import QtQuick
import QtTest
import "../../modules/qml/theme"

// The key matrix panel, the mouse picture and the key-assignment dialog,
// driven with the real mouse and the routed key events; what they send is
// read back from the virtual mouse, what they store from the profile file.
StrydeTestCase {
    id: test
    name: "KeyAssignment"

    function cleanup() {
        stopMain()
    }

    function dialog() {
        return item("keyAssigmentMain")
    }
    function openRow(slot) {
        click(item("keyRow" + slot))
        verify(dialog().visible, "the dialog opens for slot " + slot)
    }
    // The close icon acts on the press; the release reaches the window the
    // closed dialog has left.
    function closeDialog() {
        var at = dialog().mapToItem(root, dialog().width - 24, 20)
        mousePress(root, at.x, at.y)
        mouseRelease(root, at.x, at.y)
        verify(!dialog().visible)
    }
    function reveal(target) {
        dialog().ensureVisible(target, 0)
    }
    function choose(name) {
        var target = item(name)
        reveal(target)
        click(target)
    }
    // Opens a grid of the dialog and clicks its entry `index`.
    function chooseInGrid(gridName, index) {
        var grid = item(gridName)
        reveal(grid)
        tryVerify(function() { return grid.rows > 0 }, 2000, "the grid has its entries")
        click(grid)
        waitDropArea(grid, grid.rows * 24 + 2)
        var cell = (grid.width * 3 - 2) / 3
        mouseClick(grid, grid.horizontalOffset + 1 + (index % 3 + 0.5) * cell,
                   grid.height + 1 + (Math.floor(index / 3) + 0.5) * 24)
        waitDropArea(grid, 0)
    }
    function entry(slot) {
        var e = item("keyMatrixMain").modKeys.get(slot)
        return [e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3]
    }
    // Slot `slot` of key matrix 1 as the virtual mouse keeps it.
    function sentEntry(slot) {
        var hex = String(rig.mouseState().keyMatrices[0])
        return hex.substr(slot * 8, 8)
    }
    function stored(slot) {
        return rig.readSetting("modules/setting/p1.bin", "mouseKeyMatrix/" + slot).map(function(v) { return parseInt(v) })
    }
    function save() {
        var mark = rig.traceMark()
        click(item("saveButton"))
        verify(!root.hasUnsaved)
        return mark
    }

    function test_the_only_left_button_cannot_be_reassigned() {
        startMain()
        var mouse = item("mouseMain")
        click(item("keyRow0"))
        verify(!dialog().visible, "a row click on the only left button")
        click(item("mouseTag0"))
        verify(!dialog().visible, "a tag click on the only left button")
        compare(mouse.selectKey, -1)
        click(item("mouseButton0"))
        verify(!dialog().visible, "a click on the button in the picture")

        // Slot 1 becomes a left button: now both can be opened.
        openRow(1)
        choose("mouseOption0")
        closeDialog()
        compare(entry(1), [0, 0, 0xF0, 0])
        compare(item("keyRowText1").text, "Left Key")
        click(item("mouseTag0"))
        verify(dialog().visible)
        compare(mouse.selectKey, 0)
        compare(dialog().title, "Key 1 : Left Key")
        closeDialog()
        compare(mouse.selectKey, -1)
        openRow(1)
        closeDialog()
    }

    function test_the_pointer_under_the_mask_does_not_change_the_slot() {
        startMain()
        openRow(2)
        choose("dpiOption1")
        for (var slot of [5, 6])
            mouseMove(root, 100, 140 + 26 * slot)            // the rows beside the dialog
        mouseMove(root, 296, 160)                            // a tag of the mouse picture
        compare(item("mouseMain").selectKey, 2)
        compare(item("mouseMain").hoverKey, -1)
        closeDialog()
        compare(entry(2), [5, 0, 2, 0])
        compare(entry(5), [5, 0, 1, 0])
    }

    function test_closing_without_a_change_leaves_save_alone() {
        startMain()
        var mark = rig.traceMark()
        openRow(4)
        choose("mouseOption2")          // another option, then back
        choose("mouseOption4")
        closeDialog()
        verify(!item("keyMatrixMain").isSave)
        compare(item("saveButton").color, Theme.colorBlue)
        compare(rig.commands(mark).length, 0)
    }

    // Fixed options: the code and text they give, what Save stores and sends.
    function test_fixed_options_data() {
        return [
            { tag: "double click", slot: 2, radio: "mouseOption5", codes: [0, 0xF0, 0x1E, 2], text: "Double Fire",
              sent: "0af01e02" },
            { tag: "DPI loop", slot: 3, radio: "dpiOption2", codes: [5, 0, 3, 0], text: "DPI LOOP", sent: "07000300" },
            { tag: "media: mute", slot: 4, grid: "mediaGrid", index: 4, codes: [3, 0, 0xE2, 0], text: "Mute",
              sent: "0300e200" },
            { tag: "Windows: My PC", slot: 3, grid: "windowsGrid", index: 0, codes: [6, 0, 0x94, 1], text: "My PC",
              sent: "03009401" },
            { tag: "Windows: maximise", slot: 3, grid: "windowsGrid", index: 3, codes: [6, 4, 0x2C, 0x1B], text: "Max",
              sent: "00042c1b" },
            { tag: "shortcut: select all", slot: 4, grid: "shortcutGrid", index: 9,
              codes: [7, 0, 0xE0, 0x04], text: "Select All", sent: "0000e004" }
        ]
    }
    function test_fixed_options(data) {
        startMain({ language: "English" })
        openRow(data.slot)
        if (data.radio)
            choose(data.radio)
        else
            chooseInGrid(data.grid, data.index)
        compare([dialog().keyCode0, dialog().keyCode1, dialog().keyCode2, dialog().keyCode3], data.codes)
        compare(dialog().keyString, data.text)
        closeDialog()
        compare(entry(data.slot), data.codes)
        compare(item("keyRowText" + data.slot).text, data.text)
        verify(item("keyMatrixMain").isSave)
        compare(item("saveButton").color, Qt.color("#ff3030"))
        save()
        compare(stored(data.slot), data.codes)
        compare(sentEntry(data.slot), data.sent)
    }

    function test_an_empty_grid_entry_cannot_be_chosen() {
        startMain()
        openRow(3)
        chooseInGrid("windowsGrid", 8)
        compare(entry(3), [0, 0, 0xF4, 0])
        compare(dialog().keyCode0, 0)
    }

    function test_combination_capture() {
        startMain()
        openRow(2)
        choose("comboField")
        verify(dialog().isComboInput)
        // Ctrl, Shift, A, B, C: releases change nothing, C finds no room.
        for (var key of [[true, 0xE0], [true, 0xE1], [true, 0x04], [false, 0x04], [true, 0x05], [true, 0x06],
                         [false, 0xE0]])
            root.detectKeyboard(key[0], key[1])
        compare(dialog().comboText, "LCtrl + LShift + A + B")
        click(item("comboOk"))
        verify(!dialog().isComboInput)
        compare([dialog().keyCode0, dialog().keyCode1, dialog().keyCode2, dialog().keyCode3], [2, 0x03, 0x04, 0x05])
        closeDialog()
        compare(item("keyRowText2").text, "LCtrl+LShift+A+B")
        save()
        compare(stored(2), [2, 3, 4, 5])
        compare(sentEntry(2), "00030405")
    }

    function test_combination_capture_ends_without_a_change() {
        startMain()
        openRow(2)
        choose("comboField")
        click(item("comboOk"))               // nothing typed
        compare(dialog().keyCode0, 0)
        choose("comboField")
        root.detectKeyboard(true, 0xE2)
        click(item("comboCancel"))
        compare(dialog().keyCode0, 0)
        root.detectKeyboard(true, 0x04)      // after the capture: not taken
        compare(dialog().comboText, "LAlt")
        closeDialog()
        verify(!item("keyMatrixMain").isSave)
    }

    function test_fire_key_endless_and_counted() {
        startMain()
        openRow(4)
        choose("fireField")
        verify(dialog().isFireInput)
        root.detectKeyboard(false, 0x07)     // a release ends the capture too
        verify(!dialog().isFireInput)
        compare([dialog().keyCode0, dialog().keyCode1, dialog().keyCode2, dialog().keyCode3], [1, 0x07, 10, 0])
        compare(dialog().keyString, "D")
        root.detectKeyboard(true, 0x08)      // nothing captures it now
        compare(dialog().keyCode1, 0x07)

        // Five shots, then "Endness" again: times 0.
        var times = item("timesField")
        mouseClick(times, times.width / 2, times.height / 2)
        keyClick(Qt.Key_Backspace)
        keyClick(Qt.Key_5)
        keyClick(Qt.Key_Return)
        compare(dialog().keyCode3, 5)
        verify(!item("endnessBox").isSelect)
        click(item("endnessBox"))
        verify(item("endnessBox").isSelect)
        compare(times.textValue, "0")
        compare(dialog().keyCode3, 0)

        // The rate: the knob's position + 1 ms.
        var rate = item("rateDrop")
        click(rate)
        waitDropArea(rate, 24)
        rate.sliderControl.setRatioValue(1)
        compare(dialog().keyCode2, 80)
        compare(rate.textValue, "80MS")
        closeDialog()
        compare(item("keyRowText4").text, "D")
        save()
        compare(stored(4), [1, 7, 80, 0])
        compare(sentEntry(4), "0a075000")
    }

    function test_restore_icon_takes_the_default() {
        startMain()
        openRow(3)
        choose("dpiOption0")
        closeDialog()
        item("keyMatrixMain").isSave = false
        openRow(3)
        compare(dialog().keyString, "DPI+")
        mouseClick(dialog(), dialog().width - 56, 20)       // the restore icon, left of the close icon
        compare(dialog().keyString, "Forward Key")
        compare(entry(3), [0, 0, 0xF4, 0])
        verify(item("keyMatrixMain").isSave)
    }

    function test_panel_reset_restores_every_button_without_sending() {
        startMain({ files: { "modules/setting/p1.bin": { "mouseKeyMatrix/1": [3, 0, 0xE2, 0],
                                                          "mouseKeyMatrix/6": [5, 0, 4, 0] } } })
        compare(item("keyRowText1").text, "Mute")
        compare(item("keyRowText6").text, "Sniper Key")
        var mark = rig.traceMark()
        var panel = item("keyMatrixMain")
        mouseClick(panel, panel.width - 18, 16)
        compare(entry(1), [0, 0, 0xF1, 0])
        compare(entry(6), [5, 0, 2, 0])
        compare(item("keyRowText1").text, "Right Key")
        verify(panel.isSave)
        compare(rig.commands(mark).length, 0)
    }

    function test_factory_reset_sends_the_default_map() {
        startMain({ files: { "modules/setting/p1.bin": { "mouseKeyMatrix/1": [3, 0, 0xE2, 0] } } })
        compare(item("keyRowText1").text, "Mute")
        item("keyMatrixMain").isSave = true
        var mark = rig.traceMark()
        click(item("resetButton"))
        click(item("resetOkButton"))
        verify(!item("keyMatrixMain").isSave)
        compare(item("keyRowText1").text, "Right Key")
        verify(/(^|,)12 /.test(String(rig.commands(mark))), "the map was sent")
        compare(sentEntry(1), "0100f100")
    }

    function test_macro_bound_to_slot_5() {
        startMain({ files: {
            "modules/setting/name.bin": { "macro/macroName": ["Burst", "Spray"] },
            "modules/macro/Spray.bin": { "config/total": 3, "config/repeat": 2,
                                         "macro/0": "1,A", "macro/1": "0,50", "macro/2": "2,A" } } })
        openRow(5)
        choose("macroMode2")
        var drop = item("macroDrop")
        reveal(drop)
        click(drop)
        waitDropArea(drop, 2 * 24)
        mouseClick(drop, 40, 24 + 24 + 12)              // "Spray"
        tryCompare(dialog(), "keyString", "Spray")
        compare([dialog().keyCode0, dialog().keyCode1, dialog().keyCode2, dialog().keyCode3], [4, 2, 5, 0])
        closeDialog()
        // The macro reached the mouse as macro 6, its name the profile.
        compare(String(rig.mouseState().macros[5]).substr(0, 16), "0002050481040000")
        compare(rig.readSetting("modules/setting/p1.bin", "mouseMacroKey/5"), "Spray")
        compare(item("keyRowText5").text, "Spray")
        save()
        compare(stored(5), [4, 2, 5, 0])
        // Matrix slot 7 carries the page's slot 5 (slot 5 itself is fixed).
        compare(sentEntry(7), "09020600")
    }

    function test_texts_of_entries_data() {
        return [
            { tag: "left", codes: [0, 0, 0xF0, 0], text: "Left Key" },
            { tag: "back", codes: [0, 0, 0xF3, 0], text: "Back Key" },
            { tag: "other button code", codes: [0, 0, 0x99, 0], text: "Double Fire" },
            { tag: "fire", codes: [1, 0x2C, 10, 0], text: "Space" },
            { tag: "combination, right modifiers", codes: [2, 0x90, 0x1E, 0], text: "RCtrl+RWin+1" },
            { tag: "media without a match", codes: [3, 0, 0x12, 0x34], text: "" },
            { tag: "shortcut", codes: [7, 0, 0xE0, 0x1D], text: "Undo" },
            { tag: "sniper", codes: [5, 0, 4, 0], text: "Sniper Key" },
            { tag: "recoil", codes: [8, 0, 2, 0], text: "Two Gun" },
            { tag: "type 0xff", codes: [0xFF, 0, 1, 0], text: "" },
            { tag: "unnamed key", codes: [1, 0xA5, 10, 0], text: "" }
        ]
    }
    function test_texts_of_entries(data) {
        startMain({ language: "English" })
        var c = data.codes
        compare(dialog().keyCodeToString(c[0], c[1], c[2], c[3]), data.text)
    }

    function test_key_names_data() {
        return [ { tag: "en", language: "English", left: "MS-L" },
                 { tag: "zh", language: "ChineseSimplified", left: "鼠标左键" } ]
    }
    function test_key_names(data) {
        startMain({ language: data.language })
        var list = findChild(root, "keyCodeString")
        var names = list.keycodeTostr
        compare(list.keyCode.length, 133)
        compare(list.keyCodeStr.length, 133)
        compare(names(0x04), "A")
        compare(names(0x31), "\\")
        compare(names(0x32), "\\", "both backslash keys have the same name")
        compare(names(0xF0), data.left)
        compare(names(0x03), "", "a code without a name")
        compare(list.strTokeycode("\\"), 0x31, "the first code of a name")
        compare(list.strTokeycode("nothing"), 0)
        compare(list.strTokeycode(data.left), 0xF0)
        // A mouse button recorded under the built-in names still plays.
        compare(list.codeOfName("MS-R"), 0xF1)
    }

    function test_rows_and_tags_follow_the_key_count_data() {
        return [ { tag: "5 buttons", keyCount: 5 }, { tag: "8 buttons", keyCount: 8 } ]
    }
    function test_rows_and_tags_follow_the_key_count(data) {
        startMain({ keyCount: data.keyCount })
        var panel = item("keyMatrixMain")
        compare(panel.height, 40 + 24 * data.keyCount + 2 * (data.keyCount - 1) + 8)
        verify(item("keyRow" + (data.keyCount - 1)).visible)
        verify(!findChild(root, "keyRow" + data.keyCount).visible)
        verify(findChild(root, "mouseTag" + (data.keyCount - 1)) !== null)
        compare(findChild(root, "mouseTag" + data.keyCount), null)
        // The left column stays inside the window.
        var button = item("systemSettingButton")
        verify(button.mapToItem(root, 0, button.height).y <= 640 - 8)
    }
}
