pragma ComponentBehavior: Bound

import QtQuick
import ".."
import "../../theme"

// The macro editor's left side: the library's names, renamed in place by a
// double click, and the New / Delete buttons.
Item {
    id: panel
    // The macro editor: its list model, its selection and what the buttons do.
    required property var page
    property alias listView: macroListView
    property alias nameEditor: nameEditor

    function listKey(event) {
        var count = page.macroNumberModel.count
        var i = macroListView.currentIndex
        if ((event.key === Qt.Key_Up || event.key === Qt.Key_Down) && count > 0) {
            page.endEdits()
            var next = Math.max(0, Math.min(count - 1, i < 0 ? 0 : i + (event.key === Qt.Key_Up ? -1 : 1)))
            if (next !== i)
                page.selectMacro(next)
            macroListView.positionViewAtIndex(next, ListView.Contain)
        } else if (event.key === Qt.Key_F2 && i >= 0) {
            startRename(i)
        } else if ((event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier)))
                   && i >= 0) {
            var row = macroListView.itemAtIndex(i)
            if (!row)
                return
            page.openMenu(page.listMenu, row, 20, row.height)
            page.listMenu.focusFirst(macroListView)
        } else {
            return
        }
        event.accepted = true
    }

    function startRename(index) {
        page.endEdits()
        page.renameIndex = index
        nameEditor.begin(page.macroNumberModel.get(index).textValue)
    }

    // Takes the edited name unless a macro has it already or the library
    // refuses it: the list renames the file, the profiles' bindings and
    // itself in one step, and the buttons bound to the macro follow.
    function endRename() {
        if (page.renameIndex < 0)
            return
        var index = page.renameIndex
        page.renameIndex = -1
        nameEditor.finish()
        var oldName = page.macroNumberModel.get(index).textValue
        if (!page.macroNumberModel.rename(index, nameEditor.text))
            return
        var newName = page.macroNumberModel.get(index).textValue
        page.modifyMacroName(oldName, newName)
        keyAssigmentMain.macroList.renamed(oldName, newName)
        page.publishNames()
    }

    MacroCaption {
        x: 16
        y: 52
        text: panel.page.macroEditorLang[1]
    }
    ListFrame {
        x: 16
        y: 76
        width: 168
        height: 328

        ListView {
            id: macroListView
            objectName: "macroListView"
            anchors.fill: parent
            anchors.margins: 1
            currentIndex: -1
            model: panel.page.macroNumberModel
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            interactive: false
            // The arrows select, F2 renames, the menu key opens the row's menu.
            activeFocusOnTab: true
            Keys.onTabPressed: listRing.moveFocus(true)
            Keys.onBacktabPressed: listRing.moveFocus(false)
            Keys.onPressed: function(event) { panel.listKey(event) }
            Accessible.role: Accessible.List
            Accessible.name: panel.page.macroEditorLang[1]
            Accessible.focusable: true
            delegate: Rectangle {
                id: macroRow
                required property int index
                required property string textValue
                readonly property bool selected: index === macroListView.currentIndex
                objectName: "macroRow" + index
                width: macroListView.width
                height: 27
                color: selected ? Theme.colorOrange : macroRowArea.containsMouse ? "#2a2a2a" : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: macroRow.textValue
                Accessible.selectable: true
                Accessible.selected: macroRow.selected
                Accessible.onPressAction: panel.page.selectMacro(macroRow.index)
                Text {
                    x: 12
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width - 20
                    visible: panel.page.renameIndex !== macroRow.index
                    text: macroRow.textValue
                    color: Theme.fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
                MouseArea {
                    id: macroRowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: function(mouse) {
                        panel.page.eventMenu.visible = false
                        if (panel.page.renameIndex !== macroRow.index && macroRow.index !== macroListView.currentIndex)
                            panel.page.selectMacro(macroRow.index)
                        if (mouse.button === Qt.RightButton)
                            panel.page.openMenu(panel.page.listMenu, macroRowArea, mouse.x, mouse.y)
                        else
                            panel.page.listMenu.visible = false
                    }
                    onDoubleClicked: function(mouse) {
                        if (mouse.button === Qt.LeftButton)
                            panel.startRename(macroRow.index)
                    }
                }
            }
        }
        WheelArea {
            flickable: macroListView
        }
        ScrollHandle {
            flickable: macroListView
        }
        FocusRing {
            id: listRing
            focusItem: macroListView
            outset: 0
        }
        InlineEditor {
            id: nameEditor
            inputName: "macroNameEditor"
            list: macroListView
            row: panel.page.renameIndex
            x: 4
            width: parent.width - 8
            leftMargin: 7
            maximumLength: 32
            onAccepted: panel.endRename()
            onCancelled: panel.page.renameIndex = -1
        }
    }
    TextButton {
        objectName: "macroNewButton"
        x: 16
        y: 412
        text: panel.page.macroEditorLang[2]
        onClicked: panel.page.newMacro()
    }
    TextButton {
        objectName: "macroDeleteButton"
        x: 16 + 168 - width
        y: 412
        text: panel.page.macroEditorLang[3]
        faceColor: Theme.colorGray1
        onClicked: panel.page.deleteSelected()
    }
}
