import QtQuick
import "../../theme"
Rectangle {
    color: "#141414"
    border.color: Theme.colorGray1
    clip: true
}
