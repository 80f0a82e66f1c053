pragma ComponentBehavior: Bound

import QtQuick
import ".."
import "../../basic"
import "../../theme"

// The help menu under the title bar's "?": the maker's address and the
// version, then the entries the window host adds (the tray menu's, while no
// tray shows them) and the Start at login switch.
Rectangle {
    id: helpMenu
    width: 200
    height: helpColumn.height + 2
    visible: false
    color: Theme.colorGray0
    border.color: Theme.colorGray1
    z: 20

    // One of the first entries was chosen: 0 the address, 1 the version.
    signal entryChosen(int index)

    // Escape closes it; the focus goes back to the help icon.
    property Item returnFocus: null
    Keys.onEscapePressed: {
        helpMenu.visible = false
        if (helpMenu.returnFocus)
            helpMenu.returnFocus.forceActiveFocus(Qt.OtherFocusReason)
    }

    // Opened from the keyboard: its first entry takes the focus.
    function focusFirst(from) {
        returnFocus = from
        var first = helpColumn.children[0]
        if (first)
            first.forceActiveFocus(Qt.TabFocusReason)
    }

    function setAddress(address) {
        helpModel.setProperty(0, "textValue", address)
    }

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
                color: helpArea.containsMouse ? Theme.colorOrange : "transparent"
                activeFocusOnTab: true
                Keys.onTabPressed: helpRing.moveFocus(true)
                Keys.onBacktabPressed: helpRing.moveFocus(false)
                Keys.onSpacePressed: helpMenu.entryChosen(helpEntry.index)
                Keys.onReturnPressed: helpMenu.entryChosen(helpEntry.index)
                Keys.onEnterPressed: helpMenu.entryChosen(helpEntry.index)
                Accessible.role: Accessible.MenuItem
                Accessible.name: helpEntry.textValue
                Accessible.focusable: true
                Accessible.onPressAction: helpMenu.entryChosen(helpEntry.index)
                FocusRing {
                    id: helpRing
                    outset: 0
                }
                Text {
                    anchors.left: parent.left
                    anchors.leftMargin: 10
                    anchors.right: parent.right
                    anchors.rightMargin: 6
                    anchors.verticalCenter: parent.verticalCenter
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    text: helpEntry.textValue
                    color: Theme.fontColor
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    // A long address shrinks to fit the menu's width.
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: fontMinSize - 1
                    elide: Text.ElideRight
                }
                MouseArea {
                    id: helpArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: helpMenu.entryChosen(helpEntry.index)
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
        StartAtLoginEntry {
            objectName: "startAtLoginEntry"
            visible: ui_Ctl.menuEntries.length > 0
        }
    }
}
