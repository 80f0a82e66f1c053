pragma ComponentBehavior: Bound

import QtQuick
import ".."
import "../../theme"

// A framed list of names; a click selects a row.
Rectangle {
    id: nameList
    property alias names: nameView.model
    property int selected: -1
    property string rowPrefix: ""
    // What a screen reader calls the list (its caption).
    property string accessibleName: ""
    signal picked(int index)

    function keyPick(step) {
        if (nameView.count === 0)
            return
        var i = Math.max(0, Math.min(nameView.count - 1, (selected < 0 ? (step > 0 ? -1 : nameView.count) : selected) + step))
        nameView.positionViewAtIndex(i, ListView.Contain)
        picked(i)
    }
    color: "#141414"
    border.color: Theme.colorGray1
    clip: true
    ListView {
        id: nameView
        anchors.fill: parent
        anchors.margins: 1
        boundsBehavior: Flickable.StopAtBounds
        // The arrows pick the next or the previous name.
        activeFocusOnTab: true
        Keys.onTabPressed: listRing.moveFocus(true)
        Keys.onBacktabPressed: listRing.moveFocus(false)
        Keys.onDownPressed: nameList.keyPick(1)
        Keys.onUpPressed: nameList.keyPick(-1)
        Accessible.role: Accessible.List
        Accessible.name: nameList.accessibleName
        Accessible.focusable: true
        delegate: Rectangle {
            id: nameRow
            required property int index
            required property string modelData
            objectName: nameList.rowPrefix + index
            width: nameView.width
            height: 24
            color: index === nameList.selected ? Theme.colorOrange : nameArea.containsMouse ? "#2a2a2a" : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: nameRow.modelData
            Accessible.selectable: true
            Accessible.selected: index === nameList.selected
            Accessible.onPressAction: nameList.picked(nameRow.index)
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
    FocusRing {
        id: listRing
        focusItem: nameView
        outset: 0
    }
}
