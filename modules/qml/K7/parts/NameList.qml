pragma ComponentBehavior: Bound

import QtQuick
import "../../theme"

// A framed list of names; a click selects a row.
Rectangle {
    id: nameList
    property alias names: nameView.model
    property int selected: -1
    property string rowPrefix: ""
    signal picked(int index)
    color: "#141414"
    border.color: Theme.colorGray1
    clip: true
    ListView {
        id: nameView
        anchors.fill: parent
        anchors.margins: 1
        boundsBehavior: Flickable.StopAtBounds
        delegate: Rectangle {
            id: nameRow
            required property int index
            required property string modelData
            objectName: nameList.rowPrefix + index
            width: nameView.width
            height: 24
            color: index === nameList.selected ? Theme.colorOrange : nameArea.containsMouse ? "#2a2a2a" : "transparent"
            Text {
                anchors.left: parent.left
                anchors.leftMargin: 8
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                text: nameRow.modelData
                color: Theme.fontColor
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                elide: Text.ElideRight
            }
            MouseArea {
                id: nameArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: nameList.picked(nameRow.index)
            }
        }
    }
}
