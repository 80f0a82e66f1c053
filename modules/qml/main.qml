import QtQuick

// The root of the interface. The native side drives it through initUI, run,
// setProtectUI, setCurrentDPI, detectKeyboard and detectMouse; the pages
// reach the native side through ui_View, hid and ui_Ctl.
Rectangle {
    id: mainIten
    width: 1024
    height: 640
    radius: 8
    color: colorGray0
    border.color: colorGray1
    visible: false

    property bool isColorful: false
    property string icType: "553"
    property bool is55328: false
    property bool isGun: true
    property string language: "ChineseSimplified"
    property string url: ""
    property bool isPownOn: false
    property int skin_No: 1
    property string fontFamily: "Noto Sans"
    property int fontNormalSize: 12
    property int fontMiddleSize: 14
    property int fontMaxSize: 16
    property int fontMinSize: 10
    property color fontColor: "#ffffff"
    property color colorGray0: "#1a1a1a"
    property color colorGray1: "#3c3c3c"
    property color colorGray2: "#969696"
    property color colorGray3: "#d1d1d1"
    property color colorBlue: "#09347f"
    property color colorOrange: "#b20808"
    property color colorBlack: "black"

    property var mainLang: ["Editor", "Macro Editor", "Gun Editor", "LOD", "Config", "Reset",
        "Reset factory setting", "Cancel", "OK", "System setting", "Save", "", "", "", ""]
    property string dpiTitle: "DPI"
    property string title: ""
    property var dpiValues: []
    property int dpiCount: 0
    property int currentStage: 0
    property string lastInput: ""
    property int initCount: 0
    property int runCount: 0
    property string startOrder: ""

    function initUI() {
        if (!isPownOn) {
            title = String(ui_View.getGlobalData("common/name") || "")
            var lang = ui_View.getGlobalData("common/language")
            if (lang)
                language = String(lang)
            url = String(ui_View.getGlobalData("common/url") || "")
            icType = String(ui_View.getGlobalData("mouse/icType") || "553")
            isColorful = String(ui_View.getGlobalData("mouse/isColorful")) === "true"
            isGun = String(ui_View.getGlobalData("mouse/isGun")) === "true"
            is55328 = String(ui_View.getGlobalData("mouse/is55328")) === "true"
            // A 560 mouse starts on its first profile.
            if (icType === "560" && parseInt(ui_View.mouseReadCurrentProfile()) !== 1)
                hid.hid560_02H_SetCurrentProfile(1)
            var texts = ui_View.getLangStrings("main", language)
            if (texts.length > 0)
                mainLang = texts
            var dpiTexts = ui_View.getLangStrings("dpiSetting", language)
            if (dpiTexts.length > 0)
                dpiTitle = dpiTexts[0]
            ui_View.getLangStrings("other", language)
            var profileNo = parseInt(ui_View.getGlobalData("mouse/profileNo") || 0)
            console.log("profileNo", profileNo)
            ui_View.setCurrentProfile(profileNo)
        }
        var values = ui_View.getDataList("mouse/dpiValueArray", false)
        dpiValues = values.length > 0 ? values : ui_View.getDataList("mouse/dpiValueArray", true)
        dpiCount = parseInt(ui_View.getData("mouse/currentDpiCount", false) || dpiValues.length)
        setProtectUI(1000)
        var stage = parseInt(ui_View.mouseGetCurrentDPI())
        if (stage > 0)
            currentStage = stage - 1
        initCount += 1
        startOrder += "i"
        isPownOn = true
        visible = true
    }

    function run() {
        runCount += 1
        startOrder += "r"
    }

    function setProtectUI(interval) {
        busy.visible = true
        ui_View.setEnabled(false)
        protectTimer.interval = Math.max(0, parseInt(interval))
        protectTimer.restart()
    }

    function setCurrentDPI(dpiValue) {
        var v = parseInt(dpiValue)
        if (v === 0 || isNaN(v))
            return
        currentStage = v - 1
    }

    function detectKeyboard(isDown, usbCode) {
        lastInput = (isDown ? "Key down " : "Key up ") + "0x" + Number(usbCode).toString(16)
    }

    function detectMouse(isDown, veskCode, x, y) {
        lastInput = (isDown ? "Button down " : "Button up ") + "0x" + Number(veskCode).toString(16)
                    + " at " + x + ", " + y
    }

    Timer {
        id: protectTimer
        repeat: false
        onTriggered: {
            busy.visible = false
            ui_View.setEnabled(true)
        }
    }

    // Title bar: drags the frameless window, minimizes it and hides it to the tray.
    Rectangle {
        id: upItem
        width: parent.width
        height: 44
        radius: 8
        color: colorBlack
        Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 8; color: colorBlack }
        Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: colorGray1 }

        MouseArea {
            anchors.fill: parent
            property point pressAt
            onPressed: function(mouse) { pressAt = Qt.point(mouse.x, mouse.y) }
            onPositionChanged: function(mouse) {
                ui_Ctl.onXChanged(mouse.x - pressAt.x)
                ui_Ctl.onYChanged(mouse.y - pressAt.y)
            }
        }
        Row {
            anchors.verticalCenter: parent.verticalCenter
            x: 18
            spacing: 10
            Rectangle { width: 14; height: 14; radius: 3; color: colorOrange; anchors.verticalCenter: parent.verticalCenter }
            Text {
                text: mainIten.title
                color: fontColor
                font.family: fontFamily
                font.pixelSize: fontMaxSize
                font.bold: true
                font.letterSpacing: 2
            }
        }
        Row {
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            anchors.rightMargin: 8
            spacing: 4
            Repeater {
                model: [{ glyph: "\u2013", close: false }, { glyph: "\u2715", close: true }]
                Rectangle {
                    width: 36; height: 28; radius: 4
                    color: hover.containsMouse ? (modelData.close ? colorOrange : colorGray1) : "transparent"
                    Text {
                        anchors.centerIn: parent
                        text: modelData.glyph
                        color: fontColor
                        font.pixelSize: fontMiddleSize
                    }
                    MouseArea {
                        id: hover
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: modelData.close ? ui_Ctl.onClose() : ui_Ctl.onMinimize()
                    }
                }
            }
        }
    }

    // DPI stages of the current profile, the stage the mouse uses highlighted.
    Column {
        id: dpiSettingMain
        anchors.top: upItem.bottom
        anchors.topMargin: 60
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 24

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: dpiTitle
            color: colorGray3
            font.family: fontFamily
            font.pixelSize: fontMaxSize
            font.letterSpacing: 4
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 14
            Repeater {
                model: Math.max(0, Math.min(dpiCount, dpiValues.length))
                Rectangle {
                    width: 104; height: 132; radius: 6
                    color: index === currentStage ? colorOrange : colorBlack
                    border.color: index === currentStage ? "#e23a3a" : colorGray1
                    Column {
                        anchors.centerIn: parent
                        spacing: 8
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: String(index + 1)
                            color: index === currentStage ? fontColor : colorGray2
                            font.pixelSize: fontMiddleSize
                        }
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: String(dpiValues[index])
                            color: fontColor
                            font.family: fontFamily
                            font.pixelSize: 28
                            font.bold: true
                        }
                    }
                }
            }
        }
    }

    Text {
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.margins: 16
        text: lastInput
        color: colorGray2
        font.family: fontFamily
        font.pixelSize: fontMinSize
    }
    Text {
        anchors.bottom: parent.bottom
        anchors.right: parent.right
        anchors.margins: 16
        text: (icType === "560" ? "560" : "553") + (isColorful ? " \u00b7 RGB" : "") + (isGun ? " \u00b7 recoil presets" : "")
        color: colorGray2
        font.family: fontFamily
        font.pixelSize: fontMinSize
    }

    // Shown while the interface is locked (setProtectUI).
    Rectangle {
        id: busy
        anchors.fill: parent
        radius: 8
        color: "#80000000"
        visible: false
        Rectangle {
            anchors.centerIn: parent
            width: 40; height: 40; radius: 20
            color: "transparent"
            border.width: 4
            border.color: colorOrange
            RotationAnimation on rotation { running: busy.visible; loops: Animation.Infinite; from: 0; to: 360; duration: 900 }
            Rectangle { width: 10; height: 10; radius: 5; color: fontColor; x: 15; y: -3 }
        }
    }
}
