import QtQuick

// The programs of a profile in the profile manager, and the profile switch the
// native side asks for when the program in front has a rule.
StrydeTestCase {
    id: test
    name: "AppRules"

    readonly property var twoProfiles: { "modules/setting/name.bin": { "profile/profileName": ["Standard0", "Work1"] },
                                         "modules/setting/p2.bin": { "mouse/dpiValueArray": [700, 1400, 2800, 5600, 0, 0, 0, 0] } }

    function cleanup() {
        stopMain()
    }

    function openPrograms(row) {
        click(item("configButton"))
        click(item("profileRow" + row))
        click(item("profileProgramsButton"))
        var dialog = item("appRulesMain")
        verify(dialog.visible)
        return dialog
    }
    function rule(program) {
        return rig.readSetting("modules/setting/apps.bin", "programs/" + program)
    }
    function typeName(text) {
        var input = item("appRulesNameInput")
        mouseClick(input)
        input.text = ""
        for (var i = 0; i < text.length; ++i)
            keyClick(text[i])
    }

    function test_add_from_the_running_programs_and_by_name_then_remove() {
        startMain({ files: twoProfiles, runningPrograms: ["gimp", "krita"] })
        var dialog = openPrograms(1)
        compare(dialog.profileNo, 1)
        compare(dialog.title, "Programs — Work")
        compare(dialog.running, ["gimp", "krita"])

        click(item("appRulesRunning1"))
        compare(item("appRulesNameInput").text, "krita")
        click(item("appRulesAddButton"))
        compare(rule("krita"), "1")
        typeName("Game.exe")
        keyClick(Qt.Key_Return)
        compare(rule("Game.exe"), "1")
        compare(dialog.programs, ["Game.exe", "krita"])
        // The manager's row lists them too.
        compare(item("profilePrograms1").text, "Game.exe, krita")
        shot("app_rules_dialog")

        click(item("appRulesProgram0"))
        click(item("appRulesRemoveButton"))
        compare(rule("Game.exe"), undefined)
        compare(dialog.programs, ["krita"])
        compare(item("profilePrograms1").text, "krita")
    }

    // Untrusted text from the input: refused with a message, nothing stored.
    function test_a_path_or_an_empty_name_is_refused() {
        startMain({ files: twoProfiles })
        var dialog = openPrograms(1)
        typeName("/usr/bin/krita")
        click(item("appRulesAddButton"))
        compare(item("appRulesMessage").text, "Not a program name")
        verify(!rig.fileExists("modules/setting/apps.bin"))
        item("appRulesNameInput").text = ""
        click(item("appRulesAddButton"))
        compare(item("appRulesMessage").text, "Not a program name")
        compare(dialog.programs, [])
    }

    // A program has one profile: adding it to another moves it there.
    function test_a_program_moves_to_the_profile_it_was_added_to() {
        startMain({ files: twoProfiles })
        appRules.addProgram(0, "krita")
        var dialog = openPrograms(1)
        typeName("KRITA")
        click(item("appRulesAddButton"))
        compare(rule("KRITA"), "1")
        compare(appRules.programsOf(0), [])
        compare(item("profilePrograms0").text, "")
    }

    // Deleting a profile drops its programs; a new profile starts without any.
    function test_deleted_and_new_profiles_have_no_programs() {
        startMain({ files: twoProfiles })
        appRules.addProgram(1, "krita")
        appRules.addProgram(0, "gimp")
        click(item("configButton"))
        mouseClick(item("profileRow1"), 20, 10, Qt.RightButton)
        click(item("profileMenuEntry0"))
        compare(rule("krita"), undefined)
        compare(rule("gimp"), "0")
        rig.writeSetting("modules/setting/apps.bin", "programs/stale", 1)
        click(item("profileNewButton"))
        compare(appRules.programsOf(1), [])
    }

    function test_a_session_without_the_program_in_front_says_so() {
        startMain({ language: "ChineseSimplified", files: twoProfiles, appRulesAvailable: false })
        click(item("configButton"))
        var note = item("profileProgramsOff")
        verify(note.visible)
        compare(note.text, "此会话中按程序切换已关闭")
        shot("app_rules_off_zh")
        click(item("profileProgramsButton"))
        compare(item("appRulesMessage").text, "此会话中按程序切换已关闭")
        shot("app_rules_dialog_zh")
    }

    // The native side's switch runs the title-bar drop-down's path: the
    // drop-down shows the profile and every page sends its data.
    function test_choose_profile_switches_like_the_title_bar() {
        startMain({ files: twoProfiles })
        var mark = rig.traceMark()
        verify(root.chooseProfile(1))
        compare(root.profileNo, 1)
        compare(item("profileList").textValue, "Work")
        compare(rig.readSetting("modules/setting/apConfig.bin", "mouse/profileNo"), "1")
        compare(rig.mouseState().dpiCodes.length > 0, true)
        var dpi = rig.commands(mark).filter(function(c) { return c.indexOf("11 ") === 0 })
        compare(dpi.length, 1, "the DPI table of profile 1 reached the mouse")
        compare(item("dpiSettingMain").enabled, true)

        mark = rig.traceMark()
        verify(!root.chooseProfile(4), "a profile the manager does not list")
        compare(root.profileNo, 1)
        compare(rig.commands(mark), [])
    }
}
