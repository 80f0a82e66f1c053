import QtQuick
import QtTest

// The interface's root functions, as the native side calls them.
TestCase {
    id: test
    name: "MainWindow"
    width: 1024
    height: 640
    when: windowShown

    Loader {
        id: loader
        source: "qrc:/modules/qml/main.qml"
    }
    property var root: loader.item

    function init() {
        verify(root !== null)
    }

    function test_1_initUI_reads_settings_and_shows_the_interface() {
        root.initUI()
        verify(root.isPownOn)
        compare(root.language, "English")
        compare(root.mainLang[0], "Editor")
        compare(root.title, "KORVEX STRYDE")
        compare(root.dpiCount, 4)
        compare(root.dpiValues.length, 8)
        // Every initUI locks the interface for a while.
        verify(!ui_View.enabled)
        tryVerify(function() { return ui_View.enabled }, 3000)
        root.run()
        compare(root.startOrder, "ir")
    }

    function test_2_setCurrentDPI_ignores_zero() {
        root.setCurrentDPI(3)
        compare(root.currentStage, 2)
        root.setCurrentDPI(0)
        compare(root.currentStage, 2)
        root.setCurrentDPI(1)
        compare(root.currentStage, 0)
    }

    function test_3_setProtectUI_locks_for_the_interval() {
        root.setProtectUI(0)
        verify(!ui_View.enabled)
        tryVerify(function() { return ui_View.enabled }, 1000)
    }

    function test_4_captured_input_is_shown() {
        root.detectKeyboard(true, 0x28)
        compare(root.lastInput, "Key down 0x28")
        root.detectMouse(false, 0xF0, 10, 20)
        compare(root.lastInput, "Button up 0xf0 at 10, 20")
    }
}
