import QtQuick
import "../theme"

// A flat text button: `faceColor` at rest, `hoverColor` under the pointer.
Rectangle {
    id: button
    width: 64
    height: 24
    radius: 2
    color: hovered ? hoverColor : faceColor
    border.color: hovered ? Qt.lighter(hoverColor, 1.3) : Qt.lighter(faceColor, 1.35)

    property string text: ""
    property color faceColor: Theme.colorBlue
    property color hoverColor: Theme.colorOrange
    property color textColor: Theme.fontColor
    property int textSize: fontNormalSize
    readonly property bool hovered: buttonArea.containsMouse

    signal clicked()

    Text {
        anchors.centerIn: parent
        width: parent.width - 8
        horizontalAlignment: Text.AlignHCenter
        text: button.text
        color: button.textColor
        font.family: fontFamily
        font.pixelSize: button.textSize
        elide: Text.ElideRight
    }
    MouseArea {
        id: buttonArea
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: button.clicked()
    }
}
