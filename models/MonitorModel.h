#pragma once

#include "VariantListModel.h"

#include <QObject>
#include <QPointF>
#include <QVariantList>
#include <QVector>

// Monitoring points: frequencies where a wireless audio channel can go. The
// automatic list holds the priority frequencies a running one-click scan finds
// in every sweep (quiet and far apart); the manual list holds points the user
// placed on the chart, whose levels follow every sweep. Also keeps the latest
// sweep, the peak-hold curve and, during a one-click scan, the points that
// stand out above the average level.
//
// Entries are QVariantMaps: automatic ones with "fre", "strength", "select";
// manual ones also with "x", "y", "usedClosestPoint" and "originalFre".
class MonitorModel : public QObject {
  Q_OBJECT
  Q_PROPERTY(QObject *autoMonitorPoints READ autoMonitorPoints NOTIFY pointsChanged)
  Q_PROPERTY(QObject *manualMonitorPoints READ manualMonitorPoints NOTIFY pointsChanged)
  Q_PROPERTY(QVector<QPointF> latestPoints READ latestPoints NOTIFY latestPointsChanged)
  Q_PROPERTY(QVector<QPointF> peakPoints READ peakPoints NOTIFY peakPointsChanged)
  Q_PROPERTY(bool selectAll READ selectAll WRITE setSelectAll NOTIFY statusChanged)
public:
  static MonitorModel *instance();

  VariantListModel *autoMonitorPoints() const { return m_autoMonitorPoints; }
  VariantListModel *manualMonitorPoints() const { return m_manualMonitorPoints; }
  QVector<QPointF> latestPoints() const { return m_latestPoints; }
  QVector<QPointF> peakPoints() const { return m_peakPoints; }
  bool selectAll() const { return m_selectAll; }
  void setSelectAll(bool value);

  // QPointF values (MHz, dBm) in ascending frequency, for the chart's bands.
  QVariantList highInterferencePoints() const { return m_highInterferencePoints; }

  // One sweep (ascending frequency); runs the per-sweep refresh.
  void setLatestPoints(const QVector<QPointF> &points);
  void setPeakPoints(const QVector<QPointF> &points);
  // A manual point at a chart position, snapped to the 25 kHz grid.
  void appendManualMonitorPoint(double frequency, double strength);
  // Index of the first manual entry at this chart frequency, or -1.
  int findManualMonitorPoint(const QPointF &point) const;

  Q_INVOKABLE void clearManualMonitorPoints();
  Q_INVOKABLE void clearAutoMonitorPoints();
  // `select` is the state the entry showed before the click; it is inverted.
  Q_INVOKABLE void updateAutoMonitorPointSelect(int index, bool select);

  // Steps of the automatic search, reachable for checks of their own.
  void updateModel(const QVector<QPointF> &points);
  QVector<QPointF> getLowInterferencePoints(const QVector<QPointF> &points) const;
  QVector<QPointF> getFilteredPoints(const QVector<QPointF> &list, double step, double spacing) const;

signals:
  void pointsChanged();
  void latestPointsChanged();
  void peakPointsChanged();
  void statusChanged();
  // Requests from the lists' menus and the chart's menu; handled by the model.
  void removeAutoListAtIndex(int index);
  void removeManualListAtIndex(int index);

private slots:
  void onLatestPointsChanged();
  void onRemoveAutoListAtIndex(int index);
  void onRemoveManualListAtIndex(int index);
  void onClearPeakPoints();

private:
  MonitorModel();

  void updateManualMonitorPoints();
  void updateAutoMonitorPoints();
  void updateHighInterferencePoints();
  void setHighInterferencePoints(const QVector<QPointF> &points);
  void updateSelect(bool value);

  static MonitorModel *m_instance;

  VariantListModel *m_autoMonitorPoints;
  VariantListModel *m_manualMonitorPoints;
  QVector<QPointF> m_latestPoints;
  QVector<QPointF> m_peakPoints;
  bool m_selectAll = true;
  QVariantList m_highInterferencePoints;
};
