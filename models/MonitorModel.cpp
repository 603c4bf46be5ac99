#include "MonitorModel.h"

#include "FreqScanSetModel.h"
#include "InterferencePoints.h"
#include "LoggerService.h"
#include "MonitorPointRules.h"
#include "PrioritySearch.h"

#include <QVariantMap>

#include <cmath>

MonitorModel *MonitorModel::m_instance = nullptr;

namespace {

const QString kFre = QStringLiteral("fre");
const QString kStrength = QStringLiteral("strength");
const QString kSelect = QStringLiteral("select");
const QString kX = QStringLiteral("x");
const QString kY = QStringLiteral("y");
const QString kUsedClosestPoint = QStringLiteral("usedClosestPoint");
const QString kOriginalFre = QStringLiteral("originalFre");

}  // namespace

MonitorModel *MonitorModel::instance() {
  if (!m_instance) m_instance = new MonitorModel;
  return m_instance;
}

MonitorModel::MonitorModel()
    : QObject(nullptr),
      m_autoMonitorPoints(new VariantListModel(this)),
      m_manualMonitorPoints(new VariantListModel(this)) {
  // QML reads the point vectors as arrays and hands them on to the exports.
  qRegisterMetaType<QVector<QPointF>>("QVector<QPointF>");
  connect(this, &MonitorModel::latestPointsChanged, this, &MonitorModel::onLatestPointsChanged);
  connect(this, &MonitorModel::removeAutoListAtIndex, this, &MonitorModel::onRemoveAutoListAtIndex);
  connect(this, &MonitorModel::removeManualListAtIndex, this, &MonitorModel::onRemoveManualListAtIndex);
  connect(FreqScanSetModel::instance(), &FreqScanSetModel::clearPeakPoints, this, &MonitorModel::onClearPeakPoints);
}

void MonitorModel::setLatestPoints(const QVector<QPointF> &points) {
  m_latestPoints = points;
  emit latestPointsChanged();
}

void MonitorModel::setPeakPoints(const QVector<QPointF> &points) {
  m_peakPoints = points;
  emit peakPointsChanged();
}

void MonitorModel::onClearPeakPoints() {
  m_peakPoints.clear();
  emit peakPointsChanged();
}

void MonitorModel::onLatestPointsChanged() {
  updateManualMonitorPoints();
  updateAutoMonitorPoints();
  updateHighInterferencePoints();
}

void MonitorModel::updateManualMonitorPoints() {
  if (m_manualMonitorPoints->count() == 0 || m_latestPoints.isEmpty()) return;
  for (int i = 0; i < m_manualMonitorPoints->count(); ++i) {
    QVariantMap entry = m_manualMonitorPoints->at(i).toMap();
    double level = 0.0;
    // Without a sweep point within reach the entry keeps its level.
    if (!MonitorPointRules::refreshedLevel(m_latestPoints, entry.value(kFre).toDouble(), &level)) continue;
    entry.insert(kStrength, level);
    m_manualMonitorPoints->update(i, entry);
  }
}

void MonitorModel::updateAutoMonitorPoints() {
  // After a one-click scan the list keeps its last result.
  if (!FreqScanSetModel::instance()->autoMonitor()) return;
  updateModel(m_latestPoints);
  emit pointsChanged();
}

void MonitorModel::updateModel(const QVector<QPointF> &points) {
  m_autoMonitorPoints->clear();
  if (points.isEmpty()) return;
  const QVector<QPointF> selected = getLowInterferencePoints(points);
  if (selected.isEmpty()) {
    LOG_INFO(QStringLiteral("No priority frequency points found."));
    return;
  }
  for (const QPointF &point : selected) {
    QVariantMap entry;
    entry.insert(kFre, MonitorPointRules::formatFre(point.x()));
    entry.insert(kStrength, point.y());
    entry.insert(kSelect, m_selectAll);
    m_autoMonitorPoints->append(entry);
  }
}

QVector<QPointF> MonitorModel::getLowInterferencePoints(const QVector<QPointF> &points) const {
  if (points.isEmpty()) {
    LOG_WARNING(QStringLiteral("No frequency points available, returning empty list."));
    return {};
  }
  if (points.size() == 1) {
    LOG_WARNING(QStringLiteral("Not enough frequency points available, returning empty list."));
    return {};
  }
  const double spacing = points.last().x() - points.first().x();
  LOG_INFO(QStringLiteral("Min frequency space calculated: %1").arg(spacing));
  return getFilteredPoints(points, PrioritySearch::kLevelStepDb, spacing);
}

QVector<QPointF> MonitorModel::getFilteredPoints(const QVector<QPointF> &list, double step, double spacing) const {
  const int count = FreqScanSetModel::instance()->priorityFreqNum();
  if (list.isEmpty() || count <= 0) return {};
  const PrioritySearch::LevelRange range = PrioritySearch::levelRange(list);
  LOG_INFO(QStringLiteral("Min Strength: %1").arg(range.minimum));
  LOG_INFO(QStringLiteral("Max Strength: %1").arg(range.maximum));
  return PrioritySearch::filteredPoints(list, count, step, spacing);
}

void MonitorModel::updateHighInterferencePoints() {
  if (!FreqScanSetModel::instance()->autoMonitor() || m_latestPoints.isEmpty()) return;
  setHighInterferencePoints(InterferencePoints::highInterferencePoints(m_latestPoints));
  emit pointsChanged();
}

void MonitorModel::setHighInterferencePoints(const QVector<QPointF> &points) {
  QVariantList list;
  list.reserve(points.size());
  for (const QPointF &point : points) list.append(point);
  m_highInterferencePoints = list;
}

void MonitorModel::appendManualMonitorPoint(double frequency, double strength) {
  const double snapped = MonitorPointRules::snapToGrid(frequency);
  double level = strength;
  bool usedClosestPoint = false;
  if (m_latestPoints.isEmpty()) {
    LOG_INFO(QStringLiteral("No spectrum points available. Using adjusted frequency: %1").arg(snapped));
  } else {
    const int closest = MonitorPointRules::closestPointIndex(m_latestPoints, snapped);
    if (closest >= 0) {
      const QPointF &point = m_latestPoints.at(closest);
      const double distance = std::abs(point.x() - snapped);
      if (distance <= MonitorPointRules::kClosestPointMhz) {
        LOG_INFO(QStringLiteral("Using closest spectrum point (diff=%1): Frequency=%2, Strength=%3")
                     .arg(distance)
                     .arg(snapped)
                     .arg(point.y()));
        level = point.y();
        usedClosestPoint = true;
      }
    }
  }

  const QString fre = MonitorPointRules::formatFre(snapped);
  const QString strengthText = QString::number(level, 'f', 1);
  QVariantMap entry;
  entry.insert(kX, fre);
  entry.insert(kY, MonitorPointRules::formatLevel(level));
  entry.insert(kFre, fre);
  entry.insert(kStrength, strengthText);
  entry.insert(kSelect, true);
  entry.insert(kUsedClosestPoint, usedClosestPoint);
  entry.insert(kOriginalFre, MonitorPointRules::formatFre(frequency));
  m_manualMonitorPoints->append(entry);
  LOG_INFO(QStringLiteral("Added manual monitoring point: Frequency=%1, Strength=%2").arg(fre, strengthText));
  emit pointsChanged();
}

int MonitorModel::findManualMonitorPoint(const QPointF &point) const {
  for (int i = 0; i < m_manualMonitorPoints->count(); ++i) {
    const double fre = m_manualMonitorPoints->at(i).toMap().value(kFre).toDouble();
    if (MonitorPointRules::matchesEntry(fre, point.x())) return i;
  }
  return -1;
}

void MonitorModel::onRemoveManualListAtIndex(int index) {
  if (index < 0 || index >= m_manualMonitorPoints->count()) {
    LOG_ERROR(QStringLiteral("Invalid index %1 for removing manual monitoring point.").arg(index));
    return;
  }
  m_manualMonitorPoints->remove(index);
  LOG_INFO(QStringLiteral("Removed manual monitoring point at index %1.").arg(index));
  emit pointsChanged();
}

void MonitorModel::onRemoveAutoListAtIndex(int index) {
  if (index < 0 || index >= m_autoMonitorPoints->count()) {
    LOG_ERROR(QStringLiteral("Invalid index %1 for removing auto monitoring point.").arg(index));
    return;
  }
  m_autoMonitorPoints->remove(index);
  LOG_INFO(QStringLiteral("Removed auto monitoring point at index %1.").arg(index));
  emit pointsChanged();
}

void MonitorModel::updateAutoMonitorPointSelect(int index, bool select) {
  if (index < 0 || index >= m_autoMonitorPoints->count()) {
    LOG_ERROR(QStringLiteral("Invalid index %1 for updating auto monitor point select.").arg(index));
    return;
  }
  const bool selected = !select;
  QVariantMap entry = m_autoMonitorPoints->at(index).toMap();
  entry.insert(kSelect, selected);
  m_autoMonitorPoints->update(index, entry);
  LOG_INFO(QStringLiteral("Updated auto monitor point at index %1 to select=%2").arg(index).arg(selected ? 1 : 0));
  emit pointsChanged();
}

void MonitorModel::setSelectAll(bool value) {
  m_selectAll = value;
  emit statusChanged();
  if (m_autoMonitorPoints->count() == 0) return;
  updateSelect(value);
  emit pointsChanged();
}

void MonitorModel::updateSelect(bool value) {
  for (int i = 0; i < m_autoMonitorPoints->count(); ++i) {
    QVariantMap entry = m_autoMonitorPoints->at(i).toMap();
    entry.insert(kSelect, value);
    m_autoMonitorPoints->update(i, entry);
  }
}

void MonitorModel::clearManualMonitorPoints() {
  m_manualMonitorPoints->clear();
  emit pointsChanged();
}

void MonitorModel::clearAutoMonitorPoints() {
  m_autoMonitorPoints->clear();
  emit pointsChanged();
}
