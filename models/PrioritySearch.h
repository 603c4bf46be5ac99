#pragma once

// The search for priority frequencies in one sweep: quiet points (near the
// lowest level) that lie as far apart as possible. Stages run with a spacing
// that starts at the given value and shrinks by kSpacingDecrementMhz per
// stage; within a stage, passes widen a level window upwards from the lowest
// level in steps, each pass taking, in sweep order, every point inside the
// window that keeps at least the spacing to every point taken so far.
//
// Points are (x = MHz, y = dBm) in sweep order (ascending frequency).

#include <QPointF>
#include <QVector>

namespace PrioritySearch {

constexpr double kLevelStepDb = 1.0;
constexpr double kSpacingDecrementMhz = 0.075;
constexpr double kSpacingFloorMhz = 0.05;

struct LevelRange {
  double minimum;
  double maximum;
};

// Lowest and highest level of a non-empty list.
LevelRange levelRange(const QVector<QPointF> &points);

// True unless a taken point lies closer than the spacing; a distance equal to
// the spacing is far enough.
bool isPointFarEnough(const QPointF &point, const QVector<QPointF> &taken, double spacingMhz);

// At most `count` points in the order they were taken; empty for an empty list
// or a count of 0 or less.
//
// The stages are not run one by one: a stage whose first pass cannot take a
// point changes nothing but the spacing, and whether it can is known from the
// distance of each point of the first window to its nearest taken point. Those
// stages are skipped with the same arithmetic on the spacing, so the result is
// the one the stage-by-stage search gives, point for point.
QVector<QPointF> filteredPoints(const QVector<QPointF> &points, int count, double levelStepDb, double spacingMhz);

}  // namespace PrioritySearch
