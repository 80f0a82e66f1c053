import QtQuick

// A press-and-drag here moves the window. The window system moves it where
// it can (the compositor on Wayland, where a program cannot place its own
// window; the window manager on X11); where it refuses (an X server without
// a window manager), the window follows the pointer's offset from the press.
MouseArea {
    property point pressAt
    // Who moves the window during this press: 0 not decided yet (no move
    // so far), 1 the window system, 2 this area.
    property int mover: 0

    onPressed: function(mouse) {
        pressAt = Qt.point(mouse.x, mouse.y)
        mover = 0
    }
    onPositionChanged: function(mouse) {
        if (mover === 0)
            mover = ui_Ctl.startSystemMove() ? 1 : 2
        if (mover === 2) {
            ui_Ctl.onXChanged(mouse.x - pressAt.x)
            ui_Ctl.onYChanged(mouse.y - pressAt.y)
        }
    }
}
