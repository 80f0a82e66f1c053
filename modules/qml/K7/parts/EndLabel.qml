import QtQuick
Text {
    color: colorGray2
    font.family: fontFamily
    font.pixelSize: fontNormalSize
}
