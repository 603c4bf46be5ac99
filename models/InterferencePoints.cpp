#include "InterferencePoints.h"

#include <algorithm>

namespace InterferencePoints {

double calculateAverageStrength(const QVector<QPointF> &points) {
  if (points.isEmpty()) return 0.0;
  double sum = 0.0;
  for (const QPointF &point : points) sum += point.y();
  return sum / points.size();
}

QVector<QPointF> getHighInterferencePoints(const QVector<QPointF> &points, double thresholdDbm) {
  QVector<QPointF> high;
  for (const QPointF &point : points) {
    if (point.y() > thresholdDbm) high.append(point);
  }
  return high;
}

void sortPointsByFre(QVector<QPointF> &points) {
  const auto before = [](const QPointF &a, const QPointF &b) {
    return a.x() < b.x() || (a.x() == b.x() && a.y() > b.y());
  };
  // A sweep is normally in ascending frequency already.
  if (std::is_sorted(points.cbegin(), points.cend(), before)) return;
  std::stable_sort(points.begin(), points.end(), before);
}

QVector<QPointF> highInterferencePoints(const QVector<QPointF> &sweep) {
  // Which points pass the threshold does not depend on their order, and the
  // result is ordered by frequency, so the sweep is not sorted by level first.
  QVector<QPointF> high = getHighInterferencePoints(sweep, calculateAverageStrength(sweep) + kMarginDb);
  sortPointsByFre(high);
  return high;
}

}  // namespace InterferencePoints
