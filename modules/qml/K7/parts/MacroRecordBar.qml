import QtQuick
import ".."
import "../../theme"

// The row under the macro editor's events: Start / Stop Record, the light
// that blinks while recording, the repeat count and whether waits are recorded.
Item {
    id: bar
    // The macro editor: its texts, its recording state and what the controls do.
    required property var page
    property alias timesField: timesField
    property alias delayRecord: delayRecord
    x: 200
    y: 412
    width: 424
    height: 24

    TextButton {
        id: recordButton
        objectName: "recordButton"
        width: 100
        text: bar.page.isInputting ? bar.page.macroEditorLang[5] : bar.page.macroEditorLang[8]
        faceColor: bar.page.isInputting ? Theme.colorOrange : Theme.colorBlue
        hoverColor: bar.page.isInputting ? "#d42020" : Theme.colorOrange
        opacity: bar.page.macroNumber_lv.currentIndex >= 0 ? 1 : 0.5
        onClicked: bar.page.toggleRecord()
    }
    // Blinks while recording.
    Rectangle {
        anchors.left: recordButton.right
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 8
        height: 8
        radius: 4
        color: Theme.colorUnsaved
        visible: bar.page.isInputting
        SequentialAnimation on opacity {
            running: bar.page.isInputting
            loops: Animation.Infinite
            NumberAnimation { to: 0.2; duration: 500 }
            NumberAnimation { to: 1; duration: 500 }
        }
    }
    CheckBox {
        id: delayRecord
        objectName: "delayRecord"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        textValue: bar.page.macroEditorLang[9]
    }
    RectInput {
        id: timesField
        objectName: "macroTimesField"
        anchors.right: delayRecord.left
        anchors.rightMargin: 24
        anchors.verticalCenter: parent.verticalCenter
        width: 56
        minValue: 1
        maxValue: 65535
        textValue: "1"
        accessibleName: bar.page.macroEditorLang[6]
        onEndInputSignal: bar.page.saveMacro()
    }
    Text {
        anchors.right: timesField.left
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        text: bar.page.macroEditorLang[6]
        color: Theme.colorGray3
        font.family: fontFamily
        font.pixelSize: fontNormalSize
    }
}
