pragma ComponentBehavior: Bound

import QtQuick
import ".."

// The key-assignment section of the macro function: a macro by name, the
// way to the macro editor, and how the macro repeats.
Item {
    id: macroSection
    // The key-assignment page: its texts, its working copy and the macro names.
    required property var page
    // The names the drop-down offers.
    property var names: null
    property alias macroDrop: macroDrop
    width: 368
    height: 136
    Separator {
        y: -7
    }
    KeySectionTitle {
        text: macroSection.page.keyAssigmentLang[16]
    }
    DropDownList {
        id: macroDrop
        objectName: "macroDrop"
        accessibleName: macroSection.page.keyAssigmentLang[16]
        x: 12
        y: 34
        width: 160
        z: 2
        mdItems: macroSection.names
        currentSelect: macroSection.page.keyCode0 === 4 ? macroSection.page.macroIndexOf(macroSection.page.keyString) : -1
        onBtnClick: macroSection.page.closeMenusExcept(macroDrop)
        onIsDropChanged: {
            if (isDrop)
                macroSection.page.ensureVisible(macroDrop, visibleRows * 24)
        }
        onValueChange: function(index) {
            macroSection.page.chooseMacro(index)
            currentSelect = Qt.binding(function() {
                return macroSection.page.keyCode0 === 4 ? macroSection.page.macroIndexOf(macroSection.page.keyString) : -1
            })
        }
    }
    TextButton {
        objectName: "openMacroEditor"
        x: macroDrop.x + macroDrop.width + 16
        y: 34
        width: 120
        text: macroSection.page.keyAssigmentLang[17]
        onClicked: {
            macroSection.page.keyAssigmentFocus()
            macroEditorMain.showOver(macroSection.page)
        }
    }
    Item {
        x: 12
        y: 72
        Repeater {
            model: 3
            RadioButton {
                id: modeRadio
                required property int index
                objectName: "macroMode" + index
                y: index * 26
                textValue: String(macroSection.page.keyAssigmentLang[18 + index])
                isSelect: macroSection.page.macroMode === index
                onBtnClick: {
                    macroSection.page.setMacroMode(modeRadio.index)
                    isSelect = Qt.binding(function() { return macroSection.page.macroMode === modeRadio.index })
                }
            }
        }
    }
}
