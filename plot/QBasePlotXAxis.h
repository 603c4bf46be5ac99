#pragma once

#include "QBasePlotAxis.h"

#include <QString>
#include <QVector>

// The plot's bottom (frequency) axis.
class QBasePlotXAxis : public QBasePlotAxis {
  Q_OBJECT
public:
  explicit QBasePlotXAxis(QCPAxis *axis, QObject *parent = nullptr);

  // Numeric ticks chosen by the plot library.
  void initAxis();
  // Text ticks: one label per given position.
  void initAxis(const QVector<double> &ticks, const QVector<QString> &labels);
};
