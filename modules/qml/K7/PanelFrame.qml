import QtQuick
import "../theme"

// The frame of a panel on the main screen: a title row (icon, title, and an
// optional reset icon at the right) over the panel's own content.
//   PanelFrame { title: "DPI"; icon: sourceDpiIcon; showReset: true; onResetClicked: ... }
// Children go into `content`, which starts below the title row.
Rectangle {
    id: panel
    width: 232
    height: 100
    radius: 4
    color: "#e0141414"
    border.color: Theme.colorGray1

    property string title: ""
    property url icon: ""
    property bool showReset: false
    property int titleHeight: 32
    default property alias content: body.data
    property alias titleRow: titleBar

    signal resetClicked()

    // A group named by its title.
    Accessible.role: Accessible.Grouping
    Accessible.name: panel.title

    Item {
        id: titleBar
        width: parent.width
        height: panel.titleHeight
        Rectangle {
            // The accent mark in front of the title.
            x: 0
            y: 9
            width: 2
            height: 14
            color: Theme.colorOrange
        }
        Image {
            id: titleIcon
            x: 10
            anchors.verticalCenter: parent.verticalCenter
            width: 16
            height: 16
            source: panel.icon
            visible: String(panel.icon) !== ""
            Accessible.ignored: true
        }
        Text {
            anchors.left: titleIcon.visible ? titleIcon.right : parent.left
            anchors.leftMargin: titleIcon.visible ? 8 : 12
            anchors.right: resetIcon.visible ? resetIcon.left : parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: panel.title
            color: Theme.fontColor
            font.family: fontFamily
            font.pixelSize: fontMiddleSize
            font.bold: true
            elide: Text.ElideRight
        }
        IconButton {
            id: resetIcon
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            visible: panel.showReset
            source: Theme.sourceResetBtn
            hoverSource: Theme.sourceResetBtnH
            accessibleName: accessibleLang[3] + " " + panel.title
            onClicked: panel.resetClicked()
        }
        Rectangle {
            anchors.bottom: parent.bottom
            x: 10
            width: parent.width - 20
            height: 1
            color: Theme.colorGray1
        }
    }
    Item {
        id: body
        y: panel.titleHeight
        width: parent.width
        height: parent.height - panel.titleHeight
    }
}
