import QtQuick
import QtTest
import "../../modules/qml/theme"

// The main window: start-up, the lock, the functions the native side calls,
// Save, Reset and the title-bar menu, against the real view and a virtual mouse.
StrydeTestCase {
    id: test
    name: "MainWindow"

    function cleanup() {
        stopMain()
    }

    function test_start_up_reads_the_settings_once_and_locks() {
        verify(rig.start({ language: "English", isColorful: false, keyCount: 6 }))
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        root = component.createObject(test)
        verify(!root.visible, "invisible before the first initUI")
        root.initUI()
        verify(root.visible && root.isPownOn)
        compare(root.language, "English")
        compare(root.isColorful, false)
        compare(root.icType, "553")
        compare(item("mouseMain").keyCount, 6)
        compare(root.url, "https://www.korvex.example/stryde")
        compare(root.mainLang[10], "Save")
        // Locked, power-on logo shown, until the lock's timer ends.
        verify(!ui_View.enabled)
        verify(item("busyIndicator").visible)
        verify(item("powerOnLogo").visible && !item("leftPanel").visible)
        compare(item("powerOnLogo").status, Image.Ready)
        finishLock()
        verify(ui_View.enabled)
        verify(!item("busyIndicator").visible)
        // Hidden for good, and its picture let go.
        verify(!item("powerOnLogo").visible)
        compare(item("powerOnLogo").status, Image.Null)
        for (var name of ["leftPanel", "rightPanel", "bottomBar", "upItem", "mouseMain"])
            verify(item(name).visible, name + " shown")

        // A second initUI re-reads no settings and no texts, only the DPI stage.
        rig.writeSetting("modules/setting/apConfig.bin", "common/language", "ChineseSimplified")
        rig.writeSetting("modules/setting/apConfig.bin", "mouse/isColorful", "true")
        hid.hid553_0BH_SetCurrentDPI(3)
        var mark = rig.traceMark()
        root.initUI()
        compare(root.language, "English")
        compare(root.mainLang[10], "Save")
        compare(root.isColorful, false)
        compare(item("dpiSettingMain").currentDPI, 2)
        verify(!ui_View.enabled, "every initUI locks")
        finishLock()
        compare(rig.commands(mark).length, 1, "only the current DPI stage is read")
        verify(rig.commands(mark)[0].startsWith("8b"))
    }

    function test_chinese_texts() {
        startMain({ language: "ChineseSimplified" })
        compare(root.mainLang[10], "保存")
        compare(item("configButton").text, "配置")
    }

    function test_setCurrentDPI_takes_the_one_based_stage() {
        startMain()
        var dpi = item("dpiSettingMain")
        root.setCurrentDPI(4)
        compare(dpi.currentDPI, 3)
        root.setCurrentDPI(0)
        compare(dpi.currentDPI, 3, "0 is ignored")
        root.setCurrentDPI(1)
        compare(dpi.currentDPI, 0)
    }

    function test_a_560_mouse_starts_on_its_first_profile_data() {
        return [
            { tag: "on profile 3", mouseProfile: 3, switched: true },
            { tag: "on profile 1", mouseProfile: 1, switched: false }
        ]
    }
    function test_a_560_mouse_starts_on_its_first_profile(data) {
        verify(rig.start({ family: 560, mouseProfile: data.mouseProfile }))
        var mark = rig.traceMark()
        root = Qt.createComponent("qrc:/modules/qml/main.qml").createObject(test)
        root.initUI()
        finishLock()
        compare(rig.mouseState().currentProfile, 1)
        var switches = rig.commands(mark).filter(function(c) { return c.startsWith("02 01") })
        compare(switches.length, data.switched ? 1 : 0)
    }

    function test_save_with_nothing_unsaved_sends_nothing_and_does_not_lock() {
        startMain()
        var save = item("saveButton")
        compare(save.color, Theme.colorBlue)
        var mark = rig.traceMark()
        click(save)
        compare(rig.commands(mark), [])
        verify(ui_View.enabled)
        verify(!item("busyIndicator").visible)
    }

    function test_save_face_follows_the_unsaved_flags_and_the_pointer() {
        startMain()
        var save = item("saveButton")
        item("lodMain").isSave = true
        compare(save.color, Qt.color("#ff3030"))
        mouseMove(save, 10, 10)
        compare(save.color, Theme.colorOrange)
        mouseMove(root, 500, 300)
        item("lodMain").isSave = false
        compare(save.color, Theme.colorBlue)
    }

    function test_reset_cancel_sends_nothing_and_ok_resets_the_mouse() {
        startMain()
        hid.hid553_0BH_SetCurrentDPI(1)
        hid.hid553_01H_SetReportRate(3)
        click(item("resetButton"))
        var dialog = item("resetDialog")
        verify(dialog.visible && item("mainMask").visible)
        compare(dialog.width, 427)
        compare(dialog.height, 102)
        var mark = rig.traceMark()
        click(item("resetCancelButton"))
        verify(!dialog.visible && !item("mainMask").visible)
        compare(rig.commands(mark), [])

        item("lodMain").isSave = true
        click(item("resetButton"))
        click(item("resetOkButton"))
        verify(!dialog.visible && !item("mainMask").visible)
        compare(item("dpiSettingMain").currentDPI, 2)
        var state = rig.mouseState()
        compare(state.currentDpiStage, 3)
        compare(state.reportRate, 1)
        var sent = rig.commands(mark)
        verify(sent[sent.length - 1].startsWith("01 01"), "the report rate comes last: " + sent)
        verify(!root.hasUnsaved)
        verify(ui_View.enabled)
    }

    function test_config_opens_the_profile_manager_centred() {
        startMain()
        click(item("configButton"))
        var profile = item("profileMain")
        verify(profile.visible && item("mainMask").visible)
        compare(profile.x, Math.round((1024 - profile.width) / 2))
        compare(profile.y, Math.round((640 - profile.height) / 2))
    }

    function test_system_setting_and_macro_editor_open_centred() {
        startMain()
        click(item("systemSettingButton"))
        verify(item("systemSettingMain").visible && item("mainMask").visible)
        item("systemSettingMain").visible = false
        item("mainMask").visible = false
        click(item("macroEditorEntry"))
        verify(item("macroEditorMain").visible)
        verify(!item("gunEditorEntry").visible, "the recoil editor's entry is hidden")
    }

    function test_help_menu() {
        startMain()
        var help = item("helpMenu")
        click(item("helpIcon"))
        verify(help.visible)
        compare(help.x, 1024 - 300)
        compare(help.y, 30)
        compare(help.width, 200)
        // The second entry (the version) only closes the menu.
        mouseClick(help, 100, 1 + 24 + 12)
        verify(!help.visible)
        click(item("helpIcon"))
        // A press on the background closes it too.
        mousePress(root, 500, 600)
        mouseRelease(root, 500, 600)
        verify(!help.visible)
    }

    function test_a_press_on_the_background_closes_the_drop_downs() {
        startMain()
        var lod = item("reportRateLV")
        var profiles = item("profileList")
        click(lod)
        tryCompare(lod, "isDrop", true)
        var spy = createTemporaryObject(signalSpyComponent, test, { target: root, signalName: "emptyAreaPressed" })
        mouseClick(root, 600, 600)
        compare(spy.count, 1)
        verify(!lod.isDrop)
        click(profiles)
        verify(profiles.isDrop)
        mouseClick(root, 600, 600)
        verify(!profiles.isDrop)
    }

    // A closed dialog is out of the window's scene (the window keeps no
    // drawing of it); opening puts it back above the mask and the dialogs
    // already open, and hiding the window does not close it.
    function test_closed_dialogs_leave_the_scene() {
        startMain()
        var names = ["macroEditorMain", "gunControlMain", "systemSettingMain", "keyAssigmentMain",
                     "profileMain", "appRulesMain", "resetDialog"]
        for (var i = 0; i < names.length; ++i)
            compare(item(names[i]).parent, null, names[i] + " starts out of the scene")

        var order = function(it) { return Array.prototype.indexOf.call(root.children, it) }
        click(item("keyRow4"))
        var keys = item("keyAssigmentMain")
        verify(keys.visible)
        compare(keys.parent, root)
        verify(order(keys) > order(item("mainMask")))
        // The macro editor opened from the key-assignment dialog lies above it.
        item("macroEditorMain").showCentered()
        verify(order(item("macroEditorMain")) > order(keys))
        item("macroEditorMain").closeClicked()
        compare(item("macroEditorMain").parent, null)

        root.visible = false
        compare(keys.parent, root)
        root.visible = true
        verify(keys.visible, "the dialog shows again with the window")

        keys.closeDialog()
        verify(!keys.visible)
        compare(keys.parent, null)
        // Opened again, its controls take clicks as before.
        click(item("keyRow4"))
        compare(keys.parent, root)
        click(item("mouseOption2"))
        keys.closeDialog()
        verify(item("keyMatrixMain").isSave, "the choice reached the key matrix")
    }

    function test_dialogs_are_dragged_inside_the_window() {
        startMain()
        click(item("resetButton"))
        var dialog = item("resetDialog")
        dragBy(dialog, 200, 8, -2000, -2000)
        compare(dialog.x, 0)
        compare(dialog.y, 0)
        dragBy(dialog, 200, 8, 3000, 3000)
        compare(dialog.x, 1024 - 427)
        compare(dialog.y, 640 - 102)
        dragBy(dialog, 200, 8, -100, -50)
        compare(dialog.x, 1024 - 427 - 100)
        compare(dialog.y, 640 - 102 - 50)
    }

    function test_captured_keys_reach_the_root_signal() {
        startMain()
        var spy = createTemporaryObject(signalSpyComponent, test, { target: root, signalName: "msg_KB" })
        root.detectKeyboard(true, 0x04)
        compare(spy.count, 1)
        compare(spy.signalArguments[0][0], true)
        compare(spy.signalArguments[0][1], 0x04)
        var mouseSpy = createTemporaryObject(signalSpyComponent, test, { target: root, signalName: "msg_MS" })
        root.detectMouse(false, 0xF1, 10, 20)
        var args = mouseSpy.signalArguments[0]
        compare([args[0], args[1], args[2], args[3]], [false, 0xF1, 10, 20])
    }

    Component {
        id: signalSpyComponent
        SignalSpy {}
    }
}
