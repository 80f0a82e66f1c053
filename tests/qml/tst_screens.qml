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
        waitDropArea(segment, 4 * 24)
        shot("dpi_stages_open_" + data.tag)
        var lod = item("reportRateLV")
        click(lod)
        waitDropArea(lod, 24)
        shot("lod_open_" + data.tag)
        verify(!segment.isDrop, "one drop-down at a time")
        var profiles = item("profileList")
        click(profiles)
        waitDropArea(profiles, 3 * 24)
        item("dpiSettingMain").isSave = true
        shot("main_open_" + data.tag)
        profiles.closeMenu()
        waitDropArea(profiles, 0)

        click(item("helpIcon"))
        shot("help_" + data.tag)
    }

    function test_eight_stages() {
        startMain({ family: 560, files: { "modules/setting/p1.bin": { "mouse/dpiCount": 8, "mouse/currentDpiCount": 8,
            "mouse/dpiValueArray": [400, 800, 1600, 2400, 3200, 4000, 5000, 6000] } } })
        root.setCurrentDPI(8)
        shot("dpi_8_stages")
    }
}
