import QtQuick
import "../theme"

// A centred number field of at most four characters, limited to
// minValue … maxValue while typing; Enter drops the focus. Gaining focus emits
// inputSignal(); losing it turns an empty text or a value below 1 into "0",
// then emits endInputSignal().
Rectangle {
    id: rectInput
    width: 48
    height: 20
    radius: 2
    color: Theme.colorGray0
    border.color: input.activeFocus || inputArea.containsMouse ? Theme.colorOrange : Theme.colorGray1

    property int maxValue: 255
    property int minValue: 0
    property alias textValue: input.text
    property alias txtInput: input

    // What a screen reader calls the field.
    property string accessibleName: ""

    signal endInputSignal()
    signal inputSignal()

    function closeFocus() {
        input.focus = false
    }

    MouseArea {
        id: inputArea
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.IBeamCursor
        onPressed: function(mouse) {
            // Typing after a click: no focus frame (the border shows it).
            ring.pointerFocus = !input.activeFocus || ring.pointerFocus
            input.forceActiveFocus()
            mouse.accepted = false
        }
    }

    TextInput {
        id: input
        anchors.fill: parent
        anchors.leftMargin: 2
        anchors.rightMargin: 2
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        text: "0"
        maximumLength: 4
        color: Theme.fontColor
        selectionColor: Theme.colorOrange
        selectByMouse: true
        clip: true
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        // Digits only, and nothing above maxValue: a keystroke or a paste
        // that would leave them is taken back. (A check here rather than a
        // validator: Qt's regular expression validator brings its whole
        // expression engine into memory for one character class.)
        property string lastText: text
        onTextEdited: {
            if (!/^[0-9]*$/.test(text) || (text !== "" && parseInt(text) > rectInput.maxValue)) {
                var cursor = cursorPosition - (text.length - lastText.length)
                text = lastText
                cursorPosition = Math.max(0, Math.min(text.length, cursor))
            }
            lastText = text
        }
        onTextChanged: if (!activeFocus) lastText = text
        Keys.onReturnPressed: focus = false
        Keys.onEnterPressed: focus = false
        activeFocusOnTab: true
        Keys.onTabPressed: ring.moveFocus(true)
        Keys.onBacktabPressed: ring.moveFocus(false)
        Accessible.role: Accessible.EditableText
        Accessible.name: rectInput.accessibleName
        Accessible.focusable: true
        onActiveFocusChanged: {
            if (activeFocus) {
                rectInput.inputSignal()
                return
            }
            if (text === "" || !(parseInt(text) >= 1))
                text = "0"
            rectInput.endInputSignal()
        }
    }
    FocusRing {
        id: ring
        focusItem: input
    }
}
