import QtQuick

// Lighting panel (right column, under the DPI panel). Placeholder: the frame,
// the effect drop-down the main window closes, and init / saveData.
PanelFrame {
    id: lightControl
    width: 232
    height: 264
    title: lightControlLang[0]
    icon: sourceLightIcon

    property var lightControlLang: ["Light"]
    property bool isSave: false
    property alias lightModel: effectList

    function init(isSendData, isRecovery) {
    }
    function saveData(isSendData, isStep) {
    }
    function lightControlFocus() {
        lightModel.closeMenu()
    }

    DropDownList {
        id: effectList
        visible: false
        currentSelect: 0
        mdItems: ListModel {}
    }
}
