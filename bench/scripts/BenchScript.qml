import QtQuick

// The base of the scripts bench/run.sh loads into the program
// (STRYDE_BENCH_SCRIPT): it waits for the main screen (the mouse is
// connected), lets the start-up's last paints die down, prints
//   stryde-bench ready t=.. rss=..
// and emits started(). The scripts reach the pages by their ids, the
// program's objects by their context names and the probe as `bench`.
Item {
    id: script

    signal started()

    Timer {
        interval: 50
        repeat: true
        running: true
        onTriggered: {
            if (!mainIten.isShowMain)
                return
            stop()
            settle.start()
        }
    }
    Timer {
        id: settle
        interval: 1500
        onTriggered: {
            bench.mark("ready")
            script.started()
        }
    }

    function fail(message) {
        bench.mark("error", message)
        bench.quit(1)
    }

    // Runs action() and prints
    //   stryde-bench NAME t=.. rss=.. real=MS device=MS cpu=MS frames=N maxGap=MS
    // `real`: the monotonic time it took; `device`: the time the device
    // link's clock moved (on the virtual clock: the pauses the mouse
    // demands); `maxGap`: the longest time without a frame painted.
    function measure(name, action) {
        var real0 = bench.nowMs()
        var device0 = bench.deviceMs()
        var cpu0 = bench.cpuMs()
        bench.startFrames()
        action()
        var frames = bench.stopFrames()
        bench.mark(name, "real=" + (bench.nowMs() - real0).toFixed(3) + " device=" + (bench.deviceMs() - device0)
                   + " cpu=" + (bench.cpuMs() - cpu0).toFixed(3) + " frames=" + frames.frames
                   + " maxGap=" + frames.maxGapMs.toFixed(3))
    }

    // Edits every page that Save sends: a DPI slider, the lift-off slider,
    // the lighting effect and the key matrix (its reset icon). `step` varies
    // the values so that repeated edits really change them.
    function editEveryPage(step) {
        var slider = bench.find("dpiSlider1")
        slider.setRatioValue(step % 2 === 0 ? 0.3 : 0.6)
        slider.valueChangeDelay(slider.value)
        var lod = step % 2 === 0 ? 40 : 60
        lodMain.slider.sliderControl.setValue(lod)
        lodMain.slider.valueChange(lod)
        var effects = bench.find("lightEffect")
        var effect = effects.currentSelect === 1 ? 2 : 1
        effects.currentSelect = effect
        effects.valueChange(effect)
        keyMatrixMain.resetClicked()
    }

    // A profile of the profile list other than the current one (one is
    // added when the list has only the current one); -1 when none.
    function otherProfile() {
        var model = profileMain.profileDataModel0
        if (model.count < 2)
            profileMain.newProfile()
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).profileNo !== mainIten.profileNo)
                return model.get(i).profileNo
        }
        return -1
    }
}
