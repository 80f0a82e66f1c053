import QtQuick
import QtTest

// The macro editor with the real view: the library list, recording from the
// routed key events, editing, and what reached the macro files, the name
// list, the profile and the virtual mouse.
StrydeTestCase {
    id: test
    name: "MacroEditor"

    // The editor's clock, moved by the tests (milliseconds).
    property real now: 1000

    function cleanup() {
        stopMain()
    }

    function editor() {
        return item("macroEditorMain")
    }
    // A data folder with these macros (name -> list of event strings) in
    // this order, and optional extra settings files.
    function startWith(macros, files) {
        var all = files || {}
        var names = []
        for (var name in macros) {
            names.push(name)
            var file = { "config/total": macros[name].length, "config/repeat": 1 }
            for (var i = 0; i < macros[name].length; ++i)
                file["macro/" + i] = macros[name][i]
            all["modules/macro/" + name + ".bin"] = file
        }
        if (names.length > 0)
            all["modules/setting/name.bin"] = { "macro/macroName": names.length === 1 ? [names[0], "listpadentry"] : names }
        startMain({ language: "English", files: all })
        editor().clock = { now: function() { return test.now } }
    }
    // A profile in which slot `slot` plays macro `name`.
    function bound(slot, name) {
        var p = {}
        p["mouseKeyMatrix/" + slot] = [4, 0, slot, 0]
        p["mouseMacroKey/" + slot] = name
        return p
    }
    function openEditor() {
        click(item("macroEditorEntry"))
        verify(editor().visible)
    }
    function fileEvents(name) {
        var file = "modules/macro/" + name + ".bin"
        var total = parseInt(rig.readSetting(file, "config/total"))
        var list = []
        for (var i = 0; i < total; ++i)
            list[i] = String(rig.readSetting(file, "macro/" + i))
        return list
    }
    function shownEvents() {
        var list = []
        for (var i = 0; i < editor().eventModel.count; ++i) {
            var e = editor().eventModel.get(i)
            list.push(e.type + "," + e.info)
        }
        return list
    }
    function storedNames() {
        var names = rig.readSetting("modules/setting/name.bin", "macro/macroName")
        return names === undefined ? [] : names
    }
    function macroOnMouse(slot) {
        return String(rig.mouseState().macros[slot])
    }
    function key(isDown, code) {
        root.detectKeyboard(isDown, code)
    }
    function rightClickRow(index) {
        var row = item("eventRow" + index)
        mouseClick(row, 60, 13, Qt.RightButton)
        verify(item("eventMenu").visible)
    }
    function menuEntry(menu, index) {
        click(item(menu + "Entry" + index))
    }
    function typeText(text) {
        for (var i = 0; i < text.length; ++i)
            keyClick(text.charAt(i))
    }

    function test_recording_data() {
        return [
            { tag: "with delays", delay: true, events: ["1,A", "0,120", "2,A"] },
            { tag: "without delays", delay: false, events: ["1,A", "2,A"] }
        ]
    }
    function test_recording(data) {
        startWith({ "Rec": ["1,Z"] })
        openEditor()
        compare(shownEvents(), ["1,Z"])
        if (data.delay)
            click(item("delayRecord"))
        key(true, 0x05)                               // before recording: not taken
        click(item("recordButton"))
        verify(editor().isInputting)
        compare(item("recordButton").text, "Stop Record")
        compare(shownEvents(), [], "recording starts on an empty list")
        now += 300
        key(true, 0x04)
        now += 120
        key(false, 0x04)
        compare(shownEvents(), data.events)
        click(item("recordButton"))
        verify(!editor().isInputting)
        compare(item("recordButton").text, "Start Record")
        key(true, 0x06)                               // after recording: not taken
        compare(fileEvents("Rec"), data.events)
    }

    function test_closing_the_editor_ends_recording_and_saves() {
        startWith({ "Rec": [] })
        openEditor()
        click(item("recordButton"))
        key(true, 0x2C)
        key(false, 0x2C)
        mousePress(editor(), editor().width - 24, 20)       // the close icon
        mouseRelease(editor(), editor().width - 24, 20)
        verify(!editor().visible && !editor().isInputting)
        verify(!item("mainMask").visible)
        compare(fileEvents("Rec"), ["1,Space", "2,Space"])
        key(true, 0x04)
        compare(shownEvents(), ["1,Space", "2,Space"])
    }

    function test_leaving_the_program_ends_recording() {
        startWith({ "Rec": [] })
        openEditor()
        click(item("recordButton"))
        key(true, 0x04)
        editor().applicationStateChanged(Qt.ApplicationInactive)
        verify(!editor().isInputting)
        compare(fileEvents("Rec"), ["1,A"])
        key(false, 0x04)
        compare(shownEvents(), ["1,A"])
    }

    function test_recording_stops_at_the_length_limit() {
        startWith({ "Long": [] })
        openEditor()
        click(item("recordButton"))
        // No delays: 2 bytes per action, 124 bytes after 60 actions.
        for (var i = 0; i < 30; ++i) {
            key(true, 0x04)
            key(false, 0x04)
        }
        compare(editor().eventModel.count, 60)
        // A long wait would take the macro past the mouse's 128 bytes.
        click(item("delayRecord"))
        now += 5000
        key(true, 0x05)
        compare(editor().eventModel.count, 60)
        click(item("delayRecord"))
        key(false, 0x05)                              // without the wait it fits: 126 bytes
        compare(editor().eventModel.count, 61)
        key(true, 0x06)                               // full
        compare(editor().eventModel.count, 61)
        click(item("recordButton"))
        compare(fileEvents("Long").length, 61)
    }

    function test_editing_with_the_event_menu() {
        startWith({ "Edit": ["1,A", "2,A"] })
        openEditor()
        rightClickRow(0)
        menuEntry("eventMenu", 1)                     // Insert Delay: before the row
        compare(fileEvents("Edit"), ["0,50", "1,A", "2,A"])
        compare(editor().eventList.currentIndex, 0)
        rightClickRow(0)
        menuEntry("eventMenu", 3)                     // Insert Left Key: after the row
        compare(fileEvents("Edit"), ["0,50", "3,MS-L", "4,MS-L", "1,A", "2,A"])

        rightClickRow(4)                              // the last row: appended
        menuEntry("eventMenu", 2)                     // Insert Key
        verify(editor().isInsertting)
        verify(item("insertKeyDialog").visible)
        key(false, 0x09)                              // releases and mouse buttons name nothing
        key(true, 0xF0)
        compare(editor().insertCode, 0)
        key(true, 0x05)
        compare(editor().insertCode, 0x05)
        compare(shownEvents().length, 5, "the dialog's key is not recorded")
        click(item("insertKeyOk"))
        verify(!editor().isInsertting)
        compare(fileEvents("Edit"), ["0,50", "3,MS-L", "4,MS-L", "1,A", "2,A", "1,B", "2,B"])

        rightClickRow(1)
        menuEntry("eventMenu", 5)                     // Insert Right Key after row 1
        compare(fileEvents("Edit"), ["0,50", "3,MS-L", "3,MS-R", "4,MS-R", "4,MS-L", "1,A", "2,A", "1,B", "2,B"])
        rightClickRow(0)
        menuEntry("eventMenu", 0)                     // Delete
        compare(fileEvents("Edit"), ["3,MS-L", "3,MS-R", "4,MS-R", "4,MS-L", "1,A", "2,A", "1,B", "2,B"])
    }

    function test_delay_editing_data() {
        return [
            { tag: "1270 ms", text: "1270", shown: "1270", sent: "0001" + "0004" + "0001003f" + "8104" + "0000" },
            { tag: "not a number", text: "12a", shown: "50", sent: "" },
            { tag: "above 65535 ms", text: "70000", shown: "50", sent: "" }
        ]
    }
    function test_delay_editing(data) {
        startWith({ "Wait": ["1,A", "0,50", "2,A"] }, { "modules/setting/p1.bin": bound(3, "Wait") })
        openEditor()
        var row = item("eventRow1")
        mouseDoubleClickSequence(row, 100, 13)
        var field = item("delayEditor")
        verify(field.activeFocus)
        field.selectAll()
        typeText(data.text)
        keyClick(Qt.Key_Return)
        compare(shownEvents()[1], "0," + data.shown)
        compare(fileEvents("Wait")[1], "0," + data.shown)
        // The button bound to the macro has it again; an edit refused sends nothing.
        if (data.sent !== "")
            compare(macroOnMouse(3).substr(0, data.sent.length), data.sent)
        else
            compare(macroOnMouse(3), new Array(129).join("00"))
    }

    function test_repeat_count_and_a_one_event_macro() {
        startWith({ "One": ["1,A"] }, { "modules/setting/p1.bin": bound(2, "One") })
        openEditor()
        var times = item("macroTimesField")
        mouseClick(times, times.width / 2, times.height / 2)
        times.txtInput.selectAll()
        typeText("300")
        keyClick(Qt.Key_Return)
        compare(rig.readSetting("modules/macro/One.bin", "config/repeat"), "300")
        // One key press: only the repeat count reaches the mouse.
        var zeros = new Array(127).join("00")
        compare(macroOnMouse(2), "012c" + zeros)
    }

    function test_new_macros_up_to_one_hundred() {
        var macros = {}
        for (var i = 0; i < 99; ++i)
            macros["m" + i] = []
        startWith(macros)
        openEditor()
        click(item("macroNewButton"))
        compare(editor().macroNumberModel.count, 100)
        compare(editor().macroNumber_lv.currentIndex, 99)
        verify(rig.fileExists("modules/macro/Macro_0.bin"))
        compare(storedNames().length, 100)
        compare(storedNames()[99], "Macro_0")
        compare(item("macroDrop").count, 100)
        // The 101st: neither New nor Import.
        click(item("macroNewButton"))
        compare(editor().macroNumberModel.count, 100)
        verify(!rig.fileExists("modules/macro/Macro_1.bin"))
        mouseClick(item("macroRow0"), 40, 13, Qt.RightButton)
        menuEntry("macroListMenu", 1)
        compare(editor().macroNumberModel.count, 100)
        compare(rig.fileDialogCalls().length, 0)
        compare(storedNames().length, 100)
    }

    function test_deleting_a_bound_macro_restores_the_button_and_sends_the_map() {
        startWith({ "Fire": ["1,A", "2,A"], "Other": [] }, { "modules/setting/p1.bin": bound(3, "Fire") })
        compare(item("keyRowText3").text, "Fire")
        openEditor()
        compare(editor().macroNumber_lv.currentIndex, 0)
        var mark = rig.traceMark()
        click(item("macroDeleteButton"))
        verify(!rig.fileExists("modules/macro/Fire.bin"))
        compare(storedNames(), ["Other", "listpadentry"])
        compare(item("keyRowText3").text, "Forward Key")
        compare(rig.readSetting("modules/setting/p1.bin", "mouseKeyMatrix/3"), ["0", "0", "244", "0"])
        verify(rig.commands(mark).some(function(c) { return c.startsWith("12") }), "the map was sent")
        compare(String(rig.mouseState().keyMatrices[0]).substr(3 * 8, 8), "0100f400")
        compare(editor().macroNumber_lv.currentIndex, 0)
        compare(item("macroDrop").count, 1)
    }

    function test_renaming_data() {
        return [
            { tag: "a new name", name: "Boom", taken: true },
            { tag: "a name the library refuses", name: "a/b", taken: false },
            { tag: "a name in use", name: "Other", taken: false },
            { tag: "the same name", name: "Fire", taken: false }
        ]
    }
    function test_renaming(data) {
        var p1 = bound(3, "Fire")
        p1["mouseKeyMatrix/4"] = [4, 1, 4, 0]
        p1["mouseMacroKey/4"] = "Fire"
        startWith({ "Fire": ["1,A", "2,A"], "Other": [] }, { "modules/setting/p1.bin": p1 })
        openEditor()
        var mark = rig.traceMark()
        mouseDoubleClickSequence(item("macroRow0"), 40, 13)
        verify(item("macroNameEditor").activeFocus)
        item("macroNameEditor").selectAll()
        typeText(data.name)
        keyClick(Qt.Key_Return)
        compare(rig.commands(mark).length, 0, "a rename sends nothing")
        var name = data.taken ? data.name : "Fire"
        compare(editor().macroNumberModel.get(0).textValue, name)
        compare(storedNames(), [name, "Other"])
        verify(rig.fileExists("modules/macro/" + name + ".bin"))
        compare(fileEvents(name), ["1,A", "2,A"])
        for (var slot of [3, 4]) {
            compare(rig.readSetting("modules/setting/p1.bin", "mouseMacroKey/" + slot), name)
            compare(item("keyRowText" + slot).text, name)
        }
        compare(item("macroDrop").mdItems.get(0).textValue, name)
    }

    function test_import_and_export() {
        startWith({ "Src": ["1,A", "0,20", "2,A"], "Next": [] })
        openEditor()
        rig.answerFileDialogs(["out.mc"])
        mouseClick(item("macroRow0"), 40, 13, Qt.RightButton)
        menuEntry("macroListMenu", 2)                 // Export
        compare(rig.readFile("out.mc"), rig.readFile("modules/macro/Src.bin"))

        // Import: a new macro before the selected one, with the file's events.
        mouseClick(item("macroRow1"), 40, 13)
        rig.answerFileDialogs(["out.mc", ""])
        mouseClick(item("macroRow1"), 40, 13, Qt.RightButton)
        menuEntry("macroListMenu", 1)
        compare(editor().macroNumberModel.get(1).textValue, "Macro_0")
        compare(editor().macroNumber_lv.currentIndex, 1)
        compare(shownEvents(), ["1,A", "0,20", "2,A"])
        // An import that reads no file gives an empty macro of the new name.
        mouseClick(item("macroRow1"), 40, 13, Qt.RightButton)
        menuEntry("macroListMenu", 1)
        compare(editor().macroNumberModel.get(1).textValue, "Macro_1")
        compare(shownEvents(), [])
        compare(storedNames(), ["Src", "Macro_1", "Macro_0", "Next"])
    }

    function test_opened_from_the_key_assignment_dialog() {
        startWith({ "First": ["1,A", "2,A"] })
        click(item("keyRow3"))
        var dialog = item("keyAssigmentMain")
        var button = item("openMacroEditor")
        dialog.ensureVisible(button, 0)
        click(button)
        verify(editor().visible && editor().z > dialog.z)
        click(item("macroNewButton"))
        compare(item("macroDrop").count, 2)
        mousePress(editor(), editor().width - 24, 20)
        mouseRelease(editor(), editor().width - 24, 20)
        verify(!editor().visible)
        verify(dialog.visible && item("mainMask").visible, "the dialog below stays open")
    }
}
