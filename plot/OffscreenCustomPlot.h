#pragma once

#include <QSize>
#include <qcustomplot.h>

class QCPPainter;

// The QCustomPlot behind a Qt Quick item: never shown, drawn into pictures on
// demand, in two parts that a repaint puts together:
//
// - the still part: background, grids, axes and their labels, which change
//   only with the ranges, the size or the styling;
// - the moving part: the graphs and the items (traces, tracker, marker
//   lines), drawn over a copy of the still part at every repaint.
//
// Compared with one full render, the items of the default layer land above
// the axes instead of below them; they are clipped to the axis rectangle, so
// this shows at most where a line crosses the frame.
class OffscreenCustomPlot : public QCustomPlot {
  Q_OBJECT
public:
  explicit OffscreenCustomPlot(QWidget *parent = nullptr);

  // The whole plot, as QCustomPlot::toPainter draws it.
  void render(QCPPainter *painter, const QSize &size);
  // Background, grids and axes.
  void renderStillPart(QCPPainter *painter, const QSize &size);
  // Graphs and items, on a transparent background.
  void renderMovingPart(QCPPainter *painter, const QSize &size);
};
