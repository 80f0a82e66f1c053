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
}
