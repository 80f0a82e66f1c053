import QtQuick
import "../../theme"
Text {
    color: Theme.colorGray3
    font.family: fontFamily
    font.pixelSize: fontNormalSize
    verticalAlignment: Text.AlignVCenter
    height: 24
}
