#pragma once

// The rules by which the mark slots follow a sweep: which point a peak,
// valley or fixed-frequency slot shows. Pure functions over the slot list and
// the sweep's points (x = MHz, y = dBm).

#include "MarkItem.h"

#include <QList>
#include <QPointF>
#include <QVector>

namespace MarkSlots {

// A fixed-frequency slot takes the level of the nearest point up to this far away.
constexpr double kFixedNearestMhz = 2.0;

// Points from frequencies and levels pair by pair, in the given order. Lists
// of unequal length pair up to the shorter one.
QVector<QPointF> extractPoints(const QVector<double> &frequenciesMhz, const QVector<double> &levelsDbm);

// Highest level first; points of equal level keep their order.
void sortPointsByY(QVector<QPointF> &points);

// Recomputes the slots from points sorted by level, highest first. Peak slots
// take the strongest points in slot order, valley slots the weakest, other
// non-empty types the level at their frequency. No points: nothing changes.
void updateMarks(QList<MarkItem> &marks, const QVector<QPointF> &pointsByLevel);

// Three decimals, fixed point.
QString formatValue(double value);

}  // namespace MarkSlots
