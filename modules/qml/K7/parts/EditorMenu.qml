pragma ComponentBehavior: Bound

import QtQuick
import ".."
import "../../theme"

// A right-click menu: one row per text of `entries`; `enabledRows`
// greys out the others.
Rectangle {
    id: menu
    property var entries: []
    property var enabledRows: null
    signal chosen(int index)
    // Where the focus goes back when the menu closes after a key.
    property Item returnFocus: null

    // Opened from the keyboard (the menu key): its first entry takes the focus.
    function focusFirst(from) {
        returnFocus = from
        for (var i = 0; i < entryRepeater.count; ++i) {
            var e = entryRepeater.itemAt(i)
            if (e && e.active) {
                e.forceActiveFocus(Qt.TabFocusReason)
                return
            }
        }
    }
    function focusEntry(i) {
        var e = entryRepeater.itemAt((i + entryRepeater.count) % entryRepeater.count)
        if (e)
            e.forceActiveFocus(Qt.TabFocusReason)
    }
    function closeByKey() {
        visible = false
        giveFocusBack()
    }
    function giveFocusBack() {
        var back = returnFocus
        returnFocus = null
        if (!back || !back.visible)
            return
        // An entry that started a key capture: the focus goes back there
        // once the capture ends.
        if (keyCaptureSink.capturing)
            keyCaptureSink.before = back
        else
            back.forceActiveFocus(Qt.OtherFocusReason)
    }
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
            id: entryRepeater
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
                function keyChoose() {
                    if (!menuEntry.active)
                        return
                    menu.chosen(menuEntry.index)
                    menu.giveFocusBack()
                }
                activeFocusOnTab: active
                Keys.onTabPressed: entryRing.moveFocus(true)
                Keys.onBacktabPressed: entryRing.moveFocus(false)
                Keys.onDownPressed: menu.focusEntry(menuEntry.index + 1)
                Keys.onUpPressed: menu.focusEntry(menuEntry.index - 1)
                // As the key comes up: an entry that starts a key capture
                // (Insert Key) does not take the key that chose it.
                Keys.onSpacePressed: {}
                Keys.onReturnPressed: {}
                Keys.onEnterPressed: {}
                Keys.onReleased: function(event) {
                    if (event.key !== Qt.Key_Space && event.key !== Qt.Key_Return && event.key !== Qt.Key_Enter)
                        return
                    event.accepted = true
                    if (!event.isAutoRepeat)
                        menuEntry.keyChoose()
                }
                Keys.onEscapePressed: menu.closeByKey()
                Accessible.role: Accessible.MenuItem
                Accessible.name: menuEntry.modelData
                Accessible.focusable: active
                Accessible.onPressAction: menuEntry.keyChoose()
                FocusRing {
                    id: entryRing
                    outset: 0
                }
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
