pragma ComponentBehavior: Bound

import QtQuick

// A key-assignment section of fixed options: the title, then one radio
// button per option, three to a row.
Item {
    id: optionSection
    // The key-assignment page (see OptionRadio).
    required property var page
    property string text: ""
    property var options: []
    // The radio buttons' objectNames: this, then the option's index.
    property string optionName: ""
    width: 368
    KeySectionTitle {
        text: optionSection.text
    }
    Item {
        x: 12
        y: 36
        Repeater {
            model: optionSection.options
            Item {
                id: cell
                required property var modelData
                required property int index
                x: index % 3 * 118
                y: Math.floor(index / 3) * 30
                width: 118
                height: 14
                OptionRadio {
                    page: optionSection.page
                    objectName: optionSection.optionName + cell.index
                    option: cell.modelData
                    anchors.verticalCenter: parent.verticalCenter
                }
            }
        }
    }
}
