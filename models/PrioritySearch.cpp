#include "PrioritySearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace PrioritySearch {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The spacing of the next stage, or false when the search ends there. A
// spacing that no longer shrinks (infinite span) ends the search as well.
bool nextSpacing(double &spacingMhz) {
  const double next = spacingMhz - kSpacingDecrementMhz;
  if (!(next > kSpacingFloorMhz) || next == spacingMhz) return false;
  spacingMhz = next;
  return true;
}

class Search {
public:
  Search(const QVector<QPointF> &points, int count, double levelStepDb)
      : m_points(points), m_count(count), m_levelStepDb(levelStepDb), m_range(levelRange(points)) {
    const size_t size = size_t(points.size());
    m_xs.reserve(size);
    m_ys.reserve(size);
    for (const QPointF &point : points) {
      m_xs.push_back(point.x());
      m_ys.push_back(point.y());
    }
    m_nearestTakenMhz.assign(size, kInfinity);
    m_result.reserve(std::min(count, int(points.size())));
    m_firstUpperDbm = m_range.minimum + m_levelStepDb;
    for (size_t i = 0; i < size; ++i) {
      if (inWindow(i, m_firstUpperDbm)) m_firstWindow.push_back(i);
    }
    m_ascending = std::isfinite(m_xs.empty() ? 0.0 : m_xs.front());
    for (size_t i = 1; i < size && m_ascending; ++i) m_ascending = m_xs[i - 1] < m_xs[i] && std::isfinite(m_xs[i]);
  }

  QVector<QPointF> run(double spacingMhz) {
    for (;;) {
      // Stages whose first pass takes nothing only shrink the spacing.
      const double reachMhz = firstWindowReach();
      while (spacingMhz > reachMhz) {
        if (!nextSpacing(spacingMhz)) return m_result;
      }
      if (runStage(spacingMhz)) return m_result;
      if (!nextSpacing(spacingMhz)) return m_result;
    }
  }

private:
  bool inWindow(size_t i, double upperDbm) const {
    const double level = m_ys[i];
    return m_range.minimum <= level && level <= upperDbm;
  }

  // The largest distance from a point of the first window to its nearest
  // taken point: a first pass takes a point exactly when the spacing is not
  // above it.
  double firstWindowReach() const {
    double reach = -kInfinity;
    for (size_t i : m_firstWindow) reach = std::max(reach, m_nearestTakenMhz[i]);
    return reach;
  }

  // Keeps, per point, the distance to its nearest taken point wherever that
  // distance is below the spacing in force; elsewhere the kept value may be
  // larger, but never below the spacing. The spacing only shrinks, so a point
  // is rejected exactly when it would be against the true distance.
  void take(size_t index, double spacingMhz) {
    m_result.append(m_points.at(int(index)));
    const double x = m_xs[index];
    size_t first = 0;
    size_t last = m_xs.size();
    if (m_ascending && spacingMhz > 0.0 && std::isfinite(spacingMhz)) {
      // Along ascending frequencies the distance falls towards the taken point and grows after it.
      const auto below = m_xs.begin() + std::ptrdiff_t(index);
      first = size_t(std::partition_point(m_xs.begin(), below, [&](double xi) { return !(x - xi < spacingMhz); }) -
                     m_xs.begin());
      last = size_t(std::partition_point(below, m_xs.end(), [&](double xi) { return xi - x < spacingMhz; }) -
                    m_xs.begin());
    }
    // fmin ignores NaN, as "closer than the spacing" is never true for a NaN distance.
    for (size_t i = first; i < last; ++i) m_nearestTakenMhz[i] = std::fmin(m_nearestTakenMhz[i], std::abs(m_xs[i] - x));
  }

  bool tryTake(size_t i, double upperDbm, double spacingMhz) {
    if (!inWindow(i, upperDbm) || spacingMhz > m_nearestTakenMhz[i]) return false;
    take(i, spacingMhz);
    return true;
  }

  // One pass; the number of points taken. Stops as soon as the result is full.
  int runPass(double upperDbm, double spacingMhz, bool firstPass) {
    int taken = 0;
    const size_t size = firstPass ? m_firstWindow.size() : m_xs.size();
    for (size_t k = 0; k < size; ++k) {
      if (!tryTake(firstPass ? m_firstWindow[k] : k, upperDbm, spacingMhz)) continue;
      ++taken;
      if (m_result.size() >= m_count) break;
    }
    return taken;
  }

  // One stage; true when the result is full.
  bool runStage(double spacingMhz) {
    double upperDbm = m_firstUpperDbm;
    for (bool firstPass = true;; firstPass = false) {
      const int taken = runPass(upperDbm, spacingMhz, firstPass);
      if (m_result.size() >= m_count) return true;
      upperDbm += m_levelStepDb;
      if (taken == 0 || upperDbm > m_range.maximum) return false;
    }
  }

  const QVector<QPointF> &m_points;
  const int m_count;
  const double m_levelStepDb;
  const LevelRange m_range;
  std::vector<double> m_xs;
  std::vector<double> m_ys;
  bool m_ascending = false;
  double m_firstUpperDbm = 0.0;
  // The first pass of every stage sees only these points, in sweep order.
  std::vector<size_t> m_firstWindow;
  // Per point: distance to the nearest taken point, as far as it matters (see take).
  std::vector<double> m_nearestTakenMhz;
  QVector<QPointF> m_result;
};

}  // namespace

LevelRange levelRange(const QVector<QPointF> &points) {
  LevelRange range{points.first().y(), points.first().y()};
  for (const QPointF &point : points) {
    if (point.y() < range.minimum) range.minimum = point.y();
    if (point.y() > range.maximum) range.maximum = point.y();
  }
  return range;
}

bool isPointFarEnough(const QPointF &point, const QVector<QPointF> &taken, double spacingMhz) {
  for (const QPointF &other : taken) {
    if (spacingMhz > std::abs(point.x() - other.x())) return false;
  }
  return true;
}

QVector<QPointF> filteredPoints(const QVector<QPointF> &points, int count, double levelStepDb, double spacingMhz) {
  if (points.isEmpty() || count <= 0) return {};
  QVector<QPointF> result = Search(points, count, levelStepDb).run(spacingMhz);
  if (result.size() > count) result.resize(count);
  return result;
}

}  // namespace PrioritySearch
