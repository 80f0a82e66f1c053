import QtQuick
import QtTest

// The shared controls, created inside the real interface and driven with the
// real mouse and keyboard.
StrydeTestCase {
    id: test
    name: "SharedControls"

    function initTestCase() {
        startMain()
    }

    function cleanupTestCase() {
        stopMain()
    }

    function spy(target, signalName) {
        return createTemporaryObject(spyComponent, test, { target: target, signalName: signalName })
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    function test_slider_reports_the_knob_position() {
        var slider = control("SliderButton { x: 100; y: 300; width: 104 }")
        var changes = spy(slider, "valueChange")
        var delayed = spy(slider, "valueChangeDelay")
        var drags = spy(slider, "dragSignal")
        var knob = findChild(slider, "knob")

        slider.setValue(40)
        dragBy(knob, 6, 6, -300, 0)
        compare(slider.value, 3)
        compare(changes.signalArguments[changes.count - 1][0], 3)
        compare(delayed.count, 1)
        compare(delayed.signalArguments[0][0], 3)
        compare(drags.count, 2)
        compare(drags.signalArguments[0][0], true)
        compare(drags.signalArguments[1][0], false)

        dragBy(knob, 6, 6, 300, 0)
        compare(slider.value, 89)
        compare(changes.signalArguments[changes.count - 1][0], 89)

        changes.clear()
        slider.setRatioValue(0)
        compare(slider.value, 4)
        compare(changes.signalArguments[0][0], 4)
        slider.setValue(50)
        compare(slider.value, 50)
        compare(changes.count, 1, "setValue sends nothing")

        // A click on the track moves the knob there (knob centre under the pointer).
        changes.clear()
        mouseClick(slider, 40, 6)
        tryCompare(slider, "value", 34)
        compare(changes.signalArguments[0][0], 34)
        compare(delayed.signalArguments[delayed.count - 1][0], 34)
        slider.destroy()
    }

    function test_five_step_slider_snaps() {
        var slider = control("SliderButton { x: 100; y: 300; width: 96; segment: 4; isScale: true }")
        var delayed = spy(slider, "valueChangeDelay")
        // Steps at 3, 22.5, 42, 61.5, 81.
        slider.setIndexValue(2, false)
        compare(slider.value, 42)
        compare(slider.segmentValue, 2)
        compare(delayed.count, 0)

        // A click snaps to the first step at or right of it.
        mouseClick(slider, 6 + 30, 6)
        tryCompare(slider, "value", 42)
        compare(slider.segmentValue, 2)
        mouseClick(slider, 90, 6)
        tryCompare(slider, "value", 81)
        compare(slider.segmentValue, 4)
        mouseClick(slider, 0, 6)
        tryCompare(slider, "value", 3)
        compare(slider.segmentValue, 0)

        // A drag does not report until the release, which snaps.
        var changes = spy(slider, "valueChange")
        dragBy(findChild(slider, "knob"), 6, 6, 17, 0)
        compare(slider.value, 22.5)
        compare(slider.segmentValue, 1)
        compare(changes.count, 1)
        compare(delayed.signalArguments[delayed.count - 1][0], 22)
        slider.destroy()
    }

    function test_check_box_reports_before_it_toggles() {
        var box = control("CheckBox { x: 100; y: 300; textValue: \"Enable\"; index: 7\n"
                          + "property var seen: []\n"
                          + "onBtnClick: function(index) { seen.push([index, isSelect]) } }")
        click(box)
        compare(box.seen, [[7, false]])
        verify(box.isSelect)
        click(box)
        compare(box.seen[1], [7, true])
        verify(!box.isSelect)
        box.destroy()
    }

    function test_radio_button_selects_itself() {
        var radio = control("RadioButton { x: 100; y: 300; textValue: \"Rows\"; index: 3 }")
        var clicks = spy(radio, "btnClick")
        click(radio)
        verify(radio.isSelect)
        compare(clicks.signalArguments[0][0], 3)
        click(radio)
        verify(radio.isSelect, "a second click keeps it selected")
        radio.destroy()
    }

    function test_rect_input_range_and_empty_field() {
        var field = control("RectInput { x: 100; y: 300; maxValue: 255 }")
        var began = spy(field, "inputSignal")
        var ended = spy(field, "endInputSignal")
        click(field)
        verify(field.txtInput.activeFocus)
        compare(began.count, 1)
        field.txtInput.selectAll()
        keyClick(Qt.Key_3)
        keyClick(Qt.Key_0)
        keyClick(Qt.Key_0)
        compare(field.textValue, "30", "300 is beyond the range")
        keyClick(Qt.Key_Return)
        verify(!field.txtInput.activeFocus)
        compare(ended.count, 1)
        compare(field.textValue, "30")

        click(field)
        field.txtInput.selectAll()
        keyClick(Qt.Key_Backspace)
        compare(field.textValue, "")
        field.closeFocus()
        compare(field.textValue, "0")
        compare(ended.count, 2)
        field.destroy()
    }

    function test_drop_down_list_reports_after_closing() {
        var list = control("DropDownList { x: 100; y: 200; width: 64; currentSelect: 0\n"
                           + "mdItems: ListModel { ListElement { textValue: \"1\" } ListElement { textValue: \"2\" }"
                           + " ListElement { textValue: \"3\" } } }")
        var changes = spy(list, "valueChange")
        var clicks = spy(list, "btnClick")
        compare(list.textValue, "1")
        click(list)
        compare(clicks.count, 1)
        verify(list.isDrop)
        var area = findChild(list, "dropArea")
        waitDropArea(list, 72)
        // Row 3, away from its rightmost 15 pixels.
        mouseClick(list, 20, 24 + 2 * 24 + 12)
        verify(!list.isDrop)
        compare(list.currentSelect, 2)
        compare(changes.count, 0, "reported only when the list has closed")
        tryCompare(changes, "count", 1)
        compare(changes.signalArguments[0][0], 2)
        compare(list.textValue, "3")

        // closeMenu closes an open list and leaves a closed one closed.
        list.closeMenu()
        verify(!list.isDrop)
        click(list)
        verify(list.isDrop)
        list.closeMenu()
        verify(!list.isDrop)
        tryCompare(area, "height", 0)
        compare(changes.count, 1)
        list.destroy()
    }

    function test_drop_down_grid_takes_entries_with_text() {
        var grid = control("DropDownGrid { x: 100; y: 200; width: 80\n"
                           + "mdItems: ListModel { ListElement { textValue: \"Play\" } ListElement { textValue: \"Next\" }"
                           + " ListElement { textValue: \"\" } } }")
        var clicks = spy(grid, "btnClick")
        var area = findChild(grid, "dropArea")
        click(grid)
        waitDropArea(grid, 26)
        // The empty third cell is not taken, but the click closes the grid.
        mouseClick(grid, 80 * 2 + 20, 24 + 12)
        verify(!grid.isDrop)
        compare(grid.currentSelect, 0)
        compare(clicks.count, 2)
        tryCompare(area, "height", 0)
        click(grid)
        waitDropArea(grid, 26)
        mouseClick(grid, 80 + 20, 24 + 12)
        compare(grid.currentSelect, 1)
        compare(grid.textValue, "Next")
        compare(clicks.count, 4)
        grid.destroy()
    }

    function test_dialog_frame_drags_and_clamps() {
        var dialog = control("DialogFrame { width: 300; height: 200; title: \"Test\"; showReset: true }")
        dialog.showCentered()
        compare(dialog.x, 362)
        compare(dialog.y, 220)
        dragBy(dialog, 100, 100, 50, -30)
        compare(dialog.x, 412)
        compare(dialog.y, 190)
        dragBy(dialog, 100, 100, 900, 900)
        compare(dialog.x, 1024 - 300)
        compare(dialog.y, 640 - 200)
        dialog.destroy()
    }
}
