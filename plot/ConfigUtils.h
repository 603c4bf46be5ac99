#pragma once

#include <QColor>
#include <QObject>
#include <QPen>
#include <QString>

class QCPAxis;
class QCPGraph;
class QCPItemLine;

// The chart's styling, in one place. Every pen is square-capped and
// bevel-joined.
class ConfigUtils : public QObject {
  Q_OBJECT
public:
  // Dashed grid (width 2, dashes of 1.5) in the colour, also for the zero line.
  static void setGrid(QCPAxis *axis, const QColor &color);
  // Tick count and strategy, arrow at the upper end, thin ticks pointing
  // inwards, white labels of the given pixel size.
  static void setTicker(QCPAxis *axis, int tickCount, const QColor &color, int fontPixelSize);
  static void setRange(QCPAxis *axis, double lower, double upper);
  // Ticks at multiples of the step.
  static void setupIntTicker(QCPAxis *axis, double tickStep, int tickCount);
  static void configureGraph(QCPGraph *graph, const QColor &color, bool visible, const QString &layerName);
  // A dashed line of width 1 between two plot positions.
  static void setDashedLine(QCPItemLine *line, double x1, double y1, double x2, double y2, const QColor &color);

  // The pen every function above builds on.
  static QPen pen(const QColor &color, double width, Qt::PenStyle style);

private:
  ConfigUtils() = default;
};
