#include "SweepAxis.h"

#include <QtGlobal>
#include <cmath>

namespace SweepAxis {
namespace {

// Frequencies are worked out in kHz, where the grid and the three decimals
// are whole numbers, so equal frequencies compare equal.
constexpr double kKhzPerMhz = 1000.0;
constexpr double kGridStepKhz = 25.0;
// Tolerance for a stop that is meant to lie on a grid line (950.000 parsed
// from text may come out a hair below or above).
constexpr double kOnGridToleranceKhz = 1e-6;

double toMhz(double khz) { return khz / kKhzPerMhz; }

}  // namespace

double theoreticalStep(double startMhz, double stopMhz, int pointCount) {
  if (pointCount < 2)
    return 0.0;
  return (stopMhz - startMhz) / (pointCount - 1);
}

Grid sweepGrid(double startMhz, double stopMhz, int pointCount) {
  Grid grid;
  if (pointCount <= 0)
    return grid;
  const double startKhz = startMhz * kKhzPerMhz;
  const double stopKhz = stopMhz * kKhzPerMhz;
  // The first frequency: the start's nearest grid line, or the start itself
  // (to the kHz) when that line lies below it.
  double firstKhz = std::max(std::round(startKhz), std::round(startKhz / kGridStepKhz) * kGridStepKhz);
  if (firstKhz > stopKhz)
    firstKhz = std::round(startKhz);
  const double lastKhz =
      std::max(firstKhz, std::floor(stopKhz / kGridStepKhz + kOnGridToleranceKhz) * kGridStepKhz);

  grid.slotOfPoint.resize(pointCount);
  grid.frequencies.reserve(pointCount);
  double previousKhz = 0.0;
  for (int i = 0; i < pointCount; ++i) {
    double khz = firstKhz;
    if (pointCount > 1 && stopKhz > startKhz) {
      const double measuredKhz = startKhz + (stopKhz - startKhz) * i / (pointCount - 1);
      khz = qBound(firstKhz, std::round(measuredKhz / kGridStepKhz) * kGridStepKhz, lastKhz);
    }
    if (grid.frequencies.isEmpty() || khz > previousKhz) {
      grid.frequencies.append(toMhz(khz));
      previousKhz = khz;
    }
    grid.slotOfPoint[i] = grid.frequencies.size() - 1;
  }
  return grid;
}

QVector<double> xValues(double startMhz, double stopMhz, int pointCount) {
  return sweepGrid(startMhz, stopMhz, pointCount).frequencies;
}

QVector<double> mergeLevels(const Grid &grid, const QVector<double> &levels) {
  QVector<double> merged(grid.frequencies.size(), 0.0);
  QVector<bool> filled(grid.frequencies.size(), false);
  const int count = std::min(grid.slotOfPoint.size(), levels.size());
  for (int i = 0; i < count; ++i) {
    const int slot = grid.slotOfPoint[i];
    if (!filled[slot] || levels[i] > merged[slot]) {
      merged[slot] = levels[i];
      filled[slot] = true;
    }
  }
  return merged;
}

}  // namespace SweepAxis
