pragma ComponentBehavior: Bound

import QtQuick
import "../theme"

// Like DropDownList, but the entries lie in three columns of the header's
// width (count / 3 rows). A click on an entry with text makes it current;
// any click closes the grid and emits btnClick(). Pages read currentSelect.
Item {
    id: dropGrid
    width: 120
    height: 24
    z: isDrop || openAnimation.running ? 10 : 0

    property bool isDrop: false
    // True while the area opens or closes.
    readonly property bool animating: openAnimation.running
    property alias mdItems: grid.model
    property int currentSelect: 0
    property string textValue: ""
    property color borderColor: Theme.colorGray1
    property color bgColor: Theme.colorGray0
    property int horizontalOffset: 0
    readonly property int rows: Math.ceil(grid.count / 3)

    signal btnClick()

    // Closes an open drop-down (also while it is still opening).
    function closeMenu() {
        if (isDrop) {
            openAnimation.stop()
            toggle()
        }
    }

    function toggle() {
        isDrop = !isDrop
        openAnimation.to = isDrop ? rows * 24 + 2 : 0
        openAnimation.start()
    }

    function entryText(i) {
        if (!grid.model || i < 0 || i >= grid.count)
            return ""
        var e = grid.model.get(i)
        return e && e.textValue !== undefined ? String(e.textValue) : ""
    }

    function refreshText() {
        textValue = entryText(currentSelect)
    }

    onCurrentSelectChanged: refreshText()
    Component.onCompleted: refreshText()
    Connections {
        target: grid.model
        ignoreUnknownSignals: true
        function onDataChanged() { dropGrid.refreshText() }
        function onCountChanged() { dropGrid.refreshText() }
    }

    DropDownHeader {
        id: header
        anchors.fill: parent
        text: dropGrid.textValue
        isOpen: dropGrid.isDrop
        bgColor: dropGrid.bgColor
        borderColor: dropGrid.borderColor
        onClicked: {
            dropGrid.btnClick()
            if (!openAnimation.running)
                dropGrid.toggle()
        }
    }

    Rectangle {
        id: area
        objectName: "dropArea"
        x: dropGrid.horizontalOffset
        y: header.height
        width: dropGrid.width * 3
        height: 0
        visible: height > 0
        clip: true
        color: Theme.colorGray0
        border.color: Theme.colorGray1

        GridView {
            id: grid
            x: 1
            y: 1
            width: dropGrid.width * 3 - 2
            // As tall as the opened part of the area, and no cells kept
            // beyond it: a closed grid holds its first row at most.
            height: Math.max(0, area.height - 2)
            cacheBuffer: 0
            cellWidth: (dropGrid.width * 3 - 2) / 3
            cellHeight: 24
            interactive: false
            delegate: Rectangle {
                id: cell
                required property int index
                required property var model
                readonly property string label: model.textValue !== undefined ? String(model.textValue) : ""
                width: grid.cellWidth
                height: 24
                color: label !== "" && (index === dropGrid.currentSelect || cellArea.containsMouse)
                       ? Theme.colorOrange : "transparent"
                Text {
                    anchors.left: parent.left
                    anchors.leftMargin: 8
                    anchors.right: parent.right
                    anchors.rightMargin: 4
                    anchors.verticalCenter: parent.verticalCenter
                    text: cell.label
                    color: Theme.fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                MouseArea {
                    id: cellArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        if (openAnimation.running)
                            return
                        if (cell.label !== "")
                            dropGrid.currentSelect = cell.index
                        dropGrid.toggle()
                        dropGrid.btnClick()
                    }
                }
            }
        }
    }

    NumberAnimation {
        id: openAnimation
        target: area
        property: "height"
        duration: 180
        easing.type: Easing.OutQuad
    }
}
