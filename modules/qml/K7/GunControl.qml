import QtQuick

// The recoil-preset dialog (opened from the hidden "Gun Editor" entry).
// Placeholder: the frame, the preset list with its built-in entries and what
// the main window calls (init, resetData, gunControlFocus).
DialogFrame {
    id: gunControl
    width: 640
    height: 448
    title: gunControlLang[0]

    property var gunControlLang: ["Gun editor"]
    property alias gunNumberModel: gunModel
    property alias gunNumber_lv: gunListView

    function init() {
    }
    function resetData() {
    }
    function gunControlFocus() {
    }

    onCloseClicked: {
        visible = false
        mainMask.visible = false
    }

    ListModel {
        id: gunModel
        ListElement { gunName: "M416"; gunImage: "qrc:/gun/modules/img/skin1/gun/M416.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "AKM"; gunImage: "qrc:/gun/modules/img/skin1/gun/AKM.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "M16A4"; gunImage: "qrc:/gun/modules/img/skin1/gun/M16A4.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "SCAR-L"; gunImage: "qrc:/gun/modules/img/skin1/gun/SCAR-L.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "UNP9"; gunImage: "qrc:/gun/modules/img/skin1/gun/UNP9.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "Thomson"; gunImage: "qrc:/gun/modules/img/skin1/gun/Thomson.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
    }
    ListView {
        id: gunListView
        visible: false
        currentIndex: 0
        model: gunModel
        delegate: Item {}
    }
}
