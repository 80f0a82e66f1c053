import QtQuick
import ".."
import "../../theme"

// The macro editor's insert-key dialog, over an inner mask: it shows the key
// pressed last; OK closes it.
Rectangle {
    id: insertMask
    // The macro editor: its texts, the chosen key and what OK does.
    required property var page
    signal okClicked()
    anchors.fill: parent
    radius: page.radius
    color: "#a0000000"
    visible: page.isInsertting
    z: 30
    MouseArea {
        anchors.fill: parent
        onWheel: function(wheel) { wheel.accepted = true }
    }
    Rectangle {
        objectName: "insertKeyDialog"
        Accessible.role: Accessible.Dialog
        Accessible.name: insertMask.page.macroEditorLang[14]
        anchors.centerIn: parent
        width: 240
        height: 80
        radius: 4
        color: Theme.colorGray0
        border.color: Theme.colorGray1
        Rectangle {
            width: parent.width
            height: 26
            radius: 4
            color: Theme.colorGray1
            Rectangle {
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: Theme.colorOrange
            }
            Text {
                x: 12
                anchors.verticalCenter: parent.verticalCenter
                text: insertMask.page.macroEditorLang[14]
                color: Theme.fontColor
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                font.bold: true
            }
        }
        Rectangle {
            objectName: "insertKeyField"
            x: 16
            y: 42
            width: 128
            height: 24
            radius: 2
            color: "#141414"
            border.color: Theme.colorOrange
            Text {
                anchors.centerIn: parent
                text: insertMask.page.insertCode ? _KeyCodeString.keycodeTostr(insertMask.page.insertCode) : "…"
                color: insertMask.page.insertCode ? Theme.fontColor : Theme.colorGray2
                font.family: fontFamily
                font.pixelSize: fontNormalSize
            }
        }
        TextButton {
            objectName: "insertKeyOk"
            x: 160
            y: 42
            text: insertMask.page.macroEditorLang[7]
            onClicked: insertMask.okClicked()
        }
    }
}
