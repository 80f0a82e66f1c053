import QtQuick
import "parts"
import "../theme"

// System settings dialog: the system's pointer speed, double-click speed and
// wheel scroll lines, each applied as soon as it changes. The two sliders
// store their knob positions (3 … 337); a position becomes a level 0 … 10.
DialogFrame {
    id: systemSetting
    width: 416
    height: 312
    title: systemSettingLang[0]
    showReset: true

    property var systemSettingLang: ["System Setting", "Mouse Speed", "Double Click Speed", "Slow", "Fast",
        "Scroll Speed", "Number of Rows", "Scroll one Screen"]
    readonly property var compareValue: [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338]

    onCloseClicked: {
        rowsField.closeFocus()
        visible = false
        maskShown = false
    }
    onResetClicked: init(true, true)
    onBackgroundPressed: rowsField.closeFocus()

    // The first level whose bound lies above the position.
    function levelOf(position) {
        for (var i = 0; i < compareValue.length; ++i) {
            if (position < compareValue[i])
                return i
        }
        return compareValue.length - 1
    }

    function scrollValue() {
        return screenRadio.isSelect ? 1000 : Math.max(1, parseInt(rowsField.textValue) || 1)
    }

    function saveData(isSendData, isStep) {
        ui_View.setData("mouse/mouseRate", mouseSpeed.xPosition)
        ui_View.setData("mouse/doubleRate", doubleSpeed.xPosition)
        var scroll = scrollValue()
        ui_View.setData("mouse/scrollRate", scroll)
        if (!isSendData)
            return
        var speedLevel = levelOf(mouseSpeed.xPosition)
        var doubleLevel = levelOf(doubleSpeed.xPosition)
        if (isStep === 0 || isStep === 1)
            ui_View.mouseSetCursorSpeed(speedLevel)
        if (isStep === 0 || isStep === 2)
            ui_View.mouseSetDoubleClickSpeed(doubleLevel)
        if (isStep === 0 || isStep === 3)
            ui_View.mouseSetVerticalScrollLines(scroll)
    }

    function init(isSendData, isRecovery) {
        var speed = parseInt(ui_View.getData("mouse/mouseRate", isRecovery))
        var doubleRate = parseInt(ui_View.getData("mouse/doubleRate", isRecovery))
        var scroll = parseInt(ui_View.getData("mouse/scrollRate", isRecovery))
        if (!isNaN(speed)) {
            mouseSpeed.setValue(speed)
            mouseSpeed.xPosition = mouseSpeed.value
        }
        if (!isNaN(doubleRate)) {
            doubleSpeed.setValue(doubleRate)
            doubleSpeed.xPosition = doubleSpeed.value
        }
        if (!isNaN(scroll)) {
            var oneScreen = scroll > 100
            screenRadio.isSelect = oneScreen
            rowsRadio.isSelect = !oneScreen
            if (!oneScreen)
                rowsField.textValue = String(Math.max(1, scroll))
        }
        if (isSendData)
            saveData(true, 0)
    }

    function systemSettingFocus() {
        rowsField.closeFocus()
    }

    SectionTitle {
        x: 32
        y: 54
        text: systemSetting.systemSettingLang[1]
    }
    SliderButton {
        id: mouseSpeed
        objectName: "mouseSpeedSlider"
        property int xPosition: 3
        x: 32
        y: 82
        width: 352
        // An arrow key moves one level.
        keyStep: 33
        accessibleName: systemSetting.systemSettingLang[1]
        valueText: String(systemSetting.levelOf(xPosition))
        onValueChangeDelay: function(tmpValue) {
            xPosition = tmpValue
            systemSetting.saveData(true, 1)
        }
    }
    EndLabel {
        x: 32
        y: 100
        text: systemSetting.systemSettingLang[3]
    }
    EndLabel {
        x: 384 - width
        y: 100
        text: systemSetting.systemSettingLang[4]
    }

    SectionTitle {
        x: 32
        y: 130
        text: systemSetting.systemSettingLang[2]
    }
    SliderButton {
        id: doubleSpeed
        objectName: "doubleSpeedSlider"
        property int xPosition: 3
        x: 32
        y: 158
        width: 352
        keyStep: 33
        accessibleName: systemSetting.systemSettingLang[2]
        valueText: String(systemSetting.levelOf(xPosition))
        onValueChangeDelay: function(tmpValue) {
            xPosition = tmpValue
            systemSetting.saveData(true, 2)
        }
    }
    EndLabel {
        x: 32
        y: 176
        text: systemSetting.systemSettingLang[3]
    }
    EndLabel {
        x: 384 - width
        y: 176
        text: systemSetting.systemSettingLang[4]
    }

    Rectangle {
        x: 32
        y: 204
        width: 352
        height: 1
        color: Theme.colorGray1
    }
    SectionTitle {
        x: 32
        y: 214
        text: systemSetting.systemSettingLang[5]
    }
    RadioButton {
        id: rowsRadio
        objectName: "rowsRadio"
        x: 34
        y: 246
        index: 0
        isSelect: true
        textValue: systemSetting.systemSettingLang[6]
        onBtnClick: {
            screenRadio.isSelect = false
            systemSetting.saveData(true, 3)
        }
    }
    RectInput {
        id: rowsField
        objectName: "rowsField"
        x: rowsRadio.x + rowsRadio.width + 16
        y: rowsRadio.y + (rowsRadio.height - height) / 2
        minValue: 1
        maxValue: 100
        textValue: "3"
        txtInput.maximumLength: 3
        accessibleName: systemSetting.systemSettingLang[6]
        onInputSignal: mainIten.mainFocus()
        onEndInputSignal: {
            if (!(parseInt(textValue) >= 1))
                textValue = "1"
            systemSetting.saveData(true, 3)
        }
    }
    RadioButton {
        id: screenRadio
        objectName: "screenRadio"
        x: 34
        y: 276
        index: 1
        textValue: systemSetting.systemSettingLang[7]
        onBtnClick: {
            rowsRadio.isSelect = false
            systemSetting.saveData(true, 3)
        }
    }
}
