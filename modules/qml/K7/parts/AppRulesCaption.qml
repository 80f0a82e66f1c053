import QtQuick
import "../../theme"
Text {
    color: Theme.colorGray3
    font.family: fontFamily
    font.pixelSize: fontNormalSize
    elide: Text.ElideRight
}
