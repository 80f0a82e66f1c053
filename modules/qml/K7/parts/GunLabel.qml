import QtQuick
Text {
    height: 20
    verticalAlignment: Text.AlignVCenter
    color: colorGray3
    font.family: fontFamily
    font.pixelSize: fontNormalSize
}
