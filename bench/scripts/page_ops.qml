import QtQuick

// 1,000 page operations, one every few milliseconds so that the window
// paints in between: opening and closing every dialog, moving sliders,
// switching profiles and saving. Prints "ops N" with the resident memory
// every 100 operations, then ends the program.
BenchScript {
    id: script

    property int done: 0
    // Save and the profile switch run the event loop during the mouse's
    // pauses: the timer's next tick must not start an operation inside one.
    property bool busy: false
    property int target: -1
    property int home: 0
    readonly property int total: 1000

    function openDialog(dialog) { mainIten.showDialog(dialog) }

    // One cycle of 20 operations; `i` is the operation's index in it.
    function operate(i, cycle) {
        switch (i) {
        case 0: openDialog(macroEditorMain); break
        case 1: macroEditorMain.closeClicked(); break
        case 2: openDialog(systemSettingMain); break
        case 3: systemSettingMain.closeClicked(); break
        case 4: openDialog(profileMain); break
        case 5: profileMain.closeClicked(); break
        case 6: openDialog(resetDialog); break
        case 7: bench.find("resetCancelButton").clicked(); break
        case 8: mainMask.visible = true; keyAssigmentMain.show(cycle % 5); break
        case 9: keyAssigmentMain.closeDialog(); break
        case 10: mainMask.visible = true; appRulesMain.show(mainIten.profileNo, "bench"); break
        case 11: appRulesMain.closeClicked(); break
        case 12: {
            var slider = bench.find("dpiSlider" + (cycle % 4))
            slider.setRatioValue(cycle % 2 === 0 ? 0.25 : 0.5)
            slider.valueChangeDelay(slider.value)
            break
        }
        case 13: {
            var lod = cycle % 2 === 0 ? 30 : 50
            lodMain.slider.sliderControl.setValue(lod)
            lodMain.slider.valueChange(lod)
            break
        }
        case 14: {
            var effects = bench.find("lightEffect")
            var effect = effects.currentSelect === 1 ? 2 : 1
            effects.currentSelect = effect
            effects.valueChange(effect)
            break
        }
        case 15: keyMatrixMain.resetClicked(); break
        case 16: mainIten.saveAll(); break
        case 17: mainIten.chooseProfile(target); break
        case 18: editEveryPage(cycle); mainIten.saveAll(); break
        case 19: mainIten.chooseProfile(home); break
        }
    }

    Timer {
        id: stepper
        interval: 4
        repeat: true
        onTriggered: {
            if (script.busy)
                return
            script.busy = true
            script.operate(script.done % 20, Math.floor(script.done / 20))
            script.busy = false
            script.done += 1
            if (script.done % 100 === 0)
                bench.mark("ops", String(script.done))
            if (script.done >= script.total) {
                stop()
                bench.quit(0)
            }
        }
    }

    onStarted: {
        home = mainIten.profileNo
        target = otherProfile()
        if (target < 0)
            return fail("no other profile")
        // The new profile's creation is not one of the measured operations:
        // the reading after start-up is taken again once it is made.
        bench.mark("start")
        stepper.start()
    }
}
