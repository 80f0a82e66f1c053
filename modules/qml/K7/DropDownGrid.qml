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
    // What a screen reader calls it beside the current entry.
    property string accessibleName: ""
    // The entry the arrow keys point at while the grid is open.
    property int keyCell: -1

    signal btnClick()

    // Closes an open drop-down (also while it is still opening).
    function closeMenu() {
        if (isDrop) {
            openAnimation.stop()
            toggle()
        }
    }

    function pressHeader() {
        dropGrid.btnClick()
        if (!openAnimation.running)
            dropGrid.toggle()
    }

    // The header pressed from the keyboard or by a screen reader: it does
    // not wait for an opening or closing to end, as the pointer does.
    function pressHeaderNow() {
        openAnimation.stop()
        pressHeader()
    }

    // Entry `i` chosen (an empty one changes nothing); the grid closes.
    function choose(i) {
        if (openAnimation.running)
            return
        if (entryText(i) !== "")
            dropGrid.currentSelect = i
        dropGrid.toggle()
        dropGrid.btnClick()
    }

    // Space or Enter: the entry the arrows point at, or the header.
    function keyPress() {
        if (isDrop && keyCell >= 0) {
            openAnimation.stop()
            choose(keyCell)
        } else {
            pressHeaderNow()
        }
    }

    // The arrows walk the entries with text: left and right one, up and down a row.
    function moveKeyCell(step) {
        if (!isDrop) {
            pressHeaderNow()
            return
        }
        var i = keyCell < 0 ? currentSelect : keyCell
        for (var next = i + step; next >= 0 && next < grid.count; next += step) {
            if (entryText(next) !== "") {
                keyCell = next
                return
            }
        }
    }

    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: keyPress()
    Keys.onReturnPressed: keyPress()
    Keys.onEnterPressed: keyPress()
    Keys.onRightPressed: moveKeyCell(1)
    Keys.onLeftPressed: moveKeyCell(-1)
    Keys.onDownPressed: moveKeyCell(3)
    Keys.onUpPressed: moveKeyCell(-3)
    Keys.onEscapePressed: function(event) {
        event.accepted = isDrop
        closeMenu()
    }
    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName !== "" ? accessibleName + ": " + textValue : textValue
    Accessible.focusable: true
    Accessible.onPressAction: pressHeaderNow()
    onActiveFocusChanged: if (!activeFocus) closeMenu()

    function toggle() {
        isDrop = !isDrop
        keyCell = isDrop ? currentSelect : -1
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
        onClicked: dropGrid.pressHeader()
    }
    FocusRing {
        id: ring
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
            Accessible.role: Accessible.List
            Accessible.name: dropGrid.accessibleName !== "" ? dropGrid.accessibleName : dropGrid.textValue
            delegate: Rectangle {
                id: cell
                required property int index
                required property var model
                readonly property string label: model.textValue !== undefined ? String(model.textValue) : ""
                width: grid.cellWidth
                height: 24
                color: label !== "" && ((dropGrid.keyCell >= 0 ? index === dropGrid.keyCell : index === dropGrid.currentSelect)
                                        || cellArea.containsMouse) ? Theme.colorOrange : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: label
                Accessible.ignored: label === ""
                Accessible.selectable: true
                Accessible.selected: index === dropGrid.currentSelect
                Accessible.onPressAction: dropGrid.choose(cell.index)
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
                    onClicked: dropGrid.choose(cell.index)
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
