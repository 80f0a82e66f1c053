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
            delegate: Rectangle {
                id: macroRow
                required property int index
                required property string textValue
                readonly property bool selected: index === macroListView.currentIndex
                objectName: "macroRow" + index
                width: macroListView.width
                height: 27
                color: selected ? Theme.colorOrange : macroRowArea.containsMouse ? "#2a2a2a" : "transparent"
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
