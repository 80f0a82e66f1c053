import QtQuick
import ".."
import "../../theme"

// A label, a five-step slider with its scale, and the step as a percentage.
Item {
    id: row
    property string label: ""
    property string rowName: ""
    property var texts: []
    property alias slider: rowSlider
    signal pressed()
    signal changed()
    width: 232
    height: 40

    Text {
        x: 12
        y: 4
        width: rowSlider.x - 18
        height: 20
        verticalAlignment: Text.AlignVCenter
        text: row.label
        color: Theme.colorGray3
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: fontMinSize
        elide: Text.ElideRight
    }
    SliderButton {
        id: rowSlider
        objectName: row.rowName + "Slider"
        x: 80
        y: 8
        width: 96
        segment: 4
        isScale: true
        accessibleName: row.label
        valueText: row.texts[rowSlider.segmentValue] || ""
        onBtnClick: row.pressed()
        onValueChangeDelay: row.changed()
    }
    Image {
        x: rowSlider.x
        y: 23
        width: 96
        height: 8
        source: Theme.sourceSpeedScale
        Accessible.ignored: true
    }
    Rectangle {
        objectName: row.rowName + "Box"
        property string text: row.texts[rowSlider.segmentValue] || ""
        x: 182
        y: 4
        width: 38
        height: 20
        radius: 2
        color: Theme.colorGray0
        border.color: Theme.colorGray1
        Text {
            anchors.centerIn: parent
            text: parent.text
            color: Theme.fontColor
            font.family: fontFamily
            font.pixelSize: fontNormalSize
        }
    }
}
