import QtQuick
Rectangle {
    height: 1
    color: colorGray1
}
