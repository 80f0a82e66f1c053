#include "features/key_matrix_convert.h"

#include "features/byte_values.h"

#include <cstddef>

namespace keymatrix {

namespace {

// Device type of each page type. Types 9-0xFE have no page meaning and pass
// through unchanged.
struct TypeRow {
    uchar pageType;
    uchar deviceType;
};
constexpr TypeRow kTypes[] = {
    {0x00, 0x01},   // mouse button
    {0x01, 0x0A},   // fire (repeated key)
    {0x02, 0x00},   // key combination
    {0x03, 0x03},   // media (consumer usage)
    {0x04, 0x09},   // macro
    {0x05, 0x07},   // DPI function
    {0x06, 0x00},   // Windows function, as a key combination
    {0x07, 0x00},   // shortcut, as a key combination
    {0x08, 0x08},   // recoil-preset switch
    {0xFF, 0x04},   // defaults of slots 14 and 15
};

// Page entries whose device type depends on their parameters.
struct ParamRow {
    uchar pageType;
    uchar p2;
    uchar p3;
    uchar deviceType;
};
constexpr ParamRow kByParams[] = {
    {0x00, 0x1E, 0x02, 0x0A},   // double click: the mouse fires the left button
    {0x06, 0x94, 0x01, 0x03},   // "My PC" is a consumer usage
    {0x06, 0x23, 0x02, 0x03},   // "Index"
    {0x06, 0x21, 0x02, 0x03},   // "Search"
};

constexpr uchar kDpiType = 0x05;
constexpr uchar kSniper = 0x04;
constexpr uchar kMacroType = 0x04;
constexpr KeyEntry kSniper560 = {0x0B, 0x00, 0x01, 0x01};
constexpr KeyEntry kSniper553 = {0x07, 0x00, 0x04, 0x02};

// Slots the mouse keeps for itself in matrix 1, whatever the page holds.
// Slot 5's own entry moves to slot 7 before these are written.
struct FixedRow {
    int slot;
    KeyEntry entry;
};
constexpr int kMovedFrom = 5;
constexpr int kMovedTo = 7;
constexpr FixedRow kFixedSlots[] = {
    {5, {0x07, 0x00, 0x03, 0x00}},
    {6, {0x05, 0x00, 0x03, 0x00}},
    {8, {0x0D, 0x00, 0x00, 0x00}},
    {9, {0x0D, 0x01, 0x00, 0x00}},
    {12, {0x0E, 0x00, 0x00, 0x00}},
};

// A recoil-preset switch for n presets. On the 560 family the switch lives
// in p2 of each matrix and the layer mask in profile block 0; on the 553
// family in p3 of each matrix.
struct RecoilRow {
    uchar presets;
    std::array<uchar, kMatrixCount> p2On560;
    uchar layerMask;
    std::array<uchar, kMatrixCount> p3On553;
};
constexpr RecoilRow kRecoil[] = {
    {1, {1, 0, 0, 0}, 7, {1, 0, 0, 0}},
    {2, {1, 3, 0, 0}, 15, {1, 2, 0, 0}},
    {3, {1, 3, 3, 0}, 31, {1, 2, 3, 0}},
};

// Slot 0 of matrices 2-4 holds the preset of that layer: 0B, layer, period.
constexpr uchar kPresetType = 0x0B;

const RecoilRow* recoilRow(uchar presets)
{
    for (const RecoilRow& row : kRecoil) {
        if (row.presets == presets)
            return &row;
    }
    return nullptr;
}

} // namespace

KeyEntry entryAt(const KeyMatrix& m, int slot)
{
    KeyEntry e{};
    for (int i = 0; i < kEntrySize; ++i)
        e[static_cast<size_t>(i)] = m[static_cast<size_t>(slot * kEntrySize + i)];
    return e;
}

void setEntry(KeyMatrix& m, int slot, const KeyEntry& e)
{
    for (int i = 0; i < kEntrySize; ++i)
        m[static_cast<size_t>(slot * kEntrySize + i)] = e[static_cast<size_t>(i)];
}

KeyEntry entryFromValues(const QVariantList& values)
{
    return bytesFromValues<kEntrySize>(values);
}

KeyMatrix matrixFromValues(const QVariantList& values)
{
    return bytesFromValues<kSlots * kEntrySize>(values);
}

KeyEntry convertEntry(const KeyEntry& page, bool is560)
{
    const uchar type = page[0];
    if (type == kDpiType && page[2] == kSniper)
        return is560 ? kSniper560 : kSniper553;

    KeyEntry out = page;
    for (const TypeRow& row : kTypes) {
        if (row.pageType == type) {
            out[0] = row.deviceType;
            break;
        }
    }
    for (const ParamRow& row : kByParams) {
        if (row.pageType == type && row.p2 == page[2] && row.p3 == page[3]) {
            out[0] = row.deviceType;
            break;
        }
    }
    // The mouse numbers its macros from 1: macro n plays for button slot n - 1.
    if (type == kMacroType)
        out[2] = static_cast<uchar>(page[2] + 1);
    return out;
}

KeyMatrix convertMatrix(const KeyMatrix& page, bool is560)
{
    KeyMatrix m{};
    for (int s = 0; s < kSlots; ++s)
        setEntry(m, s, convertEntry(entryAt(page, s), is560));
    setEntry(m, kMovedTo, entryAt(m, kMovedFrom));
    for (const FixedRow& row : kFixedSlots)
        setEntry(m, row.slot, row.entry);
    return m;
}

bool hasRecoilSwitch(const KeyMatrix& converted)
{
    for (int s = 0; s < kSlots; ++s) {
        if (converted[static_cast<size_t>(s * kEntrySize)] == kRecoilSwitchType)
            return true;
    }
    return false;
}

RecoilMatrices buildRecoilMatrices(const KeyMatrix& converted, const KeyMatrix& fwDefault,
                                   const std::array<uchar, kPresetSlots>& periods, bool is560)
{
    RecoilMatrices r;
    r.matrices[0] = converted;
    for (int k = 1; k < kMatrixCount; ++k)
        r.matrices[static_cast<size_t>(k)] = fwDefault;

    for (int s = 0; s < kSlots; ++s) {
        const size_t base = static_cast<size_t>(s * kEntrySize);
        if (converted[base] != kRecoilSwitchType)
            continue;
        for (int k = 1; k < kMatrixCount; ++k)
            r.matrices[static_cast<size_t>(k)][base] = kRecoilSwitchType;

        const RecoilRow* row = recoilRow(converted[base + 2]);
        for (int k = 0; k < kMatrixCount; ++k) {
            KeyMatrix& m = r.matrices[static_cast<size_t>(k)];
            if (is560) {
                if (row)
                    m[base + 2] = row->p2On560[static_cast<size_t>(k)];
            } else {
                m[base + 1] = 0;
                m[base + 2] = 1;
                if (row)
                    m[base + 3] = row->p3On553[static_cast<size_t>(k)];
            }
        }
        if (is560 && row)
            r.layerMask = row->layerMask;
    }

    for (int k = 1; k < kMatrixCount; ++k) {
        const uchar layer = static_cast<uchar>(k - 1);
        setEntry(r.matrices[static_cast<size_t>(k)], 0,
                 KeyEntry{kPresetType, layer, periods[static_cast<size_t>(k - 1)], 0x00});
    }
    return r;
}

} // namespace keymatrix
