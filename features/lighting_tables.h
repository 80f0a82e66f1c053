#pragma once
// The lighting page speaks in indices (effect, speed step, brightness step);
// the mouse wants an effect code and two parameter bytes whose meaning
// depends on the model. These tables and functions do that translation and
// lay the result out for either family. Everything here is pure.

#include <QVariantList>

#include <array>
#include <vector>

using uchar = unsigned char;

namespace lighting {

// Index -> byte; an index outside [first, first + count) gives 0.
struct StepTable {
    int first;
    int count;
    std::array<uchar, 5> values;
};

constexpr StepTable kBrightness{1, 4, {0x40, 0x80, 0xC0, 0xFF, 0}};   // RGB, steps 1-4
constexpr StepTable kSpeedA{0, 5, {10, 7, 5, 3, 1}};                  // RGB
constexpr StepTable kSpeedB{0, 5, {20, 17, 15, 13, 11}};              // RGB, effect 8
constexpr StepTable kSpeedC{0, 5, {15, 13, 10, 7, 5}};                // RGB, effect 9
constexpr StepTable kSpeedD{0, 5, {30, 27, 24, 22, 20}};              // RGB, effect 10
constexpr StepTable kLevel{0, 5, {1, 3, 5, 7, 10}};                   // single colour

constexpr uchar lookup(const StepTable& table, int index)
{
    return (index >= table.first && index < table.first + table.count)
        ? table.values[static_cast<size_t>(index - table.first)]
        : uchar(0);
}

// Where one parameter byte of an effect comes from.
struct ParamSource {
    enum Kind : uchar { Constant, Option1, Option2 };
    Kind kind;
    uchar constant;
    const StepTable* table;
};

constexpr ParamSource fixed(uchar value) { return {ParamSource::Constant, value, nullptr}; }
// option1 is the page's speed step, option2 its brightness step.
constexpr ParamSource byOption1(const StepTable& t) { return {ParamSource::Option1, 0, &t}; }
constexpr ParamSource byOption2(const StepTable& t) { return {ParamSource::Option2, 0, &t}; }

struct EffectRow {
    uchar code;
    ParamSource first;      // RGB: brightness byte
    ParamSource second;     // RGB: speed byte
};

// RGB mouse, by effect index 0-10.
constexpr EffectRow kRgbEffects[] = {
    /* 0 */ {1, byOption2(kBrightness), fixed(0)},
    /* 1 */ {2, fixed(0), byOption1(kSpeedA)},
    /* 2 */ {3, fixed(0), byOption1(kSpeedA)},
    /* 3 */ {4, fixed(0xFF), byOption1(kSpeedA)},
    /* 4 */ {0, fixed(0), fixed(0)},
    /* 5 */ {5, byOption2(kBrightness), byOption1(kSpeedA)},
    /* 6 */ {6, fixed(0), fixed(0)},
    /* 7 */ {7, byOption2(kBrightness), fixed(0)},
    /* 8 */ {8, byOption2(kBrightness), byOption1(kSpeedB)},
    /* 9 */ {9, byOption2(kBrightness), byOption1(kSpeedC)},
    /* 10 */ {10, byOption2(kBrightness), byOption1(kSpeedD)},
};

// Single-colour mouse, by effect index 0-3.
constexpr EffectRow kSingleColourEffects[] = {
    /* 0 */ {1, byOption2(kLevel), fixed(0)},
    /* 1 */ {2, fixed(0), byOption1(kLevel)},
    /* 2 */ {3, fixed(0), byOption1(kLevel)},
    /* 3 */ {4, fixed(0xFF), byOption1(kLevel)},
};

// An effect as the mouse takes it. For an RGB mouse `first` is the
// brightness byte and `second` the speed byte.
struct EffectParams {
    uchar code = 0;
    uchar first = 0;
    uchar second = 0;
    bool operator==(const EffectParams& o) const
    {
        return code == o.code && first == o.first && second == o.second;
    }
};

// The page's effect index and steps translated for the model; an effect
// index beyond the model's table gives all zeros.
EffectParams translateEffect(bool colourful, uchar effect, uchar option1, uchar option2);

// --- 553 family --------------------------------------------------------------
// The three bytes of the effect command. A single-colour mouse takes the
// constant 2 as its last byte, except the 55328 variant, which takes the
// second parameter.
EffectParams effectCommand553(const EffectParams& p, bool colourful, bool is55328);

// --- 560 family: profile blocks ----------------------------------------------
constexpr int kEffectBlockFirst = 1;
constexpr int kEffectBlockLast = 4;
constexpr int kEffectCodeOffset = 71;
constexpr int kEffectFirstOffset = 72;
constexpr int kEffectSecondOffset = 73;
// A single-colour mouse keeps 2 in the third byte; block 1 of one without
// recoil presets keeps 3 there.
constexpr uchar kSingleColourThird = 2;
constexpr uchar kSingleColourThirdAlone = 3;

// The three bytes an effect leaves at offsets 71-73 of `block` (1-4).
EffectParams effectBlockBytes(const EffectParams& p, bool colourful, bool isGun, int block);
// The blocks an effect change sends, in order.
std::vector<int> effectBlocksToSend(bool isGun);

// --- colours -----------------------------------------------------------------
constexpr int kColourBytes = 24;        // eight colours of red, green, blue
using ColourList = std::array<uchar, kColourBytes>;

// Numbers from QML, each taken as an integer and cut to a byte; missing ones
// are 0, extra ones are dropped (`cut` tells whether any were).
ColourList coloursFromValues(const QVariantList& values, bool* cut = nullptr);

// Where an RGB mouse keeps its colours (block 0) and a single-colour one
// (block 1) on the 560 family.
struct ColourPlace {
    int block;
    int offset;
};
constexpr ColourPlace kRgbColourPlace{0, 24};
constexpr ColourPlace kSingleColourPlace{1, 104};
constexpr ColourPlace colourPlace(bool colourful) { return colourful ? kRgbColourPlace : kSingleColourPlace; }

// 55328 variant: a table whose eighth colour is black is sent as one fixed
// colour (the first).
bool sendsFixedColour(const ColourList& colours);

} // namespace lighting
