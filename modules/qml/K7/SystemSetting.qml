import QtQuick

// System settings dialog: pointer speed, double-click speed, wheel lines.
DialogFrame {
    id: systemSetting
    width: 416
    height: 312
    title: systemSettingLang[0]
    showReset: true

    property var systemSettingLang: ["System Setting"]

    function init(isSendData, isRecovery) {
    }
    function saveData(isSendData, isStep) {
    }
    function systemSettingFocus() {
    }

    onCloseClicked: {
        visible = false
        mainMask.visible = false
    }
}
