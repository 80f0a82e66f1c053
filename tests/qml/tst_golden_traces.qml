import QtQuick

// What a Save of every page, a profile switch and a Reset send to the mouse,
// frame by frame, compared with the traces kept in tests/data/golden_*.trace.
// The interface may be reorganised freely; these bytes, their order and their
// pacing may not change. After a deliberate change of what reaches the mouse,
// write the files again from the new behaviour and review their diff:
//   STRYDE_UPDATE_GOLDEN=1 build/tests/qml_tst_qml -input tests/qml/tst_golden_traces.qml
StrydeTestCase {
    id: test
    name: "GoldenTraces"

    function cleanup() {
        stopMain()
    }

    // The trace lines since `mark`, their times counted from the first of them.
    function traceSince(mark) {
        var lines = rig.traceLines(mark)
        if (lines.length === 0)
            return []
        var start = parseInt(lines[0])
        return lines.map(function(line) {
            return (parseInt(line) - start) + line.substring(line.indexOf(" "))
        })
    }

    function chooseIn(list, index) {
        click(list)
        waitDropArea(list, list.count * 24)
        mouseClick(list, 30, 24 + index * 24 + 12)
        waitDropArea(list, 0)
        compare(list.currentSelect, index)
    }

    function test_save_switch_and_reset_data() {
        return [
            { tag: "553 with recoil presets", family: 553, isGun: true },
            { tag: "553 without recoil presets", family: 553, isGun: false },
            { tag: "560 with recoil presets", family: 560, isGun: true },
            { tag: "560 without recoil presets", family: 560, isGun: false }
        ]
    }
    function test_save_switch_and_reset(data) {
        startMain({ family: data.family, isGun: data.isGun, isColorful: true, language: "English",
                    files: { "modules/setting/name.bin": { "profile/profileName": ["Standard0", "Game1"] },
                             "modules/setting/p2.bin": { "mouse/dpiValueArray": [800, 1600, 2400, 3200,
                                                                                  4000, 4800, 5600, 6000],
                                                         "mouse/reportRate": 89 } } })
        var trace = []

        // Every page of the main screen changed, then Save.
        dragBy(findChild(item("dpiSlider0"), "knob"), 6, 6, 0, -400)
        chooseIn(item("lightEffect"), 1)
        click(item("lodEnable"))
        item("keyMatrixMain").isSave = true
        verify(item("dpiSettingMain").isSave && item("lightControlMain").isSave && item("lodMain").isSave)
        var mark = rig.traceMark()
        click(item("saveButton"))
        verify(!root.hasUnsaved)
        trace.push("# save")
        trace = trace.concat(traceSince(mark))

        // The second profile chosen in the title bar.
        mark = rig.traceMark()
        chooseIn(item("profileList"), 1)
        compare(root.profileNo, 1)
        trace.push("# profile switch")
        trace = trace.concat(traceSince(mark))

        // Reset to the factory settings, confirmed.
        mark = rig.traceMark()
        click(item("resetButton"))
        click(item("resetOkButton"))
        verify(ui_View.enabled)
        trace.push("# reset")
        trace = trace.concat(traceSince(mark))

        var file = "golden_" + data.family + (data.isGun ? "_gun" : "") + ".trace"
        compare(rig.compareGolden(file, trace), "")
    }
}
