import QtQuick
import "../theme"

// A full-width 24-high entry of a panel (e.g. "Macro Editor", "System
// setting"): optional icon, text, and a small arrow; orange under the pointer.
Rectangle {
    id: entry
    width: 216
    height: 24
    radius: 2
    color: hovered ? Theme.colorOrange : "#262626"
    border.color: hovered ? "#d42020" : Theme.colorGray1

    property string text: ""
    property url icon: ""
    readonly property bool hovered: entryArea.containsMouse

    signal clicked()

    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: entry.clicked()
    Keys.onReturnPressed: entry.clicked()
    Keys.onEnterPressed: entry.clicked()
    Accessible.role: Accessible.Button
    Accessible.name: entry.text
    Accessible.focusable: true
    Accessible.onPressAction: entry.clicked()

    Image {
        id: entryIcon
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        source: entry.icon
        visible: String(entry.icon) !== ""
        Accessible.ignored: true
    }
    Text {
        anchors.left: entryIcon.visible ? entryIcon.right : parent.left
        anchors.leftMargin: entryIcon.visible ? 8 : 12
        anchors.right: chevron.left
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        text: entry.text
        color: Theme.fontColor
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        elide: Text.ElideRight
    }
    Text {
        id: chevron
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        text: "›"
        color: entry.hovered ? Theme.fontColor : Theme.colorGray2
        font.family: fontFamily
        font.pixelSize: fontMaxSize
    }
    MouseArea {
        id: entryArea
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: entry.clicked()
    }
    FocusRing {
        id: ring
    }
}
