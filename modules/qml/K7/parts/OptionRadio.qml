import QtQuick
import ".."

// A radio button of a fixed option, selected while the working copy has its code.
RadioButton {
    id: optionRadio
    // The key-assignment page: its texts, its working copy and what a choice does.
    required property var page
    property var option: ({ lang: 0, code: "" })
    textValue: String(optionRadio.page.keyAssigmentLang[option.lang])
    isSelect: String(option.code).toLowerCase() === optionRadio.page.currentCode
    onBtnClick: {
        optionRadio.page.keyAssigmentFocus()
        optionRadio.page.chooseOption(optionRadio.option)
        isSelect = Qt.binding(function() {
            return String(optionRadio.option.code).toLowerCase() === optionRadio.page.currentCode
        })
    }
}
