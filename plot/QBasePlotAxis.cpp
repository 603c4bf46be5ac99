#include "QBasePlotAxis.h"

#include <qcustomplot.h>

QBasePlotAxis::QBasePlotAxis(QCPAxis *axis, QObject *parent) : QObject(parent), m_axis(axis) {}

double QBasePlotAxis::pixelToCoord(double pixel) const { return m_axis->pixelToCoord(pixel); }

double QBasePlotAxis::coordToPixel(double coordinate) const { return m_axis->coordToPixel(coordinate); }

double QBasePlotAxis::getMaxPixel() const { return m_axis->coordToPixel(m_axis->range().upper); }

double QBasePlotAxis::getMinPixel() const { return m_axis->coordToPixel(m_axis->range().lower); }

double QBasePlotAxis::getMaxCoordinate() const { return m_axis->range().upper; }

double QBasePlotAxis::getMinCoordinate() const { return m_axis->range().lower; }

bool QBasePlotAxis::isInvalidCoordinate(double coordinate) const {
  const QCPRange range = m_axis->range();
  return coordinate > range.upper || coordinate < range.lower;
}
