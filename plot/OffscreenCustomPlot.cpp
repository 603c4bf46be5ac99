#include "OffscreenCustomPlot.h"

#include <QVector>

namespace {

// Layers of the still part that the moving part leaves out. The background
// layer stays: it holds the axis rectangles, the parents of the graphs (the
// rectangles draw no background of their own here).
const char *const kStillLayers[] = {"grid", "axes", "legend"};

}  // namespace

OffscreenCustomPlot::OffscreenCustomPlot(QWidget *parent) : QCustomPlot(parent) {}

void OffscreenCustomPlot::render(QCPPainter *painter, const QSize &size) {
  const QRect previous = viewport();
  setViewport(QRect(QPoint(0, 0), size));
  if (mBackgroundBrush.style() != Qt::NoBrush)
    painter->fillRect(mViewport, mBackgroundBrush);
  draw(painter);
  setViewport(previous);
}

void OffscreenCustomPlot::renderStillPart(QCPPainter *painter, const QSize &size) {
  QVector<QCPLayerable *> hidden;
  for (int i = 0; i < plottableCount(); ++i) {
    if (plottable(i)->visible())
      hidden.append(plottable(i));
  }
  for (int i = 0; i < itemCount(); ++i) {
    if (item(i)->visible())
      hidden.append(item(i));
  }
  for (QCPLayerable *layerable : qAsConst(hidden))
    layerable->setVisible(false);
  render(painter, size);
  for (QCPLayerable *layerable : qAsConst(hidden))
    layerable->setVisible(true);
}

void OffscreenCustomPlot::renderMovingPart(QCPPainter *painter, const QSize &size) {
  // Hiding a layer hides what lies on it and everything whose parent does:
  // the grids go with the axes.
  QVector<QCPLayer *> hidden;
  for (const char *name : kStillLayers) {
    QCPLayer *still = layer(QString::fromLatin1(name));
    if (still && still->visible())
      hidden.append(still);
  }
  for (QCPLayer *still : qAsConst(hidden))
    still->setVisible(false);
  const QRect previous = viewport();
  setViewport(QRect(QPoint(0, 0), size));
  draw(painter);
  setViewport(previous);
  for (QCPLayer *still : qAsConst(hidden))
    still->setVisible(true);
}
