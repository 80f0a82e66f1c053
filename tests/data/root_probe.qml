import QtQuick

// Stands in for the interface's root: records the calls the native side makes.
Item {
    width: 1024
    height: 640
    property string log: ""
    function initUI() { log += "initUI;" }
    function run() { log += "run;" }
    function setProtectUI(interval) { log += "protect:" + interval + ";" }
    function setCurrentDPI(stage) { log += "dpi:" + stage + ";" }
    function detectKeyboard(isDown, usbCode) { log += "key:" + isDown + "," + usbCode + ";" }
    function detectMouse(isDown, code, x, y) { log += "mouse:" + isDown + "," + code + "," + x + "," + y + ";" }
}
