import QtQuick
import ".."

// The main screen's editor box: the entries that open the macro editor and,
// when shown, the recoil-preset editor.
PanelFrame {
    id: editorBox
    width: 232
    property bool showGunEditor: false
    property string macroText: ""
    property string gunText: ""
    signal macroEditorClicked()
    signal gunEditorClicked()
    // Room for the Gun Editor entry when it is shown.
    height: showGunEditor ? 108 : 76

    Column {
        x: 8
        y: 8
        spacing: 8
        EntryButton {
            objectName: "macroEditorEntry"
            width: 216
            text: editorBox.macroText
            onClicked: editorBox.macroEditorClicked()
        }
        EntryButton {
            objectName: "gunEditorEntry"
            width: 216
            visible: editorBox.showGunEditor
            text: editorBox.gunText
            onClicked: editorBox.gunEditorClicked()
        }
    }
}
