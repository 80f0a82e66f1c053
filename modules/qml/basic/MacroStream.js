.pragma library

// A macro's event list turned into the bytes the mouse stores for it, and the
// length of those bytes (the editor stops adding events near the mouse's
// 128-byte macro block).
//
// Events are { type, info }: 0 a delay of `info` milliseconds, 1 key press,
// 2 key release, 3 mouse button press, 4 mouse button release (info: the
// key's name). The stream is the repeat count (high byte first), then one
// [control, code] pair per action and a [0, 0] terminator. The control byte
// holds the wait after the action in 10 ms units (1 … 126, bit 7 set for a
// release); a longer wait is control 0 followed by a unit pair [0, u] and a
// count pair [high, low] in units of 20, 50 or 100 ms. The C++ side has the
// same builder (macroblock::buildStream); a test holds the two together.

var maxLength = 126        // the editor takes no event once a macro is this long
var blockSize = 128        // bytes the mouse keeps per macro

// Wait (in 10 ms units) from which a wait needs a unit and a count.
var longWait = 127
// [limit in 10 ms units, unit, 10 ms units per count]; a wait beyond the
// last limit is sent as the largest count of the last unit.
var longUnits = [
    [100000, 1, 2],
    [300000, 2, 5],
    [600000, 3, 10]
]

function isAction(type) {
    return type >= 1 && type <= 4
}

function isRelease(type) {
    return type === 2 || type === 4
}

// A delay's milliseconds; anything that is not a number counts as 0.
function delayMs(info) {
    var ms = parseInt(info, 10)
    return isNaN(ms) || ms < 0 ? 0 : ms
}

// The [control, ...long pairs] that close an action followed by `w` units.
function closing(w, release) {
    var flag = release ? 0x80 : 0
    if (w < longWait)
        return [(w === 0 ? 1 : w) | flag]
    for (var i = 0; i < longUnits.length; ++i) {
        if (w < longUnits[i][0]) {
            var count = Math.floor(w / longUnits[i][2])
            return [flag, 0, longUnits[i][1], (count >> 8) & 0xFF, count & 0xFF]
        }
    }
    // No unit reaches further: the last unit, its count held at the largest
    // two bytes carry (a wait of 6000 s is still sent as 6000 s).
    var last = longUnits[longUnits.length - 1]
    var most = Math.min(Math.floor(w / last[2]), 0xFFFF)
    return [flag, 0, last[1], (most >> 8) & 0xFF, most & 0xFF]
}

// The stream of `events` with `repeat` (0 … 65535); `codeOf(name)` gives an
// action's key code.
function build(events, repeat, codeOf) {
    var r = Math.floor(Number(repeat))
    r = isNaN(r) ? 0 : Math.max(0, Math.min(0xFFFF, r))
    var out = [(r >> 8) & 0xFF, r & 0xFF]

    var first = -1
    for (var i = 0; i < events.length; ++i) {
        if (isAction(events[i].type)) {
            first = i
            break
        }
    }
    // Leading delays are dropped; a lone action at the end sends nothing.
    if (first < 0 || first === events.length - 1)
        return out

    var current = events[first]
    var controlAt = out.length
    out.push(0, codeOf(current.info) & 0xFF)
    var waitMs = 0
    for (var k = first + 1; k < events.length; ++k) {
        var e = events[k]
        if (e.type === 0) {
            waitMs += delayMs(e.info)
            continue
        }
        if (!isAction(e.type))
            continue
        // A wait that is not a whole number of 10 ms units is rounded down.
        var close = closing(Math.floor(waitMs / 10), isRelease(current.type))
        out[controlAt] = close[0]
        for (var c = 1; c < close.length; ++c)
            out.push(close[c])
        waitMs = 0
        current = e
        controlAt = out.length
        out.push(0, codeOf(e.info) & 0xFF)
    }
    out[controlAt] = isRelease(current.type) ? 0x81 : 0x01
    out.push(0, 0)
    return out
}

// The length of the stream of `events` (the editor's limit check).
function length(events) {
    return build(events, 0, function() { return 0 }).length
}

// The stream of `events`, or of as many of its first events as the mouse's
// macro block holds (a file edited elsewhere may hold more).
function fitted(events, repeat, codeOf) {
    var count = events.length
    var stream = build(events, repeat, codeOf)
    while (stream.length > blockSize && count > 0) {
        --count
        stream = build(events.slice(0, count), repeat, codeOf)
    }
    return stream
}
