pragma ComponentBehavior: Bound

import QtQuick
import "./K7"
import "./K7/parts" as Parts
import "./basic"
import "./theme"

// The root of the interface: 1024 × 640, shown in the frameless window.
// It holds the fonts (the colours and the skin's pictures are the Theme's), the panels of the
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

    property string fontFamily: "微软雅黑"
    property int fontNormalSize: 12
    property int fontMiddleSize: 14
    property int fontMaxSize: 16
    property int fontMinSize: 10

    // Names a screen reader gives the controls that show no text of their own.
    property var accessibleLang: ["Close", "Minimize", "Help", "Reset", "Stage %1", "Hue", "Stages in use", "Effect",
        "Profile", "Key down %1", "Key up %1", "Button down %1", "Button up %1"]
    property var mainLang: ["Editor", "Macro Editor", "Gun Editor", "LOD", "Config", "Reset",
        "Reset factory setting", "Cancel", "OK", "System setting", "Save", "", "", "", ""]
    // The active profile number (global "mouse/profileNo").
    property int profileNo: 0
    // Set when the first lock has ended: the main screen is shown.
    property bool isShowMain: false
    // No mouse is connected and the window stands alone (no tray holds the
    // program): the window says it waits for the mouse in place of the pages.
    readonly property bool isWaiting: ui_Ctl.waitingForMouse
    // A dialog is open over the main screen, with the mask dimming what is
    // under it: pages show and hide the mask through this.
    property alias maskShown: mainMask.visible
    readonly property bool hasUnsaved: keyMatrixMain.isSave || dpiSettingMain.isSave
                                       || lightControlMain.isSave || lodMain.isSave

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
            helpMenu.setAddress(url)

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
            accessibleLang = langStrings("accessible", accessibleLang)
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
        var menus = [lodMain.slider, dpiSettingMain.dpiSegment, upItem.profileBtn, lightControlMain.lightModel]
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
            helpMenu.setAddress(address !== "" ? address : url)
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
        ui_View.beginBlockWrites()
        try {
            ui_View.resetProfile(profileNo)
            initPages(true)
            ui_View.mouseSetCurrentDPI(3)
            dpiSettingMain.currentDPI = 2
            gunControlMain.resetData()
            lodMain.isSave = false
            ui_View.resetReportRate()
        } finally {
            ui_View.commitBlockWrites()
        }
        controlUIEnable(true)
    }

    function saveAll() {
        mainFocus()
        if (hasUnsaved)
            controlUIEnable(false)
        var saved = []
        ui_View.beginBlockWrites()
        try {
            if (keyMatrixMain.isSave)
                saved[saved.length] = savePage(keyMatrixMain, function() { keyMatrixMain.modKeys.saveData() })
            if (dpiSettingMain.isSave)
                saved[saved.length] = savePage(dpiSettingMain, function() { dpiSettingMain.saveData(true) })
            if (lightControlMain.isSave)
                saved[saved.length] = savePage(lightControlMain, function() { lightControlMain.saveData(true, 0) })
            if (lodMain.isSave)
                saved[saved.length] = savePage(lodMain, function() { lodMain.sendRate(lodMain.tmpValue) })
        } finally {
            // The profile blocks the pages changed go to the mouse now, each
            // once; a page whose block did not take stays unsaved.
            var failed = parseInt(ui_View.commitBlockWrites())
            for (var i = 0; i < saved.length; ++i) {
                if (saved[i].blocks & failed)
                    saved[i].page.isSave = true
            }
        }
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
    // not hold the page's values: it stays unsaved. Gives the page and the
    // profile blocks it left to the end of the Save, where they are written.
    property Item savingPage: null
    function savePage(page, save) {
        page.isSave = false
        savingPage = page
        save()
        savingPage = null
        return { page: page, blocks: parseInt(ui_View.notedBlockWrites()) }
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
        ui_View.beginBlockWrites()
        try {
            initPages(true)
        } finally {
            ui_View.commitBlockWrites()
        }
        controlUIEnable(true)
    }

    // Captured keys go to whoever is capturing them.
    onMsg_KB: function(isDown, usbCode) {
        if (!keyCaptureSink.admits(isDown, usbCode))
            return
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
        source: mainIten.isShowMain || mainIten.isWaiting ? "" : Theme.sourcePowerOn
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

        Parts.EditorBox {
            id: editorBox
            objectName: "editorBox"
            title: mainIten.mainLang[0]
            icon: Theme.sourceEditorIcon
            showGunEditor: mainIten.showGunEditor
            macroText: mainIten.mainLang[1]
            gunText: mainIten.mainLang[2]
            onMacroEditorClicked: mainIten.showDialog(macroEditorMain)
            onGunEditorClicked: mainIten.showDialog(gunControlMain)
        }

        Parts.LodPanel {
            id: lodMain
            objectName: "lodMain"
            z: 1
            title: mainIten.mainLang[3]
            icon: Theme.sourceLodIcon
            onMenuOpened: mainIten.closeMenusExcept(lodMain.slider)
        }

        EntryButton {
            id: systemSettingButton
            objectName: "systemSettingButton"
            width: 232
            icon: Theme.sourceSystemIcon
            text: mainIten.mainLang[9]
            onClicked: mainIten.showDialog(systemSettingMain)
        }
    }

    Parts.BottomBar {
        id: bottomBar
        objectName: "bottomBar"
        anchors.right: parent.right
        anchors.rightMargin: 24
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 8
        visible: mainIten.isShowMain && !mainIten.isWaiting
        configText: mainIten.mainLang[4]
        resetText: mainIten.mainLang[5]
        saveText: mainIten.mainLang[10]
        // While a Reset or Save runs the pages pass through passing edits:
        // the face shows what is unsaved once the interface is free again.
        unsaved: mainIten.hasUnsaved && !busyIndicator.isBusy
        onConfigClicked: mainIten.showDialog(profileMain)
        onResetClicked: mainIten.showDialog(resetDialog)
        onSaveClicked: mainIten.saveAll()
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
                // Opened from the keyboard: the menu takes the focus.
                var icon = Window.activeFocusItem
                if (helpMenu.visible && icon && icon.objectName === "helpIcon")
                    helpMenu.focusFirst(icon)
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

    Parts.ResetDialog {
        id: resetDialog
        objectName: "resetDialog"
        title: mainIten.mainLang[5]
        question: mainIten.mainLang[6]
        okText: mainIten.mainLang[8]
        cancelText: mainIten.mainLang[7]
        onOkClicked: mainIten.resetFactory()
        onCancelClicked: {
            resetDialog.visible = false
            mainMask.visible = false
        }
    }

    Parts.HelpMenu {
        id: helpMenu
        objectName: "helpMenu"
        x: mainIten.width - 300
        y: 30
        onEntryChosen: function(index) { mainIten.askMenuCmd(index) }
    }

    // While a key is captured the keyboard focus waits here: keys reach the
    // capture through the hooks, not the controls.
    Parts.KeyCaptureSink {
        id: keyCaptureSink
        objectName: "keyCaptureSink"
        capturing: macroEditorMain.isInputting || macroEditorMain.isInsertting || keyAssigmentMain.isFireInput
                   || keyAssigmentMain.isComboInput
    }

    // Key-matrix rows highlight their button on the mouse picture; a click
    // opens the key-assignment dialog unless the row holds the last left button.
    // The keyboard focus, drawn around whichever control has it.
    FocusFrame {
        home: mainIten
    }

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
