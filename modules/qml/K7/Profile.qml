import QtQuick

// The profile manager dialog behind Config; its list feeds the title-bar
// profile drop-down.
DialogFrame {
    id: profile
    width: 415
    height: 288
    title: profileLang[0]

    property var profileLang: ["config", "New", "Import", "Delete", "Export", "Standard"]
    property alias profileDataModel0: profileModel

    signal changeProfile(int tmpProfileNo)

    function init() {
        profileModel.clear()
        profileModel.append({ textValue: profileLang[5], profileNo: 0 })
    }
    function profileFocus() {
    }

    onCloseClicked: {
        visible = false
        mainMask.visible = false
        upItem.profileBtn.closeMenu()
    }

    ListModel {
        id: profileModel
    }
}
