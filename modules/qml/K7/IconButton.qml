import QtQuick

// A 16 × 16 icon that switches to its hover image under the pointer.
// `actOnPress` makes it act on the press instead of the click.
Item {
    id: icon
    width: 16
    height: 16

    property url source: ""
    property url hoverSource: source
    property bool actOnPress: false
    readonly property bool hovered: iconArea.containsMouse

    // What a screen reader calls it (the icon has no text of its own).
    property string accessibleName: ""

    signal clicked()

    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: icon.clicked()
    Keys.onReturnPressed: icon.clicked()
    Keys.onEnterPressed: icon.clicked()
    Accessible.role: Accessible.Button
    Accessible.name: icon.accessibleName
    Accessible.focusable: true
    Accessible.onPressAction: icon.clicked()

    Image {
        anchors.fill: parent
        Accessible.ignored: true
        source: icon.hovered ? icon.hoverSource : icon.source
    }
    MouseArea {
        id: iconArea
        anchors.fill: parent
        anchors.margins: -4
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onPressed: { if (icon.actOnPress) icon.clicked() }
        onClicked: { if (!icon.actOnPress) icon.clicked() }
    }
    FocusRing {
        id: ring
    }
}
