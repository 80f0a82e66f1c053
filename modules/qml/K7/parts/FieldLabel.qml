import QtQuick
Text {
    color: colorGray3
    font.family: fontFamily
    font.pixelSize: fontNormalSize
    verticalAlignment: Text.AlignVCenter
    height: 24
}
