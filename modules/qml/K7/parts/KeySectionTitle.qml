import QtQuick
import "../../theme"
Item {
    id: sectionTitle
    property string text: ""
    width: 368
    height: 26
    Rectangle {
        y: 6
        width: 2
        height: 14
        color: Theme.colorOrange
    }
    Text {
        x: 10
        anchors.verticalCenter: parent.verticalCenter
        text: sectionTitle.text
        color: Theme.fontColor
        font.family: fontFamily
        font.pixelSize: fontMiddleSize
        font.bold: true
    }
}
