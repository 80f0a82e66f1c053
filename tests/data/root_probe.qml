import QtQuick

// Stands in for the interface's root: records what the native side tells the pages.
Item {
    id: probe
    width: 1024
    height: 640
    property string log: ""
    Connections {
        target: ui_View
        function onStartRequested() { probe.log += "initUI;" }
        function onRunRequested() { probe.log += "run;" }
        function onLockRequested(busyTime) { probe.log += "protect:" + busyTime + ";" }
        function onDpiStageReported(stage) { probe.log += "dpi:" + stage + ";" }
        function onKeyboardCaptured(isDown, usbCode) { probe.log += "key:" + isDown + "," + usbCode + ";" }
        function onMouseCaptured(isDown, veskCode, x, y) { probe.log += "mouse:" + isDown + "," + veskCode + "," + x + "," + y + ";" }
        function onReloadRequested() { probe.log += "reload;" }
        function onBusyChanged() { probe.log += "busy:" + ui_View.busy + ";" }
        function onWriteFailed(operation, reached) { probe.log += "failed:" + operation + "," + reached + ";" }
    }
}
