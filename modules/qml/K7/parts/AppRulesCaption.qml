import QtQuick
Text {
    color: colorGray3
    font.family: fontFamily
    font.pixelSize: fontNormalSize
    elide: Text.ElideRight
}
