import QtQuick

// The keyboard focus in the skin's style: a red frame around its parent while
// `focusItem` (the parent by default) has the active focus, and nothing
// otherwise. A pointer click gives no control the focus, so the window looks
// as it always did until Tab is pressed.
//
// moveFocus(forward) passes the focus on for Tab and Shift+Tab in reading
// order; inside an open dialog it stays among that dialog's controls.
//   activeFocusOnTab: true
//   Keys.onTabPressed: ring.moveFocus(true)
//   Keys.onBacktabPressed: ring.moveFocus(false)
//   FocusRing { id: ring }
Rectangle {
    id: ring
    property Item focusItem: parent
    // How far the frame lies outside its parent (0 inside clipping lists).
    property int outset: 2
    // Set while the focus came from a pointer press (a text field clicked
    // for typing): no frame then.
    property bool pointerFocus: false

    anchors.fill: parent
    anchors.margins: -outset
    radius: 3
    color: "transparent"
    border.width: 2
    border.color: "#ff3030"
    visible: focusItem !== null && focusItem.activeFocus && !pointerFocus
    z: 100
    Accessible.ignored: true

    Connections {
        target: ring.focusItem
        function onActiveFocusChanged() {
            if (!ring.focusItem.activeFocus)
                ring.pointerFocus = false
        }
    }

    // The dialog frame that holds `item`, or null on the main screen.
    function dialogOf(item) {
        for (var p = item; p; p = p.parent) {
            if (p.isDialogFrame === true)
                return p
        }
        return null
    }

    function holds(outer, item) {
        for (var p = item; p; p = p.parent) {
            if (p === outer)
                return true
        }
        return false
    }

    function moveFocus(forward) {
        ring.moveFocusFrom(ring.focusItem, forward)
    }

    // The next control of the chain from `from`; an open dialog keeps the
    // focus among its own controls (the chain runs through the whole window,
    // so going on along it comes back into the dialog).
    function moveFocusFrom(from, forward) {
        var dialog = dialogOf(from)
        var next = from.nextItemInFocusChain(forward)
        for (var guard = 0; next && dialog && !holds(dialog, next) && guard < 1000; ++guard)
            next = next.nextItemInFocusChain(forward)
        if (next && next !== from)
            next.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
    }
}
