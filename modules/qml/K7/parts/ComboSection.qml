import QtQuick
import ".."
import "../../theme"

// The key-assignment section of the group function: a captured key
// combination, confirmed or dropped with the icons beside it.
Item {
    id: comboSection
    // The key-assignment page: its texts, its working copy and the capture.
    required property var page
    width: 368
    height: 64
    Separator {
        y: -7
    }
    KeySectionTitle {
        text: comboSection.page.keyAssigmentLang[14]
    }
    Rectangle {
        id: comboField
        objectName: "comboField"
        x: 12
        y: 34
        width: 240
        height: 24
        radius: 2
        color: comboSection.page.isComboInput ? "#2a1010" : Theme.colorGray0
        border.color: comboSection.page.isComboInput || comboArea.containsMouse ? Theme.colorOrange : Theme.colorGray1
        // Space or Enter starts the capture as the key comes up.
        activeFocusOnTab: true
        Keys.onTabPressed: comboRing.moveFocus(true)
        Keys.onBacktabPressed: comboRing.moveFocus(false)
        Keys.onSpacePressed: {}
        Keys.onReturnPressed: {}
        Keys.onEnterPressed: {}
        Keys.onReleased: function(event) {
            if (event.key !== Qt.Key_Space && event.key !== Qt.Key_Return && event.key !== Qt.Key_Enter)
                return
            event.accepted = true
            if (!event.isAutoRepeat)
                comboSection.page.startComboInput()
        }
        Accessible.role: Accessible.Button
        Accessible.name: comboSection.page.keyAssigmentLang[14] + ": " + comboText.text
        Accessible.focusable: true
        Accessible.onPressAction: comboSection.page.startComboInput()
        FocusRing {
            id: comboRing
        }
        Text {
            id: comboText
            anchors.fill: parent
            anchors.leftMargin: 8
            anchors.rightMargin: 8
            verticalAlignment: Text.AlignVCenter
            readonly property var page: comboSection.page
            readonly property bool captured: page.isComboInput && page.comboText !== ""
            readonly property bool chosen: !page.isComboInput && page.keyCode0 === 2
            text: captured ? page.comboText : chosen ? page.keyString
                                                     : page.isComboInput ? "" : page.keyAssigmentLang[10]
            color: captured || chosen ? Theme.fontColor : Theme.colorGray2
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            elide: Text.ElideLeft
        }
        // The caret while keys are awaited.
        Rectangle {
            visible: comboSection.page.isComboInput && comboSection.page.comboText === ""
            x: 8
            anchors.verticalCenter: parent.verticalCenter
            width: 1
            height: 14
            color: Theme.fontColor
            SequentialAnimation on opacity {
                running: comboSection.page.isComboInput
                loops: Animation.Infinite
                NumberAnimation { to: 0; duration: 500 }
                NumberAnimation { to: 1; duration: 500 }
            }
        }
        MouseArea {
            id: comboArea
            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: comboSection.page.startComboInput()
        }
    }
    IconButton {
        objectName: "comboOk"
        x: comboField.x + comboField.width + 14
        anchors.verticalCenter: comboField.verticalCenter
        source: Theme.sourceOkBtn
        hoverSource: Theme.sourceOkBtnH
        opacity: comboSection.page.isComboInput ? 1 : 0.4
        accessibleName: mainIten.mainLang[8]
        onClicked: comboSection.page.confirmCombo()
    }
    IconButton {
        objectName: "comboCancel"
        x: comboField.x + comboField.width + 42
        anchors.verticalCenter: comboField.verticalCenter
        source: Theme.sourceCancelBtn
        hoverSource: Theme.sourceCancelBtnH
        opacity: comboSection.page.isComboInput ? 1 : 0.4
        accessibleName: mainIten.mainLang[7]
        onClicked: comboSection.page.cancelCombo()
    }
}
