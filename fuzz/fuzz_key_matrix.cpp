// The key-matrix conversion: any page matrix, firmware default and preset
// periods convert without reading or writing out of bounds; numbers from QML
// or a profile file become bytes whatever they are.

#include "features/key_matrix_convert.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const bool is560 = in.flag();
    KeyMatrix page{};
    KeyMatrix fwDefault{};
    for (uchar& b : page)
        b = in.u8();
    for (uchar& b : fwDefault)
        b = in.u8();
    std::array<uchar, keymatrix::kPresetSlots> periods{};
    for (uchar& p : periods)
        p = in.u8();

    const KeyMatrix converted = keymatrix::convertMatrix(page, is560);
    const bool recoil = keymatrix::hasRecoilSwitch(converted);
    const keymatrix::RecoilMatrices layers = keymatrix::buildRecoilMatrices(converted, fwDefault, periods, is560);
    // Only a recoil switch of a 560 mouse asks for a layer mask; matrix 1 is
    // the converted one.
    FUZZ_CHECK(!layers.layerMask || (recoil && is560));
    FUZZ_CHECK(recoil || layers.matrices[0] == converted);
    for (int slot = 0; slot < keymatrix::kSlots; ++slot) {
        const KeyEntry e = keymatrix::convertEntry(keymatrix::entryAt(page, slot), is560);
        KeyMatrix copy = page;
        keymatrix::setEntry(copy, slot, e);
        FUZZ_CHECK(keymatrix::entryAt(copy, slot) == e);
    }

    QVariantList values;
    while (!in.atEnd() && values.size() < 80)
        values.append(in.value());
    const KeyMatrix fromValues = keymatrix::matrixFromValues(values);
    const KeyEntry entry = keymatrix::entryFromValues(values);
    for (int i = 0; i < 4 && i < values.size(); ++i)
        FUZZ_CHECK(entry[size_t(i)] == fromValues[size_t(i)]);
    return 0;
}
