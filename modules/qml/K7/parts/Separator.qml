import QtQuick
Rectangle {
    width: 368
    height: 1
    color: colorGray1
}
