import QtQuick

// The recoil-preset dialog (opened from the hidden "Gun Editor" entry): a
// list of weapon presets, each with a downward pull (Y 0 … 64), a fire
// period in ms and a shot count (0 = endless), and the three preset slots of
// the mouse. Presets are stored as soon as they change; closing the dialog
// after a change sends the three slots and the button map, which carries
// the slots' periods.
// The presets, the slots and which of them is shown live here; the controls
// (parts/GunControlBody.qml) are built each time the dialog opens and
// destroyed when it closes.
DialogFrame {
    id: gunControl
    width: 640
    height: 448
    title: gunControlLang[0]

    property var gunControlLang: ["Gun editor", "Gun", "Select gun", "Cursor Adjust", "X Axis", "Y axis",
        "Fire adjust", "Rate", "Times", "Endness"]
    property alias gunNumberModel: gunModel
    // "Gun1" … "Gun3", the entries of the slot list.
    property alias slotModel: slotModel
    // The preset list while the dialog is open (null while it is closed).
    property ListView gunNumber_lv: null
    // The preset of each slot of the mouse.
    property int selectGun1: 0
    property int selectGun2: 1
    property int selectGun3: 2
    // Presets changed since the dialog was last closed.
    property bool isSave: false
    // The preset shown on the right-hand side, and the slot chosen above it.
    property int shownIndex: 0
    property int currentSlot: 0

    // The dot's travel over the target picture (its top edge), for Y 0 … 64.
    readonly property int dotTop: 89
    readonly property int dotTravel: 94
    readonly property int maxY: 64

    onCloseClicked: {
        gunControlFocus()
        visible = false
        maskShown = false
        if (!isSave)
            return
        isSave = false
        mainIten.controlUIEnable(false)
        sendSlot(1)
        sendSlot(2)
        sendSlot(3)
        keyMatrixMain.modKeys.saveData()
        mainIten.controlUIEnable(true)
    }
    onBackgroundPressed: gunControlFocus()

    // The open dialog's controls show the shown preset again / end their edits.
    signal presetShown()
    signal editsEnded()

    // --- presets and slots ------------------------------------------------------

    function number(value, fallback) {
        var n = parseInt(value)
        return isNaN(n) ? fallback : n
    }

    function slotPreset(slot) {
        return slot === 1 ? selectGun1 : slot === 2 ? selectGun2 : selectGun3
    }
    function setSlotPreset(slot, index) {
        if (slot === 1)
            selectGun1 = index
        else if (slot === 2)
            selectGun2 = index
        else
            selectGun3 = index
    }
    function storeSlots() {
        ui_View.setGlobalData("mouse/selectGun", [selectGun1, selectGun2, selectGun3])
    }

    function storePreset(i) {
        isSave = true
        var p = gunModel.get(i)
        ui_View.mouseSaveGundata(i, [p.gunName, p.gunKey, p.gunPeriod, p.gunX, p.gunY, p.gunTimes])
    }

    // Slot 1 … 3 to the mouse: its preset's times, x and y.
    function sendSlot(slot) {
        var p = gunModel.get(slotPreset(slot))
        ui_View.mouseSendGundata(slot, [number(p.gunTimes, 0), number(p.gunX, 0), number(p.gunY, 0)])
    }

    function dotTopFor(y) {
        return dotTravel * y / maxY + dotTop
    }
    function yForDot(top) {
        return Math.floor((top - dotTop) / dotTravel * maxY)
    }

    // Shows preset i on the right-hand side.
    function showPreset(i) {
        shownIndex = i
        presetShown()
    }

    // The shown preset takes a value and is stored, when the value changed.
    function changeShown(role, value) {
        var i = shownIndex
        if (i < 0 || String(gunModel.get(i)[role]) === String(value))
            return
        gunModel.setProperty(i, role, String(value))
        storePreset(i)
    }

    // --- what the main window calls ---------------------------------------------

    function init() {
        slotModel.clear()
        for (var n = 1; n <= 3; ++n)
            slotModel.append({ textValue: gunControlLang[1] + n })
        currentSlot = 0

        for (var i = 0; i < gunModel.count; ++i) {
            var d = ui_View.getGunData(i)
            if (d.length < 6)
                continue
            gunModel.set(i, { gunName: String(d[0]), gunKey: String(d[1]), gunPeriod: String(d[2]),
                              gunX: String(d[3]), gunY: String(d[4]), gunTimes: String(d[5]) })
        }

        var stored = ui_View.getGlobalData("mouse/selectGun")
        var slots = Array.isArray(stored) ? stored : String(stored).split(",")
        for (var s = 1; s <= 3; ++s) {
            var index = number(slots[s - 1], -1)
            setSlotPreset(s, index >= 0 && index < gunModel.count ? index : s - 1)
        }
        showPreset(selectGun1)
    }

    // Factory reset: slots 1 … 3 hold presets 0 … 2 with their factory pull.
    function resetData() {
        selectGun1 = 0
        selectGun2 = 1
        selectGun3 = 2
        storeSlots()
        var pulls = [5, 7, 8]
        for (var i = 0; i < 3; ++i) {
            gunModel.setProperty(i, "gunY", String(pulls[i]))
            gunModel.setProperty(i, "gunPeriod", "9")
        }
        for (var k = 0; k < 3; ++k)
            storePreset(k)
        for (var slot = 1; slot <= 3; ++slot)
            sendSlot(slot)
        currentSlot = 0
        showPreset(0)
    }

    function gunControlFocus() {
        editsEnded()
    }

    // --- the dialog ----------------------------------------------------------------

    ListModel {
        id: gunModel
        ListElement { gunName: "M416"; gunImage: "qrc:/gun/modules/img/skin1/gun/M416.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "AKM"; gunImage: "qrc:/gun/modules/img/skin1/gun/AKM.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "M16A4"; gunImage: "qrc:/gun/modules/img/skin1/gun/M16A4.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "SCAR-L"; gunImage: "qrc:/gun/modules/img/skin1/gun/SCAR-L.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "UNP9"; gunImage: "qrc:/gun/modules/img/skin1/gun/UNP9.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        ListElement { gunName: "Thomson"; gunImage: "qrc:/gun/modules/img/skin1/gun/Thomson.png"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
    }
    ListModel { id: slotModel }

    // --- the controls, while the dialog is open ---

    Loader {
        anchors.fill: parent
        active: gunControl.visible
        source: "parts/GunControlBody.qml"
    }
}
