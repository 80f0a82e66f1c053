import QtQuick
import ".."
import "../../theme"

// "R", "G" or "B" and its number field.
Item {
    id: channel
    property string label: ""
    property string fieldName: ""
    property alias field: input
    // The field's name for a screen reader ("Color R").
    property string accessibleName: label
    signal inputStarted()
    signal edited()
    width: 56
    height: 20
    Text {
        width: 12
        height: 20
        verticalAlignment: Text.AlignVCenter
        text: channel.label
        color: Theme.colorGray3
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        font.bold: true
    }
    RectInput {
        id: input
        objectName: channel.fieldName
        x: 14
        width: 42
        textValue: "255"
        txtInput.maximumLength: 3
        accessibleName: channel.accessibleName
        onInputSignal: channel.inputStarted()
        onEndInputSignal: channel.edited()
    }
}
