import QtQuick
import "../theme"

// The frame every dialog uses: a title bar with the title, a close icon and an
// optional reset icon; dragging the dialog's background moves it, clamped so
// that it stays inside the window.
//   DialogFrame {
//       id: myDialog; width: 416; height: 312
//       title: myLang[0]; showReset: true
//       onCloseClicked: { visible = false; maskShown = false }
//       onResetClicked: init(true, true)
//       onBackgroundPressed: endEdits()        // a press anywhere on the background
//       ... content, placed in dialog coordinates (the title bar is the top titleHeight pixels)
//   }
// showCentered() centres it in the window and shows it.
Rectangle {
    id: dialog
    width: 416
    height: 312
    radius: 6
    color: Theme.colorGray0
    border.color: Theme.colorGray1
    visible: false

    property string title: ""
    property int titleHeight: 40
    property bool showClose: true
    property bool showReset: false
    // The close icon acts on the press instead of the click.
    property bool closeOnPress: false
    property alias titleBar: titleBar

    signal closeClicked()
    signal resetClicked()
    signal backgroundPressed()

    // Found by the focus ring: Tab stays among the controls inside it.
    readonly property bool isDialogFrame: true
    // The names of the title bar's icons for a screen reader.
    property string closeName: accessibleLang[0]
    property string resetName: accessibleLang[3]
    // Where the keyboard focus was when the dialog opened: it goes back there.
    property Item opener: null

    // Announced by its title. It takes the focus when it opens (Tab then
    // goes to its first control), and Escape closes it as its close icon does.
    Accessible.role: Accessible.Dialog
    Accessible.name: dialog.title
    Keys.onTabPressed: ring.moveFocusFrom(dialog, true)
    Keys.onBacktabPressed: ring.moveFocusFrom(dialog, false)
    Keys.onEscapePressed: dialog.closeClicked()

    // The item the dialog opens over (where it is declared). A closed dialog
    // leaves the scene: the window would otherwise build and keep the
    // drawing of every hidden item in it. Opening puts it back, above the
    // items and the dialogs already there; closing hands what its drawing
    // held back to the system.
    property Item home: null
    // The size of the area the dialog opens over (the window's before it is known).
    readonly property real homeWidth: home ? home.width : 1024
    readonly property real homeHeight: home ? home.height : 640
    Component.onCompleted: {
        home = parent
        if (!visible)
            parent = null
    }
    onVisibleChanged: {
        if (visible) {
            if (home && parent !== home)
                parent = home
            takeFocus()
        } else if (!home || home.visible) {
            giveFocusBack()
            // Closed itself, rather than hidden along with the window.
            if (home)
                parent = null
            ui_View.releaseMemory()
        }
    }

    function takeFocus() {
        var current = dialog.Window.activeFocusItem
        dialog.opener = current && !ring.holds(dialog, current) ? current : null
        dialog.forceActiveFocus()
    }

    function giveFocusBack() {
        var back = dialog.opener
        dialog.opener = null
        if (back && back.visible && back.enabled)
            back.forceActiveFocus(Qt.OtherFocusReason)
    }

    function showCentered() {
        var p = dialog.home
        if (p) {
            x = Math.round((p.width - width) / 2)
            y = Math.round((p.height - height) / 2)
        }
        visible = true
    }

    function clampedX(v) {
        return Math.max(0, Math.min(dialog.homeWidth - width, v))
    }
    function clampedY(v) {
        return Math.max(0, Math.min(dialog.homeHeight - height, v))
    }

    // Takes every press that reaches the background: drags the dialog and
    // keeps the press from falling through to the window below.
    MouseArea {
        id: dragArea
        anchors.fill: parent
        property point pressAt
        onPressed: function(mouse) {
            pressAt = Qt.point(mouse.x, mouse.y)
            dialog.backgroundPressed()
        }
        onPositionChanged: function(mouse) {
            dialog.x = dialog.clampedX(dialog.x + mouse.x - pressAt.x)
            dialog.y = dialog.clampedY(dialog.y + mouse.y - pressAt.y)
        }
        onWheel: function(wheel) { wheel.accepted = true }
    }

    Rectangle {
        id: titleBar
        width: parent.width
        height: dialog.titleHeight
        radius: dialog.radius
        color: Theme.colorGray1
        Rectangle {
            // Square lower corners under the rounded upper ones.
            anchors.bottom: parent.bottom
            width: parent.width
            height: dialog.radius
            color: parent.color
        }
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Theme.colorOrange
        }
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 16
            anchors.right: resetIcon.visible ? resetIcon.left : closeIcon.left
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            text: dialog.title
            color: Theme.fontColor
            font.family: fontFamily
            font.pixelSize: fontMiddleSize
            font.bold: true
            elide: Text.ElideRight
        }
        IconButton {
            id: resetIcon
            anchors.right: closeIcon.visible ? closeIcon.left : parent.right
            anchors.rightMargin: 16
            anchors.verticalCenter: parent.verticalCenter
            visible: dialog.showReset
            source: Theme.sourceResetBtn
            hoverSource: Theme.sourceResetBtnH
            accessibleName: dialog.resetName
            onClicked: dialog.resetClicked()
        }
        IconButton {
            id: closeIcon
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.verticalCenter: parent.verticalCenter
            visible: dialog.showClose
            source: Theme.sourceCloseBtn
            hoverSource: Theme.sourceCloseBtnH
            actOnPress: dialog.closeOnPress
            accessibleName: dialog.closeName
            onClicked: dialog.closeClicked()
        }
    }
    // Draws nothing: it lends the dialog its way of moving the focus.
    FocusRing {
        id: ring
        visible: false
    }
}
