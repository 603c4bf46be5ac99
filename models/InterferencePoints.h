#pragma once

// The points of a sweep that stand out above its average level: during a
// one-click scan they are painted as high-interference bands. Points are
// (x = MHz, y = dBm).

#include <QPointF>
#include <QVector>

namespace InterferencePoints {

constexpr double kMarginDb = 2.0;

// Arithmetic mean of the levels; 0 for no points.
double calculateAverageStrength(const QVector<QPointF> &points);

// The points whose level is strictly above the threshold, in their order.
QVector<QPointF> getHighInterferencePoints(const QVector<QPointF> &points, double thresholdDbm);

// Ascending frequency; points at the same frequency strongest first, otherwise in their order.
void sortPointsByFre(QVector<QPointF> &points);

// The points more than kMarginDb above the sweep's average level, ascending in frequency.
QVector<QPointF> highInterferencePoints(const QVector<QPointF> &sweep);

}  // namespace InterferencePoints
