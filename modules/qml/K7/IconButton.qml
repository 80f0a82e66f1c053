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

    signal clicked()

    Image {
        anchors.fill: parent
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
}
