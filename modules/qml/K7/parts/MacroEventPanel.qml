pragma ComponentBehavior: Bound

import QtQuick
import ".."
import "../../theme"

// The macro editor's right side: the selected macro's events and their
// editing (the event menu's rows, the delay edited in place by a double
// click, the insert-key dialog's result). Every edit is saved at once.
Item {
    id: panel
    // The macro editor: its event model, its texts and saveMacro().
    required property var page
    property alias listView: eventView

    // Inserts `added` at `at` (appended at the end), selects row `select`
    // (relative to `at`) and saves; nothing when the macro is full.
    function insertEvents(at, added, select) {
        var list = page.events()
        var candidate = list.slice(0, at).concat(added, list.slice(at))
        if (!page.mayGrow(candidate))
            return
        for (var i = 0; i < added.length; ++i)
            page.eventModel.insert(at + i, added[i])
        eventView.currentIndex = at + select
        page.saveMacro()
    }

    function deleteEvent() {
        var i = eventView.currentIndex
        if (i < 0 || i >= page.eventModel.count)
            return
        page.eventModel.remove(i)
        eventView.currentIndex = Math.min(i, page.eventModel.count - 1)
        page.saveMacro()
    }

    function insertDelay() {
        var i = eventView.currentIndex
        insertEvents(i >= 0 ? i : page.eventModel.count, [{ type: 0, info: "50" }], 0)
    }

    // Press and release of a mouse button, after the selected row.
    function insertMouseKey(code) {
        var name = _KeyCodeString.keycodeTostr(code)
        var i = eventView.currentIndex
        var at = i < 0 || i === page.eventModel.count - 1 ? page.eventModel.count : i + 1
        insertEvents(at, [{ type: 3, info: name }, { type: 4, info: name }], 1)
    }

    function openInsertKey() {
        if (page.isFull())
            return
        page.insertCode = 0
        page.isInsertting = true
    }

    // OK of the insert-key dialog: press and release of the key, before the
    // selected row (appended when the last row or none is selected).
    function closeInsertKey() {
        page.isInsertting = false
        if (page.insertCode === 0)
            return
        var name = _KeyCodeString.keycodeTostr(page.insertCode)
        var i = eventView.currentIndex
        var at = i < 0 || i === page.eventModel.count - 1 ? page.eventModel.count : i
        insertEvents(at, [{ type: 1, info: name }, { type: 2, info: name }], 1)
    }

    function menuChosen(index) {
        page.eventMenu.visible = false
        switch (index) {
        case 0: deleteEvent(); break
        case 1: insertDelay(); break
        case 2: openInsertKey(); break
        case 3: insertMouseKey(0xF0); break
        case 4: insertMouseKey(0xF2); break
        case 5: insertMouseKey(0xF1); break
        }
    }

    // What a screen reader says for an event: "Delay 50 ms", "Key down A".
    function eventName(type, info) {
        if (type === 0)
            return page.macroEditorLang[9] + " " + info + " ms"
        return String(accessibleLang[8 + type] || "%1").arg(info)
    }

    function listKey(event) {
        var count = page.eventModel.count
        var i = eventView.currentIndex
        if ((event.key === Qt.Key_Up || event.key === Qt.Key_Down) && count > 0) {
            page.endEdits()
            eventView.currentIndex = Math.max(0, Math.min(count - 1, i < 0 ? 0 : i + (event.key === Qt.Key_Up ? -1 : 1)))
            eventView.positionViewAtIndex(eventView.currentIndex, ListView.Contain)
        } else if (event.key === Qt.Key_Delete && i >= 0) {
            deleteEvent()
        } else if (event.key === Qt.Key_F2 && i >= 0 && page.eventModel.get(i).type === 0) {
            startDelayEdit(i)
        } else if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
            var row = i >= 0 ? eventView.itemAtIndex(i) : null
            if (row)
                page.openEventMenu(row, 20, row.height)
            else
                page.openEventMenu(eventFrame, 20, 20)
            page.eventMenu.focusFirst(eventView)
        } else {
            return
        }
        event.accepted = true
    }

    function startDelayEdit(index) {
        page.endEdits()
        page.delayEditIndex = index
        delayEditor.begin(page.eventModel.get(index).info)
    }

    // Takes a whole number of 0 … 65535 ms; anything else leaves the delay.
    function endDelayEdit() {
        if (page.delayEditIndex < 0)
            return
        var index = page.delayEditIndex
        page.delayEditIndex = -1
        delayEditor.finish()
        var text = delayEditor.text.trim()
        var ms = parseInt(text, 10)
        if (index >= page.eventModel.count || !/^[0-9]+$/.test(text) || ms > page.maxDelay)
            return
        if (String(ms) === page.eventModel.get(index).info)
            return
        page.eventModel.setInfo(index, String(ms))
        page.saveMacro()
    }

    MacroCaption {
        x: 200
        y: 52
        text: panel.page.macroEditorLang[4]
    }
    ListFrame {
        id: eventFrame
        x: 200
        y: 76
        width: 424
        height: 328

        // A right click on the empty part of the list offers the insertions.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onPressed: function(mouse) {
                panel.page.endEdits()
                panel.page.listMenu.visible = false
                eventView.currentIndex = -1
                if (mouse.button === Qt.RightButton)
                    panel.page.openEventMenu(eventFrame, mouse.x, mouse.y)
                else
                    panel.page.eventMenu.visible = false
            }
        }

        ListView {
            id: eventView
            objectName: "eventListView"
            anchors.fill: parent
            anchors.margins: 1
            currentIndex: -1
            model: panel.page.eventModel
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            interactive: false
            // The arrows select, Delete removes, F2 edits a wait, the menu key opens the menu.
            activeFocusOnTab: true
            Keys.onTabPressed: eventRing.moveFocus(true)
            Keys.onBacktabPressed: eventRing.moveFocus(false)
            Keys.onPressed: function(event) { panel.listKey(event) }
            Accessible.role: Accessible.List
            Accessible.name: panel.page.macroEditorLang[4]
            Accessible.focusable: true
            delegate: Rectangle {
                id: eventRow
                required property int index
                required property int type
                required property string info
                readonly property bool selected: index === eventView.currentIndex
                objectName: "eventRow" + index
                width: eventView.width
                height: 27
                color: selected ? Theme.colorOrange : eventRowArea.containsMouse ? "#2a2a2a"
                                                                           : index % 2 ? "#181818" : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: panel.eventName(eventRow.type, eventRow.info)
                Accessible.selectable: true
                Accessible.selected: eventRow.selected
                Accessible.onPressAction: eventView.currentIndex = eventRow.index
                Text {
                    x: 8
                    width: 32
                    anchors.verticalCenter: parent.verticalCenter
                    horizontalAlignment: Text.AlignRight
                    text: String(eventRow.index + 1)
                    color: eventRow.selected ? Theme.fontColor : Theme.colorGray2
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                }
                Image {
                    Accessible.ignored: true
                    x: 56
                    anchors.verticalCenter: parent.verticalCenter
                    width: 16
                    height: 16
                    source: [Theme.sourcemacroKeyDelay, Theme.sourcemacroKeyPress, Theme.sourcemacroKeyRelease,
                             Theme.sourcemacroMousePress, Theme.sourcemacroMouseRelease][eventRow.type] || ""
                }
                Text {
                    x: 86
                    width: parent.width - 100
                    anchors.verticalCenter: parent.verticalCenter
                    visible: panel.page.delayEditIndex !== eventRow.index
                    text: eventRow.type === 0 ? eventRow.info + " ms" : eventRow.info
                    color: eventRow.type === 0 && !eventRow.selected ? Theme.colorGray3 : Theme.fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                MouseArea {
                    id: eventRowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: function(mouse) {
                        if (panel.page.delayEditIndex !== eventRow.index)
                            panel.page.endEdits()
                        panel.page.listMenu.visible = false
                        eventView.currentIndex = eventRow.index
                        if (mouse.button === Qt.RightButton)
                            panel.page.openEventMenu(eventRowArea, mouse.x, mouse.y)
                        else
                            panel.page.eventMenu.visible = false
                    }
                    onDoubleClicked: function(mouse) {
                        if (mouse.button === Qt.LeftButton && eventRow.type === 0)
                            panel.startDelayEdit(eventRow.index)
                    }
                }
            }
        }
        WheelArea {
            flickable: eventView
        }
        ScrollHandle {
            flickable: eventView
        }
        FocusRing {
            id: eventRing
            focusItem: eventView
            outset: 0
        }
        InlineEditor {
            id: delayEditor
            inputName: "delayEditor"
            list: eventView
            row: panel.page.delayEditIndex
            x: 80
            width: 120
            maximumLength: 5
            onAccepted: panel.endDelayEdit()
            onCancelled: panel.page.delayEditIndex = -1
        }
    }
}
