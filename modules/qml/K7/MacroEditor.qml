pragma ComponentBehavior: Bound

import QtQuick
import Stryde.View
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
    property alias macroNumber_lv: listPanel.listView
    property alias macroNumberModel: macroNumberModel
    property alias eventModel: eventModel
    property alias eventList: eventPanel.listView
    property alias listMenu: macroListMenu
    property alias eventMenu: eventMenuBox
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
    // A macro was renamed: its file and the stored profiles follow already.
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)

    onCloseClicked: closeEditor()
    onBackgroundPressed: macroEditorFocus()
    onVisibleChanged: {
        // Opening shows the first macro when none is chosen yet.
        if (visible && macroNumber_lv.currentIndex < 0 && macroNumberModel.count > 0)
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
        macroNumberModel.reload()
        macroNumber_lv.currentIndex = -1
        eventModel.clear()
        keyAssigmentMain.macroList.addData(names(), true)
    }

    function names() {
        return macroNumberModel.names()
    }

    function selectedName() {
        var i = macroNumber_lv.currentIndex
        return i >= 0 && i < macroNumberModel.count ? macroNumberModel.get(i).textValue : ""
    }

    function indexOfName(name) {
        return macroNumberModel.indexOf(name)
    }

    // The key-assignment drop-down follows the list (the list stores itself).
    function publishNames() {
        keyAssigmentMain.macroList.addData(names(), false)
    }

    // The first "Macro_<i>" not in use, "" when all are.
    function freeName() {
        return macroNumberModel.freeName()
    }

    function selectMacro(index) {
        if (isInputting)
            stopRecord()
        endEdits()
        macroNumber_lv.currentIndex = index
        loadEvents()
    }

    // The selected macro's events and repeat count, from its file.
    function loadEvents() {
        eventList.currentIndex = -1
        recordBar.timesField.textValue = String(eventModel.load(selectedName()))
    }

    function newMacro() {
        macroEditorFocus()
        var name = freeName()
        if (macroNumberModel.count >= maxMacros || name === "")
            return
        if (!ui_View.createMacroIni(name, 0))
            return
        macroNumberModel.add(-1, name)
        selectMacro(macroNumberModel.count - 1)
        publishNames()
    }

    function deleteSelected() {
        macroEditorFocus()
        var index = macroNumber_lv.currentIndex
        var name = selectedName()
        if (name === "")
            return
        if (isInputting)
            stopRecord()
        // A file that refuses to go keeps its entry, so list and files agree.
        if (!macroNumberModel.remove(index))
            return
        eventModel.clear()
        deleteMacro(name)
        macroNumber_lv.currentIndex = Math.min(index, macroNumberModel.count - 1)
        loadEvents()
        publishNames()
    }

    function importMacro() {
        macroEditorFocus()
        var name = freeName()
        if (macroNumberModel.count >= maxMacros || name === "")
            return
        var at = macroNumber_lv.currentIndex >= 0 ? macroNumber_lv.currentIndex : macroNumberModel.count
        // An export file that cannot be read gives an empty macro of that name.
        if (!ui_View.loadMacroFile(name) && !ui_View.createMacroIni(name, 0))
            return
        macroNumberModel.add(at, name)
        selectMacro(at)
        publishNames()
    }

    function exportMacro() {
        macroEditorFocus()
        var name = selectedName()
        if (name !== "")
            ui_View.saveMacroFile(name)
    }


    // --- the events ----------------------------------------------------------------

    function events() {
        return eventModel.events()
    }

    // True when the list may grow: under the limit now, and still inside the
    // mouse's macro block with `candidate` (the list after the change).
    function mayGrow(candidate) {
        return MacroStream.length(events()) < MacroStream.maxLength
                && MacroStream.length(candidate) <= MacroStream.blockSize
    }

    // True when the macro holds as many events as the mouse takes.
    function isFull() {
        return MacroStream.length(events()) >= MacroStream.maxLength
    }

    function repeatCount() {
        return Math.max(0, Math.min(65535, parseInt(recordBar.timesField.textValue) || 0))
    }

    // Writes the selected macro's file; the buttons bound to it are sent again.
    function saveMacro() {
        var name = selectedName()
        if (name === "")
            return
        eventModel.save(name, repeatCount())
        modifyMacroData(name)
    }

    // The bytes of the stored macro `macroName`, sent for button slot `slot`.
    function sendMacro(slot, macroName) {
        var stored = eventModel.read(macroName)
        if (!stored.found)
            return
        ui_View.mouseSendMacroData(MacroStream.fitted(stored.events, stored.repeat, _KeyCodeString.codeOfName), slot)
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
        eventList.currentIndex = -1
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
        if (eventModel.count > 0 && recordBar.delayRecord.isSelect) {
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
        eventList.positionViewAtEnd()
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

    function listMenuChosen(index) {
        listMenu.visible = false
        switch (index) {
        case 0: deleteSelected(); break
        case 1: importMacro(); break
        case 2: exportMacro(); break
        }
    }

    function endEdits() {
        listPanel.endRename()
        eventPanel.endDelayEdit()
    }

    function macroEditorFocus() {
        endEdits()
        recordBar.timesField.closeFocus()
        listMenu.visible = false
        eventMenu.visible = false
    }

    // Opens the editor over the key-assignment dialog.
    function showOver(dialog) {
        stacked = dialog.visible
        z = stacked ? dialog.z + 1 : 0
        maskShown = true
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
            maskShown = false
        stacked = false
        z = 0
        keyAssigmentMain.macroList.closeMenu()
    }

    function openEventMenu(item, x, y) {
        var room = !isFull()
        eventMenu.enabledRows = [eventList.currentIndex >= 0, room, room, room, room, room]
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

    // The library's macros; a rename or a deletion is one step of the model.
    MacroListModel {
        id: macroNumberModel
        view: ui_View
    }
    // The selected macro's events.
    MacroEventModel {
        id: eventModel
        view: ui_View
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

    MacroListPanel {
        id: listPanel
        page: macroEditor
    }
    MacroEventPanel {
        id: eventPanel
        page: macroEditor
    }
    MacroRecordBar {
        id: recordBar
        page: macroEditor
    }

    EditorMenu {
        id: macroListMenu
        objectName: "macroListMenu"
        enabledRows: [macroEditor.macroNumber_lv.currentIndex >= 0,
                      macroNumberModel.count < macroEditor.maxMacros, macroEditor.macroNumber_lv.currentIndex >= 0]
        onChosen: function(index) { macroEditor.listMenuChosen(index) }
    }
    EditorMenu {
        id: eventMenuBox
        objectName: "eventMenu"
        onChosen: function(index) { eventPanel.menuChosen(index) }
    }

    MacroInsertKey {
        page: macroEditor
        onOkClicked: eventPanel.closeInsertKey()
    }
}
