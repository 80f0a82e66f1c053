pragma ComponentBehavior: Bound

import QtQuick
import "../theme"

// The mouse picture in the middle of the window: the body, one image per
// button slot (lit while the slot is selected or pointed at) and a numbered
// tag per button, joined to it by a thin line. A click on a tag or on the
// button itself opens the key-assignment dialog for that slot, unless the
// slot holds the last left button.
Item {
    id: mousePicture
    width: 1024
    height: 640

    property int keyCount: 8
    // The slot being edited, -1 for none.
    property int selectKey: -1
    // The slot under the pointer on the picture, -1 for none.
    property int hoverKey: -1

    signal btnClick()

    readonly property point bodyAt: Qt.point(352, 110)
    // Per slot: the tag's top-left corner, the bend of its line and the point
    // on the button it ends at (window coordinates), and the button's area on
    // the picture (body coordinates). Slot 0 left button, 1 right, 2 wheel,
    // 3 forward, 4 back, 5 DPI+, 6 DPI-, 7 fire.
    readonly property var buttons: [
        { tag: Qt.point(272, 148), bend: Qt.point(420, 160), end: Qt.point(468, 214), area: Qt.rect(84, 34, 64, 150) },
        { tag: Qt.point(704, 198), bend: Qt.point(640, 210), end: Qt.point(588, 210), area: Qt.rect(178, 34, 80, 150) },
        { tag: Qt.point(704, 148), bend: Qt.point(560, 160), end: Qt.point(515, 186), area: Qt.rect(153, 54, 20, 62) },
        { tag: Qt.point(272, 326), bend: Qt.point(340, 338), end: Qt.point(414, 338), area: Qt.rect(52, 204, 28, 48) },
        { tag: Qt.point(272, 376), bend: Qt.point(340, 388), end: Qt.point(414, 388), area: Qt.rect(52, 254, 28, 48) },
        { tag: Qt.point(704, 248), bend: Qt.point(560, 260), end: Qt.point(522, 245), area: Qt.rect(153, 124, 20, 22) },
        { tag: Qt.point(704, 298), bend: Qt.point(560, 310), end: Qt.point(522, 269), area: Qt.rect(153, 148, 20, 22) },
        { tag: Qt.point(272, 222), bend: Qt.point(340, 234), end: Qt.point(420, 234), area: Qt.rect(58, 90, 28, 68) }
    ]
    // Per slot: where its two overlay images (mouse/mouseN.svg unlit,
    // mouseNS.svg lit) sit on the body, in body coordinates: the origin of
    // the viewBox both SVGs share. Each overlay is cropped to what it draws,
    // glow included, so only that much is decoded; its size is the PNG's.
    readonly property var overlayAt: [
        Qt.point(64, 15), Qt.point(162, 15), Qt.point(140, 41), Qt.point(40, 191),
        Qt.point(40, 241), Qt.point(140, 111), Qt.point(140, 135), Qt.point(45, 77)
    ]
    readonly property var buttonImages: [
        [Theme.sourceMouse0, Theme.sourceMouse0S], [Theme.sourceMouse1, Theme.sourceMouse1S], [Theme.sourceMouse2, Theme.sourceMouse2S],
        [Theme.sourceMouse3, Theme.sourceMouse3S], [Theme.sourceMouse4, Theme.sourceMouse4S], [Theme.sourceMouse5, Theme.sourceMouse5S],
        [Theme.sourceMouse6, Theme.sourceMouse6S], [Theme.sourceMouse7, Theme.sourceMouse7S]
    ]

    // Under the mask of a dialog the pointer lights no button.
    function isLit(slot) {
        return slot === selectKey || slot === hoverKey
    }

    // A click on slot `slot`: opens the dialog unless the last left button rule blocks.
    function choose(slot) {
        selectKey = slot
        if (keyMatrixMain.modKeys.checkOneLeftKey()) {
            selectKey = -1
            return
        }
        btnClick()
        maskShown = true
        keyAssigmentMain.show(slot)
    }

    Image {
        id: body
        x: mousePicture.bodyAt.x
        y: mousePicture.bodyAt.y
        width: 320
        height: 460
        source: Theme.sourceMouseBody
        Accessible.ignored: true

        Repeater {
            model: Math.min(8, mousePicture.keyCount)
            Image {
                id: overlay
                required property int index
                objectName: "mouseOverlay" + index
                Accessible.ignored: true
                x: mousePicture.overlayAt[index].x
                y: mousePicture.overlayAt[index].y
                // Lit, the slot shows its lit image alone: the unlit one is
                // not decoded meanwhile, nor the lit one while unlit.
                source: mousePicture.buttonImages[index][mousePicture.isLit(index) ? 1 : 0]
            }
        }
        // The buttons themselves; the small ones lie above the large ones.
        Repeater {
            model: Math.min(8, mousePicture.keyCount)
            MouseArea {
                id: buttonArea
                required property int index
                readonly property rect area: mousePicture.buttons[index].area
                objectName: "mouseButton" + index
                x: area.x
                y: area.y
                width: area.width
                height: area.height
                z: area.width * area.height < 2000 ? 1 : 0
                hoverEnabled: !maskShown
                cursorShape: Qt.PointingHandCursor
                onContainsMouseChanged: {
                    if (containsMouse)
                        mousePicture.hoverKey = index
                    else if (mousePicture.hoverKey === index)
                        mousePicture.hoverKey = -1
                }
                onClicked: mousePicture.choose(index)
            }
        }
    }

    Repeater {
        model: Math.min(8, mousePicture.keyCount)
        Item {
            id: tag
            required property int index
            readonly property var geometry: mousePicture.buttons[index]
            readonly property bool lit: mousePicture.isLit(index)
            readonly property bool onLeft: geometry.tag.x < mousePicture.bodyAt.x
            readonly property color lineColor: lit ? Theme.colorRed : "#80969696"
            // Where the line leaves the tag: its inner edge, at mid-height.
            readonly property point start: Qt.point(onLeft ? geometry.tag.x + 48 : geometry.tag.x, geometry.tag.y + 12)
            anchors.fill: parent

            // The line: from the tag straight across to the bend, then on to the button.
            Rectangle {
                x: Math.min(tag.start.x, tag.geometry.bend.x)
                y: tag.start.y
                width: Math.abs(tag.geometry.bend.x - tag.start.x)
                height: 1
                color: tag.lineColor
            }
            Rectangle {
                readonly property real dx: tag.geometry.end.x - tag.geometry.bend.x
                readonly property real dy: tag.geometry.end.y - tag.start.y
                x: tag.geometry.bend.x
                y: tag.start.y
                width: Math.sqrt(dx * dx + dy * dy)
                height: 1
                antialiasing: true
                transformOrigin: Item.Left
                rotation: Math.atan2(dy, dx) * 180 / Math.PI
                color: tag.lineColor
            }
            Rectangle {
                // The end point on the button.
                x: tag.geometry.end.x - 3
                y: tag.geometry.end.y - 3
                width: 6
                height: 6
                radius: 3
                color: tag.lit ? Theme.colorRed : Theme.colorGray3
                border.color: tag.lit ? "#ffd0d0" : Theme.colorGray1
            }

            Rectangle {
                objectName: "mouseTag" + tag.index
                x: tag.geometry.tag.x
                y: tag.geometry.tag.y
                width: 48
                height: 24
                radius: 3
                color: tag.lit ? Theme.colorOrange : "#d0141414"
                border.color: tag.lit ? Theme.colorRed : Theme.colorGray1
                activeFocusOnTab: true
                Keys.onTabPressed: tagRing.moveFocus(true)
                Keys.onBacktabPressed: tagRing.moveFocus(false)
                Keys.onSpacePressed: mousePicture.choose(tag.index)
                Keys.onReturnPressed: mousePicture.choose(tag.index)
                Keys.onEnterPressed: mousePicture.choose(tag.index)
                Accessible.role: Accessible.Button
                Accessible.name: keyMatrixMain.accessibleRowName(tag.index, keyMatrixMain.slotTexts[tag.index] || "")
                Accessible.focusable: true
                Accessible.onPressAction: mousePicture.choose(tag.index)
                FocusRing {
                    id: tagRing
                }
                Text {
                    anchors.centerIn: parent
                    text: String(tag.index + 1)
                    color: Theme.fontColor
                    font.family: fontFamily
                    font.pixelSize: fontMiddleSize
                    font.bold: true
                }
                MouseArea {
                    anchors.fill: parent
                    hoverEnabled: !maskShown
                    cursorShape: Qt.PointingHandCursor
                    onContainsMouseChanged: {
                        if (containsMouse)
                            mousePicture.hoverKey = tag.index
                        else if (mousePicture.hoverKey === tag.index)
                            mousePicture.hoverKey = -1
                    }
                    onClicked: mousePicture.choose(tag.index)
                }
            }
        }
    }
}
