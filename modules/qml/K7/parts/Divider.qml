import QtQuick
import "../../theme"
Rectangle {
    height: 1
    color: Theme.colorGray1
}
