import QtQuick

// Where a control's keyboard focus is drawn, and how Tab leaves it. The
// window draws one red frame (FocusFrame) around the parent of the ring whose
// `focusItem` (the parent when not set) has the active focus, and nothing
// otherwise. A pointer click gives no control the focus, so the window looks
// as it always did until Tab is pressed. A ring itself draws nothing: one
// frame for the window costs far less than one per control.
//
// moveFocus(forward) passes the focus on for Tab and Shift+Tab in reading
// order; inside an open dialog it stays among that dialog's controls.
//   activeFocusOnTab: true
//   Keys.onTabPressed: ring.moveFocus(true)
//   Keys.onBacktabPressed: ring.moveFocus(false)
//   FocusRing { id: ring }
Item {
    id: ring
    readonly property bool isFocusRing: true
    // The item whose focus the frame shows; null: the parent.
    property Item focusItem: null
    // How far the frame lies outside the parent (0 inside clipping lists).
    property int outset: 2
    // Set while the focus came from a pointer press (a text field clicked
    // for typing): no frame then. The frame clears it when the focus leaves.
    property bool pointerFocus: false

    visible: false
    Accessible.ignored: true

    function target() {
        return ring.focusItem ? ring.focusItem : ring.parent
    }

    // A control that takes the focus inside a scrolled area (the key
    // dialog's sections) is scrolled into view (the frame asks, as it shows).
    function scrollIntoView() {
        for (var p = ring.parent; p; p = p.parent) {
            if (scrollIn(p.parent, p))
                return
        }
    }

    // Scrolls `flick` so that the control shows, when `content` is its
    // content item (a control may sit in any flickable); false otherwise.
    function scrollIn(flick, content) {
        if (!flick || flick.contentItem !== content || flick.height <= 0)
            return false
        var top = ring.parent.mapToItem(content, 0, 0).y
        var bottom = top + ring.parent.height
        if (top < flick.contentY)
            flick.contentY = Math.max(0, top - 8)
        else if (bottom > flick.contentY + flick.height)
            flick.contentY = Math.min(Math.max(0, flick.contentHeight - flick.height), bottom + 8 - flick.height)
        return true
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
        ring.moveFocusFrom(ring.target(), forward)
    }

    function indexIn(list, item) {
        for (var i = 0; i < list.length; ++i) {
            if (list[i] === item)
                return i
        }
        return -1
    }

    // The focusable items inside `section`, in the order of the chain.
    function stopsIn(section) {
        var stops = []
        var it = section.nextItemInFocusChain(true)
        while (it && holds(section, it) && indexIn(stops, it) < 0) {
            stops[stops.length] = it
            it = it.nextItemInFocusChain(true)
        }
        return stops
    }

    // On the main screen Tab goes through its parts in the order the screen
    // reads in (which is not the order they are stacked in): the left
    // column, the mouse picture, the right column, the bottom bar, the title
    // bar and its help menu; each part's controls in the order of the chain. An open dialog keeps the focus among its own controls (the
    // chain runs through the whole window, so going on along it comes back
    // into the dialog).
    function moveFocusFrom(from, forward) {
        var dialog = dialogOf(from)
        var next = null
        var sections = dialog ? [] : [leftPanel, mouseMain, rightPanel, bottomBar, upItem, helpMenu]
        var si = -1
        for (var i = 0; i < sections.length; ++i) {
            if (holds(sections[i], from))
                si = i
        }
        if (si >= 0) {
            var stops = stopsIn(sections[si])
            var at = indexIn(stops, from)
            var k = at + (forward ? 1 : -1)
            if (at >= 0 && k >= 0 && k < stops.length)
                next = stops[k]
            for (var step = 1; !next && step <= sections.length; ++step) {
                var other = stopsIn(sections[(si + (forward ? step : -step) + sections.length) % sections.length])
                if (other.length > 0)
                    next = forward ? other[0] : other[other.length - 1]
            }
        } else {
            next = from.nextItemInFocusChain(forward)
            for (var guard = 0; next && dialog && !holds(dialog, next) && guard < 1000; ++guard)
                next = next.nextItemInFocusChain(forward)
        }
        if (next && next !== from)
            next.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
    }
}
