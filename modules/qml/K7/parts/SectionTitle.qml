import QtQuick
import "../../theme"
Text {
    color: Theme.fontColor
    font.family: fontFamily
    font.pixelSize: fontMiddleSize
    font.bold: true
}
