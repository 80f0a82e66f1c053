import QtQuick
import QtTest

// Pictures of the key-assignment dialog (one per option group), the mouse
// picture with a lit button and the macro editor while it records, in both
// languages, saved to build/screenshots/ to be looked at.
StrydeTestCase {
    id: test
    name: "KeyScreens"

    property real now: 1000

    function cleanup() {
        stopMain()
    }

    function languages() {
        return [ { tag: "en", language: "English" }, { tag: "zh", language: "ChineseSimplified" } ]
    }
    function start(language) {
        startMain({ language: language, files: {
            "modules/setting/name.bin": { "macro/macroName": ["Burst fire", "Reload", "Grenade"] },
            "modules/macro/Burst fire.bin": { "config/total": 6, "config/repeat": 3, "macro/0": "1,J",
                "macro/1": "0,40", "macro/2": "2,J", "macro/3": "0,60", "macro/4": "3,MS-L", "macro/5": "4,MS-L" },
            "modules/macro/Reload.bin": { "config/total": 2, "config/repeat": 1, "macro/0": "1,R", "macro/1": "2,R" },
            "modules/macro/Grenade.bin": { "config/total": 0, "config/repeat": 1 },
            "modules/setting/p1.bin": { "mouseKeyMatrix/3": [4, 0, 3, 0], "mouseMacroKey/3": "Burst fire",
                                        "mouseKeyMatrix/4": [2, 1, 6, 0], "mouseKeyMatrix/7": [1, 0x2C, 20, 0] } } })
    }
    function dialog() {
        return item("keyAssigmentMain")
    }
    function show(slot, section) {
        click(item("keyRow" + slot))
        if (section)
            dialog().scrollTo(item(section))
    }
    function hide() {
        dialog().closeDialog()
        // Until their closing animations end, open drop-downs still take clicks.
        for (var name of ["mediaGrid", "windowsGrid", "shortcutGrid", "macroDrop", "rateDrop"])
            waitDropArea(item(name), 0)
    }
    function openGrid(name, index) {
        var grid = item(name)
        dialog().scrollTo(grid)
        tryVerify(function() { return grid.rows > 0 })
        if (index >= 0) {
            click(grid)
            waitDropArea(grid, grid.rows * 24 + 2)
            var cell = (grid.width * 3 - 2) / 3
            mouseClick(grid, grid.horizontalOffset + 1 + (index % 3 + 0.5) * cell,
                       grid.height + 1 + (Math.floor(index / 3) + 0.5) * 24)
            waitDropArea(grid, 0)
        }
        click(grid)
        waitDropArea(grid, grid.rows * 24 + 2)
    }

    function test_key_assignment_data() {
        return languages()
    }
    function test_key_assignment(data) {
        start(data.language)
        item("mouseMain").hoverKey = 2
        shot("keys_main_" + data.tag, Qt.point(740, 160))   // over the tag of the wheel
        item("mouseMain").hoverKey = -1

        show(1, "")
        shot("key_mouse_" + data.tag)
        hide()

        show(7, "")
        shot("key_fire_" + data.tag)
        click(item("fireField"))
        shot("key_fire_capture_" + data.tag)
        hide()

        show(4, "")
        click(item("comboField"))
        for (var code of [0xE0, 0xE2, 0x0F])
            root.detectKeyboard(true, code)
        shot("key_group_" + data.tag)
        hide()

        show(5, "")
        openGrid("mediaGrid", 6)
        shot("key_media_" + data.tag)
        hide()

        show(3, "")
        item("macroMode2").btnClick(2)
        var drop = item("macroDrop")
        click(drop)
        waitDropArea(drop, 3 * 24)
        shot("key_macro_" + data.tag)
        hide()

        show(6, "")
        shot("key_dpi_" + data.tag)
        hide()

        show(2, "")
        openGrid("windowsGrid", 5)
        shot("key_windows_" + data.tag)
        hide()

        show(2, "")
        openGrid("shortcutGrid", -1)
        shot("key_shortcut_" + data.tag)
        hide()

        item("mouseMain").selectKey = 6
        shot("mouse_lit_" + data.tag)
    }

    function test_macro_editor_data() {
        return languages()
    }
    function test_macro_editor(data) {
        start(data.language)
        var editor = item("macroEditorMain")
        editor.clock = { now: function() { return test.now } }
        click(item("macroEditorEntry"))
        shot("macro_editor_" + data.tag)

        mouseClick(item("eventRow2"), 80, 13, Qt.RightButton)
        shot("macro_editor_menu_" + data.tag)
        item("eventMenu").visible = false

        mouseClick(item("macroRow1"), 40, 13)
        click(item("delayRecord"))
        click(item("recordButton"))
        var keys = [[true, 0xE1, 0], [true, 0x15, 180], [false, 0x15, 90], [false, 0xE1, 30], [true, 0x2C, 400],
                    [false, 0x2C, 70], [true, 0x1E, 250], [false, 0x1E, 60]]
        for (var k of keys) {
            now += k[2]
            root.detectKeyboard(k[0], k[1])
        }
        shot("macro_recording_" + data.tag)
        click(item("recordButton"))

        mouseClick(item("eventRow3"), 80, 13, Qt.RightButton)
        click(item("eventMenuEntry2"))
        root.detectKeyboard(true, 0x29)
        shot("macro_insert_key_" + data.tag)
    }
}
