#include "OffscreenCustomPlot.h"

OffscreenCustomPlot::OffscreenCustomPlot(QWidget *parent) : QCustomPlot(parent) {}

void OffscreenCustomPlot::render(QCPPainter *painter, const QSize &size) {
  const QRect previous = viewport();
  setViewport(QRect(QPoint(0, 0), size));
  if (mBackgroundBrush.style() != Qt::NoBrush)
    painter->fillRect(mViewport, mBackgroundBrush);
  draw(painter);
  setViewport(previous);
}
