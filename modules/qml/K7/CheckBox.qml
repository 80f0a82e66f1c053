import QtQuick
import "../theme"

// The label, then `gapValue` to its right a 12 × 12 box with the tick when
// selected. A click emits btnClick(index) first and then toggles isSelect, so
// a handler sees the state from before the click.
Item {
    id: check
    width: label.implicitWidth + gapValue + box.width
    height: Math.max(box.height, label.implicitHeight)

    property string textValue: ""
    property alias tmptext: label
    property bool isSelect: false
    property int index: -1
    property int gapValue: 8
    property color bgColor: Theme.colorGray0
    property color borderColor: Theme.colorGray2

    signal btnClick(int index)

    // A click, a key or a screen reader: the handler first, then the tick.
    function toggle() {
        check.btnClick(check.index)
        check.isSelect = !check.isSelect
    }

    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: check.toggle()
    Keys.onReturnPressed: check.toggle()
    Keys.onEnterPressed: check.toggle()
    Accessible.role: Accessible.CheckBox
    Accessible.name: check.textValue
    Accessible.checkable: true
    Accessible.checked: check.isSelect
    Accessible.focusable: true
    Accessible.onPressAction: check.toggle()
    Accessible.onToggleAction: check.toggle()

    Text {
        id: label
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        text: check.textValue
        color: checkArea.containsMouse ? Theme.fontColor : Theme.colorGray3
        font.family: fontFamily
        font.pixelSize: fontNormalSize
    }
    Rectangle {
        id: box
        anchors.left: label.right
        anchors.leftMargin: check.gapValue
        anchors.verticalCenter: parent.verticalCenter
        width: 12
        height: 12
        radius: 2
        color: check.bgColor
        border.color: checkArea.containsMouse ? Theme.colorOrange : check.borderColor
        Image {
            anchors.fill: parent
            Accessible.ignored: true
            source: Theme.sourceCheckBtn
            visible: check.isSelect
        }
    }
    MouseArea {
        id: checkArea
        anchors.fill: parent
        anchors.margins: -4
        hoverEnabled: true
        onClicked: check.toggle()
    }
    FocusRing {
        id: ring
        outset: 4
    }
}
