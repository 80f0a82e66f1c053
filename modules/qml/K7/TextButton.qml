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

    // Tab reaches it; Space or Enter presses it, as the key comes up: a
    // button that starts a key capture (recording a macro) so starts it
    // after the key, not in the middle of it.
    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: {}
    Keys.onReturnPressed: {}
    Keys.onEnterPressed: {}
    Keys.onReleased: function(event) {
        if (event.key !== Qt.Key_Space && event.key !== Qt.Key_Return && event.key !== Qt.Key_Enter)
            return
        event.accepted = true
        if (!event.isAutoRepeat)
            button.clicked()
    }
    Accessible.role: Accessible.Button
    Accessible.name: button.text
    Accessible.focusable: true
    Accessible.onPressAction: button.clicked()

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
    FocusRing {
        id: ring
    }
}
