import QtQuick

// The key-assignment dialog. Placeholder: the frame and what the main window
// and the other pages call (init, show, detectKeyboard, keyAssigmentFocus,
// keyCodeToString, the capture flags and the macro drop-down's addData).
DialogFrame {
    id: keyAssigment
    width: 416
    height: 404
    title: keyAssigmentLang[0] + (mouseMain.selectKey + 1)
    closeOnPress: true

    property var keyAssigmentLang: ["Key "]
    property bool isFireInput: false
    property bool isComboInput: false
    property alias macroList: macroListItem

    function init() {
    }
    function show(index) {
        showCentered()
    }
    function detectKeyboard(isDown, usbCode, index) {
    }
    function keyAssigmentFocus() {
    }
    function keyCodeToString(code0, code1, code2, code3) {
        return ""
    }

    onCloseClicked: {
        visible = false
        mainMask.visible = false
        mouseMain.selectKey = -1
    }

    Item {
        id: macroListItem
        // The macro editor hands over the macro names.
        function addData(names, isInit) {
        }
    }
}
