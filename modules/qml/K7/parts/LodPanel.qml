import QtQuick
import ".."

// The lift-off distance panel: a slider position p of 3 … 89 (stored as
// "mouse/reportRate"), shown in mm and sent as a rate byte, and whether the
// mouse uses it.
PanelFrame {
    id: lodPanel
    width: 232
    height: 66
    titleHeight: 30

    property int tmpValue: 90
    property bool isSave: false
    property var lodLang: ["Enable"]
    property alias slider: reportRateLV

    // The slider's drop-down opened: the page closes the other drop-downs.
    signal menuOpened()

    // 0.5 mm … 2.0 mm in steps of 0.1 mm.
    function lodText(p) {
        return (Math.floor((p - 3) * 1.5 / 86 * 10) / 10 + 0.5) + "mm"
    }
    // Positions up to 18 send 121, position 89 sends 99.
    function rateOf(p) {
        return 125 - Math.floor((Math.max(p, 18) - 3) * 26 / 86)
    }
    function sendRate(p) {
        ui_View.mouseSetReportRate(rateOf(p), lodEnable.isSelect ? 1 : 0)
    }
    function moved(p) {
        reportRateLV.textValue = lodText(p)
        ui_View.setData("mouse/reportRate", p)
        tmpValue = p
        isSave = true
    }
    function init(isSendData) {
        var p = parseInt(ui_View.getData("mouse/reportRate", false))
        if (isNaN(p))
            p = tmpValue
        lodEnable.isSelect = mainIten.toBool(ui_View.getData("mouse/reportRateEn", false))
        reportRateLV.sliderControl.setValue(p)
        moved(p)
        if (isSendData)
            sendRate(p)
    }
    function closeMenu() {
        reportRateLV.closeMenu()
    }

    DropDownSlider {
        id: reportRateLV
        objectName: "reportRateLV"
        x: 10
        y: 5
        width: 120
        textValue: "10ms"
        accessibleName: lodPanel.title
        onBtnClick: lodPanel.menuOpened()
        onValueChange: function(index) { lodPanel.moved(index) }
    }
    CheckBox {
        id: lodEnable
        objectName: "lodEnable"
        anchors.right: parent.right
        anchors.rightMargin: 12
        y: reportRateLV.y + (reportRateLV.height - height) / 2
        textValue: lodPanel.lodLang[0]
        isSelect: true
        onBtnClick: {
            ui_View.setData("mouse/reportRateEn", !lodEnable.isSelect)
            lodPanel.isSave = true
        }
    }
}
