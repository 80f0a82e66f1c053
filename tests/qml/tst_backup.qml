import QtQuick
import "../../modules/qml/theme"

// Saving against a mouse that keeps a backup and reads its profile blocks
// back: a block that does not take leaves the page unsaved, a Save with
// nothing to save sends nothing, and a restored mouse makes the pages read
// their values again.
StrydeTestCase {
    id: test
    name: "Backup"

    function cleanup() {
        stopMain()
    }

    // The first three bytes of every write frame since `mark`.
    function writeStarts(mark) {
        var text = String(rig.writes(mark))
        return text === "" ? [] : text.split(",").map(function(f) { return f.substr(0, 8) })
    }

    function moveFirstKnob() {
        var knob = findChild(item("dpiSlider0"), "knob")
        dragBy(knob, 6, 6, 0, -400)
        verify(item("dpiSettingMain").isSave)
    }

    function test_a_block_that_does_not_take_leaves_save_red() {
        startMain({ family: 560, isGun: false })
        verify(rig.setMouseOption("corruptBlock", "1"))
        moveFirstKnob()
        var mark = rig.traceMark()
        click(item("saveButton"))
        compare(writeStarts(mark), ["0c 01 80", "0c 01 80"],
                "written once more after the read-back differed")
        verify(item("dpiSettingMain").isSave, "the page is not saved")
        compare(item("saveButton").faceColor, Theme.colorUnsaved)
        verify(ui_View.enabled, "unlocked again")
        // The values are stored: the next Save sends them again, and this time they take.
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/dpiValueArray")[0], "6000")
        verify(rig.setMouseOption("corruptBlock", "-1"))
        mark = rig.traceMark()
        click(item("saveButton"))
        compare(writeStarts(mark), ["0c 01 80"])
        verify(!root.hasUnsaved)
        compare(item("saveButton").faceColor, Theme.colorBlue)
    }

    function test_save_with_nothing_to_save_sends_nothing_data() {
        return [ { tag: "553", family: 553 }, { tag: "560", family: 560 } ]
    }
    function test_save_with_nothing_to_save_sends_nothing(data) {
        startMain({ family: data.family })
        var mark = rig.traceMark()
        click(item("saveButton"))
        compare(rig.commands(mark), [], "no backup reads, no writes")
        verify(!rig.fileExists("modules/backup"), "no backup is made without a write")
        moveFirstKnob()
        click(item("saveButton"))
        verify(rig.fileExists("modules/backup"), "the first write made the backup")
    }

    function test_reload_pages_drops_unsaved_edits() {
        startMain({ family: 553 })
        moveFirstKnob()
        compare(item("dpiLabel0").text, "6000")
        var mark = rig.traceMark()
        root.reloadPages()
        verify(!root.hasUnsaved)
        compare(item("dpiLabel0").text, "500", "the stored value again")
        compare(rig.writes(mark), [], "nothing is sent")
    }
}
