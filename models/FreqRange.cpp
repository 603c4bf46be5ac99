#include "FreqRange.h"

#include <algorithm>
#include <cmath>

namespace FreqRange {

float toFloat(const QString &text) { return float(text.toDouble()); }

float snapStart(float startMhz) {
  const float snapped = std::floor(startMhz / kStepMhz) * kStepMhz;
  return std::max(snapped, kMinFreMhz);
}

float snapStop(float startMhz, float stopMhz) {
  const float start = snapStart(startMhz);
  float stop = std::min(std::ceil(stopMhz / kStepMhz) * kStepMhz, kMaxFreMhz);
  if (start >= stop)
    stop = std::min(std::ceil((start + kMinFreRangeMhz) / kStepMhz) * kStepMhz, kMaxFreMhz);
  return stop;
}

FreqPair normaliseStoredRange(float startMhz, float stopMhz) {
  float start = std::max(startMhz, kMinFreMhz);
  float stop = std::min(stopMhz, kMaxFreMhz);
  if (start >= stop) {
    if (start + kMinFreRangeMhz > kMaxFreMhz) {
      start = kMaxFreMhz - kMinFreRangeMhz;
      stop = kMaxFreMhz;
    } else {
      stop = start + kMinFreRangeMhz;
    }
  }
  start = std::max(std::floor(start / kStepMhz) * kStepMhz, kMinFreMhz);
  stop = std::min(std::ceil(stop / kStepMhz) * kStepMhz, kMaxFreMhz);
  if (start >= stop)
    stop = std::min(std::ceil((start + kMinFreRangeMhz) / kStepMhz) * kStepMhz, kMaxFreMhz);
  return {start, stop};
}

DbmPair normaliseDbmRange(float lower, float upper) {
  lower = std::max(lower, kMinDbm);
  upper = std::min(upper, kMaxDbm);
  if (lower >= upper) {
    if (lower + kMinDbmRange > kMaxDbm) {
      lower = kMaxDbm - kMinDbmRange;
      upper = kMaxDbm;
    } else {
      upper = lower + kMinDbmRange;
    }
  }
  return {lower, upper};
}

QString formatFreq(float mhz) { return QString::number(double(mhz), 'f', 3); }

QString formatDbm(float dbm) { return QString::number(double(dbm), 'g', 6); }

}  // namespace FreqRange
