import QtQuick
import ".."
import "../../theme"

// The question before a reset to the factory settings: the texts come from
// the page, OK and Cancel are handed back to it.
DialogFrame {
    id: resetDialog
    width: 427
    height: 102
    titleHeight: 30
    showClose: false
    property string question: ""
    property string okText: ""
    property string cancelText: ""
    signal okClicked()
    signal cancelClicked()
    onCloseClicked: cancelClicked()

    Text {
        x: 16
        y: 30
        width: parent.width - 32
        height: 36
        verticalAlignment: Text.AlignVCenter
        text: resetDialog.question
        color: Theme.colorGray3
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        elide: Text.ElideRight
    }
    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        spacing: 16
        TextButton {
            objectName: "resetOkButton"
            text: resetDialog.okText
            onClicked: resetDialog.okClicked()
        }
        TextButton {
            objectName: "resetCancelButton"
            text: resetDialog.cancelText
            faceColor: Theme.colorGray1
            onClicked: resetDialog.cancelClicked()
        }
    }
}
