import QtQuick
import "../K7"
import "../theme"

// The title-bar menu: help (btnClicked(2)), minimise (0) and close (1), 16
// apart, each with its hover image; 16 to their left the profile drop-down,
// whose entries are the profile manager's list.
Item {
    id: menuUp
    width: icons.width
    height: 16

    property alias profileBtn: profileList

    signal btnClicked(int btnIndex)

    // Declared first: Tab reaches it before the icons, as it reads.
    DropDownList {
        id: profileList
        objectName: "profileList"
        x: -16 - width
        y: (menuUp.height - height) / 2
        width: 144
        height: 24
        // No profiles to choose while the window waits for the mouse.
        visible: !mainIten.isWaiting
        currentSelect: 0
        bgColor: Theme.colorOrange
        borderColor: Theme.colorOrange
        mdItems: profileMain.profileDataModel0
        accessibleName: accessibleLang[8]
        onBtnClick: mainIten.closeMenusExcept(profileList)
        onValueChange: function(index) {
            var entry = profileMain.profileDataModel0.get(index)
            if (entry)
                profileMain.changeProfile(entry.profileNo)
        }
    }

    Row {
        id: icons
        spacing: 16
        IconButton {
            objectName: "helpIcon"
            source: Theme.sourceAsk
            hoverSource: Theme.sourceAskH
            accessibleName: accessibleLang[2]
            onClicked: menuUp.btnClicked(2)
        }
        IconButton {
            objectName: "minIcon"
            source: Theme.sourceMinBtn
            hoverSource: Theme.sourceMinBtnH
            accessibleName: accessibleLang[1]
            onClicked: menuUp.btnClicked(0)
        }
        IconButton {
            objectName: "closeIcon"
            source: Theme.sourceCloseBtn
            hoverSource: Theme.sourceCloseBtnH
            accessibleName: accessibleLang[0]
            onClicked: menuUp.btnClicked(1)
        }
    }
}
