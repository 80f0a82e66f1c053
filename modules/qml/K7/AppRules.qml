pragma ComponentBehavior: Bound

import QtQuick
import "parts"
import "../theme"

// The programs of one profile, opened from the profile manager: when one of
// them comes to the front, the profile becomes current, and when the user
// leaves it, the profile used before comes back. A program is added from the
// running programs or by its name (its executable's file name) and removed
// from the profile's list. The rules live in the native side (appRules).
DialogFrame {
    id: appRulesDialog
    width: 415
    height: 288
    title: appRulesLang[0] + (profileName !== "" ? " — " + profileName : "")

    property var appRulesLang: ["Programs", "Add", "Remove", "Programs of this profile", "Running programs",
        "Program name", "Not a program name", "Cannot be saved", "Program switching is off in this session",
        "%1 — for %2"]
    // The profile whose programs are shown.
    property int profileNo: 0
    property string profileName: ""
    property var programs: []
    property var running: []
    property int selectedProgram: -1
    property int selectedRunning: -1
    // The last refusal shown under the lists, "" for none.
    property string message: ""
    property bool available: true

    // A program was added or removed.
    signal rulesEdited()

    onCloseClicked: {
        visible = false
        appRulesFocus()
    }
    onBackgroundPressed: appRulesFocus()

    function show(number, name) {
        profileNo = number
        profileName = name
        nameInput.text = ""
        message = ""
        available = appRules.available()
        refresh()
        showCentered()
    }

    function appRulesFocus() {
        nameInput.focus = false
    }

    function refresh() {
        programs = appRules.programsOf(profileNo)
        running = appRules.runningPrograms()
        selectedProgram = -1
        selectedRunning = -1
    }

    // Adds the typed name, or else the running program picked.
    function addProgram() {
        var name = nameInput.text.trim()
        if (name === "" && selectedRunning >= 0)
            name = running[selectedRunning]
        var result = appRules.addProgram(profileNo, name)
        if (result !== 0) {
            message = result === 3 ? appRulesLang[7] : appRulesLang[6]
            return
        }
        message = ""
        nameInput.text = ""
        refresh()
        rulesEdited()
    }

    function removeProgram() {
        if (selectedProgram < 0 || selectedProgram >= programs.length)
            return
        if (!appRules.removeProgram(programs[selectedProgram])) {
            message = appRulesLang[7]
            return
        }
        message = ""
        refresh()
        rulesEdited()
    }

    AppRulesCaption {
        x: 15
        y: 48
        width: 184
        text: appRulesDialog.appRulesLang[3]
    }
    NameList {
        objectName: "appRulesPrograms"
        x: 15
        y: 68
        width: 184
        height: 160
        rowPrefix: "appRulesProgram"
        accessibleName: appRulesDialog.appRulesLang[3]
        names: appRulesDialog.programs
        selected: appRulesDialog.selectedProgram
        onPicked: function(index) {
            appRulesDialog.appRulesFocus()
            appRulesDialog.selectedProgram = index
        }
    }

    AppRulesCaption {
        x: 216
        y: 48
        width: 184
        text: appRulesDialog.appRulesLang[4]
    }
    NameList {
        objectName: "appRulesRunning"
        x: 216
        y: 68
        width: 184
        height: 128
        rowPrefix: "appRulesRunning"
        accessibleName: appRulesDialog.appRulesLang[4]
        names: appRulesDialog.running
        selected: appRulesDialog.selectedRunning
        onPicked: function(index) {
            appRulesDialog.selectedRunning = index
            nameInput.text = appRulesDialog.running[index]
        }
    }
    Rectangle {
        x: 216
        y: 204
        width: 184
        height: 24
        color: Theme.colorGray0
        border.color: nameInput.activeFocus ? Theme.colorOrange : Theme.colorGray1
        TextInput {
            id: nameInput
            objectName: "appRulesNameInput"
            anchors.fill: parent
            anchors.leftMargin: 6
            anchors.rightMargin: 6
            verticalAlignment: TextInput.AlignVCenter
            maximumLength: 255
            clip: true
            color: Theme.fontColor
            selectionColor: Theme.colorOrange
            selectByMouse: true
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            onTextEdited: appRulesDialog.message = ""
            Keys.onReturnPressed: appRulesDialog.addProgram()
            Keys.onEnterPressed: appRulesDialog.addProgram()
            activeFocusOnTab: true
            Keys.onTabPressed: nameRing.moveFocus(true)
            Keys.onBacktabPressed: nameRing.moveFocus(false)
            Accessible.role: Accessible.EditableText
            Accessible.name: appRulesDialog.appRulesLang[5]
            Accessible.focusable: true
        }
        Text {
            anchors.fill: nameInput
            verticalAlignment: Text.AlignVCenter
            visible: nameInput.text === "" && !nameInput.activeFocus
            text: appRulesDialog.appRulesLang[5]
            color: Theme.colorGray2
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            elide: Text.ElideRight
        }
        // A click there is for typing: the border shows it.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.LeftButton
            onPressed: function(mouse) {
                nameRing.pointerFocus = !nameInput.activeFocus || nameRing.pointerFocus
                mouse.accepted = false
            }
        }
        FocusRing {
            id: nameRing
            focusItem: nameInput
        }
    }

    TextButton {
        objectName: "appRulesRemoveButton"
        x: 15
        y: 244
        text: appRulesDialog.appRulesLang[2]
        onClicked: appRulesDialog.removeProgram()
    }
    Text {
        objectName: "appRulesMessage"
        x: 15 + 64 + 12
        y: 240
        width: 415 - 2 * (15 + 64 + 12)
        height: 32
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        maximumLineCount: 2
        text: appRulesDialog.message !== "" ? appRulesDialog.message
                                            : appRulesDialog.available ? "" : appRulesDialog.appRulesLang[8]
        color: appRulesDialog.message !== "" ? Theme.colorUnsaved : Theme.colorGray2
        font.family: fontFamily
        font.pixelSize: fontMinSize + 1
        elide: Text.ElideRight
    }
    TextButton {
        objectName: "appRulesAddButton"
        x: 415 - 16 - 64
        y: 244
        text: appRulesDialog.appRulesLang[1]
        onClicked: appRulesDialog.addProgram()
    }
}
