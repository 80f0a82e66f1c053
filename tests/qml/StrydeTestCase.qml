import QtQuick
import QtTest

// The base of the interface tests: loads the real main.qml on a fresh rig
// (data copy, connected virtual mouse, view) and offers the helpers every
// page test needs. See tests/qml/README.md.
TestCase {
    id: testCase
    width: 1024
    height: 640
    // A TestCase is invisible by default; the interface is drawn in it.
    visible: true
    when: windowShown

    // The interface of the running test (main.qml's root, id mainIten).
    property var root: null

    // A fresh interface: rig.start(options), main.qml created, initUI run and
    // its start-up lock ended. Options as QmlRig::start (family, isColorful,
    // is55328, isGun, keyCount, language, mouseProfile, files).
    function startMain(options) {
        stopMain()
        verify(rig.start(options || {}), "the rig connects its virtual mouse")
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        root = component.createObject(testCase)
        verify(root !== null, "main.qml is created")
        root.initUI()
        finishLock()
        return root
    }

    function stopMain() {
        if (root) {
            root.visible = false
            root.destroy()
            root = null
        }
    }

    // Ends a running setProtectUI lock at once (its timer fires now).
    function finishLock() {
        var timer = findChild(root, "protectTimer")
        verify(timer !== null)
        if (timer.running) {
            timer.stop()
            timer.triggered()
        }
    }

    // Waits until a drop-down's area has reached `height` and its animation has
    // ended: a row takes clicks, and a choice is reported, only then.
    function waitDropArea(control, height) {
        tryCompare(findChild(control, "dropArea"), "height", height)
        tryCompare(control, "animating", false)
        // A list that has just grown makes its rows at its next polish: a
        // click before that would find no row under the pointer.
        var view = findChild(control, "dropView")
        if (view !== null)
            waitForItemPolished(view)
    }

    // The item of main.qml with this objectName (fails the test when missing).
    // Delegates of a list appear once the list is laid out, so it waits a little.
    function item(name) {
        var found = findChild(root, name)
        if (found === null)
            tryVerify(function() { return findChild(root, name) !== null }, 2000, "no item named " + name)
        return findChild(root, name)
    }

    // Creates QML inside main.qml's scope, so that shared controls find the
    // root's colours, fonts and images: control("SliderButton { width: 104 }").
    function control(qml, parentItem) {
        var made = rig.createControl(qml, parentItem || root)
        verify(made !== null, "created: " + qml)
        return made
    }

    // Clicks the centre of an item with the real mouse.
    function click(target, button) {
        verify(target.visible, "the item to click is visible")
        // Point at it first, as a user does, so that hover states follow.
        mouseMove(target, target.width / 2, target.height / 2)
        mouseClick(target, target.width / 2, target.height / 2, button || Qt.LeftButton)
    }

    // Drags with the real mouse from (x, y) of `target` by (dx, dy), in window
    // coordinates, so that an item that moves with the pointer is dragged as
    // a user would drag it.
    function dragBy(target, x, y, dx, dy) {
        var p = target.mapToItem(root, x, y)
        mousePress(root, p.x, p.y)
        for (var i = 1; i <= 4; ++i)
            mouseMove(root, p.x + dx * i / 4, p.y + dy * i / 4)
        mouseRelease(root, p.x + dx, p.y + dy)
    }

    // Saves build/screenshots/<name>.png of the whole interface, with the
    // pointer moved away from the controls (or to `pointAt`, a point of root).
    function shot(name, pointAt) {
        var done = false
        var saved = false
        var path = rig.screenshotPath(name)
        if (pointAt === undefined)
            mouseMove(root, 1020, 300)          // away from every control
        else
            mouseMove(root, pointAt.x, pointAt.y)
        waitForRendering(root)
        root.grabToImage(function(result) {
            saved = result.saveToFile(path)
            done = true
        })
        tryVerify(function() { return done }, 5000)
        verify(saved, "screenshot saved to " + path)
    }
}
