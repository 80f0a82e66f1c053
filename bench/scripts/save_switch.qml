import QtQuick

// Edits every page that Save sends, presses Save, then switches to another
// profile as the title-bar drop-down does; prints a "save" and a "switch"
// line (see BenchScript.measure) and ends the program.
BenchScript {
    id: script

    onStarted: {
        var target = otherProfile()
        if (target < 0)
            return fail("no other profile")
        editEveryPage(0)
        if (!mainIten.hasUnsaved)
            return fail("the edits left nothing unsaved")
        measure("save", function() { bench.find("saveButton").clicked() })
        if (mainIten.hasUnsaved)
            return fail("Save left a page unsaved")
        measure("switch", function() { mainIten.chooseProfile(target) })
        if (mainIten.profileNo !== target)
            return fail("the profile did not change")
        bench.quit(0)
    }
}
