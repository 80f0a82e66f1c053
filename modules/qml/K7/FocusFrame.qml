import QtQuick
import "../theme"

// The window's one keyboard-focus frame: a red frame in the skin's style
// around the control that has the keyboard focus, drawn where that control's
// FocusRing says (around the ring's parent, `outset` outside it). It is
// shown only while the focus came from the keyboard.
Rectangle {
    id: frame
    objectName: "focusFrame"
    // The ring of the control that has the focus, or null.
    property FocusRing ring: null
    readonly property Item focused: Window.activeFocusItem
    // Where the frame stays while no control shows it (the window's root).
    property Item home: null

    onFocusedChanged: {
        var found = ringOf(focused)
        if (ring && ring !== found)
            ring.pointerFocus = false
        ring = found
    }

    // The ring drawn for `item`: one among the children of the item or of
    // its nearest parents whose target is the item.
    function ringOf(item) {
        for (var p = item, level = 0; p && level < 3; p = p.parent, ++level) {
            for (var i = 0; i < p.children.length; ++i) {
                var c = p.children[i]
                if (c.isFocusRing === true && c.target() === item)
                    return c
            }
        }
        return null
    }

    // Moved into the control's parent while shown, so that it moves and
    // clips with the control; the window keeps it otherwise.
    parent: ring ? ring.parent : home
    anchors.fill: parent
    anchors.margins: ring ? -ring.outset : 0
    radius: 3
    color: "transparent"
    border.width: 2
    border.color: Theme.colorRed
    visible: ring !== null && !ring.pointerFocus
    z: 100
    Accessible.ignored: true

    // A control that takes the focus inside a scrolled area (the key
    // dialog's sections) is scrolled into view.
    onVisibleChanged: if (visible) ring.scrollIntoView()
    onRingChanged: if (visible) ring.scrollIntoView()
}
