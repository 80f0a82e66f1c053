import QtQuick
Text {
    color: fontColor
    font.family: fontFamily
    font.pixelSize: fontMiddleSize
    font.bold: true
}
