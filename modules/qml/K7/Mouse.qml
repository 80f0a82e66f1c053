import QtQuick

// The mouse picture in the middle of the window. Placeholder: the body image,
// the number of buttons shown and the slot being edited.
Item {
    id: mouse
    width: 1024
    height: 640

    property int keyCount: 8
    property int selectKey: -1

    Image {
        x: 352
        y: 110
        width: 320
        height: 460
        source: sourceMouseBody
    }
}
