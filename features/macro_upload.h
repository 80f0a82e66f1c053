#pragma once
// Uploads a macro block for a button: the mouse keeps twelve macros, and the
// macro of button slot s is macro number s + 1.

#include <QVariant>
#include <QVariantList>

struct FeatureContext;

class MacroUpload {
public:
    // Button slots whose macro the mouse can keep (0-11).
    static constexpr uint kMacroSlots = 12;

    explicit MacroUpload(FeatureContext& ctx) : m_ctx(ctx) {}

    // Sends `macroData` (the block's bytes, cut to bytes and zero-filled to
    // 128) as the macro of button slot `macroIndex`. A slot that is not
    // exactly 0-11, or a number of the block that is not a byte, is refused
    // (ArgumentCheck) and nothing is sent. Always true: the page
    // is not told whether the mouse took it.
    QVariant mouseSendMacroData(QVariantList macroData, QVariant macroIndex);

private:
    FeatureContext& m_ctx;
};
