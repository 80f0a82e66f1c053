import QtQuick
import "../theme"

// Shown only while busy: "LOADING ......" fading between 1.0 and 0.2 in
// 400 ms steps, for as long as the interface is locked.
Item {
    id: busyIndicator
    width: 200
    height: 40
    visible: isBusy

    property bool isBusy: false

    function setBusy(_isBusy) {
        isBusy = _isBusy
    }

    Rectangle {
        anchors.centerIn: parent
        width: loadingText.implicitWidth + 40
        height: 32
        radius: 16
        color: "#d0141414"
        border.color: Theme.colorGray1
    }
    Text {
        id: loadingText
        anchors.centerIn: parent
        text: "LOADING ......"
        color: Theme.fontColor
        font.family: fontFamily
        font.pixelSize: fontMiddleSize
        font.letterSpacing: 2

        SequentialAnimation on opacity {
            running: busyIndicator.isBusy
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
        }
    }
}
