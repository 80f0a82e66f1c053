pragma ComponentBehavior: Bound

import QtQuick
import "../theme"

// A 24-high header showing the current entry; a click opens the list of
// `mdItems` (a ListModel with `textValue`) below it, at most ten rows visible.
// Clicking a row makes it current and closes the list; valueChange(index) is
// emitted once the closing animation has ended. closeMenu() closes an open list.
Item {
    id: dropList
    width: 120
    height: 24
    z: isDrop || openAnimation.running ? 10 : 0

    property bool isDrop: false
    // True while the area opens or closes.
    readonly property bool animating: openAnimation.running
    property alias mdItems: listView.model
    property int count: listView.model && listView.model.count !== undefined ? listView.model.count : 0
    property int currentSelect: 2
    property string textValue: ""
    property color borderColor: Theme.colorGray1
    property color bgColor: Theme.colorGray0
    property int horizontalOffset: 0
    readonly property int visibleRows: Math.min(count, 10)
    // The row a click chose, reported when the list has closed.
    property int pendingIndex: -1
    // What a screen reader calls it beside the current entry ("DPI: 4").
    property string accessibleName: ""
    // The row the arrow keys point at while the list is open.
    property int keyRow: -1

    signal valueChange(int index)
    signal btnClick()
    signal dragSignal(bool isDrag)

    // Closes an open drop-down (also while it is still opening).
    function closeMenu() {
        if (isDrop) {
            openAnimation.stop()
            toggle()
        }
    }

    function pressHeader() {
        dropList.btnClick()
        if (!openAnimation.running)
            dropList.toggle()
    }

    // The header pressed from the keyboard or by a screen reader: it does
    // not wait for an opening or closing to end, as the pointer does.
    function pressHeaderNow() {
        openAnimation.stop()
        pressHeader()
    }

    // The row `i` chosen: it becomes current, and the list closes.
    function choose(i) {
        if (openAnimation.running || i < 0 || i >= count)
            return
        currentSelect = i
        pendingIndex = i
        toggle()
    }

    // Space or Enter: the row the arrows point at, or the header. Keys do not
    // wait for the opening to end as the pointer does.
    function keyPress() {
        if (isDrop && keyRow >= 0) {
            openAnimation.stop()
            choose(keyRow)
        } else {
            pressHeaderNow()
        }
    }

    function moveKeyRow(step) {
        if (!isDrop) {
            pressHeaderNow()
            return
        }
        keyRow = Math.max(0, Math.min(count - 1, (keyRow < 0 ? currentSelect : keyRow) + step))
        listView.positionViewAtIndex(keyRow, ListView.Contain)
    }

    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: keyPress()
    Keys.onReturnPressed: keyPress()
    Keys.onEnterPressed: keyPress()
    Keys.onDownPressed: moveKeyRow(1)
    Keys.onUpPressed: moveKeyRow(-1)
    // Escape closes an open list; a closed one leaves it to the dialog.
    Keys.onEscapePressed: function(event) {
        event.accepted = isDrop
        closeMenu()
    }
    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName !== "" ? accessibleName + ": " + textValue : textValue
    Accessible.focusable: true
    Accessible.onPressAction: pressHeaderNow()
    // Tab on from an open list closes it.
    onActiveFocusChanged: if (!activeFocus) closeMenu()

    function toggle() {
        isDrop = !isDrop
        keyRow = isDrop ? currentSelect : -1
        openAnimation.duration = Math.max(0, 180 - 10 * count)
        openAnimation.to = isDrop ? visibleRows * 24 : 0
        if (isDrop)
            listView.positionViewAtIndex(Math.max(0, currentSelect), ListView.Contain)
        openAnimation.start()
    }

    function entryText(i) {
        if (!listView.model || i < 0 || i >= count)
            return ""
        var e = listView.model.get(i)
        return e && e.textValue !== undefined ? String(e.textValue) : ""
    }

    function refreshText() {
        textValue = entryText(currentSelect)
    }

    onCurrentSelectChanged: refreshText()
    onCountChanged: refreshText()
    Component.onCompleted: refreshText()
    Connections {
        target: listView.model
        ignoreUnknownSignals: true
        function onDataChanged() { dropList.refreshText() }
    }

    DropDownHeader {
        id: header
        anchors.fill: parent
        text: dropList.textValue
        isOpen: dropList.isDrop
        bgColor: dropList.bgColor
        borderColor: dropList.borderColor
        onClicked: dropList.pressHeader()
    }
    FocusRing {
        id: ring
    }

    Rectangle {
        id: area
        objectName: "dropArea"
        x: dropList.horizontalOffset
        y: header.height
        width: dropList.width
        height: 0
        visible: height > 0
        clip: true
        color: Theme.colorGray0
        border.color: Theme.colorGray1

        ListView {
            id: listView
            objectName: "dropView"
            anchors.fill: parent
            anchors.margins: 1
            interactive: false
            boundsBehavior: Flickable.StopAtBounds
            Accessible.role: Accessible.List
            Accessible.name: dropList.accessibleName !== "" ? dropList.accessibleName : dropList.textValue
            // Rows only for the opened part of the area: a closed list holds one at most.
            cacheBuffer: 0
            delegate: Rectangle {
                id: row
                required property int index
                required property var model
                width: listView.width
                height: 24
                // The current row, or the one the arrow keys point at.
                color: (dropList.keyRow >= 0 ? index === dropList.keyRow : index === dropList.currentSelect)
                       || rowArea.containsMouse ? Theme.colorOrange : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: row.model.textValue !== undefined ? String(row.model.textValue) : ""
                Accessible.selectable: true
                Accessible.selected: index === dropList.currentSelect
                Accessible.onPressAction: dropList.choose(row.index)
                Text {
                    anchors.left: parent.left
                    anchors.leftMargin: 8
                    anchors.right: parent.right
                    anchors.rightMargin: 15
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.model.textValue !== undefined ? String(row.model.textValue) : ""
                    color: Theme.fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    anchors.rightMargin: 15
                    hoverEnabled: true
                    onClicked: dropList.choose(row.index)
                }
            }
        }

        // Scroll handle, only when more than ten rows.
        Rectangle {
            id: handle
            visible: dropList.count > 10
            x: parent.width - 13
            width: 12
            radius: 3
            color: "#ffffff"
            border.color: Theme.colorGray3
            height: Math.max(16, parent.height * 10 / Math.max(1, dropList.count))
            y: listView.contentHeight > listView.height
               ? (parent.height - height) * listView.contentY / (listView.contentHeight - listView.height) : 0
            MouseArea {
                anchors.fill: parent
                anchors.margins: -2
                property real pressY: 0
                property real startY: 0
                onPressed: function(mouse) {
                    pressY = mapToItem(area, mouse.x, mouse.y).y
                    startY = handle.y
                    dropList.dragSignal(true)
                }
                onPositionChanged: function(mouse) {
                    var range = area.height - handle.height
                    if (range <= 0)
                        return
                    var y = Math.max(0, Math.min(range, startY + mapToItem(area, mouse.x, mouse.y).y - pressY))
                    listView.contentY = y / range * (listView.contentHeight - listView.height)
                }
                onReleased: dropList.dragSignal(false)
            }
        }
        MouseArea {
            // The wheel scrolls a long list.
            anchors.fill: parent
            acceptedButtons: Qt.NoButton
            onWheel: function(wheel) {
                var max = Math.max(0, listView.contentHeight - listView.height)
                listView.contentY = Math.max(0, Math.min(max, listView.contentY - wheel.angleDelta.y / 120 * 24))
            }
        }
    }

    NumberAnimation {
        id: openAnimation
        target: area
        property: "height"
        easing.type: Easing.OutQuad
        onFinished: {
            if (!dropList.isDrop && dropList.pendingIndex >= 0) {
                var i = dropList.pendingIndex
                dropList.pendingIndex = -1
                dropList.valueChange(i)
            }
        }
    }
}
