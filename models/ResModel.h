#pragma once

#include <QObject>
#include <QPointF>
#include <QString>
#include <QVector>

// Export service for the spectrum: writes CSV files of a sweep and relays picture
// requests to the spectrum view (only the view owns the plot). Stateless; every
// call is one modal save dialog followed by one write.
class ResModel : public QObject {
  Q_OBJECT
public:
  static ResModel *instance();

  // Saves the points as CSV, proposing defaultFileName (one %1 for the time stamp).
  Q_INVOKABLE void saveCsv(const QString &defaultFileName, const QVector<QPointF> &points);

  // Qt's own save dialog with a time-stamped proposal; empty when the user cancelled.
  static QString getSaveFilePath(const QString &typeName, const QString &defaultFileName, const QString &filter);

signals:
  // A request for a PNG of the chart; the spectrum view answers it.
  void savePng();

private:
  explicit ResModel(QObject *parent = nullptr);

  static ResModel *m_instance;
};
