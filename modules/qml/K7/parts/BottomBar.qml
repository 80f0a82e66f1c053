import QtQuick
import ".."
import "../../theme"

// The buttons under the main screen: Config (the profile manager), Reset and
// Save, whose face shows that something is unsaved.
Row {
    id: bottomBar
    spacing: 16
    property string configText: ""
    property string resetText: ""
    property string saveText: ""
    property bool unsaved: false
    signal configClicked()
    signal resetClicked()
    signal saveClicked()

    TextButton {
        objectName: "configButton"
        text: bottomBar.configText
        onClicked: bottomBar.configClicked()
    }
    TextButton {
        objectName: "resetButton"
        text: bottomBar.resetText
        onClicked: bottomBar.resetClicked()
    }
    TextButton {
        objectName: "saveButton"
        text: bottomBar.saveText
        faceColor: bottomBar.unsaved ? Theme.colorUnsaved : Theme.colorBlue
        onClicked: bottomBar.saveClicked()
    }
}
