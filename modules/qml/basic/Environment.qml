import QtQuick
import "../theme"

// The window's background, the title bar and the title logo at (27, 12).
// The background is put together from a plain base and small pictures, so
// that no full-window picture is kept in memory: the base with its vertical
// shade, a faint diagonal hatch repeated from an 8-px tile, the hex mesh and
// red glow behind the mouse (drawn at half size, they are soft), the floor
// ring, the brackets on both sides of the mouse, the red edge and foot lines,
// and the rim.
Item {
    width: 1024
    height: 640

    Rectangle {
        anchors.fill: parent
        radius: 10
        gradient: Gradient {
            GradientStop { position: 0; color: "#1e1e1e" }
            GradientStop { position: 0.6; color: "#191919" }
            GradientStop { position: 1; color: "#131313" }
        }
    }
    // The hatch, kept inside the rounded corners; the two parts line up.
    Image {
        Accessible.ignored: true
        y: 48
        width: 1024
        height: 582
        fillMode: Image.Tile
        source: Theme.sourceHatch
    }
    Image {
        Accessible.ignored: true
        x: 10
        y: 630
        width: 1004
        height: 9
        fillMode: Image.Tile
        source: Theme.sourceHatch
    }
    Image {
        Accessible.ignored: true
        x: 222
        y: 50
        width: 580
        height: 584
        smooth: true
        source: Theme.sourceBackground
    }
    Image {
        Accessible.ignored: true
        x: 312
        y: 562
        source: Theme.sourceRing
    }
    Image {
        Accessible.ignored: true
        x: 288
        y: 120
        source: Theme.sourceBracket
    }
    Image {
        Accessible.ignored: true
        x: 726
        y: 120
        mirror: true
        source: Theme.sourceBracket
    }
    Repeater {
        model: [0, 1022]
        // Down both side edges under the title bar, fading out.
        Rectangle {
            required property int modelData
            x: modelData
            y: 48
            width: 2
            height: 592
            gradient: Gradient {
                GradientStop { position: 0; color: "#ccb20808" }
                GradientStop { position: 0.35; color: "#00b20808" }
            }
        }
    }
    Image {
        Accessible.ignored: true
        x: 256
        y: 634
        source: Theme.sourceFoot
    }
    Rectangle {
        anchors.fill: parent
        radius: 10
        color: "transparent"
        border.color: "#333333"
    }

    Image {

        Accessible.ignored: true
        width: 1024
        height: 48
        source: Theme.sourceTitleBar
    }
    Image {
        Accessible.ignored: true
        x: 27
        y: 12
        source: Theme.sourceTitleLogo
    }
}
