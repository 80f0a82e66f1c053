pragma ComponentBehavior: Bound

import QtQuick
import "../theme"

// Key matrix panel (left column): one row per button slot shown on the mouse
// picture, with what the button does. The button map lives here (`modKeys`,
// 16 entries of four codes and a text) beside the current profile's defaults
// (`modKeys_tmp`); edits stay unsaved until Save sends the whole map. The
// panel also keeps the buttons bound to macros in step with the macro editor.
PanelFrame {
    id: keyMatrix
    width: 232
    height: 40 + 24 * keyCount + 2 * (keyCount - 1) + 8
    title: keyMatrixLang[1]
    icon: Theme.sourceKeyIcon
    showReset: true

    readonly property int keyCount: mouseMain.keyCount
    property var keyMatrixLang: ["Key ", "Key Function"]
    property bool isSave: false
    property alias modKeys: modKeysModel
    property alias modKeys_tmp: modKeysTmpModel
    // The map of a mouse that was never set up: what both lists start with.
    readonly property var builtInMap: [
        [0, 0, 0xF0, 0], [0, 0, 0xF1, 0], [0, 0, 0xF2, 0], [0, 0, 0xF4, 0],
        [0, 0, 0xF3, 0], [5, 0, 1, 0], [5, 0, 2, 0], [0, 0xF0, 0x1E, 2],
        [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0],
        [0, 0, 0, 0], [0, 0, 0, 0], [0xFF, 0, 1, 0], [0xFF, 0, 2, 0]
    ]

    signal enterBtn(int index)
    signal leaveBtn(int index)
    signal clickBtn(int index)

    onResetClicked: restoreDefaults()

    function rowName(slot) {
        return keyMatrixLang[0] + (slot + 1)
    }

    // Each slot's function text, kept in step with the map for names that
    // others show (the mouse picture's tags).
    property var slotTexts: []
    function refreshSlotTexts() {
        var texts = []
        for (var i = 0; i < modKeysModel.count; ++i)
            texts[i] = String(modKeysModel.get(i).keyText)
        slotTexts = texts
    }
    Connections {
        target: modKeysModel
        function onDataChanged() { keyMatrix.refreshSlotTexts() }
        function onCountChanged() { keyMatrix.refreshSlotTexts() }
    }

    // What a screen reader says for a slot: "Key 4: Forward Key".
    function accessibleRowName(slot, text) {
        return rowName(slot).trim() + ": " + text
    }

    // A row or a tag chosen from the keyboard: as a click on it.
    function chooseSlot(slot) {
        mouseMain.selectKey = slot
        clickBtn(slot)
    }

    // Four byte values from a stored entry; a missing or damaged entry keeps `fallback`.
    function codesOf(stored, fallback) {
        var codes = []
        for (var i = 0; i < 4; ++i) {
            var n = parseInt(stored[i])
            codes.push(isNaN(n) ? fallback[i] : (n & 0xFF))
        }
        return codes
    }

    function entry(codes, text) {
        return { keyCode0: codes[0], keyCode1: codes[1], keyCode2: codes[2], keyCode3: codes[3], keyText: text }
    }

    function textOf(codes) {
        return keyAssigmentMain.keyCodeToString(codes[0], codes[1], codes[2], codes[3])
    }

    function init(isSendData, isRecovery) {
        for (var slot = 0; slot < 16; ++slot) {
            var codes = codesOf(ui_View.mouseGetKeydefine(slot, isRecovery), builtInMap[slot])
            var defaults = codesOf(ui_View.mouseGetKeydefine(slot, true), builtInMap[slot])
            modKeysModel.set(slot, entry(codes, textOf(codes)))
            modKeysTmpModel.set(slot, entry(defaults, textOf(defaults)))
        }
        if (isSendData)
            modKeys.saveData()
    }

    // The reset icon: every button takes its default; a default bound to a
    // macro has that macro sent and its name stored for the slot. Nothing
    // else is sent until Save.
    function restoreDefaults() {
        for (var slot = 0; slot < 16; ++slot) {
            var d = modKeysTmpModel.get(slot)
            modKeysModel.set(slot, entry([d.keyCode0, d.keyCode1, d.keyCode2, d.keyCode3], d.keyText))
            if (d.keyCode0 === 4) {
                macroEditorMain.sendMacro(slot, d.keyText)
                ui_View.setData("mouseMacroKey/" + slot, d.keyText)
            }
        }
        isSave = true
    }

    // Puts slot `slot` back to its default.
    function restoreSlot(slot) {
        var d = modKeysTmpModel.get(slot)
        modKeysModel.set(slot, entry([d.keyCode0, d.keyCode1, d.keyCode2, d.keyCode3], d.keyText))
    }

    // The fire period (ms) of the recoil preset chosen for preset slot n (1 … 3).
    function gunPeriodOf(n) {
        var index = gunControlMain["selectGun" + n]
        if (index === undefined) {
            var stored = ui_View.getGlobalData("mouse/selectGun")
            index = Array.isArray(stored) ? parseInt(stored[n - 1]) : n - 1
        }
        var model = gunControlMain.gunNumberModel
        index = parseInt(index)
        if (isNaN(index) || index < 0 || index >= model.count)
            return 0
        return parseInt(model.get(index).gunPeriod) || 0
    }

    // The slots bound to macro `name` (entries of type 4 whose slot's stored
    // macro name is `name`).
    function slotsBoundTo(name) {
        var slots = []
        for (var i = 0; i < modKeysModel.count; ++i) {
            var e = modKeysModel.get(i)
            if (e.keyCode0 === 4 && String(ui_View.getData("mouseMacroKey/" + e.keyCode2, false)) === name)
                slots[slots.length] = i
        }
        return slots
    }

    ListModel {
        id: modKeysModel
        Component.onCompleted: keyMatrix.fillBuiltIn(modKeysModel)

        // Stores the whole map in the current profile and sends it.
        function saveData() {
            var src64 = []
            for (var i = 0; i < 16; ++i) {
                src64[4 * i] = get(i).keyCode0
                src64[4 * i + 1] = get(i).keyCode1
                src64[4 * i + 2] = get(i).keyCode2
                src64[4 * i + 3] = get(i).keyCode3
            }
            var periods = [keyMatrix.gunPeriodOf(1), keyMatrix.gunPeriodOf(2), keyMatrix.gunPeriodOf(3)]
            ui_View.mouseSetKeyMatrix(src64, true, periods)
        }

        // True when the slot being edited holds the only plain left button:
        // the last left click of the mouse is never given away.
        function checkOneLeftKey() {
            var leftSlot = -1
            var lefts = 0
            for (var i = 0; i < count; ++i) {
                var e = get(i)
                if (e.keyCode0 === 0 && e.keyCode2 === 0xF0) {
                    ++lefts
                    leftSlot = i
                }
            }
            return lefts === 1 && leftSlot === mouseMain.selectKey
        }
    }
    ListModel {
        id: modKeysTmpModel
        Component.onCompleted: keyMatrix.fillBuiltIn(modKeysTmpModel)
    }

    function fillBuiltIn(model) {
        for (var slot = 0; slot < 16; ++slot)
            model.append(entry(builtInMap[slot], ""))
    }

    // The macro editor's changes reach the buttons bound to a macro.
    Connections {
        target: macroEditorMain
        // Bound buttons fall back to their defaults, and the map is sent at once.
        function onDeleteMacro(macroName) {
            var slots = keyMatrix.slotsBoundTo(macroName)
            for (var i = 0; i < slots.length; ++i)
                keyMatrix.restoreSlot(slots[i])
            keyMatrix.modKeys.saveData()
            ui_View.deleteMacroUpdateProfile(macroName)
        }
        // Names follow a rename the library carried out: the stored profiles
        // bind the new name already. Nothing is sent.
        function onModifyMacroName(oldMacroName, newMacroName) {
            var slots = keyMatrix.slotsBoundTo(newMacroName)
            for (var i = 0; i < slots.length; ++i) {
                var slot = slots[i]
                ui_View.setData("mouseMacroKey/" + modKeysModel.get(slot).keyCode2, newMacroName)
                modKeysModel.setProperty(slot, "keyText", newMacroName)
            }
        }
        // An edited macro is sent again for every button bound to it.
        function onModifyMacroData(macroName) {
            var slots = keyMatrix.slotsBoundTo(macroName)
            for (var i = 0; i < slots.length; ++i)
                macroEditorMain.sendMacro(slots[i], macroName)
        }
    }

    function focusRow(slot) {
        var row = rowRepeater.itemAt(slot)
        if (row && row.visible)
            row.forceActiveFocus(Qt.TabFocusReason)
    }

    Item {
        x: 8
        y: 8
        Repeater {
            id: rowRepeater
            model: modKeysModel
            Rectangle {
                id: row
                required property int index
                required property string keyText
                readonly property bool lit: rowArea.containsMouse || mouseMain.selectKey === index
                                            || mouseMain.hoverKey === index
                objectName: "keyRow" + index
                y: index * 26
                // Fourteen rows at most: slots 14 and 15 have no button of their own.
                visible: index < Math.min(14, keyMatrix.keyCount)
                width: 216
                height: 24
                radius: 2
                color: lit ? Theme.colorOrange : "#262626"
                border.color: lit ? "#d42020" : Theme.colorGray1
                activeFocusOnTab: true
                Keys.onTabPressed: rowRing.moveFocus(true)
                Keys.onBacktabPressed: rowRing.moveFocus(false)
                Keys.onSpacePressed: keyMatrix.chooseSlot(row.index)
                Keys.onReturnPressed: keyMatrix.chooseSlot(row.index)
                Keys.onEnterPressed: keyMatrix.chooseSlot(row.index)
                // The arrows walk the rows.
                Keys.onDownPressed: keyMatrix.focusRow(row.index + 1)
                Keys.onUpPressed: keyMatrix.focusRow(row.index - 1)
                Accessible.role: Accessible.Button
                Accessible.name: keyMatrix.accessibleRowName(row.index, row.keyText)
                Accessible.focusable: true
                Accessible.onPressAction: keyMatrix.chooseSlot(row.index)

                Text {
                    id: rowName
                    x: 10
                    anchors.verticalCenter: parent.verticalCenter
                    width: 64
                    text: keyMatrix.rowName(row.index)
                    color: row.lit ? Theme.fontColor : Theme.colorGray2
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                Text {
                    objectName: "keyRowText" + row.index
                    anchors.left: rowName.right
                    anchors.leftMargin: 6
                    anchors.right: parent.right
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    horizontalAlignment: Text.AlignRight
                    text: row.keyText
                    color: Theme.fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    // Under the mask of a dialog the pointer reaches no row:
                    // the open dialog edits the slot it was opened for.
                    hoverEnabled: !maskShown
                    cursorShape: Qt.PointingHandCursor
                    onEntered: keyMatrix.enterBtn(row.index)
                    onExited: keyMatrix.leaveBtn(row.index)
                    onClicked: keyMatrix.chooseSlot(row.index)
                }
                FocusRing {
                    id: rowRing
                }
            }
        }
    }
}
