pragma ComponentBehavior: Bound

import QtQuick
import "parts"
import "../theme"
import "../basic/NameLists.js" as NameLists

// The profile manager behind Config: the named profiles (at most six), each
// with its profile number 0 … 5; entry 0 is the standard profile. Its list
// is also the model of the title-bar profile drop-down, whose choice switches
// the interface to that profile (changeProfile). The names are stored as name
// list 2, each name followed by its number as one digit. Each row also shows
// the programs that bring its profile to the front (edited in appRulesMain).
DialogFrame {
    id: profile
    width: 415
    height: 288
    title: profileLang[0]

    property var profileLang: ["config", "New", "Import", "Delete", "Export", "Standard"]
    property alias profileDataModel0: profileModel
    // The selected entry of the list (not the active profile).
    property int selectIndex: 0
    // The entry being renamed, -1 for none.
    property int editIndex: -1
    readonly property int maxEntries: 6
    // The programs of each profile number, as "a, b" (refreshPrograms()).
    property var programsByProfile: ({})
    // Whether this session can see the program in front.
    property bool programsAvailable: true

    signal changeProfile(int tmpProfileNo)

    onCloseClicked: {
        endRename()
        menu.visible = false
        visible = false
        appRulesMain.visible = false
        maskShown = false
        upItem.profileBtn.closeMenu()
    }
    onBackgroundPressed: profileFocus()

    function init() {
        var names = NameLists.namesOf(ui_View.getNameList(2))
        profileModel.clear()
        for (var i = 0; i < names.length; ++i) {
            var text = String(names[i])
            var number = parseInt(text.slice(-1))
            if (text.length === 0 || isNaN(number) || findNumber(number) >= 0)
                continue
            profileModel.append({ textValue: text.slice(0, -1), profileNo: number })
        }
        if (profileModel.count === 0)
            profileModel.append({ textValue: "", profileNo: 0 })
        selectIndex = Math.max(0, findNumber(mainIten.profileNo))
        profileModel.setProperty(0, "textValue", profileLang[5])
        publish()
        programsAvailable = appRules.available()
        refreshPrograms()
    }

    function refreshPrograms() {
        var texts = {}
        for (var i = 0; i < profileModel.count; ++i) {
            var number = profileModel.get(i).profileNo
            var programs = appRules.programsOf(number)
            var text = ""
            for (var k = 0; k < programs.length; ++k)
                text += (k > 0 ? ", " : "") + programs[k]
            texts[number] = text
        }
        programsByProfile = texts
    }

    // The programs dialog for the selected entry.
    function editPrograms() {
        profileFocus()
        if (selectIndex < 0 || selectIndex >= profileModel.count)
            return
        var entry = profileModel.get(selectIndex)
        appRulesMain.show(entry.profileNo, entry.textValue)
    }

    function profileFocus() {
        endRename()
        menu.visible = false
    }

    // The stored name list: each name followed by its number.
    function publish() {
        var stored = []
        for (var i = 0; i < profileModel.count; ++i)
            stored[i] = profileModel.get(i).textValue + profileModel.get(i).profileNo
        ui_View.updataNameList(2, stored)
    }

    function findName(name) {
        for (var i = 0; i < profileModel.count; ++i) {
            if (profileModel.get(i).textValue === name)
                return i
        }
        return -1
    }

    function findNumber(number) {
        for (var i = 0; i < profileModel.count; ++i) {
            if (profileModel.get(i).profileNo === number)
                return i
        }
        return -1
    }

    function freeName() {
        for (var i = 0; i < 12; ++i) {
            if (findName("profile_" + i) < 0)
                return "profile_" + i
        }
        return ""
    }

    function freeNumber() {
        for (var n = 0; n < maxEntries; ++n) {
            if (findNumber(n) < 0)
                return n
        }
        return -1
    }

    // Appends a new entry, selects it and publishes the names; -1 when full.
    function appendEntry() {
        var name = freeName()
        var number = freeNumber()
        if (profileModel.count >= maxEntries || name === "" || number < 0)
            return -1
        profileModel.append({ textValue: name, profileNo: number })
        selectIndex = profileModel.count - 1
        publish()
        return number
    }

    function newProfile() {
        profileFocus()
        var number = appendEntry()
        if (number >= 0) {
            ui_View.resetProfile(number)
            // A new profile starts without programs.
            appRules.removeProfile(number)
            refreshPrograms()
        }
    }

    function importProfile() {
        profileFocus()
        var number = appendEntry()
        if (number < 0)
            return
        appRules.removeProfile(number)
        refreshPrograms()
        // A cancelled file dialog leaves no entry behind.
        if (!ui_View.loadProfile(number)) {
            profileModel.remove(profileModel.count - 1)
            selectIndex = Math.min(selectIndex, profileModel.count - 1)
            publish()
        }
    }

    // Export always writes the active profile.
    function exportProfile() {
        menu.visible = false
        ui_View.saveProfile(mainIten.profileNo)
    }

    // The standard entry and the entry active in the title bar stay.
    function deleteProfile() {
        menu.visible = false
        var active = upItem.profileBtn.currentSelect
        if (selectIndex <= 0 || selectIndex >= profileModel.count || selectIndex === active)
            return
        // A deleted profile's programs switch to nothing any more.
        appRules.removeProfile(profileModel.get(selectIndex).profileNo)
        profileModel.remove(selectIndex)
        if (selectIndex < active)
            upItem.profileBtn.currentSelect = active - 1
        selectIndex = Math.min(selectIndex, profileModel.count - 1)
        publish()
        refreshPrograms()
    }

    // The list's keys: the arrows select, F2 renames, the menu key (or
    // Shift+F10) opens the entry's menu at its row.
    function listKey(event) {
        if (event.key === Qt.Key_Up || event.key === Qt.Key_Down) {
            endRename()
            menu.visible = false
            selectIndex = Math.max(0, Math.min(profileModel.count - 1, selectIndex + (event.key === Qt.Key_Up ? -1 : 1)))
            listView.positionViewAtIndex(selectIndex, ListView.Contain)
        } else if (event.key === Qt.Key_F2) {
            startRename(selectIndex)
        } else if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
            var row = listView.itemAtIndex(selectIndex)
            var p = row ? row.mapToItem(profile, 40, row.height) : Qt.point(listFrame.x + 40, listFrame.y)
            menu.x = Math.min(p.x, profile.width - menu.width - 4)
            menu.y = Math.min(p.y, profile.height - menu.height - 4)
            menu.visible = true
            menuRepeater.itemAt(0).forceActiveFocus(Qt.TabFocusReason)
        } else {
            return
        }
        event.accepted = true
    }

    function closeMenuByKey() {
        menu.visible = false
        listView.forceActiveFocus(Qt.TabFocusReason)
    }

    function startRename(index) {
        endRename()
        editIndex = index
        nameEditor.begin(profileModel.get(index).textValue)
    }

    // Takes the edited name unless it is empty or any entry has it already.
    function endRename() {
        if (editIndex < 0)
            return
        var index = editIndex
        editIndex = -1
        var name = nameEditor.text.trim()
        nameEditor.finish()
        if (name === "" || findName(name) >= 0 || index >= profileModel.count)
            return
        profileModel.setProperty(index, "textValue", name)
        publish()
    }

    ListModel {
        id: profileModel
    }

    Rectangle {
        id: listFrame
        x: 15
        y: 54
        width: 384
        height: 180
        color: "#141414"
        border.color: Theme.colorGray1
        clip: true

        ListView {
            id: listView
            objectName: "profileListView"
            anchors.fill: parent
            anchors.margins: 1
            model: profileModel
            boundsBehavior: Flickable.StopAtBounds
            activeFocusOnTab: true
            Keys.onTabPressed: listRing.moveFocus(true)
            Keys.onBacktabPressed: listRing.moveFocus(false)
            Keys.onPressed: function(event) { profile.listKey(event) }
            Accessible.role: Accessible.List
            Accessible.name: profile.profileLang[0]
            Accessible.focusable: true
            delegate: Rectangle {
                id: row
                required property int index
                required property string textValue
                required property int profileNo
                readonly property bool selected: index === profile.selectIndex
                readonly property bool active: index === upItem.profileBtn.currentSelect
                objectName: "profileRow" + index
                width: listView.width
                height: 27
                color: selected ? Theme.colorOrange : rowArea.containsMouse ? "#2a2a2a" : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: row.textValue
                Accessible.description: rowPrograms.text
                Accessible.selectable: true
                Accessible.selected: row.selected
                Accessible.onPressAction: profile.selectIndex = row.index

                Image {
                    id: rowIcon
                    Accessible.ignored: true
                    x: 12
                    anchors.verticalCenter: parent.verticalCenter
                    width: 16
                    height: 16
                    source: Theme.sourceProfileItem
                }
                Text {
                    anchors.left: rowIcon.right
                    anchors.leftMargin: 10
                    anchors.right: rowPrograms.left
                    anchors.rightMargin: 8
                    anchors.verticalCenter: parent.verticalCenter
                    visible: profile.editIndex !== row.index
                    text: row.textValue
                    color: Theme.fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                Text {
                    // The programs that bring this profile to the front.
                    id: rowPrograms
                    objectName: "profilePrograms" + row.index
                    anchors.right: activeMark.left
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.min(implicitWidth, 170)
                    text: profile.programsByProfile[row.profileNo] || ""
                    color: row.selected ? Theme.fontColor : Theme.colorGray2
                    font.family: fontFamily
                    font.pixelSize: fontMinSize + 1
                    elide: Text.ElideRight
                }
                Rectangle {
                    // The profile the mouse uses now.
                    id: activeMark
                    anchors.right: parent.right
                    anchors.rightMargin: 14
                    anchors.verticalCenter: parent.verticalCenter
                    width: 6
                    height: 6
                    radius: 3
                    color: row.selected ? Theme.fontColor : Theme.colorOrange
                    visible: row.active
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: function(mouse) {
                        if (profile.editIndex !== row.index)
                            profile.endRename()
                        profile.selectIndex = row.index
                        if (mouse.button === Qt.RightButton) {
                            var p = mapToItem(profile, mouse.x, mouse.y)
                            menu.x = Math.min(p.x, profile.width - menu.width - 4)
                            menu.y = Math.min(p.y, profile.height - menu.height - 4)
                            menu.visible = true
                        } else {
                            menu.visible = false
                        }
                    }
                    onDoubleClicked: function(mouse) {
                        if (mouse.button === Qt.LeftButton)
                            profile.startRename(row.index)
                    }
                }
            }
        }

        // The inline name editor, over the row being renamed.
        InlineEditor {
            id: nameEditor
            inputName: "profileNameEditor"
            list: listView
            row: profile.editIndex
            x: 36
            width: parent.width - 36 - 28
            maximumLength: 16
            accessibleName: profile.profileLang[0]
            onAccepted: profile.endRename()
            onCancelled: profile.editIndex = -1
        }
        FocusRing {
            id: listRing
            focusItem: listView
            outset: 0
        }
    }

    TextButton {
        objectName: "profileProgramsButton"
        x: 15
        y: listFrame.y + listFrame.height + 16
        width: 80
        text: appRulesMain.appRulesLang[0]
        onClicked: profile.editPrograms()
    }
    Text {
        // Where the program in front cannot be seen (a Wayland session).
        objectName: "profileProgramsOff"
        x: 15 + 80 + 10
        y: listFrame.y + listFrame.height + 10
        width: 415 - 16 - 144 - 12 - x
        height: 36
        visible: !profile.programsAvailable
        verticalAlignment: Text.AlignVCenter
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
        text: appRulesMain.appRulesLang[8]
        color: Theme.colorGray2
        font.family: fontFamily
        font.pixelSize: fontMinSize
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        y: listFrame.y + listFrame.height + 16
        spacing: 16
        TextButton {
            objectName: "profileNewButton"
            text: profile.profileLang[1]
            onClicked: profile.newProfile()
        }
        TextButton {
            objectName: "profileImportButton"
            text: profile.profileLang[2]
            onClicked: profile.importProfile()
        }
    }

    // The right-click menu of an entry: Delete and Export.
    Rectangle {
        id: menu
        objectName: "profileMenu"
        visible: false
        width: 100
        height: menuColumn.height + 2
        color: Theme.colorGray0
        border.color: Theme.colorGray1
        z: 5
        Column {
            id: menuColumn
            x: 1
            y: 1
            Repeater {
                id: menuRepeater
                model: [profile.profileLang[3], profile.profileLang[4]]
                delegate: Rectangle {
                    id: menuEntry
                    required property int index
                    required property string modelData
                    objectName: "profileMenuEntry" + index
                    width: 98
                    height: 24
                    color: menuArea.containsMouse ? Theme.colorOrange : "transparent"
                    function choose() {
                        if (menuEntry.index === 0)
                            profile.deleteProfile()
                        else
                            profile.exportProfile()
                    }
                    function keyChoose() {
                        menuEntry.choose()
                        profile.closeMenuByKey()
                    }
                    activeFocusOnTab: true
                    Keys.onTabPressed: menuRing.moveFocus(true)
                    Keys.onBacktabPressed: menuRing.moveFocus(false)
                    Keys.onDownPressed: menuRepeater.itemAt(1 - menuEntry.index).forceActiveFocus(Qt.TabFocusReason)
                    Keys.onUpPressed: menuRepeater.itemAt(1 - menuEntry.index).forceActiveFocus(Qt.TabFocusReason)
                    Keys.onSpacePressed: menuEntry.keyChoose()
                    Keys.onReturnPressed: menuEntry.keyChoose()
                    Keys.onEnterPressed: menuEntry.keyChoose()
                    Keys.onEscapePressed: profile.closeMenuByKey()
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: menuEntry.modelData
                    Accessible.focusable: true
                    Accessible.onPressAction: menuEntry.choose()
                    FocusRing {
                        id: menuRing
                        outset: 0
                    }
                    Text {
                        x: 10
                        anchors.verticalCenter: parent.verticalCenter
                        text: menuEntry.modelData
                        color: Theme.fontColor
                        font.family: fontFamily
                        font.pixelSize: fontNormalSize
                    }
                    MouseArea {
                        id: menuArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: menuEntry.choose()
                    }
                }
            }
        }
    }
}
