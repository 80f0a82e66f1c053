import QtQuick
import QtTest
import "../../modules/qml/theme"

// A Save, a Reset and a profile switch write each profile block of a 560
// mouse once, with the changes of every page in it. What the mouse and the
// profile files hold afterwards is byte for byte what a write for every
// page's send leaves (the rig switches the gathering off for that run); for
// a 553 mouse, which has no blocks, nothing changes either.
StrydeTestCase {
    id: test
    name: "BlockWrites"

    function cleanup() {
        stopMain()
    }

    // Changes the pages named: "keys" (the reset icon), "recoil" (a button
    // switches recoil presets: the key matrices go out in layers), "dpi",
    // "lod", "effect", "colours".
    function edit(pages) {
        var has = function(page) { return pages.indexOf(page) >= 0 }
        if (has("keys"))
            item("keyMatrixMain").resetClicked()
        if (has("recoil")) {
            var keys = item("keyMatrixMain")
            keys.modKeys.set(3, { keyCode0: 8, keyCode1: 0, keyCode2: 2, keyCode3: 0, keyText: "Two Gun" })
            keys.isSave = true
        }
        if (has("dpi")) {
            var slider = item("dpiSlider1")
            slider.setRatioValue(0.6)
            slider.valueChangeDelay(slider.value)
        }
        if (has("lod")) {
            item("reportRateLV").sliderControl.setValue(60)
            item("reportRateLV").valueChange(60)
        }
        if (has("effect")) {
            var effects = item("lightEffect")
            var effect = effects.currentSelect === 1 ? 2 : 1
            effects.currentSelect = effect
            effects.valueChange(effect)
        }
        if (has("colours")) {
            var light = item("lightControlMain")
            light.setBlockColor(2, light.colorText(10, 200, 30))
            light.isSave = true
        }
    }

    // A profile of the profile manager other than the current one (made when there is none).
    function otherProfile() {
        var model = item("profileMain").profileDataModel0
        if (model.count < 2)
            item("profileMain").newProfile()
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).profileNo !== root.profileNo)
                return model.get(i).profileNo
        }
        return -1
    }

    // Everything the flow leaves: the mouse's memory and the setting files.
    function endState() {
        var files = {}
        for (var p = 0; p <= 10; ++p) {
            var name = p === 0 ? "apConfig" : "p" + p
            var file = "modules/setting/" + name + ".bin"
            files[name] = rig.fileExists(file) ? rig.readFile(file) : null
        }
        return { mouse: rig.mouseState(), files: files }
    }

    // The edits reach the mouse and the files one write per send; then the
    // flow runs with the blocks gathered (batched) or not.
    function runFlow(data, batched) {
        startMain({ family: data.family, isGun: data.gun })
        rig.setBlockBatching(false)
        var other = data.flow === "switch" ? otherProfile() : -1
        edit(data.pages)
        if (data.flow !== "save")
            root.saveAll()
        rig.setBlockBatching(batched)
        var mark = rig.traceMark()
        if (data.flow === "save")
            click(item("saveButton"))
        else if (data.flow === "reset")
            root.resetFactory()
        else
            verify(root.chooseProfile(other), "switched to profile " + other)
        verify(!root.hasUnsaved, "nothing is left unsaved")
        verify(ui_View.enabled)
        var blockWrites = rig.writes(mark).filter(function(c) { return c.startsWith("0c") })
        return { state: endState(), blockWrites: blockWrites }
    }

    function test_end_state_is_that_of_one_write_per_send_data() {
        var combinations = [
            [],
            ["dpi"],
            ["effect", "colours"],
            ["keys", "dpi", "lod", "effect", "colours"],
            ["recoil", "dpi", "effect"]
        ]
        var rows = []
        for (var family of [553, 560]) {
            for (var gun of [false, true]) {
                for (var flow of ["save", "reset", "switch"]) {
                    for (var pages of combinations) {
                        rows.push({ tag: family + (gun ? " recoil presets " : " ") + flow + " [" + pages.join(" ") + "]",
                                    family: family, gun: gun, flow: flow, pages: pages })
                    }
                }
            }
        }
        return rows
    }
    function test_end_state_is_that_of_one_write_per_send(data) {
        var single = runFlow(data, false)
        var batched = runFlow(data, true)
        compare(JSON.stringify(batched.state.mouse, null, 1), JSON.stringify(single.state.mouse, null, 1),
                "the mouse's memory")
        for (var name in single.state.files)
            compare(batched.state.files[name], single.state.files[name], name + ".bin")

        // Each block at most once, and only one that the mouse lacked.
        var blocks = batched.blockWrites.map(function(c) { return c.substr(3, 2) })
        for (var i = 0; i < blocks.length; ++i)
            compare(blocks.indexOf(blocks[i]), i, "block " + blocks[i] + " written once: " + blocks)
        verify(blocks.length <= single.blockWrites.length)
        if (data.family === 553 || data.pages.length === 0 && data.flow === "save")
            compare(blocks, [])
    }

    // A block that does not take stops the writes: the pages that sent it
    // or a block after it stay unsaved, a page that sent no block is saved.
    function test_a_failed_block_leaves_its_pages_unsaved_data() {
        return [
            { tag: "read back different", option: "corruptBlock", value: "2", sent: ["0c 01 80", "0c 02 80", "0c 02 80"] },
            { tag: "write fails", option: "failChunk", value: "1", sent: ["0c 01 80"] }
        ]
    }
    function test_a_failed_block_leaves_its_pages_unsaved(data) {
        startMain({ family: 560, isGun: true })
        edit(["dpi", "effect", "lod"])
        verify(rig.setMouseOption(data.option, data.value))
        var mark = rig.traceMark()
        ignoreWarning(new RegExp("^profile block " + data.sent[data.sent.length - 1].substr(4, 1)
                                 + " was not saved on the mouse; blocks [0-9, ]+ were not sent$"))
        click(item("saveButton"))
        var blockWrites = rig.writes(mark).filter(function(c) { return c.startsWith("0c") })
        compare(blockWrites.map(function(c) { return c.substr(0, 8) }), data.sent)
        verify(item("dpiSettingMain").isSave, "the DPI page is not saved")
        verify(item("lightControlMain").isSave, "the lighting page is not saved")
        verify(!item("lodMain").isSave, "the lift-off sent no block: saved")
        compare(item("saveButton").faceColor, Theme.colorUnsaved)
        verify(ui_View.enabled, "unlocked again")

        // Once the mouse takes them, the next Save writes what it lacks.
        verify(rig.setMouseOption(data.option, "-1"))
        mark = rig.traceMark()
        click(item("saveButton"))
        verify(!root.hasUnsaved)
        var again = rig.writes(mark).filter(function(c) { return c.startsWith("0c") })
        verify(again.length > 0 && again.length <= 5, String(again))
    }
}
