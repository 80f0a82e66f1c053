import QtQuick
import "../K7"
import "../theme"

// One entry the window host adds to the help menu (ui_Ctl.menuEntries): a
// text, greyed while disabled, with a tick while a checkable entry is
// checked; or a separator line. The first one draws the line that sets the
// added entries apart from the menu's own.
Item {
    id: entry
    required property int index
    required property var modelData
    readonly property bool isSeparator: modelData.separator === true
    readonly property bool isEnabled: !isSeparator && modelData.enabled !== false
    objectName: "helpMenuEntry" + index
    width: 198
    height: isSeparator ? 9 : 24

    signal chosen(int index)

    activeFocusOnTab: isEnabled
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: entry.chosen(entry.index)
    Keys.onReturnPressed: entry.chosen(entry.index)
    Keys.onEnterPressed: entry.chosen(entry.index)
    Accessible.role: isSeparator ? Accessible.Separator : Accessible.MenuItem
    Accessible.name: isSeparator ? "" : String(modelData.text)
    Accessible.checkable: modelData.checkable === true
    Accessible.checked: modelData.checked === true
    Accessible.focusable: isEnabled
    Accessible.onPressAction: if (entry.isEnabled) entry.chosen(entry.index)

    Rectangle {
        anchors.fill: parent
        color: entryArea.containsMouse && entry.isEnabled ? Theme.colorOrange : "transparent"
    }
    Rectangle {
        x: 6
        width: parent.width - 12
        height: 1
        y: entry.isSeparator ? 4 : 0
        color: Theme.colorGray1
        visible: entry.isSeparator || entry.index === 0
    }
    Text {
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.right: tick.visible ? tick.left : parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        visible: !entry.isSeparator
        text: entry.isSeparator ? "" : String(entry.modelData.text)
        color: entry.isEnabled ? Theme.fontColor : Theme.colorGray2
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        elide: Text.ElideRight
    }
    Image {
        id: tick
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        source: Theme.sourceCheckBtn
        Accessible.ignored: true
        visible: !entry.isSeparator && entry.modelData.checkable === true && entry.modelData.checked === true
    }
    MouseArea {
        id: entryArea
        anchors.fill: parent
        hoverEnabled: true
        enabled: entry.isEnabled
        onClicked: entry.chosen(entry.index)
    }
    FocusRing {
        id: ring
        outset: 0
    }
}
