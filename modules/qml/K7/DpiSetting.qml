pragma ComponentBehavior: Bound

import QtQuick
import "../theme"

// DPI panel (top of the right column): one vertical slider per stage, the
// stage's DPI under it, and the number of stages in use. Edits stay here,
// marked unsaved, until Save; init and saveData read and write the profile.
// A slider position p (3 … 161) shows ⌊((p − 3) × (maxDPI − minDPI) / 158 + minDPI) / dpiBase⌋ × dpiBase.
PanelFrame {
    id: dpiSetting
    width: 232
    height: 256
    title: dpiSettingLang[0]
    icon: Theme.sourceDpiIcon
    showReset: true

    property var dpiSettingLang: ["DPI"]
    property int dpiCount: 4
    property int currentDpiCount: 4
    property int minDPI: 200
    property int maxDPI: 6000
    property string sensorType: "3360"
    property int dpiBase: 50
    property var dpiValueArray: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
    // The stage the mouse uses now (0-based).
    property int currentDPI: 0
    property bool isSave: false
    // What the eight labels show: the values saveData stores and sends.
    property var dpiLabels: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
    property alias dpiSegment: segmentList

    readonly property int sliderLength: 176
    readonly property int shownStages: Math.max(1, Math.min(8, currentDpiCount))

    onResetClicked: {
        init(false, true)
        isSave = true
    }

    function dpiOf(position) {
        var span = maxDPI - minDPI
        return Math.floor(((position - 3) * span / 158 + minDPI) / dpiBase) * dpiBase
    }

    function setLabel(index, position) {
        var labels = dpiLabels.slice()
        labels[index] = dpiOf(position)
        dpiLabels = labels
    }

    function number(value, fallback) {
        var n = parseInt(value)
        return isNaN(n) ? fallback : n
    }

    function init(isSendData, isRecovery) {
        if (!isRecovery) {
            dpiCount = number(ui_View.getData("mouse/dpiCount", false), dpiCount)
            currentDpiCount = number(ui_View.getData("mouse/currentDpiCount", false), currentDpiCount)
            minDPI = number(ui_View.getGlobalData("mouse/minDPI"), minDPI)
            maxDPI = number(ui_View.getGlobalData("mouse/maxDPI"), maxDPI)
            var sensor = String(ui_View.getGlobalData("mouse/sensorType"))
            if (sensor !== "")
                sensorType = sensor
            dpiBase = Math.max(1, number(ui_View.getGlobalData("mouse/dpiBase"), dpiBase))
        }
        var stored = ui_View.getDataList("mouse/dpiValueArray", isRecovery)
        var values = []
        for (var i = 0; i < 8; ++i)
            values.push(number(stored[i], dpiValueArray[i]))
        dpiValueArray = values
        if (dpiCount > 8)
            return
        if (!isRecovery) {
            segmentModel.clear()
            for (var s = 1; s <= Math.max(1, dpiCount); ++s)
                segmentModel.append({ textValue: String(s) })
            segmentList.currentSelect = Math.max(0, Math.min(segmentModel.count - 1, currentDpiCount - 1))
            segmentList.closeMenu()
        }
        var span = maxDPI - minDPI
        for (var k = 0; k < 8; ++k) {
            var slider = sliders.itemAt(k).slider
            slider.setRatioValue(span > 0 ? (dpiValueArray[k] - minDPI) / span : 0)
        }
        if (isSendData)
            saveData(true)
    }

    function saveData(isSendData) {
        var labels = dpiLabels.map(function(v) { return parseInt(v) })
        ui_View.setDataList("mouse/dpiValueArray", labels)
        ui_View.setData("mouse/currentDpiCount", currentDpiCount)
        if (isSendData)
            ui_View.mouseSetDpi(currentDpiCount, sensorType, labels)
    }

    // The stage-count drop-down, in the title row.
    DropDownList {
        id: segmentList
        objectName: "dpiSegment"
        x: parent.width - 64 - 36
        y: -28
        width: 64
        currentSelect: 3
        mdItems: ListModel { id: segmentModel }
        accessibleName: accessibleLang[6]
        onBtnClick: mainIten.closeMenusExcept(segmentList)
        onValueChange: function(index) {
            dpiSetting.currentDpiCount = index + 1
            dpiSetting.isSave = true
        }
    }

    // Faint guide lines behind the sliders.
    Repeater {
        model: 5
        Rectangle {
            required property int index
            x: 12
            y: 14 + index * (dpiSetting.sliderLength - 16) / 4
            width: dpiSetting.width - 24
            height: 1
            color: "#1fffffff"
        }
    }

    Repeater {
        id: sliders
        model: 8
        Item {
            id: stage
            required property int index
            property alias slider: slider
            readonly property bool isCurrent: index === dpiSetting.currentDPI
            readonly property real spacing: (dpiSetting.width - 24) / dpiSetting.shownStages
            objectName: "dpiStage" + index
            visible: index < dpiSetting.shownStages
            x: 12 + spacing * (index + 0.5) - width / 2
            y: 6
            width: 44
            height: dpiSetting.sliderLength + 30

            // A vertical slider: the track's left end lies at the bottom.
            Item {
                x: (parent.width - 12) / 2
                width: 12
                height: dpiSetting.sliderLength
                SliderButton {
                    id: slider
                    objectName: "dpiSlider" + stage.index
                    anchors.centerIn: parent
                    width: dpiSetting.sliderLength
                    rotation: -90
                    colorS: stage.index === 7 && !stage.isCurrent ? Theme.colorBlue : Theme.colorOrange
                    accessibleName: dpiSetting.dpiSettingLang[0] + " " + String(accessibleLang[4]).arg(stage.index + 1)
                    valueText: String(dpiSetting.dpiLabels[stage.index])
                    onValueChange: function(tmpValue) { dpiSetting.setLabel(stage.index, tmpValue) }
                    onValueChangeDelay: function(tmpValue) {
                        dpiSetting.setLabel(stage.index, tmpValue)
                        dpiSetting.isSave = true
                    }
                }
            }
            Text {
                objectName: "dpiLabel" + stage.index
                anchors.horizontalCenter: parent.horizontalCenter
                y: dpiSetting.sliderLength + 8
                text: String(dpiSetting.dpiLabels[stage.index])
                color: stage.isCurrent ? Theme.fontColor : Theme.colorGray2
                font.family: fontFamily
                font.pixelSize: dpiSetting.shownStages > 6 ? fontMinSize : fontNormalSize
                font.bold: stage.isCurrent
            }
            Rectangle {
                // Marks the stage the mouse uses now.
                anchors.horizontalCenter: parent.horizontalCenter
                y: dpiSetting.sliderLength + 26
                width: 14
                height: 2
                radius: 1
                color: Theme.colorOrange
                visible: stage.isCurrent
            }
        }
    }
}
