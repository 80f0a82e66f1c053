import QtQuick
import ".."
import "../../theme"

// The key-assignment section of the fire function: a captured key, its rate
// and how often it fires.
Item {
    id: fireSection
    // The key-assignment page: its texts, its working copy and the fire settings.
    required property var page
    property alias rateDrop: rateDrop
    property alias timesField: timesField
    property alias endnessBox: endnessBox
    width: 368
    height: 96
    Separator {
        y: -7
    }
    KeySectionTitle {
        text: fireSection.page.keyAssigmentLang[8]
    }
    FieldLabel {
        id: keyValueLabel
        x: 12
        y: 32
        text: fireSection.page.keyAssigmentLang[9]
    }
    Rectangle {
        id: fireField
        objectName: "fireField"
        x: Math.max(keyValueLabel.x + keyValueLabel.implicitWidth, rateLabel.x + rateLabel.implicitWidth) + 12
        y: 32
        width: 160
        height: 24
        radius: 2
        color: fireSection.page.isFireInput ? "#2a1010" : Theme.colorGray0
        border.color: fireSection.page.isFireInput || fireArea.containsMouse ? Theme.colorOrange : Theme.colorGray1
        // Space or Enter starts the capture as the key comes up: the next key is the fire key.
        activeFocusOnTab: true
        Keys.onTabPressed: fireRing.moveFocus(true)
        Keys.onBacktabPressed: fireRing.moveFocus(false)
        Keys.onSpacePressed: {}
        Keys.onReturnPressed: {}
        Keys.onEnterPressed: {}
        Keys.onReleased: function(event) {
            if (event.key !== Qt.Key_Space && event.key !== Qt.Key_Return && event.key !== Qt.Key_Enter)
                return
            event.accepted = true
            if (!event.isAutoRepeat)
                fireSection.page.startFireInput()
        }
        Accessible.role: Accessible.Button
        Accessible.name: fireSection.page.keyAssigmentLang[9] + ": " + fireText.text
        Accessible.focusable: true
        Accessible.onPressAction: fireSection.page.startFireInput()
        FocusRing {
            id: fireRing
        }
        Text {
            id: fireText
            readonly property bool chosen: fireSection.page.keyCode0 === 1 && !fireSection.page.isFireInput
            anchors.fill: parent
            anchors.leftMargin: 8
            anchors.rightMargin: 8
            verticalAlignment: Text.AlignVCenter
            text: chosen ? fireSection.page.keyName(fireSection.page.keyCode1) : fireSection.page.keyAssigmentLang[10]
            color: chosen ? Theme.fontColor : Theme.colorGray2
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            elide: Text.ElideRight
        }
        MouseArea {
            id: fireArea
            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: fireSection.page.startFireInput()
        }
    }
    FieldLabel {
        id: rateLabel
        x: 12
        y: 64
        text: fireSection.page.keyAssigmentLang[11]
    }
    DropDownSlider {
        id: rateDrop
        objectName: "rateDrop"
        accessibleName: fireSection.page.keyAssigmentLang[11]
        x: fireField.x
        y: 64
        width: 110
        z: 2
        textValue: "10ms"
        onBtnClick: fireSection.page.closeMenusExcept(rateDrop)
        onValueChange: function(index) { fireSection.page.setRate(index) }
        onIsDropChanged: {
            if (isDrop)
                fireSection.page.ensureVisible(rateDrop, 24)
        }
    }
    FieldLabel {
        id: timesLabel
        x: rateDrop.x + rateDrop.width + 14
        y: 64
        text: fireSection.page.keyAssigmentLang[12]
    }
    RectInput {
        id: timesField
        objectName: "timesField"
        anchors.left: timesLabel.right
        anchors.leftMargin: 8
        anchors.verticalCenter: timesLabel.verticalCenter
        width: 40
        maxValue: 255
        txtInput.maximumLength: 3
        accessibleName: fireSection.page.keyAssigmentLang[12]
        onInputSignal: fireSection.page.closeMenusExcept(null)
        onEndInputSignal: fireSection.page.setTimes(parseInt(textValue) || 0, true)
    }
    CheckBox {
        id: endnessBox
        objectName: "endnessBox"
        anchors.left: timesField.right
        anchors.leftMargin: 12
        anchors.verticalCenter: timesLabel.verticalCenter
        textValue: fireSection.page.keyAssigmentLang[13]
        isSelect: true
        // Reports before it toggles: ticking makes the key fire
        // endlessly, unticking fires it once.
        onBtnClick: {
            timesField.closeFocus()
            fireSection.page.setTimes(isSelect ? 1 : 0, false)
        }
    }
}
