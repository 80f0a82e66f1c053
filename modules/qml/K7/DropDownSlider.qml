import QtQuick
import "../theme"

// A 24-high header (text and arrow) that opens a 24-high area below it with a
// slider of width − 16. The slider's valueChange and dragSignal are passed on.
Item {
    id: dropSlider
    width: 120
    height: 24
    z: isDrop || openAnimation.running ? 10 : 0

    property bool isDrop: false
    // True while the area opens or closes.
    readonly property bool animating: openAnimation.running
    property string textValue: ""
    property color borderColor: Theme.colorGray1
    property color bgColor: Theme.colorGray0
    property color sliderBgColor: Theme.colorGray0
    property color sliderbarBg: Theme.colorGray1
    property int horizontalOffset: 0
    property alias sliderControl: slider
    // What a screen reader calls it and its slider.
    property string accessibleName: ""

    signal valueChange(int index)
    signal btnClick()
    signal dragSignal(bool isDrag)

    // Closes an open drop-down (also while it is still opening).
    function closeMenu() {
        if (isDrop) {
            openAnimation.stop()
            toggle()
        }
    }

    function setValue(ration) {
        slider.setRatioValue(ration)
    }

    function pressHeader() {
        dropSlider.btnClick()
        if (!openAnimation.running)
            dropSlider.toggle()
    }

    // The header pressed from the keyboard or by a screen reader: it does
    // not wait for an opening or closing to end, as the pointer does.
    function pressHeaderNow() {
        openAnimation.stop()
        pressHeader()
    }

    // The header takes the keys: Space or Enter opens and closes, the arrows
    // move the slider (opening it first), Escape closes.
    activeFocusOnTab: true
    Keys.onTabPressed: ring.moveFocus(true)
    Keys.onBacktabPressed: ring.moveFocus(false)
    Keys.onSpacePressed: pressHeaderNow()
    Keys.onReturnPressed: pressHeaderNow()
    Keys.onEnterPressed: pressHeaderNow()
    Keys.onRightPressed: keyStep(1)
    Keys.onUpPressed: keyStep(1)
    Keys.onLeftPressed: keyStep(-1)
    Keys.onDownPressed: keyStep(-1)
    Keys.onEscapePressed: function(event) {
        event.accepted = isDrop
        closeMenu()
    }
    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName !== "" ? accessibleName + ": " + textValue : textValue
    Accessible.focusable: true
    Accessible.onPressAction: pressHeaderNow()
    onActiveFocusChanged: if (!activeFocus && !slider.activeFocus) closeMenu()

    function keyStep(steps) {
        if (!isDrop) {
            pressHeaderNow()
            return
        }
        slider.stepBy(steps)
    }

    function toggle() {
        isDrop = !isDrop
        openAnimation.to = isDrop ? 24 : 0
        openAnimation.start()
    }

    DropDownHeader {
        id: header
        anchors.fill: parent
        text: dropSlider.textValue
        isOpen: dropSlider.isDrop
        bgColor: dropSlider.bgColor
        borderColor: dropSlider.borderColor
        onClicked: dropSlider.pressHeader()
    }
    FocusRing {
        id: ring
    }

    Rectangle {
        id: area
        objectName: "dropArea"
        x: dropSlider.horizontalOffset
        y: header.height - 1
        width: dropSlider.width
        height: 0
        clip: true
        visible: height > 0
        radius: 2
        color: dropSlider.sliderBgColor
        border.color: dropSlider.borderColor

        SliderButton {
            id: slider
            x: 8
            anchors.verticalCenter: parent.top
            anchors.verticalCenterOffset: 12
            width: dropSlider.width - 16
            trackColor: dropSlider.sliderbarBg
            accessibleName: dropSlider.accessibleName
            valueText: dropSlider.textValue
            onValueChange: function(tmpValue) { dropSlider.valueChange(tmpValue) }
            onDragSignal: function(isDrag) { dropSlider.dragSignal(isDrag) }
        }
    }

    NumberAnimation {
        id: openAnimation
        target: area
        property: "height"
        duration: 180
        easing.type: Easing.OutQuad
    }
}
