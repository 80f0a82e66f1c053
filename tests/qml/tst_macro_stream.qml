import QtQuick
import QtTest
import "../../modules/qml/basic/MacroStream.js" as MacroStream

// The bytes a macro's event list becomes on the mouse, without the window.
TestCase {
    name: "MacroStream"

    readonly property var codes: ({ "A": 0x04, "B": 0x05, "MS-L": 0xF0, "MS-R": 0xF1 })

    function codeOf(name) {
        return codes[name] || 0
    }
    function press(key) { return { type: key.indexOf("MS-") === 0 ? 3 : 1, info: key } }
    function release(key) { return { type: key.indexOf("MS-") === 0 ? 4 : 2, info: key } }
    function delay(ms) { return { type: 0, info: String(ms) } }
    function hex(bytes) {
        return bytes.map(function(b) { return (b < 16 ? "0" : "") + b.toString(16) }).join(" ")
    }

    function test_build_data() {
        return [
            { tag: "press, 50 ms, release", repeat: 1, events: [press("A"), delay(50), release("A")],
              bytes: "00 01 05 04 81 04 00 00" },
            { tag: "repeat count high byte first", repeat: 300, events: [press("A"), release("A")],
              bytes: "01 2c 01 04 81 04 00 00" },
            { tag: "no wait between actions is one unit", repeat: 1, events: [press("A"), press("B"), release("B")],
              bytes: "00 01 01 04 01 05 81 05 00 00" },
            { tag: "waits add up, leading delays are dropped", repeat: 2,
              events: [delay(500), press("A"), delay(30), delay(20), release("A")],
              bytes: "00 02 05 04 81 04 00 00" },
            { tag: "126 units still fit the control byte", repeat: 1, events: [press("A"), delay(1260), release("A")],
              bytes: "00 01 7e 04 81 04 00 00" },
            { tag: "127 units need a 20 ms count", repeat: 1, events: [press("A"), delay(1270), release("A")],
              bytes: "00 01 00 04 00 01 00 3f 81 04 00 00" },
            { tag: "2 s after a press", repeat: 1, events: [press("A"), delay(2000), release("A")],
              bytes: "00 01 00 04 00 01 00 64 81 04 00 00" },
            { tag: "a long wait after a release keeps bit 7", repeat: 1,
              events: [press("A"), release("A"), delay(3000), press("B"), release("B")],
              bytes: "00 01 01 04 80 04 00 01 00 96 01 05 81 05 00 00" },
            { tag: "50 ms units from 100000 units", repeat: 1, events: [press("A"), delay(1000000), release("A")],
              bytes: "00 01 00 04 00 02 4e 20 81 04 00 00" },
            { tag: "100 ms units from 300000 units", repeat: 1, events: [press("A"), delay(3000000), release("A")],
              bytes: "00 01 00 04 00 03 75 30 81 04 00 00" },
            { tag: "from 600000 units 100 ms units until the count is full", repeat: 1,
              events: [press("A"), delay(6000000), release("A"), delay(90000000), press("B")],
              bytes: "00 01 00 04 00 03 ea 60 80 04 00 03 ff ff 01 05 00 00" },
            { tag: "a wait that is not whole units is rounded down", repeat: 1,
              events: [press("A"), delay(15), delay(14), release("A")],
              bytes: "00 01 02 04 81 04 00 00" },
            { tag: "mouse buttons", repeat: 1, events: [press("MS-L"), delay(100), release("MS-L")],
              bytes: "00 01 0a f0 81 f0 00 00" },
            { tag: "a trailing delay is not sent", repeat: 1, events: [press("A"), release("A"), delay(500)],
              bytes: "00 01 01 04 81 04 00 00" },
            { tag: "one key press sends only the repeat count", repeat: 1, events: [press("A")], bytes: "00 01" },
            { tag: "a lone action after delays", repeat: 3, events: [delay(10), press("A")], bytes: "00 03" },
            { tag: "no actions", repeat: 1, events: [delay(10), delay(20)], bytes: "00 01" },
            { tag: "empty", repeat: 5, events: [], bytes: "00 05" },
            { tag: "damaged delay text counts as no wait", repeat: 1,
              events: [press("A"), delay("x"), release("A")], bytes: "00 01 01 04 81 04 00 00" }
        ]
    }
    function test_build(data) {
        var bytes = MacroStream.build(data.events, data.repeat, codeOf)
        compare(hex(bytes), data.bytes)
        compare(MacroStream.length(data.events), bytes.length, "the limit check measures the same bytes")
    }

    function test_length_counts_short_and_long_waits() {
        // 2 + 2 (short) + 6 (long) + 4 (last action and terminator)
        compare(MacroStream.length([press("A"), release("A"), delay(5000), press("B")]), 14)
        compare(MacroStream.length([press("A")]), 2)
    }

    function test_a_macro_longer_than_the_block_loses_its_end() {
        var events = []
        for (var i = 0; i < 70; ++i)
            events[i] = i % 2 ? release("A") : press("A")
        compare(MacroStream.build(events, 1, codeOf).length, 144)
        var bytes = MacroStream.fitted(events, 1, codeOf)
        compare(bytes.length, 128)
        compare(hex(bytes.slice(-4)), "81 04 00 00", "it still ends with an action and the terminator")
        var pair = [press("A"), release("A")]
        compare(MacroStream.fitted(pair, 1, codeOf), MacroStream.build(pair, 1, codeOf))
    }

    function test_repeat_count_is_kept_in_range() {
        compare(hex(MacroStream.build([], 70000, codeOf)), "ff ff")
        compare(hex(MacroStream.build([], "", codeOf)), "00 00")
    }
}
