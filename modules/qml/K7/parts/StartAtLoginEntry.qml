import QtQuick
import ".."
import "../../theme"

// The help menu's "Start at login" switch (ui_Ctl.startAtLogin: an entry in
// the user's session that starts the program minimized), with the note that
// per-program profiles and DPI notices work only while the program runs.
// Texts: the language file's group "autostart" (the switch, the note).
Rectangle {
    id: entry
    width: 198
    height: note.y + note.height + 6
    color: "transparent"

    readonly property var texts: {
        // Before the pages have read the language (the window waits for the
        // mouse), the global setting tells it.
        var stored = String(ui_View.getGlobalData("common/language"))
        var t = ui_View.getLangStrings("autostart", stored !== "" ? stored : mainIten.language)
        return t.length >= 2 ? t : ["Start at login", "Per-program profiles and DPI notices need the program running."]
    }

    Rectangle {
        width: parent.width
        height: 1
        color: Theme.colorGray1
    }
    Rectangle {
        objectName: "startAtLoginSwitch"
        y: 1
        width: parent.width
        height: 24
        color: switchArea.containsMouse ? Theme.colorOrange : "transparent"
        activeFocusOnTab: true
        Keys.onTabPressed: switchRing.moveFocus(true)
        Keys.onBacktabPressed: switchRing.moveFocus(false)
        Keys.onSpacePressed: ui_Ctl.setStartAtLogin(!ui_Ctl.startAtLogin)
        Keys.onReturnPressed: ui_Ctl.setStartAtLogin(!ui_Ctl.startAtLogin)
        Keys.onEnterPressed: ui_Ctl.setStartAtLogin(!ui_Ctl.startAtLogin)
        Accessible.role: Accessible.CheckBox
        Accessible.name: entry.texts[0]
        Accessible.description: entry.texts[1]
        Accessible.checkable: true
        Accessible.checked: ui_Ctl.startAtLogin
        Accessible.focusable: true
        Accessible.onPressAction: ui_Ctl.setStartAtLogin(!ui_Ctl.startAtLogin)
        Accessible.onToggleAction: ui_Ctl.setStartAtLogin(!ui_Ctl.startAtLogin)
        FocusRing {
            id: switchRing
            outset: 0
        }
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.right: box.left
            anchors.rightMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            text: entry.texts[0]
            color: Theme.fontColor
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            elide: Text.ElideRight
        }
        Rectangle {
            id: box
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            width: 12
            height: 12
            radius: 2
            color: Theme.colorGray0
            border.color: Theme.colorGray2
            Image {
                objectName: "startAtLoginTick"
                anchors.fill: parent
                source: Theme.sourceCheckBtn
                Accessible.ignored: true
                visible: ui_Ctl.startAtLogin
            }
        }
        MouseArea {
            id: switchArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: ui_Ctl.setStartAtLogin(!ui_Ctl.startAtLogin)
        }
    }
    Text {
        id: note
        objectName: "startAtLoginNote"
        x: 10
        y: 27
        width: parent.width - 20
        text: entry.texts[1]
        wrapMode: Text.WordWrap
        color: Theme.colorGray2
        font.family: fontFamily
        font.pixelSize: fontMinSize
    }
}
