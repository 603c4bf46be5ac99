#pragma once

// Rules for monitoring points placed by hand and for the texts of monitoring
// entries: snapping to the sweep grid, the sweep point a manual point takes its
// level from, and matching a chart position against an entry. Points are
// (x = MHz, y = dBm).

#include <QPointF>
#include <QString>
#include <QVector>

namespace MonitorPointRules {

constexpr double kGridMhz = 0.025;
// A new manual point takes the level of a sweep point at most this far away.
constexpr double kClosestPointMhz = 0.01;
// A manual point follows the nearest sweep point closer than this.
constexpr double kRefreshRadiusMhz = 1.0;
// A chart position at most this far from an entry's frequency selects it.
constexpr double kMatchToleranceMhz = 0.2;

// The frequency rounded to the nearest kHz (Qt's rounding), three decimals.
QString formatFre(double mhz);
// Three decimals, fixed point, without rounding first.
QString formatLevel(double dbm);
// To the nearest point of the 25 kHz grid, halves away from zero.
double snapToGrid(double mhz);

// Index of the sweep point nearest to the frequency (the first of equally
// near ones); -1 for an empty sweep or when no distance is finite.
int closestPointIndex(const QVector<QPointF> &sweep, double mhz);

// The level a manual entry at this frequency takes from a sweep: the first
// point at the same frequency (fuzzy comparison), otherwise the nearest point
// closer than kRefreshRadiusMhz. False when there is none.
bool refreshedLevel(const QVector<QPointF> &sweep, double fre, double *levelDbm);

// Whether a chart frequency selects an entry at `fre`.
bool matchesEntry(double fre, double x);

}  // namespace MonitorPointRules
