import QtQuick

// DPI panel (top of the right column).
PanelFrame {
    id: dpiSetting
    width: 232
    height: 256
    title: dpiSettingLang[0]
    icon: sourceDpiIcon

    property var dpiSettingLang: ["DPI"]
    property int currentDPI: 0
    property bool isSave: false
    property alias dpiSegment: segmentList

    function init(isSendData, isRecovery) {
    }
    function saveData(isSendData) {
    }

    DropDownList {
        id: segmentList
        visible: false
        mdItems: ListModel {}
    }
}
