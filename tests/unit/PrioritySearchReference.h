#pragma once

// The priority-frequency search coded stage by stage and pass by pass, the
// way its rules read, with no shortcut. The library's search must give the
// same points in the same order; the differential test and the benchmark
// compare against this.

#include <QPointF>
#include <QVector>

#include <cmath>

namespace PrioritySearchReference {

constexpr double kSpacingDecrementMhz = 0.075;
constexpr double kSpacingFloorMhz = 0.05;

inline bool isPointFarEnough(const QPointF &point, const QVector<QPointF> &taken, double spacingMhz) {
  for (const QPointF &other : taken) {
    if (spacingMhz > std::abs(point.x() - other.x())) return false;
  }
  return true;
}

inline QVector<QPointF> filteredPoints(const QVector<QPointF> &list, int count, double step, double spacing) {
  QVector<QPointF> result;
  if (list.isEmpty() || count <= 0) return result;

  double minimum = list.first().y();
  double maximum = list.first().y();
  for (const QPointF &point : list) {
    if (point.y() < minimum) minimum = point.y();
    if (point.y() > maximum) maximum = point.y();
  }

  bool done = false;
  while (!done) {
    // One stage: the level window starts again just above the lowest level.
    double upper = minimum + step;
    for (;;) {
      int takenThisPass = 0;
      for (const QPointF &point : list) {
        const bool candidate = minimum <= point.y() && point.y() <= upper;
        if (candidate && isPointFarEnough(point, result, spacing)) {
          result.append(point);
          ++takenThisPass;
          if (result.size() >= count) {
            done = true;
            break;
          }
        }
      }
      if (done || result.size() >= count) {
        done = true;
        break;
      }
      upper += step;
      if (takenThisPass == 0 || upper > maximum) break;
    }
    if (done) break;
    const double next = spacing - kSpacingDecrementMhz;
    // A spacing that no longer shrinks (an infinite span) would never end.
    if (!(next > kSpacingFloorMhz) || next == spacing) break;
    spacing = next;
  }

  if (result.size() > count) result.resize(count);
  return result;
}

}  // namespace PrioritySearchReference
