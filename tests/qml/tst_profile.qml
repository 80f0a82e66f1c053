import QtQuick

// The profile manager and the title-bar profile drop-down.
StrydeTestCase {
    id: test
    name: "Profiles"

    function cleanup() {
        stopMain()
    }

    function openManager() {
        click(item("configButton"))
        verify(item("profileMain").visible)
        return item("profileMain")
    }
    function names() {
        var model = item("profileMain").profileDataModel0
        var list = []
        for (var i = 0; i < model.count; ++i)
            list[i] = model.get(i).textValue + model.get(i).profileNo
        return list
    }
    // The stored name list (the store pads a one-name list with "listpadentry").
    function stored() {
        var value = rig.readSetting("modules/setting/name.bin", "profile/profileName")
        var list = typeof value === "string" ? [value] : value
        return list.length === 2 && list[1] === "listpadentry" ? [list[0]] : list
    }
    function row(index) {
        return item("profileRow" + index)
    }
    function menuEntry(index) {
        return item("profileMenuEntry" + index)
    }
    // Chooses an entry of the title-bar drop-down with the mouse.
    function chooseInTitleBar(index) {
        var list = item("profileList")
        click(list)
        waitDropArea(list, list.count * 24)
        mouseClick(list, 20, 24 + index * 24 + 12)
        waitDropArea(list, 0)
    }

    function test_the_standard_entry_takes_the_language_text() {
        startMain({ language: "ChineseSimplified",
                    files: { "modules/setting/name.bin": { "profile/profileName": ["Mine0", "listpadentry"] } } })
        compare(names(), ["标准0"])
        compare(stored(), ["标准0"])
        compare(item("profileList").textValue, "标准")
    }

    function test_new_profile_starts_from_the_defaults() {
        startMain({ files: { "modules/setting/p2.bin": { "mouse/dpiValueArray": [100, 100, 100, 100, 100, 100, 100, 100] } } })
        openManager()
        click(item("profileNewButton"))
        compare(names(), ["Standard0", "profile_01"])
        compare(stored(), ["Standard0", "profile_01"])
        compare(item("profileMain").selectIndex, 1)
        compare(rig.readSetting("modules/setting/p2.bin", "mouse/dpiValueArray")[0], "500")
    }

    function test_six_entries_at_most() {
        startMain()
        openManager()
        for (var i = 0; i < 7; ++i)
            click(item("profileNewButton"))
        compare(names(), ["Standard0", "profile_01", "profile_12", "profile_23", "profile_34", "profile_45"])
        rig.answerFileDialogs([rig.dataRoot() + "/modules/setting/p1.bin"])
        click(item("profileImportButton"))
        compare(names().length, 6)
        compare(rig.fileDialogCalls().length, 0, "a full list asks for no file")
    }

    function test_delete_then_new_reuses_the_number_and_switches_to_it() {
        startMain()
        var manager = openManager()
        click(item("profileNewButton"))
        click(item("profileNewButton"))
        compare(names(), ["Standard0", "profile_01", "profile_12"])
        // Right-click entry 1, Delete.
        mouseClick(row(1), 40, 13, Qt.RightButton)
        verify(item("profileMenu").visible)
        click(menuEntry(0))
        compare(names(), ["Standard0", "profile_12"])
        click(item("profileNewButton"))
        compare(names(), ["Standard0", "profile_12", "profile_01"])
        compare(stored(), ["Standard0", "profile_12", "profile_01"])
        mouseClick(manager, manager.width - 24, 20)                   // close icon
        verify(!manager.visible)

        // Choosing it in the title bar switches every page to profile 1 (p2.bin).
        var p2 = "modules/setting/p2.bin"
        rig.writeSetting(p2, "mouse/dpiValueArray", [800, 1600, 2400, 3200, 4000, 4800, 5600, 6000])
        rig.writeSetting(p2, "mouse/reportRate", 89)
        rig.writeSetting(p2, "mouse/mouseRate", 37)
        var mark = rig.traceMark()
        chooseInTitleBar(2)
        compare(root.profileNo, 1)
        compare(rig.readSetting("modules/setting/apConfig.bin", "mouse/profileNo"), "1")
        compare(item("dpiLabel0").text, "800")
        compare(item("reportRateLV").textValue, "2mm")
        compare(item("mouseSpeedSlider").value, 37)
        verify(rig.commands(mark).some(function(c) { return c.startsWith("07 00 63") }), "lift-off of profile 1 sent")
        compare(rig.pointerCalls().length, 3, "the system settings of profile 1 applied")
        verify(ui_View.enabled)
        // The same entry again switches nothing.
        mark = rig.traceMark()
        chooseInTitleBar(2)
        compare(rig.commands(mark), [])
    }

    function test_standard_and_active_entries_cannot_be_deleted() {
        startMain()
        openManager()
        click(item("profileNewButton"))
        mouseClick(row(0), 40, 13, Qt.RightButton)
        click(menuEntry(0))
        compare(names(), ["Standard0", "profile_01"])
        item("profileMain").visible = false
        item("mainMask").visible = false
        chooseInTitleBar(1)
        compare(root.profileNo, 1)
        openManager()
        mouseClick(row(1), 40, 13, Qt.RightButton)
        click(menuEntry(0))
        compare(names(), ["Standard0", "profile_01"])
    }

    function test_rename() {
        startMain()
        openManager()
        click(item("profileNewButton"))
        click(item("profileNewButton"))
        mouseDoubleClickSequence(row(1), 40, 13)
        var editor = item("profileNameEditor")
        verify(editor.activeFocus)
        keySequence("ctrl+a")
        for (var k of [Qt.Key_F, Qt.Key_P, Qt.Key_S])
            keyClick(k)
        keyClick(Qt.Key_Return)
        compare(names(), ["Standard0", "fps1", "profile_12"])
        compare(stored(), ["Standard0", "fps1", "profile_12"])
        // A name in use is ignored; a press elsewhere in the dialog ends the edit.
        mouseDoubleClickSequence(row(2), 40, 13)
        keySequence("ctrl+a")
        for (var c of [Qt.Key_F, Qt.Key_P, Qt.Key_S])
            keyClick(c)
        mouseClick(item("profileMain"), 200, 270)
        compare(names(), ["Standard0", "fps1", "profile_12"])
        verify(!editor.activeFocus)
    }

    function test_export_writes_the_active_profile_and_import_fills_a_new_one() {
        startMain({ files: { "modules/setting/p1.bin": { "mouse/mouseRate": 250 } } })
        openManager()
        click(item("profileNewButton"))
        // Right-click the new entry (not the active one): Export still writes the active profile.
        rig.answerFileDialogs(["exported.pf"])
        mouseClick(row(1), 40, 13, Qt.RightButton)
        click(menuEntry(1))
        verify(rig.fileExists("exported.pf"))
        verify(rig.readFile("exported.pf").indexOf("mouseRate=250") >= 0)

        rig.answerFileDialogs(["exported.pf"])
        click(item("profileImportButton"))
        compare(names(), ["Standard0", "profile_01", "profile_12"])
        compare(rig.readSetting("modules/setting/p3.bin", "mouse/mouseRate"), "250")

        // A cancelled import, and one whose file cannot be read, leave no entry behind.
        for (var answer of ["", "vanished.pf"]) {
            rig.answerFileDialogs([answer])
            click(item("profileImportButton"))
            compare(names(), ["Standard0", "profile_01", "profile_12"])
            compare(stored(), ["Standard0", "profile_01", "profile_12"])
        }
    }
}
