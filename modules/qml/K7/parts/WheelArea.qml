import QtQuick

// Lets the wheel scroll a list whose rows are not dragged.
MouseArea {
    id: wheelArea
    property Flickable flickable: null
    anchors.fill: parent
    acceptedButtons: Qt.NoButton
    onWheel: function(wheel) {
        var f = wheelArea.flickable
        var max = Math.max(0, f.contentHeight - f.height)
        f.contentY = Math.max(0, Math.min(max, f.contentY - wheel.angleDelta.y / 120 * 54))
    }
}
