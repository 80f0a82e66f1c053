import QtQuick
import "../../theme"
Rectangle {
    width: 368
    height: 1
    color: Theme.colorGray1
}
