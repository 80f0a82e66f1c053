import QtQuick
import "./basic"

// What the window shows while the pages are being built: the power-on logo
// with the busy text under it, placed as main.qml places them during its
// first lock, so that the pages take over without a visible change.
Item {
    id: powerOn
    objectName: "powerOn"
    width: 1024
    height: 640

    // What the busy text takes from the root.
    property string fontFamily: "微软雅黑"
    property int fontMiddleSize: 14

    Image {
        id: powerOnLogo
        anchors.centerIn: parent
        source: "qrc:/index/modules/img/skin1/index/powerOn.png"
        // Let go with this screen, not kept in the image cache.
        cache: false
    }
    BusyIndicator {
        anchors.centerIn: parent
        anchors.verticalCenterOffset: powerOnLogo.height / 2 + 28
        isBusy: true
    }
}
