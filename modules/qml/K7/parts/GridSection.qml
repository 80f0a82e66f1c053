import QtQuick
import ".."

// A grid section: title at the left, the drop-down grid at the right.
Item {
    id: gridSection
    // The key-assignment page: its working copy and its drop-downs.
    required property var page
    property string text: ""
    property alias grid: sectionGrid
    property alias gridName: sectionGrid.objectName
    property alias model: sectionGrid.mdItems
    property var options: []
    width: 368
    height: 26
    KeySectionTitle {
        text: gridSection.text
    }
    DropDownGrid {
        id: sectionGrid
        x: 368 - 120
        y: 1
        width: 120
        horizontalOffset: -(368 - 120)
        accessibleName: gridSection.text
        currentSelect: gridSection.page.optionIndex(gridSection.options)
        onIsDropChanged: {
            if (isDrop)
                gridSection.page.ensureVisible(sectionGrid, rows * 24 + 2)
        }
        onBtnClick: {
            gridSection.page.closeMenusExcept(sectionGrid)
            var i = currentSelect
            if (i >= 0 && i < gridSection.options.length && i !== gridSection.page.optionIndex(gridSection.options))
                gridSection.page.chooseOption(gridSection.options[i])
            currentSelect = Qt.binding(function() { return gridSection.page.optionIndex(gridSection.options) })
        }
    }
}
