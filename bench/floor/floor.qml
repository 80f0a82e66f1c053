import QtQuick

// A window's worth of Qt Quick: a background, a title and a button face.
Rectangle {
    width: 1024
    height: 640
    color: "#1a1a1a"

    Text {
        x: 27
        y: 12
        text: "KORVEX STRYDE"
        color: "#ffffff"
        font.pixelSize: 16
    }
    Rectangle {
        x: 936
        y: 608
        width: 64
        height: 24
        color: "#09347f"
        Text {
            anchors.centerIn: parent
            text: "Save"
            color: "#ffffff"
            font.pixelSize: 12
        }
    }
}
