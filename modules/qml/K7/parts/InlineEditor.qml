import QtQuick
import "../../theme"

// A text field laid over one row of a list (rows 27 high), for editing that
// row in place: shown while `row` is not -1. Return or Enter emit accepted(),
// Escape emits cancelled(); the page decides what either does.
//   InlineEditor { id: nameEditor; list: listView; row: page.renameIndex; inputName: "nameEditor"
//                  onAccepted: page.endRename(); onCancelled: page.renameIndex = -1 }
Rectangle {
    id: inlineEditor
    // The list the row belongs to (its scroll position places the field).
    property Flickable list: null
    property int row: -1
    // The objectName of the text field, for tests.
    property string inputName: ""
    property alias text: input.text
    property alias maximumLength: input.maximumLength
    property alias input: input
    property int leftMargin: 6
    property int rightMargin: 6

    // What a screen reader calls the field.
    property string accessibleName: ""
    // The control that had the keyboard focus when the edit began (a list
    // reached with Tab): it gets it back when the edit ends.
    property Item returnFocus: null

    signal accepted()
    signal cancelled()

    visible: row >= 0
    y: 1 + row * 27 - (list ? list.contentY : 0) + 2
    height: 23
    color: Theme.colorGray0
    border.color: Theme.colorOrange

    // Starts an edit: the field holds `value`, all of it selected, and the keyboard.
    function begin(value) {
        input.text = value
        input.selectAll()
        var current = inlineEditor.Window.activeFocusItem
        returnFocus = current && current.activeFocusOnTab ? current : null
        input.forceActiveFocus()
    }
    // Ends an edit: the field lets the keyboard go.
    function finish() {
        input.focus = false
        giveFocusBack()
    }
    function giveFocusBack() {
        var back = returnFocus
        returnFocus = null
        if (back && back.visible)
            back.forceActiveFocus(Qt.OtherFocusReason)
    }

    TextInput {
        id: input
        objectName: inlineEditor.inputName
        anchors.fill: parent
        anchors.leftMargin: inlineEditor.leftMargin
        anchors.rightMargin: inlineEditor.rightMargin
        verticalAlignment: TextInput.AlignVCenter
        clip: true
        color: Theme.fontColor
        selectionColor: Theme.colorOrange
        selectByMouse: true
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        Keys.onReturnPressed: inlineEditor.accepted()
        Keys.onEnterPressed: inlineEditor.accepted()
        Keys.onEscapePressed: {
            inlineEditor.cancelled()
            focus = false
            inlineEditor.giveFocusBack()
        }
        Accessible.role: Accessible.EditableText
        Accessible.name: inlineEditor.accessibleName
    }
}
