#include "QBasePlotYAxis.h"

#include <qcustomplot.h>

QBasePlotYAxis::QBasePlotYAxis(QCPAxis *axis, QObject *parent) : QBasePlotAxis(axis, parent) {}

void QBasePlotYAxis::initAxis() { axis()->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker)); }

void QBasePlotYAxis::initAxis(const QVector<double> &ticks, const QVector<QString> &labels) {
  QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
  ticker->setTicks(ticks, labels);
  axis()->setTicker(ticker);
}
