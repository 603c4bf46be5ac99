#include "MonitorPointRules.h"

#include <QtGlobal>

#include <cmath>
#include <limits>

namespace MonitorPointRules {

namespace {
// Beyond this the scaled value no longer fits Qt's 64-bit rounding.
constexpr double kMaxRoundableKhz = 9.0e15;
}  // namespace

QString formatFre(double mhz) {
  const double khz = mhz * 1000.0;
  if (!std::isfinite(khz) || std::abs(khz) >= kMaxRoundableKhz) return QString::number(mhz, 'f', 3);
  return QString::number(double(qRound64(khz)) / 1000.0, 'f', 3);
}

QString formatLevel(double dbm) {
  return QString::number(dbm, 'f', 3);
}

double snapToGrid(double mhz) {
  return std::round(mhz / kGridMhz) * kGridMhz;
}

int closestPointIndex(const QVector<QPointF> &sweep, double mhz) {
  int best = -1;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (int i = 0; i < sweep.size(); ++i) {
    const double distance = std::abs(sweep.at(i).x() - mhz);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

bool refreshedLevel(const QVector<QPointF> &sweep, double fre, double *levelDbm) {
  const QPointF *nearest = nullptr;
  double nearestDistance = kRefreshRadiusMhz;
  for (const QPointF &point : sweep) {
    // Compared shifted by one so that frequencies near zero are not held to a relative tolerance of nothing.
    if (qFuzzyCompare(1.0 + fre, 1.0 + point.x())) {
      *levelDbm = point.y();
      return true;
    }
    const double distance = std::abs(fre - point.x());
    if (distance < nearestDistance) {
      nearest = &point;
      nearestDistance = distance;
    }
  }
  if (!nearest) return false;
  *levelDbm = nearest->y();
  return true;
}

bool matchesEntry(double fre, double x) {
  return qFuzzyCompare(fre, x) || std::abs(fre - x) <= kMatchToleranceMhz;
}

}  // namespace MonitorPointRules
