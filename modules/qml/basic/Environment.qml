import QtQuick

// The window's background, the title bar and the title logo at (27, 12).
Item {
    width: 1024
    height: 640

    Image {
        anchors.fill: parent
        source: sourceBackground
    }
    Image {
        width: 1024
        height: 48
        source: sourceTitleBar
    }
    Image {
        x: 27
        y: 12
        source: sourceTitleLogo
    }
}
