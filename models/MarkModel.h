#pragma once

#include "MarkItem.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QVariantMap>
#include <QVector>

// The eight mark slots above the chart. Each is off, a peak or valley mark
// that follows the strongest or weakest points of every sweep, or a mark at a
// fixed frequency that reports the level there. Recomputed on every sweep and
// on every edit from the tracking panel.
class MarkModel : public QObject {
  Q_OBJECT
  Q_PROPERTY(QList<MarkItem> marks READ marks NOTIFY marksChanged)
public:
  static constexpr int kSlotCount = 8;

  static MarkModel *instance();

  QList<MarkItem> marks() const { return m_marks; }
  // The last sweep's points, highest level first.
  QVector<QPointF> currentPoints() const { return m_currentPoints; }

  // One decoded sweep: "x" (frequencies in MHz) and "y" (levels in dBm), each
  // a QVector<double> or a list of numbers, index-aligned.
  Q_INVOKABLE void updateMarkListAtCurrentPoints(const QVariantMap &points);

  static QVector<QPointF> extractPoints(const QVariantMap &points);
  static void sortPointsByY(QVector<QPointF> &points);
  void updateMarks(const QVector<QPointF> &points);

signals:
  void marksChanged();
  // Sent by the tracking panel to change one slot; handled by the model itself.
  void markUpdated(int id, QString fre, QString dbm, QString type);

private slots:
  void onMarkUpdated(int id, const QString &fre, const QString &dbm, const QString &type);

private:
  MarkModel();

  static MarkModel *m_instance;

  QList<MarkItem> m_marks;
  QVector<QPointF> m_currentPoints;
};
