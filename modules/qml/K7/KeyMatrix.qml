import QtQuick

// Key matrix panel (left column): one row per button slot. Placeholder: the
// frame, the language list, the unsaved flag and the calls the main window
// makes (init, modKeys.saveData, modKeys.checkOneLeftKey, the row signals).
PanelFrame {
    id: keyMatrix
    width: 232
    height: 40 + 24 * keyCount + 2 * (keyCount - 1) + 8
    title: keyMatrixLang[1]
    icon: sourceKeyIcon

    readonly property int keyCount: mouseMain.keyCount
    property var keyMatrixLang: ["Key ", "Key Function"]
    property bool isSave: false
    property alias modKeys: modKeysModel

    signal enterBtn(int index)
    signal leaveBtn(int index)
    signal clickBtn(int index)

    function init(isSendData, isRecovery) {
        if (isSendData)
            modKeys.saveData()
    }

    ListModel {
        id: modKeysModel
        // Sends the whole button map.
        function saveData() {
        }
        // True when the slot being edited holds the only plain left button.
        function checkOneLeftKey() {
            return false
        }
    }
}
