#pragma once

#include <QSize>
#include <qcustomplot.h>

class QCPPainter;

// The QCustomPlot behind a Qt Quick item: never shown, drawn into a picture
// on demand. It draws like QCustomPlot::toPainter, but keeps the plot
// library's tick label cache (toPainter is meant for exports and renders
// every label afresh).
class OffscreenCustomPlot : public QCustomPlot {
  Q_OBJECT
public:
  explicit OffscreenCustomPlot(QWidget *parent = nullptr);

  // The whole plot at the given size, background included.
  void render(QCPPainter *painter, const QSize &size);
};
