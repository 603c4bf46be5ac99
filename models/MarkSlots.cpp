#include "MarkSlots.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

namespace MarkSlots {

namespace {

void showPoint(MarkItem &slot, const QPointF &point) {
  slot.setFre(formatValue(point.x()));
  slot.setDbm(formatValue(point.y()));
}

void updateFixedSlot(MarkItem &slot, const QVector<QPointF> &pointsByLevel) {
  const double f = slot.fre().toDouble();
  const QPointF *nearest = nullptr;
  double nearestDistance = std::numeric_limits<double>::infinity();
  for (const QPointF &point : pointsByLevel) {
    if (qFuzzyCompare(point.x(), f)) {
      showPoint(slot, point);
      return;
    }
    const double distance = std::abs(point.x() - f);
    // Strictly closer only: among equal distances the stronger point, met first, stays.
    if (distance < nearestDistance) {
      nearest = &point;
      nearestDistance = distance;
    }
  }
  if (nearest && nearestDistance <= kFixedNearestMhz) {
    slot.setFre(formatValue(f));
    slot.setDbm(formatValue(nearest->y()));
  }
}

}  // namespace

QString formatValue(double value) {
  return QString::number(value, 'f', 3);
}

QVector<QPointF> extractPoints(const QVector<double> &frequenciesMhz, const QVector<double> &levelsDbm) {
  const int count = std::min(frequenciesMhz.size(), levelsDbm.size());
  QVector<QPointF> points;
  points.reserve(count);
  for (int i = 0; i < count; ++i) points.append(QPointF(frequenciesMhz.at(i), levelsDbm.at(i)));
  return points;
}

void sortPointsByY(QVector<QPointF> &points) {
  std::stable_sort(points.begin(), points.end(), [](const QPointF &a, const QPointF &b) { return a.y() > b.y(); });
}

void updateMarks(QList<MarkItem> &marks, const QVector<QPointF> &pointsByLevel) {
  if (pointsByLevel.isEmpty()) return;
  const int count = pointsByLevel.size();
  int peaksUsed = 0;
  int valleysUsed = 0;
  for (MarkItem &slot : marks) {
    const QString type = slot.type();
    if (type.isEmpty()) continue;
    if (type == MarkItem::peakType()) {
      if (peaksUsed < count) showPoint(slot, pointsByLevel.at(peaksUsed));
      ++peaksUsed;
    } else if (type == MarkItem::valleyType()) {
      if (valleysUsed < count) showPoint(slot, pointsByLevel.at(count - 1 - valleysUsed));
      ++valleysUsed;
    } else {
      updateFixedSlot(slot, pointsByLevel);
    }
  }
}

}  // namespace MarkSlots
