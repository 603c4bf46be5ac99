#pragma once

// Where the points of a sweep lie on the frequency axis. The analyser returns
// levels only; their frequencies follow from the requested range and the
// number of points, placed on the 25 kHz channel grid.
//
// The rule: point i of n measures at start + i * (stop - start) / (n - 1) and
// is shown at the grid frequency nearest to it. The first frequency is the
// start itself when the start lies between grid lines and its nearest grid
// line is below it; nothing lies below the start or above the stop, which is
// pinned to the last grid line at or below it. When the points are denser
// than the grid (1000 points over less than 24.975 MHz), several points share
// one grid frequency and the sweep shows the strongest of them there, so the
// trace stays true to the range and never hides a signal.

#include <QVector>

namespace SweepAxis {

constexpr double kGridStepMhz = 0.025;

struct Grid {
  // Strictly ascending frequencies in MHz with three decimals.
  QVector<double> frequencies;
  // For every point of the sweep, the index of its frequency.
  QVector<int> slotOfPoint;
};

// The grid of a sweep of pointCount points over [startMhz, stopMhz]. With no
// points it is empty; with one point, or a stop not above the start, every
// point lies at the start.
Grid sweepGrid(double startMhz, double stopMhz, int pointCount);

// The frequencies alone.
QVector<double> xValues(double startMhz, double stopMhz, int pointCount);

// The step between the measured points, (stop - start) / (n - 1); 0 for fewer
// than two points.
double theoreticalStep(double startMhz, double stopMhz, int pointCount);

// One level per grid frequency: the highest of the points at it. `levels`
// holds one level per point of the grid's sweep (a frequency none of the given
// levels reaches reads 0).
QVector<double> mergeLevels(const Grid &grid, const QVector<double> &levels);

}  // namespace SweepAxis
