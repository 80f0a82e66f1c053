import QtQuick
import QtTest

// The lighting panel, driven with the real mouse and keyboard; what it sends
// is read back from the virtual mouse's trace and memory, what it stores
// from the profile file.
StrydeTestCase {
    id: test
    name: "Lighting"

    function cleanup() {
        stopMain()
    }

    function panel() {
        return item("lightControlMain")
    }

    // Opens the effect list and clicks its row `index`, waiting for the
    // list to close (the choice is reported then).
    function chooseEffect(index) {
        var list = item("lightEffect")
        click(list)
        waitDropArea(list, list.count * 24)
        mouseClick(list, 30, 24 + index * 24 + 12)
        waitDropArea(list, 0)
        compare(list.currentSelect, index)
    }

    function visibleBlocks() {
        var shown = []
        for (var i = 0; i < 8; ++i) {
            if (item("colorBlock" + i).visible)
                shown[shown.length] = i + 1
        }
        return shown
    }

    function swatch(i) {
        return findChild(item("colorBlock" + i), "colorSwatch").color
    }

    // Types a number into a field and leaves it with Enter.
    function typeInto(field, text) {
        mouseDoubleClickSequence(field, field.width / 2, field.height / 2)
        keyClick(Qt.Key_A, Qt.ControlModifier)
        keyClick(Qt.Key_Delete)
        for (var i = 0; i < text.length; ++i)
            keyClick(text[i])
        keyClick(Qt.Key_Return)
    }

    // The knob of the selected block, as a position on the bar.
    function knobPosition() {
        var p = panel()
        return p.knobPositions[p.selectBlock]
    }

    function test_effect_sets_sliders_blocks_and_cover_data() {
        return [
            { tag: "Static", effect: 0, speed: false, brightness: true, height: 224, blocks: [1], cover: false },
            { tag: "Breath", effect: 1, speed: true, brightness: false, height: 224, blocks: [1], cover: false },
            { tag: "Neon", effect: 2, speed: true, brightness: false, height: 224, blocks: [1, 2, 3, 4, 5, 6, 7, 8], cover: false },
            { tag: "OFF", effect: 3, speed: true, brightness: false, height: 224, blocks: [1], cover: true },
            { tag: "Twinkling", effect: 4, speed: false, brightness: false, height: 176, blocks: [1], cover: true },
            { tag: "Twinkling, 55328", effect: 4, is55328: true, speed: false, brightness: false, height: 176, blocks: [1], cover: true },
            { tag: "Breath Loop, 55328", effect: 5, is55328: true, speed: true, brightness: true, height: 264, blocks: [1], cover: false, coverShown: true }
        ]
    }
    function test_effect_sets_sliders_blocks_and_cover(data) {
        startMain({ isColorful: true, is55328: !!data.is55328 })
        var light = panel()
        chooseEffect(data.effect)
        compare(item("speedSlider").visible, data.speed, "speed slider")
        compare(item("brightnessSlider").visible, data.brightness, "brightness slider")
        compare(light.height, data.height)
        compare(visibleBlocks(), data.blocks)
        compare(item("colorCover").visible, data.effect > 2, "cover")
        compare(light.selectBlock, 0)
        verify(light.isSave)
        compare(item("saveButton").color, Qt.color("#ff3030"))
    }

    function test_breath_loop_only_on_55328_data() {
        return [ { tag: "55328", is55328: true, count: 6 }, { tag: "other", is55328: false, count: 5 } ]
    }
    function test_breath_loop_only_on_55328(data) {
        startMain({ isColorful: true, is55328: data.is55328, language: "English" })
        var list = item("lightEffect")
        compare(list.count, data.count)
        compare(list.entryText(4), "Twinkling")
        if (data.is55328)
            compare(list.entryText(5), "Breath Loop")
        // Neither the panel's reset icon nor a factory reset adds it again.
        var light = panel()
        mouseClick(light, light.width - 18, 16)
        click(item("resetButton"))
        click(item("resetOkButton"))
        compare(list.count, data.count)
    }

    function test_pick_type_and_save_data() {
        // Static, brightness step 2, colours: block 1 typed 255 127 0, block 2 at the white end.
        var colours = "ff7f00" + "ffffff" + "0000ffff00ff00ffffff7f006000ffffffff"
        return [
            { tag: "553 RGB", family: 553, isColorful: true, colours: colours,
              frames: ["10 00 18", "10 00 18", "0d 01 80 00", "0d 01 80 00"] },
            { tag: "553 single colour", family: 553, isColorful: false, colours: colours,
              frames: ["10 01 18", "10 01 18", "0d 01 05 02", "0d 01 05 02"] },
            { tag: "560 RGB", family: 560, isColorful: true, colours: colours, colourBlock: 0, colourOffset: 24,
              effectBytes: "018000",
              frames: ["0c 00 80", "0c 01 80", "0c 02 80", "0c 03 80", "0c 04 80"] },
            { tag: "560 single colour", family: 560, isColorful: false, colours: colours, colourBlock: 1,
              colourOffset: 104, effectBytes: "010502",
              frames: ["0c 01 80", "0c 02 80", "0c 03 80", "0c 04 80"] }
        ]
    }
    function test_pick_type_and_save(data) {
        startMain({ family: data.family, isColorful: data.isColorful })
        var light = panel()
        chooseEffect(2)
        compare(visibleBlocks(), [1, 2, 3, 4, 5, 6, 7, 8], "Neon shows eight blocks")

        // Block 2's knob pulled past the end of the bar: white.
        click(item("colorBlock1"))
        compare(light.selectBlock, 1)
        dragBy(item("colorKnob1"), 6, 6, 300, 0)
        compare(knobPosition(), 183)
        compare(swatch(1), Qt.color("#ffffff"))
        compare([item("colorR").textValue, item("colorG").textValue, item("colorB").textValue], ["255", "255", "255"])

        chooseEffect(0)
        compare(visibleBlocks(), [1], "Static shows block 1 only")
        compare(light.selectBlock, 0)
        typeInto(item("colorR"), "255")
        typeInto(item("colorG"), "127")
        typeInto(item("colorB"), "0")
        compare(swatch(0), Qt.color("#ff7f00"))
        compare(knobPosition(), 15)
        verify(knobPosition() < 30, "section 0")
        var brightness = item("brightnessSlider")
        mouseClick(brightness, 3 + 2 * 19.5 + 6, 6)
        tryCompare(item("brightnessBox"), "text", "50%")

        var mark = rig.traceMark()
        click(item("saveButton"))
        verify(!light.isSave)
        var frames = rig.writes(mark).map(function(f) { return f.substr(0, 8 + (f.startsWith("0d") ? 3 : 0)) })
        // A 560 mouse takes each profile block once, with the colours and the effect in it.
        compare(frames, data.frames, "the colours first, then the effect twice")
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/lightValue"), ["0", "0", "2"])
        var stored = rig.readSetting("modules/setting/p1.bin", "mouse/colorValue")
        compare(stored.slice(0, 6), ["255", "127", "0", "255", "255", "255"])

        var state = rig.mouseState()
        if (data.family === 553) {
            compare(state.ledColourTables[data.isColorful ? "0" : "1"], data.colours)
        } else {
            var colourBlock = state.profileBlocks[data.colourBlock]
            compare(colourBlock.substr(2 * data.colourOffset, 48), data.colours)
            for (var n = 1; n <= 4; ++n)
                compare(state.profileBlocks[n].substr(2 * 71, 6), data.effectBytes, "effect in block " + n)
        }
    }

    function test_55328_sends_block_8_black_data() {
        return [
            { tag: "Static", effect: 0 }, { tag: "Breath", effect: 1 }, { tag: "Neon", effect: 2 },
            { tag: "OFF", effect: 3 }, { tag: "Breath Loop", effect: 5 },
            { tag: "Twinkling", effect: 4, twinkles: true }
        ]
    }
    function test_55328_sends_block_8_black(data) {
        startMain({ family: 553, isColorful: true, is55328: true })
        chooseEffect(data.effect)
        var mark = rig.traceMark()
        click(item("saveButton"))
        var frames = rig.writes(mark)
        var stored = rig.readSetting("modules/setting/p1.bin", "mouse/colorValue")
        if (data.twinkles) {
            verify(frames[0].startsWith("10 00 18"), frames[0])
            compare(rig.mouseState().ledColourTables["0"].substr(42, 6), "ffffff")
            compare(stored.slice(21), ["255", "255", "255"])
        } else {
            // An eighth colour of black: the mouse takes block 1 as its one colour.
            verify(frames[0].startsWith("0c ff 00 00"), frames[0])
            compare(stored.slice(21), ["0", "0", "0"])
        }
        compare(frames.length, 3)
        verify(frames[1].startsWith("0d") && frames[2] === frames[1], "the effect twice: " + frames)
    }

    function test_typed_colour_places_the_knob_data() {
        return [
            { tag: "orange", rgb: ["255", "127", "0"], colour: "#ff7f00", position: 15 },
            { tag: "green", rgb: ["0", "255", "0"], colour: "#00ff00", position: 60 },
            { tag: "violet", rgb: ["96", "0", "255"], colour: "#6000ff", position: 133 },
            { tag: "white", rgb: ["255", "255", "255"], colour: "#ffffff", position: 183 },
            { tag: "not a hue", rgb: ["18", "52", "86"], colour: "#123456", position: 0 },
            // Keys other than digits are taken back as they are typed.
            { tag: "letters and signs", rgb: ["2a5x5", "1-2.7", "+0"], colour: "#ff7f00", position: 15, shownG: "127" }
        ]
    }
    function test_typed_colour_places_the_knob(data) {
        startMain({ isColorful: true })
        var light = panel()
        dragBy(item("colorKnob0"), 6, 6, 90, 0)        // away from the start
        typeInto(item("colorR"), data.rgb[0])
        typeInto(item("colorG"), data.rgb[1])
        typeInto(item("colorB"), data.rgb[2])
        compare(swatch(0), Qt.color(data.colour))
        compare(knobPosition(), data.position)
        verify(light.isSave)
        // The block keeps its colour when chosen again; the fields show it.
        click(item("colorBlock0"))
        compare(swatch(0), Qt.color(data.colour))
        compare(item("colorG").textValue, data.shownG || data.rgb[1])
    }

    function test_stored_values_fill_the_panel_data() {
        return [
            { tag: "Twinkling, 55328", is55328: true, lightValue: [4, 3, 1], effect: 4, speed: true, brightness: false, box: "75%" },
            { tag: "Twinkling", is55328: false, lightValue: [4, 3, 1], effect: 4, speed: false, brightness: false },
            { tag: "Breath", is55328: false, lightValue: [1, 1, 4], effect: 1, speed: true, brightness: false, box: "25%" },
            { tag: "unknown effect", is55328: false, lightValue: [9, 7, 2], effect: 0, speed: false, brightness: true, box: "50%" }
        ]
    }
    function test_stored_values_fill_the_panel(data) {
        startMain({ isColorful: true, is55328: data.is55328, files: { "modules/setting/p1.bin": {
            "mouse/lightValue": data.lightValue,
            "mouse/colorValue": [0, 0, 255, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 0] } } })
        var light = panel()
        compare(item("lightEffect").currentSelect, data.effect)
        compare(item("speedSlider").visible, data.speed)
        compare(item("brightnessSlider").visible, data.brightness)
        if (data.speed)
            compare(item("speedBox").text, data.box)
        if (data.brightness)
            compare(item("brightnessBox").text, data.box)
        compare(swatch(0), Qt.color("#0000ff"))
        compare(swatch(1), Qt.color("#010203"))
        compare(swatch(7), Qt.color("#ffff00"))
        compare(light.selectBlock, 0)
        compare(knobPosition(), 121, "block 1's knob placed for blue")
        compare(item("colorB").textValue, "255")
        verify(!light.isSave)
        verify(!root.hasUnsaved)
    }

    function test_cover_takes_the_clicks() {
        startMain({ isColorful: true })
        var light = panel()
        chooseEffect(3)                                  // OFF
        light.isSave = false
        mouseClick(item("colorBar"), 100, 5)
        compare(swatch(0), Qt.color("#ff0000"))
        verify(!light.isSave)
        chooseEffect(1)                                  // Breath: no cover
        mouseClick(item("colorBar"), 100, 5)
        compare(knobPosition(), 100)
        compare(swatch(0), Qt.color(light.colorAt(100)))
    }

    function test_reset_icon_restores_the_profile_defaults() {
        startMain({ isColorful: true, files: { "modules/setting/p1.bin": {
            "mouse/lightValue": [2, 4, 4], "mouse/colorValue": [1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8] } } })
        var light = panel()
        compare(swatch(0), Qt.color("#010101"))
        var mark = rig.traceMark()
        mouseClick(light, light.width - 18, 16)
        compare(item("lightEffect").currentSelect, 0, "Static, as pD.bin has it")
        compare(item("brightnessBox").text, "100%")
        compare(swatch(0), Qt.color("#ff0000"))
        compare(swatch(6), Qt.color("#6000ff"))
        verify(light.isSave)
        compare(rig.commands(mark), [], "nothing is sent before Save")
    }

    function test_factory_reset_sends_the_lighting() {
        startMain({ family: 553, isColorful: true, files: { "modules/setting/p1.bin": { "mouse/lightValue": [2, 4, 4] } } })
        chooseEffect(1)
        click(item("resetButton"))
        var mark = rig.traceMark()
        click(item("resetOkButton"))
        verify(!panel().isSave)
        compare(item("lightEffect").currentSelect, 0)
        var frames = rig.commands(mark).filter(function(f) { return f.startsWith("10") || f.startsWith("0d") })
        compare(frames.map(function(f) { return f.substr(0, 11) }),
                ["10 00 18 00", "10 00 18 00", "0d 01 ff 00", "0d 01 ff 00"])
        compare(rig.readSetting("modules/setting/p1.bin", "mouse/lightValue"), ["0", "2", "4"])
    }
}
