import QtQuick
import "../theme"

// A 10 × 10 rounded square with an orange dot when selected and the label
// `gapValue` to its right. A click selects it and emits btnClick(index);
// deselecting the others of a group is the page's job.
Item {
    id: radio
    width: box.width + gapValue + label.implicitWidth
    height: Math.max(box.height, label.implicitHeight)

    property string textValue: ""
    property bool isSelect: false
    property int index: -1
    property int gapValue: 16
    property alias tmptext: label

    signal btnClick(int index)

    function choose() {
        radio.isSelect = true
        radio.btnClick(radio.index)
    }

    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: radio.choose()
    Keys.onReturnPressed: radio.choose()
    Keys.onEnterPressed: radio.choose()
    Accessible.role: Accessible.RadioButton
    Accessible.name: radio.textValue
    Accessible.checkable: true
    Accessible.checked: radio.isSelect
    Accessible.focusable: true
    Accessible.onPressAction: radio.choose()

    Rectangle {
        id: box
        anchors.verticalCenter: parent.verticalCenter
        width: 10
        height: 10
        radius: 2
        color: Theme.colorGray3
        border.color: radioArea.containsMouse ? Theme.colorOrange : Theme.colorGray3
        Rectangle {
            anchors.centerIn: parent
            width: 6
            height: 6
            radius: 1
            color: Theme.colorOrange
            visible: radio.isSelect
        }
    }
    Text {
        id: label
        anchors.left: box.right
        anchors.leftMargin: radio.gapValue
        anchors.verticalCenter: parent.verticalCenter
        text: radio.textValue
        color: radio.isSelect || radioArea.containsMouse ? Theme.fontColor : Theme.colorGray3
        font.family: fontFamily
        font.pixelSize: fontNormalSize
    }
    MouseArea {
        id: radioArea
        anchors.fill: parent
        anchors.margins: -6
        hoverEnabled: true
        onClicked: radio.choose()
    }
    FocusRing {
        id: ring
        outset: 4
    }
}
