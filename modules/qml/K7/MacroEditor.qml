import QtQuick

// The macro editor dialog. Placeholder: the frame and what the main window
// and the key-assignment dialog call.
DialogFrame {
    id: macroEditor
    width: 640
    height: 448
    title: macroEditorLang[0]

    property var macroEditorLang: ["Macro Editor"]
    property bool isInputting: false
    property bool isInsertting: false
    property alias macroNumber_lv: macroListView

    signal deleteMacro(string macroName)
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)

    function init() {
    }
    function detectKeyboard(isDown, usbCode) {
    }
    function detectInput(isDown, usbCode) {
    }
    function sendMacro(slot, macroName) {
    }
    function macroEditorFocus() {
    }

    onCloseClicked: {
        visible = false
        mainMask.visible = false
    }

    ListView {
        id: macroListView
        visible: false
        currentIndex: -1
        model: ListModel { id: macroNumberModel }
        delegate: Item {}
    }
}
