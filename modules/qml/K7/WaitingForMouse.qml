import QtQuick
import "../theme"

// What the window shows in place of the pages while no mouse is connected
// and no tray holds the program: the mouse's picture, dimmed, and a panel
// that says the window waits for it. Its texts are the language file's group
// "waiting", read when it is first shown (the pages may not have read the
// language yet).
Item {
    id: waiting
    width: 1024
    height: 640

    property var waitingLang: ["Waiting for the mouse", "Connect the KORVEX STRYDE mouse to a USB port.",
        "The settings appear as soon as the mouse answers."]
    property bool textsRead: false

    function readTexts() {
        if (textsRead)
            return
        textsRead = true
        var lang = String(ui_View.getGlobalData("common/language"))
        var texts = ui_View.getLangStrings("waiting", lang !== "" ? lang : mainIten.language)
        if (texts.length >= waitingLang.length)
            waitingLang = texts
    }

    onVisibleChanged: if (visible) readTexts()
    Component.onCompleted: if (visible) readTexts()

    Image {

        Accessible.ignored: true
        x: 352
        y: 110
        width: 320
        height: 460
        source: waiting.visible ? Theme.sourceMouseBody : ""
        opacity: 0.28
    }

    Rectangle {
        id: panel
        objectName: "waitingPanel"
        anchors.horizontalCenter: parent.horizontalCenter
        y: 268
        width: 420
        height: 104
        radius: 4
        color: "#e0141414"
        border.color: Theme.colorGray1
        Accessible.role: Accessible.StaticText
        Accessible.name: waiting.waitingLang[0]
        Accessible.description: waiting.waitingLang[1] + " " + waiting.waitingLang[2]

        Rectangle {
            // The accent mark in front of the title, as on every panel.
            x: 0
            y: 13
            width: 2
            height: 14
            color: Theme.colorOrange
        }
        Rectangle {
            id: pulse
            x: 14
            y: 14
            width: 12
            height: 12
            radius: 6
            color: Theme.colorOrange
            SequentialAnimation on opacity {
                running: waiting.visible
                loops: Animation.Infinite
                NumberAnimation { from: 1.0; to: 0.2; duration: 600 }
                NumberAnimation { from: 0.2; to: 1.0; duration: 600 }
            }
        }
        Text {
            objectName: "waitingTitle"
            anchors.left: pulse.right
            anchors.leftMargin: 10
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.verticalCenter: pulse.verticalCenter
            text: waiting.waitingLang[0]
            color: Theme.fontColor
            font.family: fontFamily
            font.pixelSize: fontMaxSize
            font.bold: true
            elide: Text.ElideRight
        }
        Rectangle {
            x: 10
            y: 40
            width: parent.width - 20
            height: 1
            color: Theme.colorGray1
        }
        Column {
            x: 14
            y: 50
            width: parent.width - 28
            spacing: 6
            Repeater {
                model: [waiting.waitingLang[1], waiting.waitingLang[2]]
                Text {
                    required property string modelData
                    width: parent.width
                    text: modelData
                    color: Theme.colorGray3
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    elide: Text.ElideRight
                }
            }
        }
    }
}
