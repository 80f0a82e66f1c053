pragma ComponentBehavior: Bound

import QtQuick
import "parts"

// The recoil-preset dialog (opened from the hidden "Gun Editor" entry): a
// list of weapon presets, each with a downward pull (Y 0 … 64), a fire
// period in ms and a shot count (0 = endless), and the three preset slots of
// the mouse. Presets are stored as soon as they change; closing the dialog
// after a change sends the three slots and the button map, which carries
// the slots' periods.
DialogFrame {
    id: gunControl
    width: 640
    height: 448
    title: gunControlLang[0]

    property var gunControlLang: ["Gun editor", "Gun", "Select gun", "Cursor Adjust", "X Axis", "Y axis",
        "Fire adjust", "Rate", "Times", "Endness"]
    property alias gunNumberModel: gunModel
    property alias gunNumber_lv: gunListView
    // The preset of each slot of the mouse.
    property int selectGun1: 0
    property int selectGun2: 1
    property int selectGun3: 2
    // Presets changed since the dialog was last closed.
    property bool isSave: false

    // The dot's travel over the target picture (its top edge), for Y 0 … 64.
    readonly property int dotTop: 89
    readonly property int dotTravel: 94
    readonly property int maxY: 64

    onCloseClicked: {
        gunControlFocus()
        visible = false
        mainMask.visible = false
        if (!isSave)
            return
        isSave = false
        mainIten.controlUIEnable(false)
        sendSlot(1)
        sendSlot(2)
        sendSlot(3)
        keyMatrixMain.modKeys.saveData()
        mainIten.controlUIEnable(true)
    }
    onBackgroundPressed: gunControlFocus()

    // --- presets and slots ------------------------------------------------------

    function number(value, fallback) {
        var n = parseInt(value)
        return isNaN(n) ? fallback : n
    }

    function slotPreset(slot) {
        return slot === 1 ? selectGun1 : slot === 2 ? selectGun2 : selectGun3
    }
    function setSlotPreset(slot, index) {
        if (slot === 1)
            selectGun1 = index
        else if (slot === 2)
            selectGun2 = index
        else
            selectGun3 = index
    }
    function storeSlots() {
        ui_View.setGlobalData("mouse/selectGun", [selectGun1, selectGun2, selectGun3])
    }

    function storePreset(i) {
        isSave = true
        var p = gunModel.get(i)
        ui_View.mouseSaveGundata(i, [p.gunName, p.gunKey, p.gunPeriod, p.gunX, p.gunY, p.gunTimes])
    }

    // Slot 1 … 3 to the mouse: its preset's times, x and y.
    function sendSlot(slot) {
        var p = gunModel.get(slotPreset(slot))
        ui_View.mouseSendGundata(slot, [number(p.gunTimes, 0), number(p.gunX, 0), number(p.gunY, 0)])
    }

    function dotTopFor(y) {
        return dotTravel * y / maxY + dotTop
    }
    function yForDot(top) {
        return Math.floor((top - dotTop) / dotTravel * maxY)
    }

    // Shows preset i on the right-hand side.
    function showPreset(i) {
        gunListView.currentIndex = i
        var p = gunModel.get(i)
        var y = Math.max(0, Math.min(maxY, number(p.gunY, 0)))
        xField.textValue = String(p.gunX)
        yField.textValue = String(y)
        dot.y = dotTopFor(y)
        var period = number(p.gunPeriod, 10)
        rateSlider.sliderControl.setValue(period - 1)
        rateSlider.textValue = period + "MS"
        timesField.textValue = String(p.gunTimes)
        endlessBox.isSelect = String(p.gunTimes) === "0"
    }

    // The shown preset takes a value and is stored, when the value changed.
    function changeShown(role, value) {
        var i = gunListView.currentIndex
        if (i < 0 || String(gunModel.get(i)[role]) === String(value))
            return
        gunModel.setProperty(i, role, String(value))
        storePreset(i)
    }

    // --- what the main window calls ---------------------------------------------

    function init() {
        slotModel.clear()
        for (var n = 1; n <= 3; ++n)
            slotModel.append({ textValue: gunControlLang[1] + n })
        slotList.currentSelect = 0

        for (var i = 0; i < gunModel.count; ++i) {
            var d = ui_View.getGunData(i)
            if (d.length < 6)
                continue
            gunModel.set(i, { gunName: String(d[0]), gunKey: String(d[1]), gunPeriod: String(d[2]),
                              gunX: String(d[3]), gunY: String(d[4]), gunTimes: String(d[5]) })
        }

        var stored = ui_View.getGlobalData("mouse/selectGun")
        var slots = Array.isArray(stored) ? stored : String(stored).split(",")
        for (var s = 1; s <= 3; ++s) {
            var index = number(slots[s - 1], -1)
            setSlotPreset(s, index >= 0 && index < gunModel.count ? index : s - 1)
        }
        showPreset(selectGun1)
    }

    // Factory reset: slots 1 … 3 hold presets 0 … 2 with their factory pull.
    function resetData() {
        selectGun1 = 0
        selectGun2 = 1
        selectGun3 = 2
        storeSlots()
        var pulls = [5, 7, 8]
        for (var i = 0; i < 3; ++i) {
            gunModel.setProperty(i, "gunY", String(pulls[i]))
            gunModel.setProperty(i, "gunPeriod", "9")
        }
        for (var k = 0; k < 3; ++k)
            storePreset(k)
        for (var slot = 1; slot <= 3; ++slot)
            sendSlot(slot)
        slotList.currentSelect = 0
        showPreset(0)
    }

    function gunControlFocus() {
        slotList.closeMenu()
        rateSlider.closeMenu()
        yField.closeFocus()
        timesField.closeFocus()
    }

    // --- the dialog ----------------------------------------------------------------

    ListModel {
        id: gunModel
        ListElement { gunName: "M416"; gunImage: "qrc:/gun/modules/img/skin1/gun/M416.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "AKM"; gunImage: "qrc:/gun/modules/img/skin1/gun/AKM.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "M16A4"; gunImage: "qrc:/gun/modules/img/skin1/gun/M16A4.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "SCAR-L"; gunImage: "qrc:/gun/modules/img/skin1/gun/SCAR-L.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "UNP9"; gunImage: "qrc:/gun/modules/img/skin1/gun/UNP9.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "Thomson"; gunImage: "qrc:/gun/modules/img/skin1/gun/Thomson.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
    }

    // --- left: the presets ---

    SectionTitle {
        x: 24
        y: 54
        text: gunControl.gunControlLang[1]
    }
    Rectangle {
        x: 24
        y: 82
        width: 248
        height: 342
        radius: 2
        color: "#141414"
        border.color: colorGray1

        ListView {
            id: gunListView
            objectName: "gunList"
            anchors.fill: parent
            anchors.margins: 1
            clip: true
            currentIndex: 0
            boundsBehavior: Flickable.StopAtBounds
            model: gunModel
            delegate: Rectangle {
                id: row
                required property int index
                required property string gunName
                required property string gunImage
                readonly property bool shown: index === gunListView.currentIndex
                objectName: "gunRow" + index
                width: gunListView.width
                height: 58
                color: shown ? colorGray1 : rowArea.containsMouse ? "#262626" : "transparent"

                Rectangle {
                    width: 3
                    height: parent.height
                    color: colorOrange
                    visible: row.shown
                }
                Image {
                    x: 10
                    y: 5
                    width: 120
                    height: 48
                    source: row.gunImage
                }
                Text {
                    x: 140
                    y: 10
                    width: parent.width - x - 8
                    text: row.gunName
                    color: fontColor
                    font.family: fontFamily
                    font.pixelSize: fontMiddleSize
                    font.bold: row.shown
                    elide: Text.ElideRight
                }
                // The slots that hold this preset.
                Row {
                    x: 140
                    y: 34
                    spacing: 4
                    Repeater {
                        model: [gunControl.selectGun1, gunControl.selectGun2, gunControl.selectGun3]
                        Rectangle {
                            id: badge
                            required property int index
                            required property int modelData
                            visible: modelData === row.index
                            width: 16
                            height: 14
                            radius: 2
                            color: badge.index === slotList.currentSelect ? colorOrange : "transparent"
                            border.color: colorOrange
                            Text {
                                anchors.centerIn: parent
                                text: String(badge.index + 1)
                                color: fontColor
                                font.family: fontFamily
                                font.pixelSize: fontMinSize
                            }
                        }
                    }
                }
                Rectangle {
                    anchors.bottom: parent.bottom
                    x: 8
                    width: parent.width - 16
                    height: 1
                    color: "#262626"
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: {
                        gunControl.gunControlFocus()
                        gunControl.setSlotPreset(slotList.currentSelect + 1, row.index)
                        gunControl.storeSlots()
                        gunControl.isSave = true
                        gunControl.showPreset(row.index)
                    }
                }
            }
        }
    }

    // --- right: slot, pull and fire ---

    SectionTitle {
        x: 296
        y: 54
        text: gunControl.gunControlLang[2]
    }
    DropDownList {
        id: slotList
        objectName: "gunSlot"
        x: 616 - width
        y: 50
        width: 96
        currentSelect: 0
        mdItems: ListModel { id: slotModel }
        onBtnClick: rateSlider.closeMenu()
        onValueChange: function(index) { gunControl.showPreset(gunControl.slotPreset(index + 1)) }
    }
    Divider {
        x: 296
        y: 84
        width: 320
    }

    SectionTitle {
        x: 296
        y: 92
        text: gunControl.gunControlLang[3]
    }
    Image {
        id: target
        objectName: "gunTarget"
        x: 296
        y: 114
        width: 200
        height: 200
        source: "qrc:/gun/modules/img/skin1/gun/target.png"

        Rectangle {
            id: dot
            objectName: "gunDot"
            x: 96
            y: gunControl.dotTop
            width: 8
            height: 8
            radius: 4
            color: "#ff3030"
            border.color: "#ffb0b0"
            border.width: dotArea.pressed || dotArea.containsMouse ? 1 : 0

            MouseArea {
                id: dotArea
                anchors.fill: parent
                anchors.margins: -6
                hoverEnabled: true
                cursorShape: Qt.SizeVerCursor
                property real pressY: 0
                property real startY: 0
                onPressed: function(mouse) {
                    gunControl.gunControlFocus()
                    pressY = mapToItem(target, mouse.x, mouse.y).y
                    startY = dot.y
                }
                onPositionChanged: function(mouse) {
                    if (!pressed)
                        return
                    var top = startY + mapToItem(target, mouse.x, mouse.y).y - pressY
                    dot.y = Math.max(gunControl.dotTop, Math.min(gunControl.dotTop + gunControl.dotTravel, top))
                    yField.textValue = String(gunControl.yForDot(dot.y))
                }
                onReleased: gunControl.changeShown("gunY", gunControl.number(yField.textValue, 0))
            }
        }
    }

    GunLabel {
        x: 520
        y: 138
        text: gunControl.gunControlLang[4]
    }
    RectInput {
        id: xField
        objectName: "gunX"
        x: 520
        y: 162
        width: 64
        enabled: false
        txtInput.color: colorGray2
        textValue: "0"
    }
    GunLabel {
        x: 520
        y: 202
        text: gunControl.gunControlLang[5]
    }
    RectInput {
        id: yField
        objectName: "gunY"
        x: 520
        y: 226
        width: 64
        maxValue: gunControl.maxY
        txtInput.maximumLength: 2
        textValue: "10"
        onInputSignal: {
            slotList.closeMenu()
            rateSlider.closeMenu()
        }
        onEndInputSignal: {
            var y = Math.max(0, Math.min(gunControl.maxY, gunControl.number(textValue, 0)))
            textValue = String(y)
            dot.y = gunControl.dotTopFor(y)
            gunControl.changeShown("gunY", y)
        }
    }

    Divider {
        x: 296
        y: 322
        width: 320
    }
    SectionTitle {
        x: 296
        y: 330
        text: gunControl.gunControlLang[6]
    }
    GunLabel {
        x: 296
        y: 358
        width: 64
        text: gunControl.gunControlLang[7]
        elide: Text.ElideRight
    }
    DropDownSlider {
        id: rateSlider
        objectName: "gunRate"
        x: 368
        y: 356
        width: 120
        textValue: "10ms"
        onBtnClick: slotList.closeMenu()
        onValueChange: function(index) { textValue = (index + 1) + "MS" }
    }
    Connections {
        // A drag of the knob ends (or a click on the track has moved it).
        target: rateSlider.sliderControl
        function onValueChangeDelay() {
            gunControl.changeShown("gunPeriod", gunControl.number(rateSlider.textValue, 10))
        }
    }
    GunLabel {
        x: 296
        y: 404
        width: 64
        text: gunControl.gunControlLang[8]
        elide: Text.ElideRight
    }
    RectInput {
        id: timesField
        objectName: "gunTimes"
        x: 368
        y: 404
        width: 64
        txtInput.maximumLength: 3
        textValue: "0"
        onInputSignal: {
            slotList.closeMenu()
            rateSlider.closeMenu()
        }
        onEndInputSignal: {
            var times = String(gunControl.number(textValue, 0))
            endlessBox.isSelect = times === "0"
            gunControl.changeShown("gunTimes", times)
        }
    }
    CheckBox {
        id: endlessBox
        objectName: "gunEndless"
        x: 448
        y: 404 + (20 - height) / 2
        textValue: gunControl.gunControlLang[9]
        isSelect: true
        // The box toggles itself right after this handler, so each branch
        // leaves it at the opposite of the state it should end in.
        onBtnClick: {
            if (!isSelect) {
                timesField.closeFocus()
                timesField.textValue = "0"
                gunControl.changeShown("gunTimes", "0")
                isSelect = false
            } else {
                // Not endless any more: the count is typed next; leaving the
                // field at 0 ticks the box again.
                isSelect = true
                timesField.txtInput.forceActiveFocus()
                timesField.txtInput.selectAll()
            }
        }
    }
}
