import QtQuick

// While a key is captured (a macro is recorded, the key dialog waits for a
// fire key or a combination) keys reach the capture through the input hooks
// alone: the keyboard focus waits here and takes every key, so that Tab,
// Space or Escape move or press nothing meanwhile. When the capture ends the
// focus goes back where it was.
//
// admits(isDown, code) filters what the hooks report: a capture started from
// the keyboard (Space or Enter on its button) does not take the release of
// the key that started it, which was down before the capture began.
Item {
    id: sink
    width: 1
    height: 1

    property bool capturing: false
    property Item before: null
    // Keys down now, as the hooks report them; and those that were down when
    // the capture began.
    property var held: ({})
    property var heldAtStart: ({})

    Accessible.ignored: true
    Keys.onPressed: function(event) { event.accepted = true }
    Keys.onReleased: function(event) { event.accepted = true }

    onCapturingChanged: {
        if (capturing) {
            var down = {}
            for (var code in held)
                down[code] = true
            heldAtStart = down
            before = Window.activeFocusItem
            sink.forceActiveFocus()
        } else {
            heldAtStart = {}
            var back = before
            before = null
            if (sink.activeFocus && back && back.visible)
                back.forceActiveFocus(Qt.OtherFocusReason)
        }
    }

    function admits(isDown, usbCode) {
        var code = String(parseInt(usbCode) & 0xFF)
        if (isDown) {
            held[code] = true
            return true
        }
        delete held[code]
        if (heldAtStart[code] === true) {
            delete heldAtStart[code]
            return false
        }
        return true
    }
}
