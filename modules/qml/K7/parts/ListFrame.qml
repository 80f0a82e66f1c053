import QtQuick
Rectangle {
    color: "#141414"
    border.color: colorGray1
    clip: true
}
