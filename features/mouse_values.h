#pragma once
// What the mouse can hold, for the values the pages and the command line hand
// over: stages, profiles, lift-off distances, lighting indexes, bytes and the
// DPI table. The operations refuse a value that fails these (ArgumentCheck)
// and send nothing: a number is never wrapped or cut into the range. Pure.

#include "features/dpi_codes.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace mousevalues {

// DPI stages as the mouse numbers them (a mouse holds up to eight).
constexpr int kFirstStage = 1;
constexpr int kLastStage = dpi::kStages;
// The profiles (key-matrix layers) a 560 mouse switches between.
constexpr int kFirstProfile = 1;
constexpr int kLastProfile = 4;
// Lift-off distances: 125 is 0.5 mm, 99 is 2.0 mm (the page's range).
constexpr int kLiftOffNearest = 125;
constexpr int kLiftOffFarthest = 99;
// Lighting: the effect rows the mouse knows, and the speed and brightness
// steps of its tables.
constexpr int kLastEffect = 10;
constexpr int kLastLightingStep = 4;
// The colour-table kinds of the eight-colour command (kind 2 carries 4 bytes).
constexpr int kLastColourTableKind = 2;
constexpr int kLastByte = 255;

// How a value looked when it was handed over, for a refusal's message:
// 3, "a", null, [1].
QString shown(const QVariant& value);

// Empty when every element of `values` is an integer from `min` to `max` (an
// integer, a number without a fraction or decimal text); else which one is not.
QString listProblem(const QVariantList& values, qint64 min, qint64 max);

// Empty when `values` is a table the mouse can take with `dpiCount` stages in
// use: every element an integer, those of the stages in use within the
// sensor's range (dpi::dpiRange), the others 0 (no value) or within it too.
QString dpiTableProblem(int dpiCount, dpi::Sensor sensor, const QVariantList& values);

// Text a list value stands for (a name, a key text): a string or a number,
// not a list, a map, a boolean or nothing.
bool isText(const QVariant& value);

} // namespace mousevalues
