import QtQuick
import "../theme"

// A thin vertical scroll bar along the right edge of its parent for
// `flickable`; shown only when there is more to see. Its handle can be dragged.
//   ScrollHandle { flickable: myList }
Rectangle {
    id: bar
    property Flickable flickable: null
    readonly property real overflow: flickable ? Math.max(0, flickable.contentHeight - flickable.height) : 0

    anchors.right: parent ? parent.right : undefined
    anchors.rightMargin: 3
    y: 4
    width: 4
    height: (parent ? parent.height : 0) - 8
    radius: 2
    color: "#262626"
    visible: overflow > 0

    Rectangle {
        id: handle
        objectName: "scrollHandle"
        width: parent.width
        radius: 2
        color: handleArea.containsMouse || handleArea.pressed ? Theme.colorOrange : Theme.colorGray2
        height: bar.flickable ? Math.max(24, bar.height * bar.flickable.height / Math.max(1, bar.flickable.contentHeight)) : 0
        y: bar.overflow > 0 ? (bar.height - height) * (bar.flickable.contentY - bar.flickable.originY) / bar.overflow : 0

        MouseArea {
            id: handleArea
            anchors.fill: parent
            anchors.margins: -4
            hoverEnabled: true
            property real pressY: 0
            property real startY: 0
            onPressed: function(mouse) {
                pressY = mapToItem(bar, mouse.x, mouse.y).y
                startY = bar.flickable.contentY - bar.flickable.originY
            }
            onPositionChanged: function(mouse) {
                var range = bar.height - handle.height
                if (range <= 0)
                    return
                var dy = mapToItem(bar, mouse.x, mouse.y).y - pressY
                var y = Math.max(0, Math.min(bar.overflow, startY + dy / range * bar.overflow))
                bar.flickable.contentY = bar.flickable.originY + y
            }
        }
    }
}
