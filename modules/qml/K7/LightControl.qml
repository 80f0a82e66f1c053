pragma ComponentBehavior: Bound

import QtQuick
import "parts"
import "../theme"

// Lighting panel (right column, under the DPI panel): the effect, its speed
// and brightness steps, and up to eight colours picked on a hue bar or typed
// as R, G, B. Edits stay here, marked unsaved, until Save; init and saveData
// read and write the profile and send to the mouse.
PanelFrame {
    id: lightControl
    width: 232
    // 176 with no slider, 224 with one, 264 with both.
    height: 176 + (speedShown ? 40 : 0) + (brightnessShown ? 40 : 0) + (speedShown || brightnessShown ? 8 : 0)
    title: lightControlLang[0]
    icon: Theme.sourceLightIcon
    showReset: true

    property var lightControlLang: ["Light", "Static", "Breath", "Neon", "OFF", "Speed", "Color", "Brightness",
        "Twinkling", "Wave", "Gliding", "Finger Moving", "Vertical Flipping", "YO-YO", "Spotlight", "Breath Loop"]
    property bool isSave: false
    property alias lightModel: effectList

    // The selected effect: the effect number the mouse is given.
    readonly property int effect: effectList.currentSelect
    property bool speedShown: false
    property bool brightnessShown: true
    property var colors: ["#ff0000", "#00ff00", "#0000ff", "#ff00ff", "#00ffff", "#ff7f00", "#6000ff", "#ffffff"]
    // The selected block (0 … 7) and each block's knob position on the bar.
    property int selectBlock: 0
    property var knobPositions: [0, 0, 0, 0, 0, 0, 0, 0]
    readonly property var percentTexts: ["0%", "25%", "50%", "75%", "100%"]

    // The hue bar: six sections of 30 pixels; its last pixels are white.
    readonly property int barWidth: 185
    readonly property int barEnd: barWidth - 2
    readonly property int sectionWidth: Math.floor((barWidth - 2) / 6)

    onResetClicked: {
        init(false, true)
        isSave = true
    }

    // --- colours -------------------------------------------------------------

    function hex2(n) {
        var s = Math.max(0, Math.min(255, Math.floor(n))).toString(16)
        return s.length < 2 ? "0" + s : s
    }
    function colorText(r, g, b) {
        return "#" + hex2(r) + hex2(g) + hex2(b)
    }
    // [r, g, b] of a "#rrggbb" text.
    function components(text) {
        var s = String(text)
        return [parseInt(s.substr(1, 2), 16), parseInt(s.substr(3, 2), 16), parseInt(s.substr(5, 2), 16)]
    }

    // The colour at knob position p (0 … barEnd).
    function colorAt(p) {
        var s = sectionWidth
        var k = Math.floor(p / s)
        var v = Math.floor((p - k * s) * 255 / s)
        switch (k) {
        case 0: return colorText(255, v, 0)
        case 1: return colorText(255 - v, 255, 0)
        case 2: return colorText(0, 255, v)
        case 3: return colorText(0, 255 - v, 255)
        case 4: return colorText(v, 0, 255)
        case 5: return colorText(255, 0, 255 - v)
        }
        return p > barEnd - 1 ? "#ffffff" : "#ff0000"
    }

    // Where the knob goes for a colour: pure hues on their section, white at
    // the end of the bar; any other colour leaves the knob at the start.
    function positionOf(text) {
        var c = components(text)
        var r = c[0], g = c[1], b = c[2]
        var d = barEnd / 6
        var e = d / 256
        var p = 0
        if (r === 255 && g === 255 && b === 255)
            return barEnd
        if (r === 255 && b === 0)
            p = e * g
        else if (r === 0 && b === 255)
            p = 3 * d + e * (255 - g)
        else if (g === 255 && b === 0)
            p = d + e * (255 - r)
        else if (g === 0 && b === 255)
            p = 4 * d + e * r
        else if (r === 0 && g === 255)
            p = 2 * d + e * b
        else if (r === 255 && g === 0)
            p = 5 * d + e * (255 - b)
        return Math.floor(p)
    }

    function setBlockColor(index, text) {
        var list = colors.slice()
        list[index] = text
        colors = list
    }
    function setKnob(index, p) {
        var list = knobPositions.slice()
        list[index] = p
        knobPositions = list
    }
    function fillFields(text) {
        var c = components(text)
        redChannel.field.textValue = String(c[0])
        greenChannel.field.textValue = String(c[1])
        blueChannel.field.textValue = String(c[2])
    }

    // Selects a block: its knob is placed for its colour, the fields show it.
    function chooseBlock(index) {
        selectBlock = index
        setKnob(index, positionOf(colors[index]))
        fillFields(colors[index])
    }

    // The knob of the selected block moved to p.
    function knobMoved(p) {
        setKnob(selectBlock, p)
        var text = colorAt(p)
        setBlockColor(selectBlock, text)
        fillFields(text)
    }

    // Editing of R, G or B ended (a field that merely lost its focus changes nothing).
    // A colour block chosen from the keyboard.
    function keyChooseBlock(index) {
        lightControlFocus()
        chooseBlock(index)
    }

    // The arrow keys move the selected colour's knob along the hue bar.
    function stepKnob(steps) {
        var p = Math.max(0, Math.min(barEnd, knobPositions[selectBlock] + steps))
        if (p === knobPositions[selectBlock])
            return
        knobMoved(p)
        isSave = true
    }

    function fieldsEdited() {
        var text = colorText(parseInt(redChannel.field.textValue) || 0, parseInt(greenChannel.field.textValue) || 0,
                             parseInt(blueChannel.field.textValue) || 0)
        if (text === colors[selectBlock])
            return
        setBlockColor(selectBlock, text)
        setKnob(selectBlock, positionOf(text))
        isSave = true
    }

    // --- effects ---------------------------------------------------------------

    // Which sliders an effect shows. Filled from stored values, Twinkling on
    // an is55328 mouse keeps its speed slider; chosen in the list it has none.
    function showSliders(index, fromStore) {
        speedShown = index === 1 || index === 2 || index === 3 || index === 5
                     || (index === 4 && fromStore && is55328)
        brightnessShown = index === 0 || index === 5
    }

    function setSpeedStep(step) {
        speedRow.slider.setIndexValue(step, false)
    }
    function setBrightnessStep(step) {
        brightnessRow.slider.setIndexValue(step, false)
    }

    // The user chose an effect in the list.
    function effectChosen(index) {
        showSliders(index, false)
        if (index === 0) {
            setBrightnessStep(4)
        } else if (index === 4) {
            if (is55328)
                setSpeedStep(0)
            else
                setBrightnessStep(4)
        } else {
            setSpeedStep(0)
            if (index === 5)
                setBrightnessStep(4)
        }
        chooseBlock(0)
        isSave = true
    }

    // --- what the main window calls ----------------------------------------------

    function number(value, fallback, low, high) {
        var n = parseInt(value)
        return isNaN(n) || n < low || n > high ? fallback : n
    }

    function init(isSendData, isRecovery) {
        var names = [lightControlLang[1], lightControlLang[2], lightControlLang[3], lightControlLang[4],
                     lightControlLang[8]]
        for (var i = 0; i < names.length; ++i) {
            if (i < effectModel.count)
                effectModel.setProperty(i, "textValue", names[i])
            else
                effectModel.append({ textValue: names[i] })
        }
        // Breath Loop exists only on is55328 mice; it is added once, at start-up.
        if (!isSendData && !isRecovery && !mainIten.isPownOn && is55328 && effectModel.count === 5) {
            effectModel.append({ textValue: lightControlLang[15] })
            effectList.closeMenu()
        }

        var lightValue = ui_View.getDataList("mouse/lightValue", isRecovery)
        var chosen = number(lightValue[0], 0, 0, effectModel.count - 1)
        effectList.currentSelect = chosen
        setSpeedStep(number(lightValue[1], speedRow.slider.segmentValue, 0, 4))
        setBrightnessStep(number(lightValue[2], brightnessRow.slider.segmentValue, 0, 4))
        showSliders(chosen, true)

        var stored = ui_View.getDataList("mouse/colorValue", isRecovery)
        var list = colors.slice()
        for (var b = 0; b < 8; ++b) {
            if (stored.length >= 3 * b + 3) {
                list[b] = colorText(number(stored[3 * b], 0, 0, 255), number(stored[3 * b + 1], 0, 0, 255),
                                    number(stored[3 * b + 2], 0, 0, 255))
            }
        }
        colors = list
        chooseBlock(0)

        if (isSendData)
            saveData(true, 0)
    }

    // isStep: 0 everything, 1 the effect only, 2 the colours only.
    function saveData(isSendData, isStep) {
        var lightValue = [effect, speedRow.slider.segmentValue, brightnessRow.slider.segmentValue]
        if (isStep === 0 || isStep === 1)
            ui_View.setDataList("mouse/lightValue", lightValue)

        var values = []
        for (var b = 0; b < 8; ++b) {
            var c = components(colors[b])
            for (var k = 0; k < 3; ++k)
                values[3 * b + k] = c[k]
        }
        // These mice light one colour unless they twinkle: the eighth goes black.
        if (is55328 && effect !== 4)
            values[21] = values[22] = values[23] = 0
        if (isStep === 0 || isStep === 2)
            ui_View.setDataList("mouse/colorValue", values)

        if (!isSendData)
            return
        if (isStep === 0 || isStep === 2)
            ui_View.mouseSetRGBColor(isColorful ? 0 : 1, values)
        if (isStep === 0 || isStep === 1) {
            // The mouse is given the effect twice in a row.
            ui_View.mouseSetRGBEffect(lightValue[0], lightValue[1], lightValue[2])
            ui_View.mouseSetRGBEffect(lightValue[0], lightValue[1], lightValue[2])
        }
    }

    function lightControlFocus() {
        effectList.closeMenu()
        redChannel.field.closeFocus()
        greenChannel.field.closeFocus()
        blueChannel.field.closeFocus()
    }

    // --- the panel --------------------------------------------------------------

    Column {
        y: 8
        width: parent.width

        Item {
            width: parent.width
            height: 24
            z: 1
            DropDownList {
                id: effectList
                objectName: "lightEffect"
                x: 12
                width: 120
                currentSelect: 0
                mdItems: ListModel { id: effectModel }
                accessibleName: accessibleLang[7]
                onBtnClick: mainIten.closeMenusExcept(effectList)
                onValueChange: function(index) { lightControl.effectChosen(index) }
            }
        }
        Item { width: 1; height: 8 }
        StepRow {
            id: speedRow
            rowName: "speed"
            label: lightControl.lightControlLang[5]
            texts: lightControl.percentTexts
            visible: lightControl.speedShown
            onPressed: mainIten.mainFocus()
            onChanged: lightControl.isSave = true
        }
        StepRow {
            id: brightnessRow
            rowName: "brightness"
            label: lightControl.lightControlLang[7]
            texts: lightControl.percentTexts
            visible: lightControl.brightnessShown
            onPressed: mainIten.mainFocus()
            onChanged: lightControl.isSave = true
        }
        Item { width: 1; height: lightControl.speedShown || lightControl.brightnessShown ? 8 : 0 }

        // The colour area: blocks, hue bar, R G B.
        Item {
            id: colorArea
            objectName: "colorArea"
            width: parent.width
            height: 101

            Text {
                x: 12
                y: 0
                height: 16
                verticalAlignment: Text.AlignVCenter
                text: lightControl.lightControlLang[6]
                color: Theme.colorGray3
                font.family: fontFamily
                font.pixelSize: fontNormalSize
            }

            Repeater {
                model: 8
                Item {
                    id: block
                    required property int index
                    readonly property bool selected: index === lightControl.selectBlock
                    objectName: "colorBlock" + index
                    x: 18 + index * 26
                    y: 20
                    width: 14
                    height: 28
                    visible: index === 0 ? (dpiSettingMain.dpiCount > 0 || isColorful) : lightControl.effect === 2
                    // Under the cover of an effect without colours, the keys pass it by.
                    enabled: !colorCover.visible
                    activeFocusOnTab: true
                    Keys.onTabPressed: blockRing.moveFocus(true)
                    Keys.onBacktabPressed: blockRing.moveFocus(false)
                    Keys.onSpacePressed: lightControl.keyChooseBlock(block.index)
                    Keys.onReturnPressed: lightControl.keyChooseBlock(block.index)
                    Keys.onEnterPressed: lightControl.keyChooseBlock(block.index)
                    Accessible.role: Accessible.RadioButton
                    Accessible.name: lightControl.lightControlLang[6] + " " + (block.index + 1)
                    Accessible.description: lightControl.colors[block.index]
                    Accessible.checkable: true
                    Accessible.checked: block.selected
                    Accessible.focusable: true
                    Accessible.onPressAction: lightControl.keyChooseBlock(block.index)
                    FocusRing {
                        id: blockRing
                    }
                    Rectangle {
                        objectName: "colorSwatch"
                        width: 14
                        height: 14
                        radius: 2
                        color: lightControl.colors[block.index]
                        border.width: block.selected ? 2 : 1
                        border.color: block.selected ? "#ffffff" : Theme.colorGray1
                    }
                    Text {
                        y: 16
                        width: 14
                        horizontalAlignment: Text.AlignHCenter
                        text: String(block.index + 1)
                        color: block.selected ? Theme.fontColor : Theme.colorGray2
                        font.family: fontFamily
                        font.pixelSize: fontMinSize
                    }
                    MouseArea {
                        anchors.fill: parent
                        anchors.margins: -4
                        cursorShape: Qt.PointingHandCursor
                        onClicked: {
                            lightControl.lightControlFocus()
                            lightControl.chooseBlock(block.index)
                        }
                    }
                }
            }

            Image {
                id: colorBar
                objectName: "colorBar"
                x: Math.floor((parent.width - lightControl.barWidth) / 2)
                y: 56
                width: lightControl.barWidth
                height: 10
                source: Theme.sourceColorBar
                enabled: !colorCover.visible
                // The hue bar is a slider of the selected colour's knob.
                readonly property real value: lightControl.knobPositions[lightControl.selectBlock]
                readonly property real minimumValue: 0
                readonly property real maximumValue: lightControl.barEnd
                readonly property real stepSize: 1
                activeFocusOnTab: true
                Keys.onTabPressed: barRing.moveFocus(true)
                Keys.onBacktabPressed: barRing.moveFocus(false)
                Keys.onRightPressed: lightControl.stepKnob(1)
                Keys.onUpPressed: lightControl.stepKnob(1)
                Keys.onLeftPressed: lightControl.stepKnob(-1)
                Keys.onDownPressed: lightControl.stepKnob(-1)
                Keys.onPressed: function(event) {
                    if (event.key === Qt.Key_PageUp)
                        lightControl.stepKnob(lightControl.sectionWidth)
                    else if (event.key === Qt.Key_PageDown)
                        lightControl.stepKnob(-lightControl.sectionWidth)
                    else
                        return
                    event.accepted = true
                }
                Accessible.role: Accessible.Slider
                Accessible.name: accessibleLang[5] + " " + (lightControl.selectBlock + 1)
                Accessible.description: lightControl.colors[lightControl.selectBlock]
                Accessible.focusable: true
                Accessible.onIncreaseAction: lightControl.stepKnob(1)
                Accessible.onDecreaseAction: lightControl.stepKnob(-1)
                FocusRing {
                    id: barRing
                    outset: 4
                }

                // A press on the knob drags it; a press elsewhere on the bar
                // puts the knob there first.
                MouseArea {
                    id: barArea
                    anchors.fill: parent
                    anchors.margins: -6
                    cursorShape: Qt.PointingHandCursor
                    property real offset: 0
                    function positionAt(x) {
                        return Math.max(0, Math.min(lightControl.barEnd, Math.floor(x - 6 - offset)))
                    }
                    onPressed: function(mouse) {
                        lightControl.lightControlFocus()
                        var knobCentre = lightControl.knobPositions[lightControl.selectBlock] + 6
                        offset = Math.abs(mouse.x - knobCentre) <= 6 ? mouse.x - knobCentre : 0
                        lightControl.knobMoved(positionAt(mouse.x))
                    }
                    onPositionChanged: function(mouse) {
                        var p = positionAt(mouse.x)
                        if (p !== lightControl.knobPositions[lightControl.selectBlock])
                            lightControl.knobMoved(p)
                    }
                    onReleased: lightControl.isSave = true
                }

                Repeater {
                    model: 8
                    Image {
                        id: knob
                        required property int index
                        objectName: "colorKnob" + index
                        x: lightControl.knobPositions[index] - 6
                        anchors.verticalCenter: parent.verticalCenter
                        width: 12
                        height: 12
                        source: Theme.sourceSlide
                        Accessible.ignored: true
                        visible: index === lightControl.selectBlock
                    }
                }
            }

            Row {
                x: colorBar.x
                y: 76
                spacing: Math.floor((lightControl.barWidth - 3 * 56) / 2)
                ChannelField {
                    id: redChannel
                    label: "R"
                    enabled: !colorCover.visible
                    accessibleName: lightControl.lightControlLang[6] + " R"
                    fieldName: "colorR"
                    onInputStarted: mainIten.mainFocus()
                    onEdited: lightControl.fieldsEdited()
                }
                ChannelField {
                    id: greenChannel
                    label: "G"
                    enabled: !colorCover.visible
                    accessibleName: lightControl.lightControlLang[6] + " G"
                    fieldName: "colorG"
                    onInputStarted: mainIten.mainFocus()
                    onEdited: lightControl.fieldsEdited()
                }
                ChannelField {
                    id: blueChannel
                    label: "B"
                    enabled: !colorCover.visible
                    accessibleName: lightControl.lightControlLang[6] + " B"
                    fieldName: "colorB"
                    onInputStarted: mainIten.mainFocus()
                    onEdited: lightControl.fieldsEdited()
                }
            }

            // Effects without colours: the area is dimmed and takes no clicks.
            Rectangle {
                id: colorCover
                objectName: "colorCover"
                x: 1
                width: parent.width - 2
                height: 101
                color: "#b0000000"
                visible: !(lightControl.effect === 0 || lightControl.effect === 1 || lightControl.effect === 2)
                MouseArea {
                    anchors.fill: parent
                    onPressed: lightControl.lightControlFocus()
                    onWheel: function(wheel) { wheel.accepted = true }
                }
            }
        }
    }
}
