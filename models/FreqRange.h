#pragma once

// Normalisation of the scan range and the level range. All frequency
// arithmetic is single precision, as the stored texts are produced from it:
// floor and ceil act on the single-precision quotient by the 25 kHz step.

#include <QString>

namespace FreqRange {

constexpr float kMinFreMhz = 450.0f;
constexpr float kMaxFreMhz = 950.0f;
constexpr float kMinFreRangeMhz = 0.3f;
constexpr float kStepMhz = 0.025f;
constexpr float kMinDbm = -110.0f;
constexpr float kMaxDbm = 0.0f;
constexpr float kMinDbmRange = 1.0f;

struct FreqPair {
  float startMhz;
  float stopMhz;
};

struct DbmPair {
  float lower;
  float upper;
};

// A text as a number; text that is not a number is 0.
float toFloat(const QString &text);

// Start snapped down to the grid, never below the band.
float snapStart(float startMhz);
// Stop snapped up to the grid, never above the band, at least one minimum
// span above the (snapped) start where the band allows.
float snapStop(float startMhz, float stopMhz);
// A stored range clamped to the band, made ascending, and snapped.
FreqPair normaliseStoredRange(float startMhz, float stopMhz);
// A stored level range clamped to the limits and made ascending.
DbmPair normaliseDbmRange(float lower, float upper);

// Three decimals, fixed point ("450.025").
QString formatFreq(float mhz);
// Qt's general format with six significant digits ("-110", "-85.5").
QString formatDbm(float dbm);

}  // namespace FreqRange
