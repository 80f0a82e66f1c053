pragma ComponentBehavior: Bound

import QtQuick
import "../../theme"

// A right-click menu: one row per text of `entries`; `enabledRows`
// greys out the others.
Rectangle {
    id: menu
    property var entries: []
    property var enabledRows: null
    signal chosen(int index)
    visible: false
    width: 140
    height: entries.length * 24 + 2
    color: Theme.colorGray0
    border.color: Theme.colorGray1
    z: 20
    Item {
        x: 1
        y: 1
        Repeater {
            model: menu.entries
            delegate: Rectangle {
                id: menuEntry
                required property int index
                required property string modelData
                readonly property bool active: !menu.enabledRows || menu.enabledRows[index] !== false
                objectName: menu.objectName + "Entry" + index
                y: index * 24
                width: menu.width - 2
                height: 24
                color: menuArea.containsMouse && active ? Theme.colorOrange : "transparent"
                Text {
                    x: 10
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width - 16
                    text: menuEntry.modelData
                    color: menuEntry.active ? Theme.fontColor : Theme.colorGray1
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                MouseArea {
                    id: menuArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        if (menuEntry.active)
                            menu.chosen(menuEntry.index)
                    }
                }
            }
        }
    }
}
