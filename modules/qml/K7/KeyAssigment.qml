pragma ComponentBehavior: Bound

import QtQuick
import Stryde.View
import "parts"

// The key-assignment dialog: what the button in `mouseMain.selectKey` does.
// It edits a working copy (four codes and the text shown for them); closing
// the dialog hands a changed copy to the key matrix panel, which keeps it
// unsaved until Save. Fixed options are radio buttons and grids with an
// eight-hex-digit code each; a fire key and a key combination are captured
// from the keys the main window routes here; a macro is chosen by name.
DialogFrame {
    id: keyAssigment
    width: 416
    height: 404
    title: keyAssigmentLang[0] + (mouseMain.selectKey + 1) + " : " + keyString
    closeOnPress: true
    showReset: true

    property var keyAssigmentLang: ["Key ", "Mouse Function", "Left Key", "Middle Key", "Right Key",
        "Forward Key", "Back Key", "Double Fire", "Fire Function", "Key Value", "Click Input", "Rate", "Times",
        "Endness", "Group Function", "Media Function", "Macro Function", "Macro Editor",
        "Macro runs one-time after pressing the button", "Macro runs endless loop until any button is pressed",
        "Macro runs endless loop until button is released", "DPI Function", "DPI+", "DPI-", "DPI LOOP",
        "Windows Function", "Shortcut Function", "Player", "Next", "Privous", "Stop", "Mute", "Play/Pause",
        "Volumn+", "Volumn-", "My PC", "Index", "Search", "Max", "Min", "Desktop", "Run", "New", "Cut", "Copy",
        "Paste", "Save", "Print", "Find", "Redo", "Undo", "Select All", "Gun Function", "One Gun", "Two Gun",
        "Three Gun", "Sniper Key", "", "", ""]
    property bool isFireInput: false
    property bool isComboInput: false
    property alias macroList: macroListItem

    // The working copy.
    property int keyCode0: 0
    property int keyCode1: 0
    property int keyCode2: 0
    property int keyCode3: 0
    property string keyString: ""
    property string keyCode: "00000000"
    readonly property string currentCode: hexByte(keyCode0) + hexByte(keyCode1) + hexByte(keyCode2) + hexByte(keyCode3)

    // Fire settings shown while another function is chosen.
    property int fireRate: 10
    property int fireTimes: 0
    // Repeat mode of a macro: 0 once, 1 until any button, 2 while held.
    property int macroMode: 0
    // The combination being captured: modifier bits, up to two keys, the text.
    property int comboBits: 0
    property int comboFirst: 0
    property int comboSecond: 0
    property int comboCount: 0
    property string comboText: ""

    // The fixed options: text index in keyAssigmentLang and code.
    readonly property var mouseOptions: KeyFunctions.mouse
    readonly property var mediaOptions: KeyFunctions.media
    readonly property var dpiOptions: KeyFunctions.dpi
    readonly property var windowsOptions: KeyFunctions.windows
    readonly property var shortcutOptions: KeyFunctions.shortcut
    readonly property var gunOptions: KeyFunctions.gun

    onCloseClicked: closeDialog()
    onResetClicked: restoreDefault()
    onBackgroundPressed: keyAssigmentFocus()

    // --- codes -----------------------------------------------------------------

    function hexByte(n) {
        var s = (n & 0xFF).toString(16)
        return s.length < 2 ? "0" + s : s
    }

    // The four bytes of an eight-hex-digit code.
    function keyCodeStrProc(code) {
        var s = String(code)
        return [0, 1, 2, 3].map(function(i) {
            var b = parseInt(s.substr(2 * i, 2), 16)
            return isNaN(b) ? 0 : b
        })
    }

    function setCodes(codes, text) {
        keyCode0 = codes[0] & 0xFF
        keyCode1 = codes[1] & 0xFF
        keyCode2 = codes[2] & 0xFF
        keyCode3 = codes[3] & 0xFF
        keyCode = currentCode
        keyString = text
    }

    // The option of `options` whose code is the working copy's, -1 for none.
    function optionIndex(options) {
        for (var i = 0; i < options.length; ++i) {
            if (String(options[i].code).toLowerCase() === currentCode)
                return i
        }
        return -1
    }

    // The text of the option of `options` with this (byte 2, byte 3) pair.
    function gridText(options, k2, k3) {
        for (var i = 0; i < options.length; ++i) {
            var b = keyCodeStrProc(options[i].code)
            if (b[2] === k2 && b[3] === k3)
                return String(keyAssigmentLang[options[i].lang])
        }
        return ""
    }

    function keyName(code) {
        return _KeyCodeString.keycodeTostr(code)
    }

    // The text shown for an entry.
    function keyCodeToString(code0, code1, code2, code3) {
        var k0 = parseInt(code0) & 0xFF
        var k1 = parseInt(code1) & 0xFF
        var k2 = parseInt(code2) & 0xFF
        var k3 = parseInt(code3) & 0xFF
        switch (k0) {
        case 0: {
            var buttons = { 0xF0: 2, 0xF2: 3, 0xF1: 4, 0xF4: 5, 0xF3: 6 }
            return String(keyAssigmentLang[buttons[k2] !== undefined ? buttons[k2] : 7])
        }
        case 1:
            return keyName(k1)
        case 2: {
            var names = []
            for (var bit = 0; bit < 8; ++bit) {
                if (k1 & (1 << bit))
                    names.push(keyName(0xE0 + bit))
            }
            if (k2 !== 0)
                names.push(keyName(k2))
            if (k3 !== 0)
                names.push(keyName(k3))
            return names.join("+")
        }
        case 3:
            return gridText(mediaOptions, k2, k3)
        case 4: {
            var name = ui_View.getData("mouseMacroKey/" + k2, false)
            return name === undefined || name === null ? "" : String(name)
        }
        case 5:
            return k2 >= 1 && k2 <= 4 ? String(keyAssigmentLang[dpiOptions[k2 - 1].lang]) : ""
        case 6:
            return gridText(windowsOptions, k2, k3)
        case 7:
            return gridText(shortcutOptions, k2, k3)
        case 8:
            return k2 >= 1 && k2 <= 3 ? String(keyAssigmentLang[gunOptions[k2 - 1].lang]) : ""
        default:
            return ""
        }
    }

    // --- the dialog --------------------------------------------------------------

    function init() {
        macroSection.macroDrop.closeMenu()
        fillGrid(mediaModel, mediaOptions, 9)
        fillGrid(windowsModel, windowsOptions, 9)
        fillGrid(shortcutModel, shortcutOptions, 12)
    }

    // A grid's texts; the entries after the options stay empty.
    function fillGrid(model, options, size) {
        model.clear()
        for (var i = 0; i < size; ++i)
            model.append({ textValue: i < options.length ? String(keyAssigmentLang[options[i].lang]) : "" })
    }

    function show(index) {
        keyAssigmentFocus()
        isFireInput = false
        isComboInput = false
        mouseMain.selectKey = index
        loadEntry(keyMatrixMain.modKeys.get(index))
        showCentered()
        scrollToCurrent()
    }

    function loadEntry(e) {
        setCodes([e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3], e.keyText)
        if (keyCode0 === 1) {
            fireRate = Math.max(4, Math.min(80, keyCode2))
            fireTimes = keyCode3
        } else {
            fireRate = 10
            fireTimes = 0
        }
        fireSection.rateDrop.sliderControl.setValue(fireRate - 1)
        fireSection.rateDrop.textValue = fireRate + (keyCode0 === 1 ? "MS" : "ms")
        fireSection.timesField.textValue = String(fireTimes)
        fireSection.endnessBox.isSelect = fireTimes === 0
        if (keyCode0 === 4)
            macroMode = Math.min(2, keyCode1)
    }

    // Scrolls the body so that the section of the working copy's function shows.
    function scrollToCurrent() {
        // The sections in the order of the types 0 … 7.
        var sections = [mouseSection, fireSection, comboSection, mediaSection, macroSection, dpiSection,
                        windowsSection, shortcutSection]
        scrollTo(keyCode0 < sections.length ? sections[keyCode0] : mouseSection)
    }

    // Scrolls `target` (in the body) to the top, as far as the body goes.
    function scrollTo(target) {
        var top = target.mapToItem(body.contentItem, 0, 0).y
        body.contentY = Math.max(0, Math.min(body.contentHeight - body.height, top - 10))
    }

    // Scrolls so that `target` (in the body) and `below` pixels under it show.
    function ensureVisible(target, below) {
        var top = target.mapToItem(body.contentItem, 0, 0).y
        var bottom = top + target.height + below
        if (bottom > body.contentY + body.height)
            body.contentY = Math.min(body.contentHeight - body.height, bottom - body.height + 8)
        if (top < body.contentY)
            body.contentY = Math.max(0, top - 8)
    }

    function chooseOption(option) {
        endCapture()
        setCodes(keyCodeStrProc(option.code), String(keyAssigmentLang[option.lang]))
    }

    // The restore icon: the button's default, unless it is what is shown already.
    function restoreDefault() {
        var slot = mouseMain.selectKey
        if (slot < 0)
            return
        var d = keyMatrixMain.modKeys_tmp.get(slot)
        if (d.keyText === keyString)
            return
        endCapture()
        keyMatrixMain.modKeys.set(slot, { keyCode0: d.keyCode0, keyCode1: d.keyCode1, keyCode2: d.keyCode2,
                                          keyCode3: d.keyCode3, keyText: d.keyText })
        loadEntry(d)
        keyMatrixMain.isSave = true
    }

    // Closing hands a changed working copy to the key matrix panel; a macro
    // is sent to the mouse at once for the button's slot.
    function closeDialog() {
        endCapture()
        visible = false
        maskShown = false
        var slot = mouseMain.selectKey
        if (slot >= 0) {
            var e = keyMatrixMain.modKeys.get(slot)
            var changed = e.keyCode0 !== keyCode0 || e.keyCode1 !== keyCode1 || e.keyCode2 !== keyCode2
                          || e.keyCode3 !== keyCode3
            // Another macro on the same button keeps the same four codes.
            if (keyCode0 === 4 && e.keyText !== keyString)
                changed = true
            if (changed) {
                keyMatrixMain.modKeys.set(slot, { keyCode0: keyCode0, keyCode1: keyCode1, keyCode2: keyCode2,
                                                  keyCode3: keyCode3, keyText: keyString })
                keyMatrixMain.isSave = true
                if (keyCode0 === 4) {
                    macroEditorMain.sendMacro(keyCode2, keyString)
                    ui_View.setData("mouseMacroKey/" + keyCode2, keyString)
                }
            }
        }
        mouseMain.selectKey = -1
        keyAssigmentFocus()
    }

    function keyAssigmentFocus() {
        closeMenusExcept(null)
        fireSection.timesField.closeFocus()
    }

    function closeMenusExcept(menu) {
        var menus = [fireSection.rateDrop, mediaSection.grid, macroSection.macroDrop, windowsSection.grid, shortcutSection.grid]
        for (var i = 0; i < menus.length; ++i) {
            if (menus[i] !== menu)
                menus[i].closeMenu()
        }
    }

    // --- capture -------------------------------------------------------------------

    function endCapture() {
        isFireInput = false
        isComboInput = false
    }

    function startFireInput() {
        keyAssigmentFocus()
        isComboInput = false
        isFireInput = true
    }

    function startComboInput() {
        keyAssigmentFocus()
        isFireInput = false
        comboText = ""
        comboBits = 0
        comboFirst = 0
        comboSecond = 0
        comboCount = 0
        isComboInput = true
    }

    // A key the main window routed here: index 0 fire capture, 1 combination capture.
    function detectKeyboard(isDown, usbCode, index) {
        var code = parseInt(usbCode) & 0xFF
        if (index === 0 && isFireInput) {
            // The first key event ends the capture, a press or a release.
            isFireInput = false
            setCodes([1, code, fireRate, fireTimes], keyName(code))
            fireSection.rateDrop.textValue = fireRate + "MS"
        } else if (index === 1 && isComboInput && isDown) {
            var name = keyName(code)
            if (code >= 0xE0 && code <= 0xE7) {
                var bit = 1 << (code - 0xE0)
                if (comboBits & bit)
                    return
                comboBits |= bit
            } else {
                if (comboCount >= 2 || code === comboFirst)
                    return
                if (comboCount === 0)
                    comboFirst = code
                else
                    comboSecond = code
                ++comboCount
            }
            comboText = comboText === "" ? name : comboText + " + " + name
        }
    }

    function confirmCombo() {
        if (!isComboInput)
            return
        isComboInput = false
        if (comboText === "")
            return
        var codes = [2, comboBits, comboFirst, comboSecond]
        setCodes(codes, keyCodeToString(codes[0], codes[1], codes[2], codes[3]))
    }

    function cancelCombo() {
        isComboInput = false
    }

    // --- fire settings -------------------------------------------------------------

    function setRate(position) {
        fireRate = position + 1
        fireSection.rateDrop.textValue = fireRate + "MS"
        if (keyCode0 === 1) {
            keyCode2 = fireRate
            keyCode = currentCode
        }
    }

    // The shot count; `updateBox` ticks "Endness" exactly when it is 0.
    function setTimes(value, updateBox) {
        fireTimes = Math.max(0, Math.min(255, value))
        fireSection.timesField.textValue = String(fireTimes)
        if (updateBox)
            fireSection.endnessBox.isSelect = fireTimes === 0
        if (keyCode0 === 1) {
            keyCode3 = fireTimes
            keyCode = currentCode
        }
    }

    // --- macros ----------------------------------------------------------------------

    function chooseMacro(index) {
        if (index < 0 || index >= macroNames.count)
            return
        endCapture()
        setCodes([4, macroMode, mouseMain.selectKey, 0], macroNames.get(index).textValue)
    }

    function setMacroMode(mode) {
        macroMode = mode
        if (keyCode0 === 4) {
            keyCode1 = mode
            keyCode = currentCode
        }
    }

    function macroIndexOf(name) {
        for (var i = 0; i < macroNames.count; ++i) {
            if (macroNames.get(i).textValue === name)
                return i
        }
        return -1
    }

    // The macro drop-down; the macro editor hands it the names of its list.
    Item {
        id: macroListItem

        // The names in list order. A working copy bound to a macro that is
        // gone takes the button's entry again.
        function addData(names, isInit) {
            macroNames.clear()
            for (var i = 0; i < names.length; ++i)
                macroNames.append({ textValue: String(names[i]) })
            if (!isInit && keyAssigment.visible && keyAssigment.keyCode0 === 4
                    && keyAssigment.macroIndexOf(keyAssigment.keyString) < 0 && mouseMain.selectKey >= 0)
                keyAssigment.loadEntry(keyMatrixMain.modKeys.get(mouseMain.selectKey))
        }
        // A macro was renamed: a working copy bound to it follows.
        function renamed(oldName, newName) {
            if (keyAssigment.keyCode0 === 4 && keyAssigment.keyString === oldName)
                keyAssigment.keyString = newName
        }
        function closeMenu() {
            macroSection.macroDrop.closeMenu()
        }
    }
    ListModel {
        id: macroNames
    }
    ListModel {
        id: mediaModel
    }
    ListModel {
        id: windowsModel
    }
    ListModel {
        id: shortcutModel
    }

    // --- the body ----------------------------------------------------------------------

    Flickable {
        id: body
        objectName: "keyAssigmentBody"
        x: 0
        y: keyAssigment.titleHeight + 2
        width: keyAssigment.width
        height: 360
        clip: true
        interactive: false
        contentWidth: width
        contentHeight: Math.max(830, sections.y + sections.height + 16)
        boundsBehavior: Flickable.StopAtBounds

        // The wheel scrolls (the body is not dragged: a drag moves the dialog).
        MouseArea {
            width: body.contentWidth
            height: body.contentHeight
            acceptedButtons: Qt.NoButton
            onWheel: function(wheel) {
                var max = Math.max(0, body.contentHeight - body.height)
                body.contentY = Math.max(0, Math.min(max, body.contentY - wheel.angleDelta.y / 120 * 48))
            }
        }

        // The sections, one under the other.
        Item {
            id: sections
            x: 24
            y: 6
            width: 368
            height: shortcutSection.y + shortcutSection.height

            // Mouse function: six options in three columns.
            OptionSection {
                id: mouseSection
                page: keyAssigment
                height: 96
                text: keyAssigment.keyAssigmentLang[1]
                options: keyAssigment.mouseOptions
                optionName: "mouseOption"
            }
            FireSection {
                id: fireSection
                page: keyAssigment
                anchors.top: mouseSection.bottom
                anchors.topMargin: 13
            }
            ComboSection {
                id: comboSection
                page: keyAssigment
                anchors.top: fireSection.bottom
                anchors.topMargin: 13
            }
            GridSection {
                page: keyAssigment
                id: mediaSection
                anchors.top: comboSection.bottom
                anchors.topMargin: 13
                Separator {
                    y: -7
                }
                text: keyAssigment.keyAssigmentLang[15]
                options: keyAssigment.mediaOptions
                gridName: "mediaGrid"
                model: mediaModel
                z: 3
            }
            KeyMacroSection {
                id: macroSection
                page: keyAssigment
                names: macroNames
                anchors.top: mediaSection.bottom
                anchors.topMargin: 13
                z: 2
            }
            OptionSection {
                id: dpiSection
                page: keyAssigment
                anchors.top: macroSection.bottom
                anchors.topMargin: 13
                Separator {
                    y: -7
                }
                height: 92
                text: keyAssigment.keyAssigmentLang[21]
                options: keyAssigment.dpiOptions
                optionName: "dpiOption"
            }
            GridSection {
                page: keyAssigment
                id: windowsSection
                anchors.top: dpiSection.bottom
                anchors.topMargin: 13
                Separator {
                    y: -7
                }
                text: keyAssigment.keyAssigmentLang[25]
                options: keyAssigment.windowsOptions
                gridName: "windowsGrid"
                model: windowsModel
                z: 1
            }
            GridSection {
                page: keyAssigment
                id: shortcutSection
                anchors.top: windowsSection.bottom
                anchors.topMargin: 13
                Separator {
                    y: -7
                }
                text: keyAssigment.keyAssigmentLang[26]
                options: keyAssigment.shortcutOptions
                gridName: "shortcutGrid"
                model: shortcutModel
            }

            // Recoil-preset switching: kept, but not offered.
            Item {
                id: gunSection
                anchors.top: shortcutSection.bottom
                anchors.topMargin: 13
                Separator {
                    y: -7
                }
                visible: false
                width: 368
                height: 62
                KeySectionTitle {
                    text: keyAssigment.keyAssigmentLang[52]
                }
                Repeater {
                    // No buttons are built while the section is hidden.
                    model: gunSection.visible ? keyAssigment.gunOptions : []
                    OptionRadio {
                        page: keyAssigment
                        required property var modelData
                        required property int index
                        x: 12 + index * 110
                        y: 38
                        option: modelData
                    }
                }
            }
        }
    }

    // The body's scroll position, beside it.
    Item {
        x: 0
        y: body.y
        width: keyAssigment.width - 2
        height: body.height
        ScrollHandle {
            flickable: body
        }
    }
}
