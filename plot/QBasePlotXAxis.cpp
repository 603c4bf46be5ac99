#include "QBasePlotXAxis.h"

#include <qcustomplot.h>

QBasePlotXAxis::QBasePlotXAxis(QCPAxis *axis, QObject *parent) : QBasePlotAxis(axis, parent) {}

void QBasePlotXAxis::initAxis() { axis()->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker)); }

void QBasePlotXAxis::initAxis(const QVector<double> &ticks, const QVector<QString> &labels) {
  QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
  ticker->setTicks(ticks, labels);
  axis()->setTicker(ticker);
}
