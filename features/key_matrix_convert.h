#pragma once
// The mouse's button map: 16 button slots of four bytes (type, p1, p2, p3).
// The pages describe a button in their own encoding; the mouse wants its own
// device encoding, a few slots it always keeps to itself, and, for recoil
// presets, three more matrices that the recoil buttons switch between.
// Everything here is pure: bytes in, bytes out.

#include <QVariantList>

#include <array>
#include <optional>

using uchar = unsigned char;

using KeyEntry = std::array<uchar, 4>;
using KeyMatrix = std::array<uchar, 64>;
static_assert(sizeof(KeyEntry) == 4, "a key entry is four bytes");
static_assert(sizeof(KeyMatrix) == 64, "a key matrix is 16 entries of four bytes");

namespace keymatrix {

constexpr int kSlots = 16;
constexpr int kEntrySize = 4;
constexpr int kMatrixCount = 4;     // matrix 1 plus the three recoil layers
constexpr int kPresetSlots = 3;

// Page type of the recoil-preset switch; it keeps its number on the mouse.
constexpr uchar kRecoilSwitchType = 8;

KeyEntry entryAt(const KeyMatrix& m, int slot);
void setEntry(KeyMatrix& m, int slot, const KeyEntry& e);

// Numbers as they come from QML or a profile file: each taken as an integer
// and cut to its low byte; missing ones are 0, extra ones are dropped.
KeyEntry entryFromValues(const QVariantList& values);
KeyMatrix matrixFromValues(const QVariantList& values);

// One page entry in device encoding. Sniper differs between the families.
KeyEntry convertEntry(const KeyEntry& page, bool is560);

// Matrix 1 as the mouse gets it: every entry converted, then the slots the
// mouse keeps for itself put in place (slot 7 takes slot 5's entry).
KeyMatrix convertMatrix(const KeyMatrix& page, bool is560);

// Recoil mode is on when a converted matrix holds a recoil-preset switch.
bool hasRecoilSwitch(const KeyMatrix& converted);

struct RecoilMatrices {
    std::array<KeyMatrix, kMatrixCount> matrices{};   // index 0 is matrix 1
    // 560 family: the key-matrix layer mask for byte 2 of profile block 0,
    // when a switch for one, two or three presets asked for one.
    std::optional<uchar> layerMask;
};

// The four matrices of recoil mode: matrix 1 from `converted`, matrices 2-4
// from the firmware default `fwDefault`, with the switch slots rewritten for
// the family and slot 0 of matrices 2-4 carrying the preset periods.
RecoilMatrices buildRecoilMatrices(const KeyMatrix& converted, const KeyMatrix& fwDefault,
                                   const std::array<uchar, kPresetSlots>& periods, bool is560);

} // namespace keymatrix
