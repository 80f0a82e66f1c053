import QtQuick
import QtTest

// Pictures of the main screen and of its dialogs, in both languages, saved
// to build/screenshots/ to be looked at.
StrydeTestCase {
    id: test
    name: "Screens"

    function cleanup() {
        stopMain()
    }

    function closeDialogs() {
        for (var name of ["systemSettingMain", "profileMain", "resetDialog"])
            item(name).visible = false
        item("mainMask").visible = false
    }

    function test_screens_data() {
        return [ { tag: "en", language: "English" }, { tag: "zh", language: "ChineseSimplified" } ]
    }
    function test_screens(data) {
        // The power-on logo, during the start-up lock.
        verify(rig.start({ language: data.language }))
        root = Qt.createComponent("qrc:/modules/qml/main.qml").createObject(test)
        root.initUI()
        shot("startup_" + data.tag)
        stopMain()

        startMain({ language: data.language, family: 553, isColorful: true })
        root.setCurrentDPI(2)
        shot("main_" + data.tag)

        click(item("systemSettingButton"))
        shot("system_settings_" + data.tag)
        closeDialogs()

        click(item("configButton"))
        click(item("profileNewButton"))
        click(item("profileNewButton"))
        mouseClick(item("profileRow1"), 60, 13, Qt.RightButton)
        shot("profile_manager_" + data.tag)
        closeDialogs()

        click(item("resetButton"))
        shot("reset_" + data.tag)
        closeDialogs()

        var segment = item("dpiSegment")
        click(segment)
        tryCompare(findChild(segment, "dropArea"), "height", 4 * 24)
        var lod = item("reportRateLV")
        click(lod)
        tryCompare(findChild(lod, "dropArea"), "height", 24)
        verify(!segment.isDrop, "one drop-down at a time")
        var profiles = item("profileList")
        click(profiles)
        tryCompare(findChild(profiles, "dropArea"), "height", 3 * 24)
        item("dpiSettingMain").isSave = true
        shot("main_open_" + data.tag)
        profiles.closeMenu()
        tryCompare(findChild(profiles, "dropArea"), "height", 0)

        click(item("helpIcon"))
        shot("help_" + data.tag)
    }
}
