#include "ConfigUtils.h"

#include <qcustomplot.h>

namespace {
constexpr double kGridPenWidth = 2.0;
constexpr double kGridDashLength = 1.5;
constexpr double kArrowWidthPx = 8.0;
constexpr double kArrowLengthPx = 10.0;
constexpr int kTickLengthInPx = 2;
constexpr int kTickLengthOutPx = 0;
constexpr int kTickLabelPaddingPx = 10;
}  // namespace

QPen ConfigUtils::pen(const QColor &color, double width, Qt::PenStyle style) {
  return QPen(QBrush(color), width, style, Qt::SquareCap, Qt::BevelJoin);
}

void ConfigUtils::setGrid(QCPAxis *axis, const QColor &color) {
  QPen gridPen = pen(color, kGridPenWidth, Qt::DashLine);
  gridPen.setDashPattern({kGridDashLength, kGridDashLength});
  axis->grid()->setPen(gridPen);
  axis->grid()->setZeroLinePen(gridPen);
}

void ConfigUtils::setTicker(QCPAxis *axis, int tickCount, const QColor &color, int fontPixelSize) {
  axis->setSubTicks(false);
  axis->ticker()->setTickCount(tickCount);
  axis->ticker()->setTickStepStrategy(QCPAxisTicker::tssMeetTickCount);
  axis->setUpperEnding(QCPLineEnding(QCPLineEnding::esSpikeArrow, kArrowWidthPx, kArrowLengthPx));
  axis->setAntialiased(false);
  axis->setTickPen(pen(color, 1, Qt::SolidLine));
  axis->setTickLength(kTickLengthInPx, kTickLengthOutPx);
  axis->setTickLabelPadding(kTickLabelPaddingPx);
  axis->setTickLabelColor(Qt::white);
  QFont font;
  font.setPixelSize(fontPixelSize);
  axis->setTickLabelFont(font);
}

void ConfigUtils::setRange(QCPAxis *axis, double lower, double upper) { axis->setRange(lower, upper); }

void ConfigUtils::setupIntTicker(QCPAxis *axis, double tickStep, int tickCount) {
  QSharedPointer<QCPAxisTickerFixed> ticker(new QCPAxisTickerFixed);
  ticker->setTickStep(tickStep);
  ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
  ticker->setTickCount(tickCount);
  axis->setTicker(ticker);
}

void ConfigUtils::configureGraph(QCPGraph *graph, const QColor &color, bool visible, const QString &layerName) {
  graph->setPen(pen(color, 1, Qt::SolidLine));
  graph->setVisible(visible);
  graph->setAntialiased(true);
  graph->setAntialiasedScatters(true);
  graph->setLayer(layerName);
}

void ConfigUtils::setDashedLine(QCPItemLine *line, double x1, double y1, double x2, double y2, const QColor &color) {
  line->start->setCoords(x1, y1);
  line->end->setCoords(x2, y2);
  line->setPen(pen(color, 1, Qt::DashLine));
}
