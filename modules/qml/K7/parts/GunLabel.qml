import QtQuick
import "../../theme"
Text {
    height: 20
    verticalAlignment: Text.AlignVCenter
    color: Theme.colorGray3
    font.family: fontFamily
    font.pixelSize: fontNormalSize
}
