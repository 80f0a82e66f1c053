pragma ComponentBehavior: Bound

import QtQuick
import "./K7"
import "./K7/parts" as Parts
import "./basic"

// The root of the interface: 1024 × 640, shown in the frameless window.
// It holds the global look (fonts, colours, skin images), the panels of the
// main screen, the dialogs, the Save / Reset logic that spans the panels and
// what the native side tells the pages (ui_View's signals, handled in one
// Connections block below). Pages refer to the root and to each other by the
// ids used here.
Item {
    id: mainIten
    width: 1024
    height: 640
    visible: false

    // Read from the global settings by the first initUI.
    property bool isColorful: false
    property string icType: "553"
    property bool is55328: false
    property bool isGun: true
    property string language: "ChineseSimplified"
    property string url: "https://korvex.example/support"
    property bool isPownOn: false
    // The Gun Editor entry of the editor box is hidden; it is shown when the
    // program is started with --show-gun-editor.
    property bool showGunEditor: ui_View.showGunEditor

    property int skin_No: 1
    property string fontFamily: "微软雅黑"
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
    property color colorBlack: Qt.rgba(0, 0, 0, 1)
    // The face of the Save button while something is unsaved.
    property color colorUnsaved: "#ff3030"

    property var mainLang: ["Editor", "Macro Editor", "Gun Editor", "LOD", "Config", "Reset",
        "Reset factory setting", "Cancel", "OK", "System setting", "Save", "", "", "", ""]
    // The active profile number (global "mouse/profileNo").
    property int profileNo: 0
    // Set when the first lock has ended: the main screen is shown.
    property bool isShowMain: false
    // No mouse is connected and the window stands alone (no tray holds the
    // program): the window says it waits for the mouse in place of the pages.
    readonly property bool isWaiting: ui_Ctl.waitingForMouse
    readonly property bool hasUnsaved: keyMatrixMain.isSave || dpiSettingMain.isSave
                                       || lightControlMain.isSave || lodMain.isSave

    // Skin images: group, skin number and file name.
    function skinImage(group, name) {
        return "qrc:/" + group + "/modules/img/skin" + skin_No + "/" + group + "/" + name + ".png"
    }
    property url sourceBackground: "qrc:/modules/img/background.png"
    property url sourceTitleBar: "qrc:/modules/img/titleBar.png"
    property url sourceTitleLogo: "qrc:/modules/img/titleLogo.png"
    // The small pictures the window background is put together from.
    property url sourceHatch: "qrc:/modules/img/hatch.png"
    property url sourceRing: "qrc:/modules/img/ring.png"
    property url sourceBracket: "qrc:/modules/img/bracket.png"
    property url sourceFoot: "qrc:/modules/img/foot.png"
    property url sourcePowerOn: skinImage("index", "powerOn")
    property url sourceAsk: skinImage("index", "ask")
    property url sourceAskH: skinImage("index", "askH")
    property url sourceMinBtn: skinImage("index", "minBtn")
    property url sourceMinBtnH: skinImage("index", "minBtnH")
    property url sourceCloseBtn: skinImage("index", "closeBtn")
    property url sourceCloseBtnH: skinImage("index", "closeBtnH")
    property url sourceResetBtn: skinImage("index", "resetBtn")
    property url sourceResetBtnH: skinImage("index", "resetBtnH")
    property url sourceOkBtn: skinImage("index", "okBtn")
    property url sourceOkBtnH: skinImage("index", "okBtnH")
    property url sourceCancelBtn: skinImage("index", "cancelBtn")
    property url sourceCancelBtnH: skinImage("index", "cancelBtnH")
    property url sourceDropBtn: skinImage("index", "dropBtn")
    property url sourceDropBtnU: skinImage("index", "dropBtnU")
    property url sourceSlide: skinImage("index", "slide")
    property url sourceCheckBtn: skinImage("index", "checkBtn")
    property url sourceDpiIcon: skinImage("index", "dpiIcon")
    property url sourceLodIcon: skinImage("index", "lodIcon")
    property url sourceKeyIcon: skinImage("index", "keyIcon")
    property url sourceLightIcon: skinImage("index", "lightIcon")
    property url sourceEditorIcon: skinImage("index", "editorIcon")
    property url sourceSystemIcon: skinImage("index", "systemIcon")
    property url sourceProfileIcon: skinImage("profile", "profileIcon")
    property url sourceProfileItem: skinImage("profile", "profileItem")
    property url sourceMouseBody: skinImage("mouse", "mouse")
    property url sourceMouse0: skinImage("mouse", "mouse0")
    property url sourceMouse1: skinImage("mouse", "mouse1")
    property url sourceMouse2: skinImage("mouse", "mouse2")
    property url sourceMouse3: skinImage("mouse", "mouse3")
    property url sourceMouse4: skinImage("mouse", "mouse4")
    property url sourceMouse5: skinImage("mouse", "mouse5")
    property url sourceMouse6: skinImage("mouse", "mouse6")
    property url sourceMouse7: skinImage("mouse", "mouse7")
    property url sourceMouse0S: skinImage("mouse", "mouse0S")
    property url sourceMouse1S: skinImage("mouse", "mouse1S")
    property url sourceMouse2S: skinImage("mouse", "mouse2S")
    property url sourceMouse3S: skinImage("mouse", "mouse3S")
    property url sourceMouse4S: skinImage("mouse", "mouse4S")
    property url sourceMouse5S: skinImage("mouse", "mouse5S")
    property url sourceMouse6S: skinImage("mouse", "mouse6S")
    property url sourceMouse7S: skinImage("mouse", "mouse7S")
    property url sourcemacroKeyDelay: skinImage("macros", "macroKeyDelay")
    property url sourcemacroKeyPress: skinImage("macros", "macroKeyPress")
    property url sourcemacroKeyRelease: skinImage("macros", "macroKeyRelease")
    property url sourcemacroMousePress: skinImage("macros", "macroMousePress")
    property url sourcemacroMouseRelease: skinImage("macros", "macroMouseRelease")
    property url sourceColorBar: skinImage("lightControl", "colorBar")
    property url sourceSpeedScale: skinImage("lightControl", "speedScale")

    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int veskCode, int x, int y)
    signal emptyAreaPressed()

    // --- functions the native side calls ----------------------------------

    function initUI() {
        setProtectUI(1000)
        visible = true
        if (!isPownOn) {
            isColorful = toBool(ui_View.getGlobalData("mouse/isColorful"))
            icType = String(ui_View.getGlobalData("mouse/icType"))
            is55328 = toBool(ui_View.getGlobalData("mouse/is55328"))
            isGun = toBool(ui_View.getGlobalData("mouse/isGun"))
            if (ui_View.keyCount > 0)
                mouseMain.keyCount = ui_View.keyCount
            var lang = String(ui_View.getGlobalData("common/language"))
            if (lang !== "")
                language = lang
            var address = String(ui_View.getGlobalData("common/url"))
            if (address !== "")
                url = address
            helpModel.setProperty(0, "textValue", url)

            ui_View.startOnFirstProfile()

            mainLang = langStrings("main", mainLang)
            keyMatrixMain.keyMatrixLang = langStrings("keyMatrix", keyMatrixMain.keyMatrixLang)
            keyAssigmentMain.keyAssigmentLang = langStrings("keyAssigment", keyAssigmentMain.keyAssigmentLang)
            dpiSettingMain.dpiSettingLang = langStrings("dpiSetting", dpiSettingMain.dpiSettingLang)
            lightControlMain.lightControlLang = langStrings("lightControl", lightControlMain.lightControlLang)
            macroEditorMain.macroEditorLang = langStrings("macroEditor", macroEditorMain.macroEditorLang)
            systemSettingMain.systemSettingLang = langStrings("systemSetting", systemSettingMain.systemSettingLang)
            gunControlMain.gunControlLang = langStrings("gunControl", gunControlMain.gunControlLang)
            profileMain.profileLang = langStrings("profile", profileMain.profileLang)
            appRulesMain.appRulesLang = langStrings("appRules", appRulesMain.appRulesLang)
            lodMain.lodLang = langStrings("lod", lodMain.lodLang)
            _KeyCodeString.keyCodeStr = langStrings("keyCode", _KeyCodeString.keyCodeStr)
            ui_View.getLangStrings("other", language)

            lodMain.init(false)
            profileMain.init()
            profileNo = parseInt(ui_View.getGlobalData("mouse/profileNo")) || 0
            selectProfileEntry(profileNo)
            upItem.profileBtn.closeMenu()
            console.log("profileNo", profileNo)
            ui_View.setCurrentProfile(profileNo)
            macroEditorMain.init()
            gunControlMain.init()
            keyAssigmentMain.init()
            keyMatrixMain.init(false, false)
            dpiSettingMain.init(false, false)
            lightControlMain.init(false, false)
            systemSettingMain.init(false, false)
            lodMain.isSave = false
            isPownOn = true
        }
        dpiSettingMain.currentDPI = parseInt(ui_View.mouseGetCurrentDPI()) - 1
    }

    function run() {
    }

    function setProtectUI(interval) {
        busyIndicator.setBusy(true)
        ui_View.setEnabled(false)
        protectTimer.interval = Math.max(0, parseInt(interval) || 0)
        protectTimer.restart()
    }

    function setCurrentDPI(dpiValue) {
        var stage = parseInt(dpiValue)
        if (stage !== 0 && !isNaN(stage))
            dpiSettingMain.currentDPI = stage - 1
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, veskCode, x, y) {
        msg_MS(isDown, veskCode, x, y)
    }

    // --- functions the pages use ------------------------------------------

    // Locks (false) or unlocks (true) the interface at once.
    function controlUIEnable(isEnable) {
        busyIndicator.setBusy(!isEnable)
        ui_View.setEnabled(isEnable)
    }

    // Closes the drop-downs of the main screen and the help menu.
    function mainFocus() {
        closeMenusExcept(null)
    }

    // The same, but leaves `menu` alone: a drop-down of the main screen calls
    // it from its btnClick, so that opening one closes the others.
    function closeMenusExcept(menu) {
        var menus = [reportRateLV, dpiSettingMain.dpiSegment, upItem.profileBtn, lightControlMain.lightModel]
        for (var i = 0; i < menus.length; ++i) {
            if (menus[i] !== menu)
                menus[i].closeMenu()
        }
        helpMenu.visible = false
    }

    // The help menu's entries: 0 opens the maker's address, 1 is the version.
    function askMenuCmd(cmd) {
        helpMenu.visible = false
        if (cmd === 0)
            Qt.openUrlExternally(url)
    }

    // --- helpers ------------------------------------------------------------

    function toBool(value) {
        var s = String(value).toLowerCase()
        return s === "true" || s === "1"
    }

    // A language section; the built-in texts stay when the file lacks it.
    function langStrings(section, fallback) {
        var texts = ui_View.getLangStrings(section, language)
        return texts.length > 0 ? texts : fallback
    }

    // The window starts waiting for the mouse: it shows itself (the pages
    // may never have been started) and closes what was open over the pages.
    function showWaiting() {
        visible = true
        if (!isPownOn) {
            // The help menu's address, which the pages' start otherwise sets.
            var address = String(ui_View.getGlobalData("common/url"))
            helpModel.setProperty(0, "textValue", address !== "" ? address : url)
        }
        closeMenusExcept(null)
        var dialogs = [macroEditorMain, gunControlMain, systemSettingMain, keyAssigmentMain, profileMain,
                       appRulesMain, resetDialog, mainMask]
        for (var i = 0; i < dialogs.length; ++i)
            dialogs[i].visible = false
    }

    // What the native side tells the pages.
    Connections {
        target: ui_View
        function onStartRequested() { mainIten.initUI() }
        function onRunRequested() { mainIten.run() }
        function onLockRequested(busyTime) { mainIten.setProtectUI(busyTime) }
        function onDpiStageReported(stage) { mainIten.setCurrentDPI(stage) }
        function onReloadRequested() { mainIten.reloadPages() }
        function onBusyChanged() { mainIten.controlUIEnable(!ui_View.busy) }
        function onProfileChoiceRequested(profile) { mainIten.chooseProfile(profile) }
        function onKeyboardCaptured(isDown, usbCode) { mainIten.detectKeyboard(isDown, usbCode) }
        function onMouseCaptured(isDown, veskCode, x, y) { mainIten.detectMouse(isDown, veskCode, x, y) }
        function onWriteFailed(operation, reached) {
            console.log("not saved:", operation, reached ? "did not read back as written" : "did not reach the mouse")
            if (mainIten.savingPage)
                mainIten.savingPage.isSave = true
        }
    }

    Connections {
        target: ui_Ctl
        function onWaitingForMouseChanged() {
            if (ui_Ctl.waitingForMouse)
                mainIten.showWaiting()
        }
    }
    Component.onCompleted: {
        if (ui_Ctl.waitingForMouse)
            showWaiting()
    }

    function selectProfileEntry(number) {
        var model = profileMain.profileDataModel0
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).profileNo === number) {
                upItem.profileBtn.currentSelect = i
                return
            }
        }
        upItem.profileBtn.currentSelect = 0
    }

    function showDialog(dialog) {
        mainFocus()
        mainMask.visible = true
        dialog.showCentered()
    }

    function resetFactory() {
        controlUIEnable(false)
        resetDialog.visible = false
        mainMask.visible = false
        keyMatrixMain.isSave = false
        dpiSettingMain.isSave = false
        lightControlMain.isSave = false
        ui_View.resetProfile(profileNo)
        initPages(true)
        ui_View.mouseSetCurrentDPI(3)
        dpiSettingMain.currentDPI = 2
        gunControlMain.resetData()
        lodMain.isSave = false
        ui_View.resetReportRate()
        controlUIEnable(true)
    }

    function saveAll() {
        mainFocus()
        if (hasUnsaved)
            controlUIEnable(false)
        if (keyMatrixMain.isSave)
            savePage(keyMatrixMain, function() { keyMatrixMain.modKeys.saveData() })
        if (dpiSettingMain.isSave)
            savePage(dpiSettingMain, function() { dpiSettingMain.saveData(true) })
        if (lightControlMain.isSave)
            savePage(lightControlMain, function() { lightControlMain.saveData(true, 0) })
        if (lodMain.isSave)
            savePage(lodMain, function() { lodMain.sendRate(lodMain.tmpValue) })
        controlUIEnable(true)
    }

    // Makes profile `number` current as a choice in the title-bar drop-down
    // does (the native side calls it for the program in front). False when
    // the profile manager does not list it or the interface has not started.
    function chooseProfile(number) {
        var model = profileMain.profileDataModel0
        for (var i = 0; isPownOn && i < model.count; ++i) {
            if (model.get(i).profileNo === number) {
                upItem.profileBtn.closeMenu()
                upItem.profileBtn.currentSelect = i
                upItem.profileBtn.valueChange(i)
                return profileNo === number
            }
        }
        return false
    }

    // Saves one page. When a write of its save did not reach the mouse or
    // did not read back as written (ui_View's writeFailed), the mouse does
    // not hold the page's values: it stays unsaved.
    property Item savingPage: null
    function savePage(page, save) {
        page.isSave = false
        savingPage = page
        save()
        savingPage = null
    }

    // The mouse was changed behind the pages' back (a backup was restored):
    // every page reads its values again and drops its unsaved edits; nothing
    // is sent. The lift-off keeps its mark: its edits are stored as they are made.
    function reloadPages() {
        initPages(false)
        keyMatrixMain.isSave = false
        dpiSettingMain.isSave = false
        lightControlMain.isSave = false
        dpiSettingMain.currentDPI = parseInt(ui_View.mouseGetCurrentDPI()) - 1
    }

    // Every page of the main screen reads the current profile again, in the
    // order the mouse expects them; isSendData sends what they read. Reading
    // the lift-off box leaves its unsaved mark as it was: its edits are
    // stored as they are made.
    function initPages(isSendData) {
        keyMatrixMain.init(isSendData, false)
        var lodUnsaved = lodMain.isSave
        lodMain.init(isSendData)
        lodMain.isSave = lodUnsaved
        dpiSettingMain.init(isSendData, false)
        lightControlMain.init(isSendData, false)
        systemSettingMain.init(isSendData, false)
    }

    function switchProfile(tmpProfileNo) {
        if (tmpProfileNo === profileNo)
            return
        controlUIEnable(false)
        profileNo = tmpProfileNo
        ui_View.setGlobalData("mouse/profileNo", profileNo)
        ui_View.setCurrentProfile(profileNo)
        initPages(true)
        controlUIEnable(true)
    }

    // Captured keys go to whoever is capturing them.
    onMsg_KB: function(isDown, usbCode) {
        var macroSelected = macroEditorMain.macroNumber_lv.currentIndex >= 0
        if (macroEditorMain.isInputting && macroSelected)
            macroEditorMain.detectKeyboard(isDown, usbCode)
        if (macroEditorMain.isInsertting && macroSelected)
            macroEditorMain.detectInput(isDown, usbCode)
        if (keyAssigmentMain.isFireInput)
            keyAssigmentMain.detectKeyboard(isDown, usbCode, 0)
        if (keyAssigmentMain.isComboInput)
            keyAssigmentMain.detectKeyboard(isDown, usbCode, 1)
    }

    Timer {
        id: protectTimer
        objectName: "protectTimer"
        interval: 1000
        repeat: false
        onTriggered: {
            ui_View.setEnabled(true)
            busyIndicator.setBusy(false)
            mainIten.isShowMain = true
        }
    }

    KeyCodeString {
        id: _KeyCodeString
    }

    // --- the screen, bottom of the stack first ----------------------------

    // A press on the background drags the window.
    WindowDragArea {
        id: dragArea
        objectName: "backgroundDragArea"
        anchors.fill: parent
        onPressed: {
            mainIten.emptyAreaPressed()
            mainIten.mainFocus()
        }
    }

    // Shown only until the main screen appears; its picture is let go then
    // (uncached, so that it does not linger in the image cache).
    Image {
        id: powerOnLogo
        objectName: "powerOnLogo"
        anchors.centerIn: parent
        source: mainIten.isShowMain || mainIten.isWaiting ? "" : mainIten.sourcePowerOn
        cache: false
        visible: !mainIten.isShowMain && !mainIten.isWaiting
    }

    BusyIndicator {
        id: busyIndicator
        objectName: "busyIndicator"
        anchors.centerIn: parent
        // Under the power-on logo while that is shown.
        anchors.verticalCenterOffset: mainIten.isShowMain ? 0 : powerOnLogo.height / 2 + 28
        z: 99
    }

    Environment {
        id: environment
        visible: mainIten.isShowMain || mainIten.isWaiting
    }

    WaitingForMouse {
        id: waitingMain
        objectName: "waitingMain"
        visible: mainIten.isWaiting
    }

    Column {
        id: leftPanel
        objectName: "leftPanel"
        x: 24
        y: 88
        spacing: 8
        visible: mainIten.isShowMain && !mainIten.isWaiting

        KeyMatrix {
            id: keyMatrixMain
            objectName: "keyMatrixMain"
        }

        PanelFrame {
            id: editorBox
            objectName: "editorBox"
            width: 232
            // Room for the Gun Editor entry when it is shown.
            height: mainIten.showGunEditor ? 108 : 76
            title: mainIten.mainLang[0]
            icon: mainIten.sourceEditorIcon

            Column {
                x: 8
                y: 8
                spacing: 8
                EntryButton {
                    objectName: "macroEditorEntry"
                    width: 216
                    text: mainIten.mainLang[1]
                    onClicked: mainIten.showDialog(macroEditorMain)
                }
                EntryButton {
                    objectName: "gunEditorEntry"
                    width: 216
                    visible: mainIten.showGunEditor
                    text: mainIten.mainLang[2]
                    onClicked: mainIten.showDialog(gunControlMain)
                }
            }
        }

        // Lift-off distance: a slider position p of 3 … 89 (stored as
        // "mouse/reportRate"), shown in mm and sent as a rate byte.
        PanelFrame {
            id: lodMain
            objectName: "lodMain"
            width: 232
            height: 66
            z: 1
            titleHeight: 30
            title: mainIten.mainLang[3]
            icon: mainIten.sourceLodIcon

            property int tmpValue: 90
            property bool isSave: false
            property var lodLang: ["Enable"]

            // 0.5 mm … 2.0 mm in steps of 0.1 mm.
            function lodText(p) {
                return (Math.floor((p - 3) * 1.5 / 86 * 10) / 10 + 0.5) + "mm"
            }
            // Positions up to 18 send 121, position 89 sends 99.
            function rateOf(p) {
                return 125 - Math.floor((Math.max(p, 18) - 3) * 26 / 86)
            }
            function sendRate(p) {
                ui_View.mouseSetReportRate(rateOf(p), lodEnable.isSelect ? 1 : 0)
            }
            function moved(p) {
                reportRateLV.textValue = lodText(p)
                ui_View.setData("mouse/reportRate", p)
                tmpValue = p
                isSave = true
            }
            function init(isSendData) {
                var p = parseInt(ui_View.getData("mouse/reportRate", false))
                if (isNaN(p))
                    p = tmpValue
                lodEnable.isSelect = mainIten.toBool(ui_View.getData("mouse/reportRateEn", false))
                reportRateLV.sliderControl.setValue(p)
                moved(p)
                if (isSendData)
                    sendRate(p)
            }

            DropDownSlider {
                id: reportRateLV
                objectName: "reportRateLV"
                x: 10
                y: 5
                width: 120
                textValue: "10ms"
                onBtnClick: mainIten.closeMenusExcept(reportRateLV)
                onValueChange: function(index) { lodMain.moved(index) }
            }
            CheckBox {
                id: lodEnable
                objectName: "lodEnable"
                anchors.right: parent.right
                anchors.rightMargin: 12
                y: reportRateLV.y + (reportRateLV.height - height) / 2
                textValue: lodMain.lodLang[0]
                isSelect: true
                onBtnClick: {
                    ui_View.setData("mouse/reportRateEn", !lodEnable.isSelect)
                    lodMain.isSave = true
                }
            }
        }

        EntryButton {
            id: systemSettingButton
            objectName: "systemSettingButton"
            width: 232
            icon: mainIten.sourceSystemIcon
            text: mainIten.mainLang[9]
            onClicked: mainIten.showDialog(systemSettingMain)
        }
    }

    Row {
        id: bottomBar
        objectName: "bottomBar"
        anchors.right: parent.right
        anchors.rightMargin: 24
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 8
        spacing: 16
        visible: mainIten.isShowMain && !mainIten.isWaiting

        TextButton {
            id: configButton
            objectName: "configButton"
            text: mainIten.mainLang[4]
            onClicked: mainIten.showDialog(profileMain)
        }
        TextButton {
            id: resetButton
            objectName: "resetButton"
            text: mainIten.mainLang[5]
            onClicked: mainIten.showDialog(resetDialog)
        }
        TextButton {
            id: saveButton
            objectName: "saveButton"
            text: mainIten.mainLang[10]
            // While a Reset or Save runs the pages pass through passing edits:
            // the face shows what is unsaved once the interface is free again.
            faceColor: mainIten.hasUnsaved && !busyIndicator.isBusy ? mainIten.colorUnsaved : mainIten.colorBlue
            onClicked: mainIten.saveAll()
        }
    }

    Column {
        id: rightPanel
        objectName: "rightPanel"
        x: 768
        y: 56
        spacing: 8
        visible: mainIten.isShowMain && !mainIten.isWaiting

        DpiSetting {
            id: dpiSettingMain
            objectName: "dpiSettingMain"
            z: 1
        }
        LightControl {
            id: lightControlMain
            objectName: "lightControlMain"
        }
    }

    Menu_Up {
        id: upItem
        objectName: "upItem"
        x: 920
        y: 16
        visible: mainIten.isShowMain || mainIten.isWaiting
        onBtnClicked: function(btnIndex) {
            if (btnIndex === 2) {
                helpMenu.visible = !helpMenu.visible
            } else if (btnIndex === 0) {
                mainIten.mainFocus()
                ui_Ctl.onMinimize()
            } else if (btnIndex === 1) {
                mainIten.mainFocus()
                ui_Ctl.onClose()
            }
        }
    }

    Mouse {
        id: mouseMain
        objectName: "mouseMain"
        visible: mainIten.isShowMain && !mainIten.isWaiting
        onBtnClick: mainIten.mainFocus()
    }

    // Under every dialog: dims the screen, drags the window, and closes the
    // drop-downs of the open dialogs on a press.
    Rectangle {
        id: mainMask
        objectName: "mainMask"
        anchors.fill: parent
        color: "#90000000"
        visible: false
        WindowDragArea {
            objectName: "maskDragArea"
            anchors.fill: parent
            onPressed: {
                if (macroEditorMain.visible)
                    macroEditorMain.macroEditorFocus()
                if (profileMain.visible)
                    profileMain.profileFocus()
                if (appRulesMain.visible)
                    appRulesMain.appRulesFocus()
                if (gunControlMain.visible)
                    gunControlMain.gunControlFocus()
                lightControlMain.lightControlFocus()
                if (systemSettingMain.visible)
                    systemSettingMain.systemSettingFocus()
            }
            onWheel: function(wheel) { wheel.accepted = true }
        }
    }

    MacroEditor {
        id: macroEditorMain
        objectName: "macroEditorMain"
    }
    GunControl {
        id: gunControlMain
        objectName: "gunControlMain"
    }
    SystemSetting {
        id: systemSettingMain
        objectName: "systemSettingMain"
    }
    KeyAssigment {
        id: keyAssigmentMain
        objectName: "keyAssigmentMain"
    }
    Profile {
        id: profileMain
        objectName: "profileMain"
        onChangeProfile: function(tmpProfileNo) { mainIten.switchProfile(tmpProfileNo) }
    }
    AppRules {
        id: appRulesMain
        objectName: "appRulesMain"
        onRulesEdited: profileMain.refreshPrograms()
    }

    DialogFrame {
        id: resetDialog
        objectName: "resetDialog"
        width: 427
        height: 102
        titleHeight: 30
        title: mainIten.mainLang[5]
        showClose: false

        Text {
            x: 16
            y: 30
            width: parent.width - 32
            height: 36
            verticalAlignment: Text.AlignVCenter
            text: mainIten.mainLang[6]
            color: mainIten.colorGray3
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            elide: Text.ElideRight
        }
        Row {
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 10
            spacing: 16
            TextButton {
                objectName: "resetOkButton"
                text: mainIten.mainLang[8]
                onClicked: mainIten.resetFactory()
            }
            TextButton {
                objectName: "resetCancelButton"
                text: mainIten.mainLang[7]
                faceColor: mainIten.colorGray1
                onClicked: {
                    resetDialog.visible = false
                    mainMask.visible = false
                }
            }
        }
    }

    // The help menu: the maker's address and the version, then the entries
    // the window host adds (the tray menu's, while no tray shows them).
    Rectangle {
        id: helpMenu
        objectName: "helpMenu"
        x: mainIten.width - 300
        y: 30
        width: 200
        height: helpColumn.height + 2
        visible: false
        color: mainIten.colorGray0
        border.color: mainIten.colorGray1
        z: 20

        Column {
            id: helpColumn
            x: 1
            y: 1
            Repeater {
                model: ListModel {
                    id: helpModel
                    ListElement { textValue: "" }
                    ListElement { textValue: "verison:1.0" }
                }
                delegate: Rectangle {
                    id: helpEntry
                    required property int index
                    required property string textValue
                    width: 198
                    height: 24
                    color: helpArea.containsMouse ? mainIten.colorOrange : "transparent"
                    Text {
                        anchors.left: parent.left
                        anchors.leftMargin: 10
                        anchors.right: parent.right
                        anchors.rightMargin: 6
                        anchors.verticalCenter: parent.verticalCenter
                        height: parent.height
                        verticalAlignment: Text.AlignVCenter
                        text: helpEntry.textValue
                        color: mainIten.fontColor
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontNormalSize
                        // A long address shrinks to fit the menu's width.
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: mainIten.fontMinSize - 1
                        elide: Text.ElideRight
                    }
                    MouseArea {
                        id: helpArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: mainIten.askMenuCmd(helpEntry.index)
                    }
                }
            }
            Repeater {
                model: ui_Ctl.menuEntries
                delegate: HelpMenuEntry {
                    onChosen: function(index) {
                        helpMenu.visible = false
                        ui_Ctl.triggerMenuEntry(index)
                    }
                }
            }
            // Start at login, where no tray menu offers it: the window then
            // shows the tray's entries itself.
            Parts.StartAtLoginEntry {
                objectName: "startAtLoginEntry"
                visible: ui_Ctl.menuEntries.length > 0
            }
        }
    }

    // Key-matrix rows highlight their button on the mouse picture; a click
    // opens the key-assignment dialog unless the row holds the last left button.
    Connections {
        target: keyMatrixMain
        function onEnterBtn(index) {
            mouseMain.selectKey = index
        }
        function onLeaveBtn(index) {
            if (!keyAssigmentMain.visible)
                mouseMain.selectKey = -1
        }
        function onClickBtn(index) {
            mainIten.mainFocus()
            if (keyMatrixMain.modKeys.checkOneLeftKey())
                return
            mainMask.visible = true
            keyAssigmentMain.show(index)
        }
    }
}
