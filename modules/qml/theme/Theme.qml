pragma Singleton

import QtQuick

// The skin: the interface's colours and pictures, one instance for every page
// (import the folder, then Theme.colorOrange, Theme.sourceDropBtn).
QtObject {
    // The skin's number: the pictures of the pages come from its folder.
    property int skinNo: 1

    // Pictures of a group of the skin: group, file name.
    function skinImage(group, name) {
        return "qrc:/" + group + "/modules/img/skin" + skinNo + "/" + group + "/" + name + ".png"
    }

    property color fontColor: "#ffffff"
    property color colorGray0: "#1a1a1a"
    property color colorGray1: "#3c3c3c"
    property color colorGray2: "#969696"
    property color colorGray3: "#d1d1d1"
    property color colorBlue: "#09347f"
    property color colorOrange: "#b20808"
    property color colorBlack: Qt.rgba(0, 0, 0, 1)
    // The skin's bright red: lit buttons, the recording light, the aim dot.
    property color colorRed: "#ff3030"
    // The face of the Save button while something is unsaved.
    property color colorUnsaved: colorRed

    // The window background and its pieces.
    property url sourceBackground: "qrc:/modules/img/background.png"
    property url sourceTitleBar: "qrc:/modules/img/titleBar.png"
    property url sourceTitleLogo: "qrc:/modules/img/titleLogo.png"
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
}
