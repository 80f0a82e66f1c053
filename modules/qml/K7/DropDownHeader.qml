import QtQuick
import "../theme"

// The 24-high face of the drop-downs: text, and an arrow that points up
// while open; orange-edged under the pointer and while open.
Rectangle {
    id: header
    radius: 2
    color: bgColor
    border.color: headerArea.containsMouse || isOpen ? Theme.colorOrange : borderColor

    property string text: ""
    property bool isOpen: false
    property color bgColor: Theme.colorGray0
    property color borderColor: Theme.colorGray1

    signal clicked()

    Text {
        anchors.left: parent.left
        anchors.leftMargin: 8
        anchors.right: arrow.left
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        text: header.text
        color: Theme.fontColor
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        elide: Text.ElideRight
    }
    Image {
        id: arrow
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        width: 12
        height: 12
        source: header.isOpen ? Theme.sourceDropBtnU : Theme.sourceDropBtn
    }
    MouseArea {
        id: headerArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: header.clicked()
    }
}
