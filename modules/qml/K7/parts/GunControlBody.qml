pragma ComponentBehavior: Bound

import QtQuick
import ".."
import "../../theme"

// The controls of the recoil-preset dialog (GunControl.qml), built while it
// is open: they show the state the dialog keeps and hand every change back
// to it.
Item {
    id: body

    // The shown preset into the controls.
    function show() {
        var p = gunControlMain.gunNumberModel.get(gunControlMain.shownIndex)
        var y = Math.max(0, Math.min(gunControlMain.maxY, gunControlMain.number(p.gunY, 0)))
        slotList.currentSelect = gunControlMain.currentSlot
        xField.textValue = String(p.gunX)
        yField.textValue = String(y)
        dot.y = gunControlMain.dotTopFor(y)
        var period = gunControlMain.number(p.gunPeriod, 10)
        rateSlider.sliderControl.setValue(period - 1)
        rateSlider.textValue = period + "MS"
        timesField.textValue = String(p.gunTimes)
        endlessBox.isSelect = String(p.gunTimes) === "0"
    }
    Component.onCompleted: show()

    // A preset row chosen (a click, or the arrow keys on the list): it goes
    // to the chosen slot and is shown.
    function choosePreset(index) {
        gunControlMain.gunControlFocus()
        gunControlMain.setSlotPreset(gunControlMain.currentSlot + 1, index)
        gunControlMain.storeSlots()
        gunControlMain.isSave = true
        gunControlMain.showPreset(index)
    }

    Connections {
        target: gunControlMain
        function onPresetShown() { body.show() }
        function onEditsEnded() {
            slotList.closeMenu()
            rateSlider.closeMenu()
            yField.closeFocus()
            timesField.closeFocus()
        }
    }

    // --- left: the presets ---

    SectionTitle {
        x: 24
        y: 54
        text: gunControlMain.gunControlLang[1]
    }
    Rectangle {
        x: 24
        y: 82
        width: 248
        height: 342
        radius: 2
        color: "#141414"
        border.color: Theme.colorGray1

        ListView {
            id: gunListView
            objectName: "gunList"
            anchors.fill: parent
            anchors.margins: 1
            clip: true
            currentIndex: gunControlMain.shownIndex
            Component.onCompleted: gunControlMain.gunNumber_lv = gunListView
            boundsBehavior: Flickable.StopAtBounds
            model: gunControlMain.gunNumberModel
            activeFocusOnTab: true
            Keys.onTabPressed: gunRing.moveFocus(true)
            Keys.onBacktabPressed: gunRing.moveFocus(false)
            Keys.onDownPressed: body.choosePreset(Math.min(count - 1, currentIndex + 1))
            Keys.onUpPressed: body.choosePreset(Math.max(0, currentIndex - 1))
            Accessible.role: Accessible.List
            Accessible.name: gunControlMain.gunControlLang[1]
            Accessible.focusable: true
            delegate: Rectangle {
                id: row
                required property int index
                required property string gunName
                required property string gunImage
                readonly property bool shown: index === gunListView.currentIndex
                objectName: "gunRow" + index
                width: gunListView.width
                height: 58
                color: shown ? Theme.colorGray1 : rowArea.containsMouse ? "#262626" : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: row.gunName
                Accessible.selectable: true
                Accessible.selected: row.shown
                Accessible.onPressAction: body.choosePreset(row.index)

                Rectangle {
                    width: 3
                    height: parent.height
                    color: Theme.colorOrange
                    visible: row.shown
                }
                Image {
                    x: 10
                    y: 5
                    width: 120
                    height: 48
                    source: row.gunImage
                    Accessible.ignored: true
                }
                Text {
                    x: 140
                    y: 10
                    width: parent.width - x - 8
                    text: row.gunName
                    color: Theme.fontColor
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
                        model: [gunControlMain.selectGun1, gunControlMain.selectGun2, gunControlMain.selectGun3]
                        Rectangle {
                            id: badge
                            required property int index
                            required property int modelData
                            visible: modelData === row.index
                            width: 16
                            height: 14
                            radius: 2
                            color: badge.index === gunControlMain.currentSlot ? Theme.colorOrange : "transparent"
                            border.color: Theme.colorOrange
                            Text {
                                anchors.centerIn: parent
                                text: String(badge.index + 1)
                                color: Theme.fontColor
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
                    onClicked: body.choosePreset(row.index)
                }
            }
        }
        FocusRing {
            id: gunRing
            focusItem: gunListView
            outset: 0
        }
    }

    // --- right: slot, pull and fire ---

    SectionTitle {
        x: 296
        y: 54
        text: gunControlMain.gunControlLang[2]
    }
    DropDownList {
        id: slotList
        objectName: "gunSlot"
        accessibleName: gunControlMain.gunControlLang[2]
        x: 616 - width
        y: 50
        width: 96
        currentSelect: gunControlMain.currentSlot
        mdItems: gunControlMain.slotModel
        onBtnClick: rateSlider.closeMenu()
        onValueChange: function(index) {
            gunControlMain.currentSlot = index
            gunControlMain.showPreset(gunControlMain.slotPreset(index + 1))
        }
    }
    Divider {
        x: 296
        y: 84
        width: 320
    }

    SectionTitle {
        x: 296
        y: 92
        text: gunControlMain.gunControlLang[3]
    }
    Image {
        id: target
        objectName: "gunTarget"
        x: 296
        y: 114
        width: 200
        height: 200
        source: "qrc:/gun/modules/img/skin1/gun/target.png"
        // The Y field says what the dot shows.
        Accessible.ignored: true

        Rectangle {
            id: dot
            objectName: "gunDot"
            x: 96
            y: gunControlMain.dotTop
            width: 8
            height: 8
            radius: 4
            color: Theme.colorRed
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
                    gunControlMain.gunControlFocus()
                    pressY = mapToItem(target, mouse.x, mouse.y).y
                    startY = dot.y
                }
                onPositionChanged: function(mouse) {
                    if (!pressed)
                        return
                    var top = startY + mapToItem(target, mouse.x, mouse.y).y - pressY
                    dot.y = Math.max(gunControlMain.dotTop, Math.min(gunControlMain.dotTop + gunControlMain.dotTravel, top))
                    yField.textValue = String(gunControlMain.yForDot(dot.y))
                }
                onReleased: gunControlMain.changeShown("gunY", gunControlMain.number(yField.textValue, 0))
            }
        }
    }

    GunLabel {
        x: 520
        y: 138
        text: gunControlMain.gunControlLang[4]
    }
    RectInput {
        id: xField
        objectName: "gunX"
        x: 520
        y: 162
        width: 64
        enabled: false
        txtInput.color: Theme.colorGray2
        textValue: "0"
        accessibleName: gunControlMain.gunControlLang[4]
    }
    GunLabel {
        x: 520
        y: 202
        text: gunControlMain.gunControlLang[5]
    }
    RectInput {
        id: yField
        objectName: "gunY"
        x: 520
        y: 226
        width: 64
        maxValue: gunControlMain.maxY
        txtInput.maximumLength: 2
        textValue: "10"
        accessibleName: gunControlMain.gunControlLang[5]
        onInputSignal: {
            slotList.closeMenu()
            rateSlider.closeMenu()
        }
        onEndInputSignal: {
            var y = Math.max(0, Math.min(gunControlMain.maxY, gunControlMain.number(textValue, 0)))
            textValue = String(y)
            dot.y = gunControlMain.dotTopFor(y)
            gunControlMain.changeShown("gunY", y)
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
        text: gunControlMain.gunControlLang[6]
    }
    GunLabel {
        x: 296
        y: 358
        width: 64
        text: gunControlMain.gunControlLang[7]
        elide: Text.ElideRight
    }
    DropDownSlider {
        id: rateSlider
        objectName: "gunRate"
        x: 368
        y: 356
        width: 120
        textValue: "10ms"
        accessibleName: gunControlMain.gunControlLang[7]
        onBtnClick: slotList.closeMenu()
        onValueChange: function(index) { textValue = (index + 1) + "MS" }
    }
    Connections {
        // A drag of the knob ends (or a click on the track has moved it).
        target: rateSlider.sliderControl
        function onValueChangeDelay() {
            gunControlMain.changeShown("gunPeriod", gunControlMain.number(rateSlider.textValue, 10))
        }
    }
    GunLabel {
        x: 296
        y: 404
        width: 64
        text: gunControlMain.gunControlLang[8]
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
        accessibleName: gunControlMain.gunControlLang[8]
        onInputSignal: {
            slotList.closeMenu()
            rateSlider.closeMenu()
        }
        onEndInputSignal: {
            var times = String(gunControlMain.number(textValue, 0))
            endlessBox.isSelect = times === "0"
            gunControlMain.changeShown("gunTimes", times)
        }
    }
    CheckBox {
        id: endlessBox
        objectName: "gunEndless"
        x: 448
        y: 404 + (20 - height) / 2
        textValue: gunControlMain.gunControlLang[9]
        isSelect: true
        // The box toggles itself right after this handler, so each branch
        // leaves it at the opposite of the state it should end in.
        onBtnClick: {
            if (!isSelect) {
                timesField.closeFocus()
                timesField.textValue = "0"
                gunControlMain.changeShown("gunTimes", "0")
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
