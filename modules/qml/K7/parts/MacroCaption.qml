import QtQuick
Text {
    color: fontColor
    font.family: fontFamily
    font.pixelSize: fontNormalSize
    font.bold: true
}
