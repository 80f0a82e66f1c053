import QtQuick
import "../../theme"
Text {
    color: Theme.colorGray2
    font.family: fontFamily
    font.pixelSize: fontNormalSize
}
