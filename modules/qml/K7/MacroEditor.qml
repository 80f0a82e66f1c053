pragma ComponentBehavior: Bound

import QtQuick
import "parts"
import "../basic/MacroStream.js" as MacroStream

// The macro editor: the user's library of named macros (at most 100), the
// events of the selected macro, recording from the captured keys, editing of
// the list and the repeat count. Every edit is saved at once into the
// macro's file. It also turns a stored macro into the bytes the mouse keeps
// and sends them for a button slot (sendMacro).
//
// Keys reach the editor only while it records (or while the insert-key
// dialog waits for a key), and only from the moment recording starts; what
// it captures goes into the macro being recorded and nowhere else.
DialogFrame {
    id: macroEditor
    width: 640
    height: 448
    title: macroEditorLang[0]

    property var macroEditorLang: ["Macro Editor", "Macro Name", "New", "Delete", "Action", "Stop Record", "Times",
        "OK", "Start Record", "Delay", "Delete", "Import", "Export", "Insert Delay", "Insert Key",
        "Insert Left Key", "Insert Middle Key", "Insert Right Key"]
    property bool isInputting: false
    property bool isInsertting: false
    property alias macroNumber_lv: macroListView
    property alias macroNumberModel: macroNumberModel
    property alias eventModel: eventModel
    property alias eventList: eventView
    readonly property int maxMacros: 100
    readonly property int maxDelay: 65535

    // Recording: 10 ms units since the last recorded event, counted from the
    // clock (a Qt Quick timer ticks with the frames, too coarse to count on).
    property int macroRecordCount: 0
    property real countFrom: 0
    // The clock recording measures with (milliseconds); a test may put an
    // object with a now() function here.
    property var clock: null
    // The key chosen in the insert-key dialog, 0 for none.
    property int insertCode: 0
    // The macro being renamed and the delay row being edited, -1 for none.
    property int renameIndex: -1
    property int delayEditIndex: -1
    // Shown over the key-assignment dialog, which stays open below.
    property bool stacked: false

    signal deleteMacro(string macroName)
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)

    onCloseClicked: closeEditor()
    onBackgroundPressed: macroEditorFocus()
    onVisibleChanged: {
        // Opening shows the first macro when none is chosen yet.
        if (visible && macroListView.currentIndex < 0 && macroNumberModel.count > 0)
            selectMacro(0)
    }

    function nowMs() {
        return clock ? clock.now() : Date.now()
    }

    // --- the library -----------------------------------------------------------------

    function init() {
        listMenu.entries = [macroEditorLang[10], macroEditorLang[11], macroEditorLang[12]]
        eventMenu.entries = [macroEditorLang[10], macroEditorLang[13], macroEditorLang[14], macroEditorLang[15],
                             macroEditorLang[16], macroEditorLang[17]]
        var names = ui_View.getNameList(0)
        if (names.length === 2 && String(names[1]) === "listpadentry")
            names = [names[0]]
        macroNumberModel.clear()
        var shown = []
        for (var i = 0; i < names.length && shown.length < maxMacros; ++i) {
            var name = String(names[i])
            if (name === "" || shown.indexOf(name) >= 0)
                continue
            shown.push(name)
            macroNumberModel.append({ textValue: name, no: 0, macroType: 0 })
        }
        macroListView.currentIndex = -1
        eventModel.clear()
        keyAssigmentMain.macroList.addData(shown, true)
    }

    function names() {
        var list = []
        for (var i = 0; i < macroNumberModel.count; ++i)
            list[i] = macroNumberModel.get(i).textValue
        return list
    }

    function selectedName() {
        var i = macroListView.currentIndex
        return i >= 0 && i < macroNumberModel.count ? macroNumberModel.get(i).textValue : ""
    }

    function indexOfName(name) {
        for (var i = 0; i < macroNumberModel.count; ++i) {
            if (macroNumberModel.get(i).textValue === name)
                return i
        }
        return -1
    }

    // The stored name list and the key-assignment drop-down follow the list.
    function publishNames() {
        var list = names()
        ui_View.updataNameList(0, list)
        keyAssigmentMain.macroList.addData(list, false)
    }

    // The first "Macro_<i>" not in use, "" when all are.
    function freeName() {
        for (var i = 0; i < maxMacros; ++i) {
            if (indexOfName("Macro_" + i) < 0)
                return "Macro_" + i
        }
        return ""
    }

    function selectMacro(index) {
        if (isInputting)
            stopRecord()
        endEdits()
        macroListView.currentIndex = index
        loadEvents()
    }

    // The selected macro's events and repeat count, from its file.
    function loadEvents() {
        eventModel.clear()
        eventView.currentIndex = -1
        var name = selectedName()
        if (name === "") {
            timesField.textValue = "1"
            return
        }
        var list = ui_View.loadMacroIni(name)
        for (var i = 0; i + 1 < list.length; ++i)
            eventModel.append(parseEvent(String(list[i])))
        timesField.textValue = list.length > 0 ? String(parseInt(list[list.length - 1]) || 0) : "1"
    }

    // "<type digit>,<info>"; a damaged entry is kept as it stands.
    function parseEvent(text) {
        var type = parseInt(text.charAt(0))
        if (isNaN(type) || type < 0 || type > 4 || text.charAt(1) !== ",")
            return { type: -1, info: text }
        return { type: type, info: text.substring(2) }
    }

    function eventText(e) {
        return e.type < 0 ? e.info : e.type + "," + e.info
    }

    function newMacro() {
        macroEditorFocus()
        var name = freeName()
        if (macroNumberModel.count >= maxMacros || name === "")
            return
        if (!ui_View.createMacroIni(name, 0))
            return
        macroNumberModel.append({ textValue: name, no: 0, macroType: 0 })
        selectMacro(macroNumberModel.count - 1)
        publishNames()
    }

    function deleteSelected() {
        macroEditorFocus()
        var index = macroListView.currentIndex
        var name = selectedName()
        if (name === "")
            return
        if (isInputting)
            stopRecord()
        // A file that refuses to go keeps its entry, so list and files agree.
        if (!ui_View.deleteMacroIni(name) && ui_View.loadMacroIni(name).length > 0)
            return
        eventModel.clear()
        deleteMacro(name)
        macroNumberModel.remove(index)
        macroListView.currentIndex = Math.min(index, macroNumberModel.count - 1)
        loadEvents()
        publishNames()
    }

    function importMacro() {
        macroEditorFocus()
        var name = freeName()
        if (macroNumberModel.count >= maxMacros || name === "")
            return
        var at = macroListView.currentIndex >= 0 ? macroListView.currentIndex : macroNumberModel.count
        // An export file that cannot be read gives an empty macro of that name.
        if (!ui_View.loadMacroFile(name) && !ui_View.createMacroIni(name, 0))
            return
        macroNumberModel.insert(at, { textValue: name, no: 0, macroType: 0 })
        selectMacro(at)
        publishNames()
    }

    function exportMacro() {
        macroEditorFocus()
        var name = selectedName()
        if (name !== "")
            ui_View.saveMacroFile(name)
    }

    function startRename(index) {
        endEdits()
        renameIndex = index
        nameEditor.text = macroNumberModel.get(index).textValue
        nameEditor.selectAll()
        nameEditor.forceActiveFocus()
    }

    // Takes the edited name unless a macro has it already or the library
    // refuses it (the file is renamed first; the list follows only then).
    function endRename() {
        if (renameIndex < 0)
            return
        var index = renameIndex
        renameIndex = -1
        nameEditor.focus = false
        if (index >= macroNumberModel.count)
            return
        var oldName = macroNumberModel.get(index).textValue
        var newName = nameEditor.text.trim()
        if (newName === "" || newName === oldName || indexOfName(newName) >= 0 || newName === "listpadentry")
            return
        modifyMacroName(oldName, newName)
        var renamed = ui_View.loadMacroIni(oldName).length === 0 && ui_View.loadMacroIni(newName).length > 0
        if (!renamed)
            return
        macroNumberModel.setProperty(index, "textValue", newName)
        keyAssigmentMain.macroList.renamed(oldName, newName)
        publishNames()
    }

    // --- the events ----------------------------------------------------------------

    function events() {
        var list = []
        for (var i = 0; i < eventModel.count; ++i)
            list[i] = { type: eventModel.get(i).type, info: eventModel.get(i).info }
        return list
    }

    // True when the list may grow: under the limit now, and still inside the
    // mouse's macro block with `candidate` (the list after the change).
    function mayGrow(candidate) {
        return MacroStream.length(events()) < MacroStream.maxLength
                && MacroStream.length(candidate) <= MacroStream.blockSize
    }

    function repeatCount() {
        return Math.max(0, Math.min(65535, parseInt(timesField.textValue) || 0))
    }

    // Writes the selected macro's file; the buttons bound to it are sent again.
    function saveMacro() {
        var name = selectedName()
        if (name === "")
            return
        var list = []
        for (var i = 0; i < eventModel.count; ++i)
            list[i] = eventText(eventModel.get(i))
        ui_View.saveMacroIni(name, list, repeatCount())
        modifyMacroData(name)
    }

    // The bytes of the stored macro `macroName`, sent for button slot `slot`.
    function sendMacro(slot, macroName) {
        var list = ui_View.loadMacroIni(macroName)
        if (list.length === 0)
            return
        var stored = []
        for (var i = 0; i + 1 < list.length; ++i)
            stored[i] = parseEvent(String(list[i]))
        var repeat = parseInt(list[list.length - 1]) || 0
        ui_View.mouseSendMacroData(MacroStream.fitted(stored, repeat, _KeyCodeString.codeOfName), slot)
    }

    function actionType(code, isDown) {
        if (code < 0xF0)
            return isDown ? 1 : 2
        return isDown ? 3 : 4
    }

    // --- recording -------------------------------------------------------------------

    function toggleRecord() {
        if (isInputting)
            stopRecord()
        else
            startRecord()
    }

    function startRecord() {
        macroEditorFocus()
        if (selectedName() === "")
            return
        eventModel.clear()
        eventView.currentIndex = -1
        restartCount()
        recordTimer.start()
        isInputting = true
    }

    function stopRecord() {
        recordTimer.stop()
        isInputting = false
        saveMacro()
    }

    // Recording ends when the user leaves the program (another window takes
    // the keyboard, or the window goes to the tray): keys typed elsewhere,
    // a password for one, never land in a macro.
    function applicationStateChanged(state) {
        if (isInputting && state !== Qt.ApplicationActive)
            stopRecord()
    }

    function restartCount() {
        countFrom = nowMs()
        macroRecordCount = 0
    }

    function updateCount() {
        macroRecordCount = Math.max(0, Math.floor((nowMs() - countFrom) / 10))
    }

    // A captured key while recording.
    function detectKeyboard(isDown, usbCode) {
        if (!isInputting || selectedName() === "")
            return
        var code = parseInt(usbCode) & 0xFF
        var name = _KeyCodeString.keycodeTostr(code)
        if (name === "")
            return
        updateCount()
        var added = []
        if (eventModel.count > 0 && delayRecord.isSelect) {
            // A wait longer than one delay row holds is split over several.
            var ms = macroRecordCount * 10
            while (ms > 0) {
                var part = Math.min(ms, maxDelay - maxDelay % 10)
                added.push({ type: 0, info: String(part) })
                ms -= part
            }
            if (added.length === 0)
                added.push({ type: 0, info: "0" })
        }
        added.push({ type: actionType(code, isDown), info: name })
        if (!mayGrow(events().concat(added)))
            return
        restartCount()
        for (var i = 0; i < added.length; ++i)
            eventModel.append(added[i])
        eventView.positionViewAtEnd()
    }

    // A captured key while the insert-key dialog is open: a key press names the key.
    function detectInput(isDown, usbCode) {
        if (!isInsertting || !isDown)
            return
        var code = parseInt(usbCode) & 0xFF
        if (code >= 0xF0 || _KeyCodeString.keycodeTostr(code) === "")
            return
        insertCode = code
    }

    // --- editing ----------------------------------------------------------------------

    // Inserts `added` at `at` (appended at the end), selects row `select`
    // (relative to `at`) and saves; nothing when the macro is full.
    function insertEvents(at, added, select) {
        var list = events()
        var candidate = list.slice(0, at).concat(added, list.slice(at))
        if (!mayGrow(candidate))
            return
        for (var i = 0; i < added.length; ++i)
            eventModel.insert(at + i, added[i])
        eventView.currentIndex = at + select
        saveMacro()
    }

    function deleteEvent() {
        var i = eventView.currentIndex
        if (i < 0 || i >= eventModel.count)
            return
        eventModel.remove(i)
        eventView.currentIndex = Math.min(i, eventModel.count - 1)
        saveMacro()
    }

    function insertDelay() {
        var i = eventView.currentIndex
        insertEvents(i >= 0 ? i : eventModel.count, [{ type: 0, info: "50" }], 0)
    }

    // Press and release of a mouse button, after the selected row.
    function insertMouseKey(code) {
        var name = _KeyCodeString.keycodeTostr(code)
        var i = eventView.currentIndex
        var at = i < 0 || i === eventModel.count - 1 ? eventModel.count : i + 1
        insertEvents(at, [{ type: 3, info: name }, { type: 4, info: name }], 1)
    }

    function openInsertKey() {
        if (MacroStream.length(events()) >= MacroStream.maxLength)
            return
        insertCode = 0
        isInsertting = true
    }

    // OK of the insert-key dialog: press and release of the key, before the
    // selected row (appended when the last row or none is selected).
    function closeInsertKey() {
        isInsertting = false
        if (insertCode === 0)
            return
        var name = _KeyCodeString.keycodeTostr(insertCode)
        var i = eventView.currentIndex
        var at = i < 0 || i === eventModel.count - 1 ? eventModel.count : i
        insertEvents(at, [{ type: 1, info: name }, { type: 2, info: name }], 1)
    }

    function eventMenuChosen(index) {
        eventMenu.visible = false
        switch (index) {
        case 0: deleteEvent(); break
        case 1: insertDelay(); break
        case 2: openInsertKey(); break
        case 3: insertMouseKey(0xF0); break
        case 4: insertMouseKey(0xF2); break
        case 5: insertMouseKey(0xF1); break
        }
    }

    function listMenuChosen(index) {
        listMenu.visible = false
        switch (index) {
        case 0: deleteSelected(); break
        case 1: importMacro(); break
        case 2: exportMacro(); break
        }
    }

    function startDelayEdit(index) {
        endEdits()
        delayEditIndex = index
        delayEditor.text = eventModel.get(index).info
        delayEditor.selectAll()
        delayEditor.forceActiveFocus()
    }

    // Takes a whole number of 0 … 65535 ms; anything else leaves the delay.
    function endDelayEdit() {
        if (delayEditIndex < 0)
            return
        var index = delayEditIndex
        delayEditIndex = -1
        delayEditor.focus = false
        var text = delayEditor.text.trim()
        var ms = parseInt(text, 10)
        if (index >= eventModel.count || !/^[0-9]+$/.test(text) || ms > maxDelay)
            return
        if (String(ms) === eventModel.get(index).info)
            return
        eventModel.setProperty(index, "info", String(ms))
        saveMacro()
    }

    function endEdits() {
        endRename()
        endDelayEdit()
    }

    function macroEditorFocus() {
        endEdits()
        timesField.closeFocus()
        listMenu.visible = false
        eventMenu.visible = false
    }

    // Opens the editor over the key-assignment dialog.
    function showOver(dialog) {
        stacked = dialog.visible
        z = stacked ? dialog.z + 1 : 0
        mainMask.visible = true
        showCentered()
    }

    function closeEditor() {
        if (isInputting)
            stopRecord()
        isInsertting = false
        macroEditorFocus()
        visible = false
        // The mask stays under a dialog this one was opened over.
        if (!stacked || !keyAssigmentMain.visible)
            mainMask.visible = false
        stacked = false
        z = 0
        keyAssigmentMain.macroList.closeMenu()
    }

    function openEventMenu(item, x, y) {
        var room = MacroStream.length(events()) < MacroStream.maxLength
        eventMenu.enabledRows = [eventView.currentIndex >= 0, room, room, room, room, room]
        openMenu(eventMenu, item, x, y)
    }

    function openMenu(menu, item, x, y) {
        var p = item.mapToItem(macroEditor, x, y)
        menu.x = Math.min(p.x, macroEditor.width - menu.width - 4)
        menu.y = Math.min(p.y, macroEditor.height - menu.height - 4)
        menu.visible = true
    }

    Connections {
        target: Qt.application
        function onStateChanged(state) { macroEditor.applicationStateChanged(state) }
    }

    Timer {
        id: recordTimer
        objectName: "macroRecordTimer"
        interval: 10
        repeat: true
        onTriggered: macroEditor.updateCount()
    }

    ListModel {
        id: macroNumberModel
    }
    ListModel {
        id: eventModel
    }

    // Dims the key-assignment dialog below while this one is over it.
    Rectangle {
        visible: macroEditor.stacked
        z: -1
        x: -macroEditor.x
        y: -macroEditor.y
        width: macroEditor.homeWidth
        height: macroEditor.homeHeight
        color: "#90000000"
        MouseArea {
            anchors.fill: parent
            onPressed: macroEditor.macroEditorFocus()
            onWheel: function(wheel) { wheel.accepted = true }
        }
    }

    // --- left: the macro list ----------------------------------------------------------

    MacroCaption {
        x: 16
        y: 52
        text: macroEditor.macroEditorLang[1]
    }
    ListFrame {
        id: macroFrame
        x: 16
        y: 76
        width: 168
        height: 328

        ListView {
            id: macroListView
            objectName: "macroListView"
            anchors.fill: parent
            anchors.margins: 1
            currentIndex: -1
            model: macroNumberModel
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            interactive: false
            delegate: Rectangle {
                id: macroRow
                required property int index
                required property string textValue
                readonly property bool selected: index === macroListView.currentIndex
                objectName: "macroRow" + index
                width: macroListView.width
                height: 27
                color: selected ? colorOrange : macroRowArea.containsMouse ? "#2a2a2a" : "transparent"
                Text {
                    x: 12
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width - 20
                    visible: macroEditor.renameIndex !== macroRow.index
                    text: macroRow.textValue
                    color: fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                MouseArea {
                    id: macroRowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: function(mouse) {
                        eventMenu.visible = false
                        if (macroEditor.renameIndex !== macroRow.index && macroRow.index !== macroListView.currentIndex)
                            macroEditor.selectMacro(macroRow.index)
                        if (mouse.button === Qt.RightButton)
                            macroEditor.openMenu(listMenu, macroRowArea, mouse.x, mouse.y)
                        else
                            listMenu.visible = false
                    }
                    onDoubleClicked: function(mouse) {
                        if (mouse.button === Qt.LeftButton)
                            macroEditor.startRename(macroRow.index)
                    }
                }
            }
        }
        WheelArea {
            flickable: macroListView
        }
        ScrollHandle {
            flickable: macroListView
        }

        // The inline name editor, over the row being renamed.
        Rectangle {
            visible: macroEditor.renameIndex >= 0
            x: 4
            y: 1 + macroEditor.renameIndex * 27 - macroListView.contentY + 2
            width: parent.width - 8
            height: 23
            color: colorGray0
            border.color: colorOrange
            TextInput {
                id: nameEditor
                objectName: "macroNameEditor"
                anchors.fill: parent
                anchors.leftMargin: 7
                anchors.rightMargin: 6
                verticalAlignment: TextInput.AlignVCenter
                maximumLength: 32
                clip: true
                color: fontColor
                selectionColor: colorOrange
                selectByMouse: true
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                Keys.onReturnPressed: macroEditor.endRename()
                Keys.onEnterPressed: macroEditor.endRename()
                Keys.onEscapePressed: {
                    macroEditor.renameIndex = -1
                    focus = false
                }
            }
        }
    }
    TextButton {
        objectName: "macroNewButton"
        x: 16
        y: 412
        text: macroEditor.macroEditorLang[2]
        onClicked: macroEditor.newMacro()
    }
    TextButton {
        objectName: "macroDeleteButton"
        x: 16 + 168 - width
        y: 412
        text: macroEditor.macroEditorLang[3]
        faceColor: colorGray1
        onClicked: macroEditor.deleteSelected()
    }

    // --- right: the events ----------------------------------------------------------------

    MacroCaption {
        x: 200
        y: 52
        text: macroEditor.macroEditorLang[4]
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
                macroEditor.endEdits()
                listMenu.visible = false
                eventView.currentIndex = -1
                if (mouse.button === Qt.RightButton)
                    macroEditor.openEventMenu(eventFrame, mouse.x, mouse.y)
                else
                    eventMenu.visible = false
            }
        }

        ListView {
            id: eventView
            objectName: "eventListView"
            anchors.fill: parent
            anchors.margins: 1
            currentIndex: -1
            model: eventModel
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            interactive: false
            delegate: Rectangle {
                id: eventRow
                required property int index
                required property int type
                required property string info
                readonly property bool selected: index === eventView.currentIndex
                objectName: "eventRow" + index
                width: eventView.width
                height: 27
                color: selected ? colorOrange : eventRowArea.containsMouse ? "#2a2a2a"
                                                                           : index % 2 ? "#181818" : "transparent"
                Text {
                    x: 8
                    width: 32
                    anchors.verticalCenter: parent.verticalCenter
                    horizontalAlignment: Text.AlignRight
                    text: String(eventRow.index + 1)
                    color: eventRow.selected ? fontColor : colorGray2
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                }
                Image {
                    x: 56
                    anchors.verticalCenter: parent.verticalCenter
                    width: 16
                    height: 16
                    source: [sourcemacroKeyDelay, sourcemacroKeyPress, sourcemacroKeyRelease,
                             sourcemacroMousePress, sourcemacroMouseRelease][eventRow.type] || ""
                }
                Text {
                    x: 86
                    width: parent.width - 100
                    anchors.verticalCenter: parent.verticalCenter
                    visible: macroEditor.delayEditIndex !== eventRow.index
                    text: eventRow.type === 0 ? eventRow.info + " ms" : eventRow.info
                    color: eventRow.type === 0 && !eventRow.selected ? colorGray3 : fontColor
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
                        if (macroEditor.delayEditIndex !== eventRow.index)
                            macroEditor.endEdits()
                        listMenu.visible = false
                        eventView.currentIndex = eventRow.index
                        if (mouse.button === Qt.RightButton)
                            macroEditor.openEventMenu(eventRowArea, mouse.x, mouse.y)
                        else
                            eventMenu.visible = false
                    }
                    onDoubleClicked: function(mouse) {
                        if (mouse.button === Qt.LeftButton && eventRow.type === 0)
                            macroEditor.startDelayEdit(eventRow.index)
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

        // The inline delay editor, over the row being edited.
        Rectangle {
            visible: macroEditor.delayEditIndex >= 0
            x: 80
            y: 1 + macroEditor.delayEditIndex * 27 - eventView.contentY + 2
            width: 120
            height: 23
            color: colorGray0
            border.color: colorOrange
            TextInput {
                id: delayEditor
                objectName: "delayEditor"
                anchors.fill: parent
                anchors.leftMargin: 6
                anchors.rightMargin: 6
                verticalAlignment: TextInput.AlignVCenter
                maximumLength: 5
                clip: true
                color: fontColor
                selectionColor: colorOrange
                selectByMouse: true
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                Keys.onReturnPressed: macroEditor.endDelayEdit()
                Keys.onEnterPressed: macroEditor.endDelayEdit()
                Keys.onEscapePressed: {
                    macroEditor.delayEditIndex = -1
                    focus = false
                }
            }
        }
    }

    Item {
        x: 200
        y: 412
        width: 424
        height: 24

        TextButton {
            id: recordButton
            objectName: "recordButton"
            width: 100
            text: macroEditor.isInputting ? macroEditor.macroEditorLang[5] : macroEditor.macroEditorLang[8]
            faceColor: macroEditor.isInputting ? colorOrange : colorBlue
            hoverColor: macroEditor.isInputting ? "#d42020" : colorOrange
            opacity: macroEditor.macroNumber_lv.currentIndex >= 0 ? 1 : 0.5
            onClicked: macroEditor.toggleRecord()
        }
        // Blinks while recording.
        Rectangle {
            anchors.left: recordButton.right
            anchors.leftMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            width: 8
            height: 8
            radius: 4
            color: "#ff3030"
            visible: macroEditor.isInputting
            SequentialAnimation on opacity {
                running: macroEditor.isInputting
                loops: Animation.Infinite
                NumberAnimation { to: 0.2; duration: 500 }
                NumberAnimation { to: 1; duration: 500 }
            }
        }
        CheckBox {
            id: delayRecord
            objectName: "delayRecord"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            textValue: macroEditor.macroEditorLang[9]
        }
        RectInput {
            id: timesField
            objectName: "macroTimesField"
            anchors.right: delayRecord.left
            anchors.rightMargin: 24
            anchors.verticalCenter: parent.verticalCenter
            width: 56
            minValue: 1
            maxValue: 65535
            textValue: "1"
            onEndInputSignal: macroEditor.saveMacro()
        }
        Text {
            anchors.right: timesField.left
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: macroEditor.macroEditorLang[6]
            color: colorGray3
            font.family: fontFamily
            font.pixelSize: fontNormalSize
        }
    }

    EditorMenu {
        id: listMenu
        objectName: "macroListMenu"
        enabledRows: [macroListView.currentIndex >= 0, macroNumberModel.count < macroEditor.maxMacros,
                      macroListView.currentIndex >= 0]
        onChosen: function(index) { macroEditor.listMenuChosen(index) }
    }
    EditorMenu {
        id: eventMenu
        objectName: "eventMenu"
        onChosen: function(index) { macroEditor.eventMenuChosen(index) }
    }

    // The insert-key dialog, over an inner mask; OK closes it.
    Rectangle {
        id: insertMask
        anchors.fill: parent
        radius: macroEditor.radius
        color: "#a0000000"
        visible: macroEditor.isInsertting
        z: 30
        MouseArea {
            anchors.fill: parent
            onWheel: function(wheel) { wheel.accepted = true }
        }
        Rectangle {
            id: insertDialog
            objectName: "insertKeyDialog"
            anchors.centerIn: parent
            width: 240
            height: 80
            radius: 4
            color: colorGray0
            border.color: colorGray1
            Rectangle {
                width: parent.width
                height: 26
                radius: 4
                color: colorGray1
                Rectangle {
                    anchors.bottom: parent.bottom
                    width: parent.width
                    height: 1
                    color: colorOrange
                }
                Text {
                    x: 12
                    anchors.verticalCenter: parent.verticalCenter
                    text: macroEditor.macroEditorLang[14]
                    color: fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    font.bold: true
                }
            }
            Rectangle {
                objectName: "insertKeyField"
                x: 16
                y: 42
                width: 128
                height: 24
                radius: 2
                color: "#141414"
                border.color: colorOrange
                Text {
                    anchors.centerIn: parent
                    text: macroEditor.insertCode ? _KeyCodeString.keycodeTostr(macroEditor.insertCode) : "…"
                    color: macroEditor.insertCode ? fontColor : colorGray2
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                }
            }
            TextButton {
                objectName: "insertKeyOk"
                x: 160
                y: 42
                text: macroEditor.macroEditorLang[7]
                onClicked: macroEditor.closeInsertKey()
            }
        }
    }
}
