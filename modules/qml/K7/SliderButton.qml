import QtQuick
import "../theme"

// A horizontal slider whose value is the knob's x in pixels: 3 … width − 15
// (the 12-pixel knob leaves a quarter of itself over each end of the track).
// Every signal reports that x. Pages store and convert it themselves.
//   setRatioValue(r)        knob to ⌊(width − 18) × r⌋ + 4, then valueChange
//   setIndexValue(i, send)  knob to step i of `segment` steps (valueChange only when send)
//   setValue(x)             knob to x, no signal
// With isScale the knob snaps to the steps and `segmentValue` holds the step.
Item {
    id: slider
    width: 104
    height: 12

    property int segment: 10
    property int segmentValue: 0
    property bool isScale: false
    property color colorS: Theme.colorOrange
    property color trackColor: Theme.colorGray1
    // The knob's position: the slider's value.
    readonly property real value: knob.x
    readonly property int minPosition: 3
    readonly property int maxPosition: width - 15
    readonly property real stepWidth: (width - 18) / Math.max(1, segment)
    readonly property bool isDragging: knobArea.pressed

    // What a screen reader calls it, and the value it reads out beside the
    // knob's position (what the page shows for it: "1500", "50%").
    property string accessibleName: ""
    property string valueText: ""
    // Pixels an arrow key moves the knob (without isScale).
    property int keyStep: 1
    // The range and step a screen reader reports with `value`.
    readonly property real minimumValue: minPosition
    readonly property real maximumValue: maxPosition
    readonly property real stepSize: isScale ? stepWidth : 1

    signal valueChange(int tmpValue)
    signal valueChangeDelay(int tmpValue)
    signal btnClick()
    signal dragSignal(bool isDrag)

    function setRatioValue(ration) {
        moveAnimation.stop()
        knob.x = clampPosition(Math.floor((width - 18) * ration) + 4)
        valueChange(knob.x)
    }

    function setIndexValue(Index, isSendSignal) {
        moveAnimation.stop()
        knob.x = 3 + Index * (width - 18) / Math.max(1, segment)
        segmentValue = Index
        if (isSendSignal)
            valueChange(knob.x)
    }

    function setValue(tmpvalue) {
        moveAnimation.stop()
        knob.x = clampPosition(tmpvalue)
    }

    // One step of the keyboard (the arrow keys) or of a screen reader:
    // `steps` scale steps with isScale, otherwise as many pixels. Reported
    // as a finished move.
    function stepBy(steps) {
        moveAnimation.stop()
        btnClick()
        var x
        if (isScale) {
            var i = Math.max(0, Math.min(segment, segmentValue + steps))
            segmentValue = i
            x = 3 + i * stepWidth
        } else {
            x = clampPosition(knob.x + steps * keyStep)
        }
        if (x === knob.x)
            return
        knob.x = x
        valueChange(knob.x)
        valueChangeDelay(knob.x)
    }

    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    // Up is also "more" for a slider turned upright.
    Keys.onRightPressed: stepBy(1)
    Keys.onUpPressed: stepBy(1)
    Keys.onLeftPressed: stepBy(-1)
    Keys.onDownPressed: stepBy(-1)
    Keys.onPressed: function(event) {
        var big = Math.max(1, isScale ? 1 : Math.round((maxPosition - minPosition) / 10 / keyStep))
        if (event.key === Qt.Key_PageUp)
            stepBy(big)
        else if (event.key === Qt.Key_PageDown)
            stepBy(-big)
        else if (event.key === Qt.Key_Home)
            stepBy(-(isScale ? segment : maxPosition))
        else if (event.key === Qt.Key_End)
            stepBy(isScale ? segment : maxPosition)
        else
            return
        event.accepted = true
    }
    Accessible.role: Accessible.Slider
    Accessible.name: slider.accessibleName
    Accessible.description: slider.valueText
    Accessible.focusable: true
    Accessible.onIncreaseAction: slider.stepBy(1)
    Accessible.onDecreaseAction: slider.stepBy(-1)

    function clampPosition(x) {
        return Math.max(minPosition, Math.min(maxPosition, x))
    }

    // The step a position snaps to: the first step at or right of it (with
    // `tolerance` pixels of slack), or the last one.
    function snapIndex(x, tolerance) {
        for (var i = 0; i < segment; ++i) {
            if (x <= 3 + i * stepWidth + tolerance)
                return i
        }
        return segment
    }

    // The track; its filled part reaches the knob's centre.
    Rectangle {
        id: track
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width
        height: 6
        radius: 3
        color: slider.trackColor
    }
    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: knob.x + knob.width / 2
        height: 6
        radius: 3
        color: slider.colorS
    }

    MouseArea {
        id: trackArea
        anchors.fill: parent
        anchors.topMargin: -4
        anchors.bottomMargin: -4
        onPressed: function(mouse) {
            slider.btnClick()
            var target = slider.clampPosition(mouse.x - 6)
            if (slider.isScale) {
                var i = slider.snapIndex(target, 0)
                target = 3 + i * slider.stepWidth
                slider.segmentValue = i
            }
            moveAnimation.stop()
            moveAnimation.to = target
            moveAnimation.start()
        }
    }

    NumberAnimation {
        id: moveAnimation
        target: knob
        property: "x"
        duration: 120
        easing.type: Easing.OutQuad
        onFinished: {
            slider.valueChange(knob.x)
            slider.valueChangeDelay(knob.x)
        }
    }

    Image {
        id: knob
        objectName: "knob"
        x: 3
        width: 12
        height: 12
        anchors.verticalCenter: parent.verticalCenter
        source: Theme.sourceSlide
        smooth: true
        Accessible.ignored: true

        MouseArea {
            id: knobArea
            anchors.fill: parent
            anchors.margins: -4
            property real pressX: 0
            property real startX: 0
            onPressed: function(mouse) {
                moveAnimation.stop()
                pressX = mapToItem(slider, mouse.x, mouse.y).x
                startX = knob.x
                slider.btnClick()
                slider.dragSignal(true)
            }
            onPositionChanged: function(mouse) {
                var x = slider.clampPosition(startX + mapToItem(slider, mouse.x, mouse.y).x - pressX)
                if (x === knob.x)
                    return
                knob.x = x
                if (!slider.isScale)
                    slider.valueChange(knob.x)
            }
            onReleased: {
                if (slider.isScale) {
                    var i = slider.snapIndex(knob.x, 1)
                    knob.x = 3 + i * slider.stepWidth
                    slider.segmentValue = i
                    slider.valueChange(knob.x)
                }
                slider.valueChangeDelay(knob.x)
                slider.dragSignal(false)
            }
            onCanceled: slider.dragSignal(false)
        }
    }
    FocusRing {
        id: ring
        outset: 4
    }
}
