#include "FreqSpectrumView.h"

#include "ConfigUtils.h"
#include "FrameSeqModel.h"
#include "FreqScanSetModel.h"
#include "LoggerService.h"
#include "MarkModel.h"
#include "MonitorModel.h"
#include "PerfProbe.h"
#include "PresetModel.h"
#include "ResModel.h"
#include "ThreadHandoff.h"
#include "VideoModel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPointer>
#include <QVariantMap>
#include <cmath>
#include <functional>

using ChartGeometry::BandSegment;

namespace {

const QString kOverlayLayer = QStringLiteral("overlay");
const QColor kAxisColor(255, 255, 255, 50);
const QColor kMainTraceColor(QStringLiteral("#80ff80"));
const QColor kPeakTraceColor(255, 165, 0);
const QColor kTipColor(255, 255, 255, 100);
const QColor kPriorityFill(QStringLiteral("#FF6A5ACD"));
const QColor kPriorityOutline(QStringLiteral("#FF00BFFF"));
const QColor kInterferenceFill(255, 165, 0, 60);
const QColor kHighlightColor(192, 192, 192, 100);
const QString kAutoScanTipText = QStringLiteral("正在搜索中...");
const QString kUnitLabelText = QStringLiteral("Log Mag dBm");
const QString kStoppedStatus = QStringLiteral("stop");

constexpr int kAxisFontPx = 12;
constexpr int kFrequencyTickCount = 8;
constexpr int kLevelTickCount = 20;
constexpr double kLevelTickStepDb = 0.1;
constexpr int kTopLayoutMarginPx = 30;
constexpr int kRightLayoutMarginPx = 10;
constexpr double kArrowWidthPx = 8.0;
constexpr double kArrowLengthPx = 10.0;
constexpr double kTrackerInitialMhz = 560.0;
constexpr double kTrackerInitialDbm = -85.0;
constexpr int kTrackerPaddingPx = 5;
constexpr double kTrackerDashPx = 5.0;
constexpr double kTracerSizePx = 10.0;
constexpr double kMarkerHalfWidthPx = 10.0;
constexpr double kMarkerHeightPx = 10.0;
constexpr double kMarkNumberDxPx = -5.0;
constexpr double kMarkNumberDyPx = -20.0;
constexpr int kMarkFontPoints = 9;
constexpr int kMarkFontWeight = 75;
constexpr double kManualHalfSizePx = 10.0;
constexpr double kOutlineWidthPx = 2.0;
const QPointF kUnitLabelBaseline(10, 18);

QPolygonF downTriangle(double x, double tipY) {
  return QPolygonF({QPointF(x - kMarkerHalfWidthPx, tipY - kMarkerHeightPx),
                    QPointF(x + kMarkerHalfWidthPx, tipY - kMarkerHeightPx), QPointF(x, tipY)});
}

QPolygonF upTriangle(double x, double tipY) {
  return QPolygonF({QPointF(x - kMarkerHalfWidthPx, tipY + kMarkerHeightPx),
                    QPointF(x + kMarkerHalfWidthPx, tipY + kMarkerHeightPx), QPointF(x, tipY)});
}

bool sameFrequencies(const QVector<QPointF> &a, const QVector<QPointF> &b) {
  return a.size() == b.size() && !a.isEmpty() && qFuzzyCompare(a.first().x(), b.first().x())
         && qFuzzyCompare(a.last().x(), b.last().x());
}

}  // namespace

FreqSpectrumView::FreqSpectrumView(QQuickItem *parent)
    : QBaseWidgetPlot(parent), m_mainGraph(customPlot()->addGraph()), m_peakGraph(customPlot()->addGraph()) {
  QCustomPlot *plot = customPlot();
  m_warningLineHigh = new QCPItemLine(plot);
  m_warningLineLow = new QCPItemLine(plot);
  m_autoScanTip = new QCPItemText(plot);
  m_trackerText = new QCPItemText(plot);
  m_trackerLine = new QCPItemLine(plot);
  m_tracer = new QCPItemTracer(plot);

  const FreqScanSetModel *settings = FreqScanSetModel::instance();
  m_xMin = settings->startFreqStr().toDouble();
  emit axisChanged();
  m_xMax = settings->stopFreqStr().toDouble();
  emit axisChanged();
  m_yMin = settings->lowerDbmStr().toDouble();
  emit axisChanged();
  m_yMax = settings->upperDbmStr().toDouble();
  emit axisChanged();
}

FreqSpectrumView::~FreqSpectrumView() = default;

void FreqSpectrumView::setAutoScanLabelVisible(bool visible) {
  m_autoScanLabelVisible = visible;
  emit autoScanLabelVisibleChanged();
}

void FreqSpectrumView::setFrequencyPriorityFlag(bool visible) {
  m_frequencyPriorityFlag = visible;
  emit frequencyPriorityFlagChanged();
  requestOverlayRepaint();
}

// ---- set-up ---------------------------------------------------------------

void FreqSpectrumView::initCustomPlot() {
  if (m_initialized) {
    // A second call would connect every signal twice.
    LOG_WARNING(QStringLiteral("Spectrum view already initialised; ignoring the repeated call."));
    return;
  }
  m_initialized = true;
  initAxis();
  initGrid();
  initGraph();
  initBackground();

  QCustomPlot *plot = customPlot();
  placeWarningLines();

  QPen trackerPen(Qt::white, 1);
  trackerPen.setDashPattern({kTrackerDashPx, kTrackerDashPx});
  m_trackerLine->setPen(trackerPen);

  m_trackerText->setText(QString());
  m_trackerText->setLayer(kOverlayLayer);
  m_trackerText->setPen(QPen(Qt::transparent));
  m_trackerText->setBrush(QBrush(Qt::transparent));
  m_trackerText->setColor(Qt::white);
  m_trackerText->setPadding(QMargins(kTrackerPaddingPx, kTrackerPaddingPx, kTrackerPaddingPx, kTrackerPaddingPx));
  m_trackerText->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_trackerText->position->setCoords(kTrackerInitialMhz, kTrackerInitialDbm);
  m_trackerText->setVisible(true);

  m_autoScanTip->setText(kAutoScanTipText);
  m_autoScanTip->setLayer(kOverlayLayer);
  m_autoScanTip->setPen(QPen(Qt::transparent));
  m_autoScanTip->setBrush(QBrush(Qt::transparent));
  m_autoScanTip->setColor(kTipColor);
  m_autoScanTip->setVisible(false);
  m_autoScanTip->position->setType(QCPItemPosition::ptAbsolute);

  m_tracer->setLayer(kOverlayLayer);
  m_tracer->setPen(QPen(QBrush(Qt::white), 1, Qt::DashLine));
  m_tracer->setStyle(QCPItemTracer::tsCircle);
  m_tracer->setSize(kTracerSizePx);
  m_tracer->setInterpolating(true);
  m_tracer->setVisible(false);

  plot->rescaleAxes(false);

  FreqScanSetModel *settings = FreqScanSetModel::instance();
  MonitorModel *monitor = MonitorModel::instance();
  connect(PresetModel::instance(), &PresetModel::pointsChanged, this, &FreqSpectrumView::showStoredPoints);
  connect(FrameSeqModel::instance(), &FrameSeqModel::scanSuccessed, this, &FreqSpectrumView::onScanSuccessed);
  connect(settings, &FreqScanSetModel::clearPeakPoints, this, &FreqSpectrumView::onClearPeakPoints);
  connect(monitor, &MonitorModel::pointsChanged, this, [this] { repaintOverlays(PriorityPart | ManualPart); });
  connect(plot, &QCustomPlot::mouseMove, this, &FreqSpectrumView::onPlotMouseMove);
  connect(plot, &QCustomPlot::mousePress, this, &FreqSpectrumView::onPlotMousePress);
  connect(plot, &QCustomPlot::mouseDoubleClick, this, &FreqSpectrumView::onPlotMouseDoubleClick);
  connect(plot, &QCustomPlot::mouseRelease, this, &FreqSpectrumView::onPlotMouseRelease);
  connect(plot->xAxis, qOverload<const QCPRange &, const QCPRange &>(&QCPAxis::rangeChanged), this,
          &FreqSpectrumView::handleXAxisChanged);
  connect(plot->yAxis, qOverload<const QCPRange &, const QCPRange &>(&QCPAxis::rangeChanged), this,
          &FreqSpectrumView::handleYAxisChanged);
  connect(this, &FreqSpectrumView::axisChanged, this, &FreqSpectrumView::onAxisChanged);
  connect(settings, &FreqScanSetModel::startFreqStrChanged, this, &FreqSpectrumView::onStartFreqChanged);
  connect(settings, &FreqScanSetModel::stopFreqStrChanged, this, &FreqSpectrumView::onStopFreqChanged);
  connect(MarkModel::instance(), &MarkModel::marksChanged, this, [this] { repaintOverlays(MarksPart); });
  connect(settings, &FreqScanSetModel::peakSwitchChanged, this, [this] {
    ConfigUtils::configureGraph(m_peakGraph.graph(), kPeakTraceColor, FreqScanSetModel::instance()->peakSwitch(),
                                kOverlayLayer);
    repaint();
  });
  connect(settings, &FreqScanSetModel::markPriorityFreqChanged, this, [this] {
    m_autoScanTip->setVisible(FreqScanSetModel::instance()->autoMonitor());
    repaint();
  });
  connect(ResModel::instance(), &ResModel::savePng, this,
          [this] { savePng(customPlot()->width(), customPlot()->height()); });
  connect(settings, &FreqScanSetModel::autoMonitorChanged, this, &FreqSpectrumView::repaint);
  // The marks are drawn only while the mark switch is on, and the monitoring
  // lists can also change through their own list models.
  connect(settings, &FreqScanSetModel::markSwitchChanged, this,
          [this] { repaintOverlays(MarksPart | ManualPart | LabelPart); });
  const std::pair<VariantListModel *, unsigned> lists[] = {{monitor->autoMonitorPoints(), PriorityPart},
                                                           {monitor->manualMonitorPoints(), ManualPart}};
  for (const auto &list : lists) {
    const unsigned part = list.second;
    connect(list.first, &VariantListModel::listChanged, this, [this, part] { repaintOverlays(part); });
    connect(list.first, &QAbstractItemModel::rowsInserted, this, [this, part] { repaintOverlays(part); });
  }

  onChartViewSizeChanged();
}

void FreqSpectrumView::initAxis() {
  const FreqScanSetModel *settings = FreqScanSetModel::instance();
  const double start = settings->startFreqStr().toDouble();
  const double stop = settings->stopFreqStr().toDouble();
  const double lower = settings->lowerDbmStr().toDouble();
  const double upper = settings->upperDbmStr().toDouble();
  QCustomPlot *plot = customPlot();
  const QCPLineEnding noEnding(QCPLineEnding::esNone, kArrowWidthPx, kArrowLengthPx);

  for (QCPAxis *axis : {plot->xAxis, plot->xAxis2}) {
    axis->setBasePen(ConfigUtils::pen(kAxisColor, 1, Qt::SolidLine));
    ConfigUtils::setGrid(axis, kAxisColor);
    ConfigUtils::setTicker(axis, kFrequencyTickCount, kAxisColor, kAxisFontPx);
    ConfigUtils::setRange(axis, start, stop);
  }
  plot->xAxis2->setVisible(true);
  plot->xAxis2->setTickLabels(false);
  plot->xAxis2->setUpperEnding(noEnding);

  for (QCPAxis *axis : {plot->yAxis, plot->yAxis2}) {
    axis->setBasePen(ConfigUtils::pen(kAxisColor, 1, Qt::SolidLine));
    ConfigUtils::setGrid(axis, kAxisColor);
    ConfigUtils::setTicker(axis, kLevelTickCount, kAxisColor, kAxisFontPx);
    ConfigUtils::setRange(axis, lower, upper);
    ConfigUtils::setupIntTicker(axis, kLevelTickStepDb, kLevelTickCount);
  }
  plot->yAxis2->setVisible(true);
  plot->yAxis2->setTickLabels(false);
  plot->yAxis2->setUpperEnding(noEnding);

  setLevelLabelColumn();
}

void FreqSpectrumView::setLevelLabelColumn() {
  // The plot library sizes the left margin from the widest tick label, which
  // would make the plot jump sideways when the level range changes; the
  // margin is fixed to a 48-pixel label column instead.
  const QCPAxis *axis = customPlot()->yAxis;
  const int leftMarginPx = axis->padding() + std::max(0, std::max(axis->tickLengthOut(), axis->subTickLengthOut()))
                           + axis->tickLabelPadding() + kLevelLabelColumnPx;
  QCPAxisRect *rect = customPlot()->axisRect();
  rect->setAutoMargins(QCP::msTop | QCP::msRight | QCP::msBottom);
  QMargins margins = rect->margins();
  margins.setLeft(leftMarginPx);
  rect->setMargins(margins);
}

void FreqSpectrumView::initGraph() {
  ConfigUtils::configureGraph(m_mainGraph.graph(), kMainTraceColor, true, kOverlayLayer);
  ConfigUtils::configureGraph(m_peakGraph.graph(), kPeakTraceColor, FreqScanSetModel::instance()->peakSwitch(),
                              kOverlayLayer);
}

void FreqSpectrumView::onChartViewSizeChanged() {
  applyGeometry(QMargins(0, kTopLayoutMarginPx, kRightLayoutMarginPx, 0));
  placeAutoScanTip();
  invalidateOverlays();
}

void FreqSpectrumView::placeWarningLines() {
  const QCPRange range = customPlot()->xAxis->range();
  ConfigUtils::setDashedLine(m_warningLineHigh, range.lower, kWarningLevelHighDbm, range.upper,
                             kWarningLevelHighDbm, Qt::red);
  ConfigUtils::setDashedLine(m_warningLineLow, range.lower, kWarningLevelLowDbm, range.upper, kWarningLevelLowDbm,
                             Qt::red);
}

void FreqSpectrumView::placeAutoScanTip() {
  QFont font = m_autoScanTip->font();
  font.setPointSize(ChartGeometry::autoScanTipPointSize(customPlot()->height()));
  m_autoScanTip->setFont(font);
  m_autoScanTip->position->setType(QCPItemPosition::ptAbsolute);
  m_autoScanTip->position->setPixelPosition(customPlot()->axisRect()->rect().center());
}

// ---- sweeps ---------------------------------------------------------------

SweepAxis::Grid FreqSpectrumView::calculateXValues(int pointCount) {
  const FreqScanSetModel *settings = FreqScanSetModel::instance();
  const double start = settings->startFreqStr().toDouble();
  const double stop = settings->stopFreqStr().toDouble();
  SweepAxis::Grid grid = SweepAxis::sweepGrid(start, stop, pointCount);
  if (!grid.frequencies.isEmpty()) {
    LOG_INFO(QStringLiteral("Start Freq: %1 End Freq: %2 Theoretical Step: %3 First X: %4 Last X: %5")
                 .arg(start)
                 .arg(stop)
                 .arg(SweepAxis::theoreticalStep(start, stop, pointCount))
                 .arg(grid.frequencies.first())
                 .arg(grid.frequencies.last()));
  }
  return grid;
}

void FreqSpectrumView::onScanSuccessed(const QVariantList &pointList) {
  ThreadHandoff::acquire();
  PerfProbe::sweepTaken();
  takeSweep(pointList);
}

void FreqSpectrumView::takeSweep(const QVariantList &pointList) {
  const SweepAxis::Grid grid = calculateXValues(pointList.size());
  QVector<double> levels;
  levels.reserve(pointList.size());
  for (const QVariant &level : pointList)
    levels.append(double(level.toInt()));
  const QVector<double> ys = SweepAxis::mergeLevels(grid, levels);
  const QVector<double> &xs = grid.frequencies;

  QVariantMap sweep;
  sweep.insert(QStringLiteral("x"), QVariant::fromValue(xs));
  sweep.insert(QStringLiteral("y"), QVariant::fromValue(ys));
  MarkModel::instance()->updateMarkListAtCurrentPoints(sweep);

  m_mainPoints.resize(xs.size());
  for (int i = 0; i < xs.size(); ++i)
    m_mainPoints[i] = QPointF(xs[i], ys[i]);
  restartPeakIfGridChanged();
  MonitorModel::instance()->setLatestPoints(m_mainPoints);
  updateGraphs(xs, ys);
  // Published after the merge, so that the max-hold others save is the one drawn.
  MonitorModel::instance()->setPeakPoints(m_peakPoints);
}

void FreqSpectrumView::showStoredPoints(const QVector<QPointF> &points) {
  m_frequencyPriorityFlag = false;
  emit frequencyPriorityFlagChanged();
  m_mainPoints = points;
  MonitorModel::instance()->setLatestPoints(m_mainPoints);
  restartPeakIfGridChanged();
  QVector<double> xs(points.size());
  QVector<double> ys(points.size());
  for (int i = 0; i < points.size(); ++i) {
    xs[i] = points[i].x();
    ys[i] = points[i].y();
  }
  updateGraphs(xs, ys);
  MonitorModel::instance()->setPeakPoints(m_peakPoints);
}

void FreqSpectrumView::restartPeakIfGridChanged() {
  // The max-hold is merged point by point, so it only makes sense over the
  // same frequencies: a new span or a different number of points restarts it.
  if (!sameFrequencies(m_peakPoints, m_mainPoints))
    m_peakPoints = m_mainPoints;
}

void FreqSpectrumView::updateGraphs(const QVector<double> &xs, const QVector<double> &ys) {
  // Levels outside the level range are pinned just inside the frame; the
  // points themselves keep their true levels.
  const double lowestDrawn = pixelToCoordinateY(coordinateToPixelY(m_yMin) - kClampInsetPx);
  const double highestDrawn = pixelToCoordinateY(coordinateToPixelY(m_yMax) + kClampInsetPx);
  QVector<double> drawn = ys;
  for (double &level : drawn) {
    if (m_yMin >= level)
      level = lowestDrawn;
    if (m_yMax <= level)
      level = highestDrawn;
  }
  m_mainGraph.setData(xs, drawn);

  // The max-hold keeps the highest true level per point; the comparison is on
  // true levels, so zooming the level range never lowers it.
  if (sameFrequencies(m_peakPoints, m_mainPoints)) {
    for (int i = 0; i < m_mainPoints.size(); ++i) {
      if (m_mainPoints[i].y() >= m_peakPoints[i].y())
        m_peakPoints[i] = m_mainPoints[i];
    }
  }
  QVector<double> peakXs(m_peakPoints.size());
  QVector<double> peakYs(m_peakPoints.size());
  for (int i = 0; i < m_peakPoints.size(); ++i) {
    peakXs[i] = m_peakPoints[i].x();
    peakYs[i] = m_peakPoints[i].y();
  }
  m_peakGraph.setData(peakXs, peakYs);
  repaint();
}

void FreqSpectrumView::onClearPeakPoints() {
  m_peakPoints.clear();
  m_peakGraph.setData({}, {});
  repaint();
}

// ---- ranges ---------------------------------------------------------------

bool FreqSpectrumView::isStopped() const { return FreqScanSetModel::instance()->scanStatus() == kStoppedStatus; }

void FreqSpectrumView::onStartFreqChanged() {
  const double start = FreqScanSetModel::instance()->startFreqStr().toDouble();
  customPlot()->xAxis->setRange(start, m_xMax);
  if (!isStopped())
    m_peakPoints.clear();
  repaint();
}

void FreqSpectrumView::onStopFreqChanged() {
  const double stop = FreqScanSetModel::instance()->stopFreqStr().toDouble();
  customPlot()->xAxis->setRange(m_xMin, stop);
  if (!isStopped())
    m_peakPoints.clear();
  repaint();
}

void FreqSpectrumView::onAxisChanged() {
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  // Members are read at each step: the model's answer to one setter can
  // change the ranges before the next.
  settings->setStartFreqStr(QString::number(m_xMin, 'f', 3));
  settings->setStopFreqStr(QString::number(m_xMax, 'f', 3));
  settings->setLowerDbmStr(QString::number(m_yMin, 'f', 3));
  settings->setUpperDbmStr(QString::number(m_yMax, 'f', 3));
  customPlot()->xAxis->setRange(m_xMin, m_xMax);
  customPlot()->yAxis->setRange(m_yMin, m_yMax);
  placeWarningLines();
  invalidateOverlays();
  if (!m_mainPoints.isEmpty()) {
    QVector<double> xs(m_mainPoints.size());
    QVector<double> ys(m_mainPoints.size());
    for (int i = 0; i < m_mainPoints.size(); ++i) {
      xs[i] = m_mainPoints[i].x();
      ys[i] = m_mainPoints[i].y();
    }
    updateGraphs(xs, ys);
  }
  repaint();
}

void FreqSpectrumView::handleXAxisChanged(const QCPRange &newRange, const QCPRange &oldRange) {
  const double limitLow = FreqScanSetModel::X_MIN;
  const double limitHigh = FreqScanSetModel::X_MAX;
  const double minSpan = FreqScanSetModel::MIN_FRE_RANGE;
  const float half = FreqScanSetModel::MIN_FRE_RANGE / 2.0f;
  // Copies: the signal's arguments may refer to the axis's own range, which
  // the handling below changes.
  const QCPRange proposed = newRange;
  const QCPRange previous = oldRange;
  double lower = (m_xMax - m_xMin > half) ? std::max(proposed.lower, limitLow) : previous.lower;
  double upper = (m_xMax - lower > half) ? std::min(proposed.upper, limitHigh) : previous.upper;
  if (proposed.lower < limitLow || proposed.upper > limitHigh || std::abs(upper - lower) <= minSpan) {
    lower = previous.lower;
    upper = previous.upper;
  }
  m_xMin = lower;
  m_xMax = upper;
  emit axisChanged();
}

void FreqSpectrumView::handleYAxisChanged(const QCPRange &newRange, const QCPRange &oldRange) {
  const double limitLow = FreqScanSetModel::Y_MIN;
  const double limitHigh = FreqScanSetModel::Y_MAX;
  const double minSpan = FreqScanSetModel::MIN_DBM_RAGNE;
  const float half = FreqScanSetModel::MIN_DBM_RAGNE / 2.0f;
  const QCPRange proposed = newRange;
  const QCPRange previous = oldRange;
  double lower = (m_yMax - m_yMin > half) ? std::max(proposed.lower, limitLow) : previous.lower;
  double upper = (m_yMax - lower > half) ? std::min(proposed.upper, limitHigh) : previous.upper;
  if (proposed.lower < limitLow || proposed.upper > limitHigh || std::abs(upper - lower) <= minSpan) {
    lower = previous.lower;
    upper = previous.upper;
  }
  m_yMin = lower;
  m_yMax = upper;
  emit axisChanged();
}

// ---- mouse ----------------------------------------------------------------

ChartGeometry::AxisEdges FreqSpectrumView::axisEdges() const {
  ChartGeometry::AxisEdges edges;
  edges.left = getMinPointPixelX();
  edges.right = getMaxPointPixelX();
  edges.top = getMaxPointPixelY();
  edges.bottom = getMinPointPixelY();
  return edges;
}

QString FreqSpectrumView::trackerText() const { return m_trackerText->text(); }

bool FreqSpectrumView::trackerVisible() const { return m_trackerText->visible() && m_trackerLine->visible(); }

void FreqSpectrumView::onPlotMouseMove(QMouseEvent *event) {
  const QPoint pixel = event->pos();
  const ChartGeometry::AxisEdges edges = axisEdges();
  const double frequency = pixelToCoordinateX(pixel.x());
  const double level = pixelToCoordinateY(pixel.y());
  const bool inside = !isInvalidCoordinatePoint(frequency, level);

  m_trackerLine->start->setCoords(frequency, pixelToCoordinateY(edges.bottom));
  m_trackerLine->end->setCoords(frequency, pixelToCoordinateY(edges.top));
  m_trackerLine->setVisible(inside);
  m_trackerText->setVisible(inside);

  const QPointF offset = ChartGeometry::trackerTextOffset(pixel, edges, QSizeF(width(), height()));
  m_trackerText->position->setCoords(pixelToCoordinateX(pixel.x() + offset.x()),
                                     pixelToCoordinateY(pixel.y() + offset.y()));
  m_trackerText->setText(QStringLiteral("%1MHz\r\n%2dBm\r\n%3/%4")
                             .arg(frequency)
                             .arg(level)
                             .arg(m_mainGraph.graph()->findBegin(frequency, true))
                             .arg(kSweepPoints));

  m_hovered = ChartGeometry::bandSegmentAt(pixel, edges);

  if (!m_mainPoints.isEmpty()) {
    m_tracer->setGraph(m_mainGraph.graph());
    m_tracer->setGraphKey(frequency);
    m_tracer->setVisible(true);
    m_tracer->updatePosition();
  }

  QCustomPlot *plot = customPlot();
  plot->setInteraction(QCP::iRangeDrag, false);
  plot->setInteraction(QCP::iRangeZoom, false);
  if (inside) {
    plot->axisRect()->setRangeZoom(Qt::Horizontal);
    plot->setInteraction(QCP::iRangeZoom, true);
  } else if (m_hovered == BandSegment::FrequencyCentre && !isPressed(BandSegment::FrequencyCentre)) {
    plot->axisRect()->setRangeDrag(Qt::Horizontal);
    plot->setInteraction(QCP::iRangeDrag, true);
  } else if (m_hovered == BandSegment::LevelCentre && !isPressed(BandSegment::LevelCentre)) {
    plot->axisRect()->setRangeDrag(Qt::Vertical);
    plot->setInteraction(QCP::iRangeDrag, true);
  }

  dragFrequencyBand(pixel.x());
  dragLevelBand(pixel.y());
  repaint();
}

void FreqSpectrumView::dragFrequencyBand(int x) {
  if (x == m_dragX)
    return;
  const double delta = pixelToCoordinateX(x) - pixelToCoordinateX(m_dragX);
  const QCPRange range = customPlot()->xAxis->range();
  if (isPressed(BandSegment::FrequencyLeft)) {
    m_xMin = range.lower - delta;
    emit axisChanged();
  } else if (isPressed(BandSegment::FrequencyCentre)) {
    const double lower = range.lower - delta;
    const double upper = range.upper - delta;
    if (lower <= FreqScanSetModel::X_MIN || upper >= FreqScanSetModel::X_MAX)
      return;
    m_xMin = lower;
    emit axisChanged();
    m_xMax = upper;
    emit axisChanged();
  } else if (isPressed(BandSegment::FrequencyRight)) {
    m_xMax = range.upper - delta;
    emit axisChanged();
  }
  m_dragX = x;
}

void FreqSpectrumView::dragLevelBand(int y) {
  if (y == m_dragY)
    return;
  const double delta = pixelToCoordinateY(y) - pixelToCoordinateY(m_dragY);
  const QCPRange range = customPlot()->yAxis->range();
  if (isPressed(BandSegment::LevelTop)) {
    m_yMax = range.upper - delta;
    emit axisChanged();
  } else if (isPressed(BandSegment::LevelCentre)) {
    const double lower = range.lower - delta;
    const double upper = range.upper - delta;
    if (lower <= FreqScanSetModel::Y_MIN || upper >= FreqScanSetModel::Y_MAX)
      return;
    m_yMin = lower;
    emit axisChanged();
    m_yMax = upper;
    emit axisChanged();
  } else if (isPressed(BandSegment::LevelBottom)) {
    m_yMin = range.lower - delta;
    emit axisChanged();
  }
  m_dragY = y;
}

void FreqSpectrumView::onPlotMousePress(QMouseEvent *event) {
  if (event->buttons() & Qt::LeftButton) {
    if (m_hovered != BandSegment::None)
      m_pressedSegments |= segmentBit(m_hovered);
  }
  if (event->buttons() & Qt::RightButton)
    showRightBtnMenu(event->globalPos());
}

void FreqSpectrumView::onPlotMouseRelease(QMouseEvent *event) {
  Q_UNUSED(event)
  m_pressedSegments = 0;
  m_hovered = BandSegment::None;
  requestOverlayRepaint();
}

void FreqSpectrumView::onPlotMouseDoubleClick(QMouseEvent *event) {
  if (!(event->buttons() & Qt::LeftButton))
    return;
  const QPointF position = pixelToCoordinate(QPointF(event->pos()));
  MonitorModel::instance()->appendManualMonitorPoint(position.x(), position.y());
  repaint();
}

// ---- context menu and export ------------------------------------------------

std::unique_ptr<RightButtonMenu> FreqSpectrumView::createRightBtnMenu(const QPointF &itemPosition) {
  const double frequency = pixelToCoordinateX(itemPosition.x());
  const double level = pixelToCoordinateY(itemPosition.y());
  const RightButtonMenu::VideoRecordState state = VideoModel::instance()->isRecording()
                                                       ? RightButtonMenu::VideoRecordState::Recording
                                                       : RightButtonMenu::VideoRecordState::Idle;
  auto menu = std::make_unique<RightButtonMenu>(createMenuActions(itemPosition.x(), itemPosition.y()), state);
  const int pointIndex = MonitorModel::instance()->findManualMonitorPoint(QPointF(frequency, level));
  RightButtonMenu::setActionEnabled(menu.get(), RightButtonMenu::deleteMonitorPointText(), pointIndex >= 0);
  RightButtonMenu::setActionEnabled(menu.get(), RightButtonMenu::saveCsvText(), !m_mainPoints.isEmpty());
  connect(menu.get(), &QMenu::triggered, this, [this] { repaintOverlays(); });
  return menu;
}

void FreqSpectrumView::showRightBtnMenu(const QPoint &globalPosition) {
  const std::unique_ptr<RightButtonMenu> menu = createRightBtnMenu(mapFromGlobal(QPointF(globalPosition)));
  menu->exec(globalPosition);
}

RightButtonMenu::MenuActions FreqSpectrumView::createMenuActions(double x, double y) {
  const double frequency = pixelToCoordinateX(x);
  const double level = pixelToCoordinateY(y);
  const QPointer<FreqSpectrumView> view(this);
  RightButtonMenu::MenuActions actions;
  actions.setStart = [view, frequency] {
    if (!view)
      return;
    view->m_xMin = frequency;
    emit view->axisChanged();
  };
  actions.setStop = [view, frequency] {
    if (!view)
      return;
    view->m_xMax = frequency;
    emit view->axisChanged();
  };
  actions.setScaleTop = [view, level] {
    if (!view)
      return;
    view->m_yMax = level;
    emit view->axisChanged();
  };
  actions.setScaleBottom = [view, level] {
    if (!view)
      return;
    view->m_yMin = level;
    emit view->axisChanged();
  };
  actions.addMonitorPoint = [frequency, level] {
    MonitorModel::instance()->appendManualMonitorPoint(frequency, level);
  };
  actions.deleteMonitorPoint = [frequency, level] {
    MonitorModel *monitor = MonitorModel::instance();
    emit monitor->removeManualListAtIndex(monitor->findManualMonitorPoint(QPointF(frequency, level)));
  };
  actions.savePicture = [view] {
    if (view)
      view->savePng(view->customPlot()->width(), view->customPlot()->height());
  };
  actions.saveCsv = [view] {
    if (view)
      ResModel::instance()->saveCsv(QStringLiteral("Veltro_%1.csv"), view->m_mainPoints);
  };
  actions.toggleRecording = [] {
    VideoModel *video = VideoModel::instance();
    if (video->isRecording())
      video->stop();
    else
      video->start();
  };
  return actions;
}

void FreqSpectrumView::savePng(int width, int height) {
  const QString path = ResModel::getSaveFilePath(QStringLiteral("PNG"), QStringLiteral("Veltro_%1.png"),
                                                 QStringLiteral("PNG 文件 (*.png);;所有文件 (*)"));
  if (path.isEmpty()) {
    LOG_INFO(QStringLiteral("取消保存频谱图截图"));
    return;
  }
  LOG_INFO(savePngFile(path, width, height) ? QStringLiteral("保存频谱图截图成功")
                                            : QStringLiteral("保存频谱图截图失败"));
}

bool FreqSpectrumView::savePngFile(const QString &path, int width, int height) {
  return customPlot()->savePng(path, width, height, 1.0, -1, 96);
}

// ---- overlays -------------------------------------------------------------

void FreqSpectrumView::repaint() { replotCustomPlot(); }

void FreqSpectrumView::repaintOverlays(unsigned parts) {
  invalidateOverlays(parts);
  requestOverlayRepaint();
}

void FreqSpectrumView::invalidateOverlays(unsigned parts) { m_dirtyOverlayParts |= parts; }

namespace {

// Room around a shape for its pen and the antialiased edge.
constexpr double kSpritePaddingPx = 2.0;
// Sub-pixel places a cached shape can take, per device pixel and axis.
constexpr int kSpritePhases = 4;

// The shape drawn by `draw` (in item coordinates) inside `bounds`, as a small
// picture at device resolution whose corner lies on a device pixel.
FreqSpectrumView::Sprite renderSprite(const QRectF &bounds, qreal devicePixelRatio,
                                      const std::function<void(QPainter &)> &draw) {
  const QRectF padded = bounds.adjusted(-kSpritePaddingPx, -kSpritePaddingPx, kSpritePaddingPx, kSpritePaddingPx);
  const QPoint topLeft(int(std::floor(padded.left() * devicePixelRatio)),
                       int(std::floor(padded.top() * devicePixelRatio)));
  const QPoint bottomRight(int(std::ceil(padded.right() * devicePixelRatio)),
                           int(std::ceil(padded.bottom() * devicePixelRatio)));
  FreqSpectrumView::Sprite sprite;
  sprite.image = QImage(QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()),
                        QImage::Format_ARGB32_Premultiplied);
  sprite.image.setDevicePixelRatio(devicePixelRatio);
  sprite.image.fill(Qt::transparent);
  sprite.origin = QPointF(topLeft) / devicePixelRatio;
  QPainter painter(&sprite.image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.translate(-sprite.origin);
  draw(painter);
  return sprite;
}

void drawSprite(QPainter *painter, const FreqSpectrumView::Sprite &sprite) {
  painter->drawImage(sprite.origin, sprite.image);
}

}  // namespace

FreqSpectrumView::Sprite FreqSpectrumView::triangleSprite(bool pointingDown, const QPointF &tip, const QColor &fill,
                                                          const QColor &outline, qreal devicePixelRatio) {
  // The tip snapped to a quarter of a device pixel: marks that come back to
  // the same place sweep after sweep reuse their picture.
  const double tipX = std::round(tip.x() * devicePixelRatio * kSpritePhases) / kSpritePhases;
  const double tipY = std::round(tip.y() * devicePixelRatio * kSpritePhases) / kSpritePhases;
  const double wholeX = std::floor(tipX);
  const double wholeY = std::floor(tipY);
  const int phaseX = int((tipX - wholeX) * kSpritePhases);
  const int phaseY = int((tipY - wholeY) * kSpritePhases);
  const quint64 key = (quint64(fill.rgb() & 0xffffffu) << 29) | (quint64(outline.rgb() & 0xffffffu) << 5)
                      | (quint64(pointingDown) << 4) | quint64(phaseX << 2) | quint64(phaseY);
  if (!qFuzzyCompare(m_spriteRatio, devicePixelRatio)) {
    m_triangleSprites.clear();
    m_spriteRatio = devicePixelRatio;
  }
  auto cached = m_triangleSprites.constFind(key);
  if (cached == m_triangleSprites.constEnd()) {
    // Drawn with the tip at its phase inside the device pixel at (0, 0).
    const QPointF localTip(phaseX / (kSpritePhases * devicePixelRatio), phaseY / (kSpritePhases * devicePixelRatio));
    const QPolygonF triangle =
        pointingDown ? downTriangle(localTip.x(), localTip.y()) : upTriangle(localTip.x(), localTip.y());
    const Sprite sprite = renderSprite(triangle.boundingRect(), devicePixelRatio, [&](QPainter &painter) {
      painter.setPen(QPen(outline, kOutlineWidthPx));
      painter.setBrush(fill);
      painter.drawPolygon(triangle, Qt::OddEvenFill);
    });
    cached = m_triangleSprites.insert(key, sprite);
  }
  Sprite placed = cached.value();
  placed.origin += QPointF(wholeX, wholeY) / devicePixelRatio;
  return placed;
}

const FreqSpectrumView::OverlayScene &FreqSpectrumView::overlayScene(const QPainter *painter) {
  if (m_dirtyOverlayParts == 0)
    return m_overlay;
  const qreal ratio = painter->device()->devicePixelRatioF();
  if (m_dirtyOverlayParts & PriorityPart)
    buildPriorityPart(m_overlay, ratio);
  if (m_dirtyOverlayParts & MarksPart)
    buildMarksPart(m_overlay, painter);
  if (m_dirtyOverlayParts & ManualPart)
    buildManualPart(m_overlay, painter);
  if (m_dirtyOverlayParts & LabelPart)
    buildLabelPart(m_overlay, painter);
  m_dirtyOverlayParts = 0;
  return m_overlay;
}

QStaticText FreqSpectrumView::numberText(int number, const QFont &font) {
  if (font != m_numberFont) {
    m_numberTexts.clear();
    m_numberFont = font;
  }
  auto cached = m_numberTexts.constFind(number);
  if (cached == m_numberTexts.constEnd()) {
    QStaticText text(QString::number(number));
    text.prepare(QTransform(), font);
    cached = m_numberTexts.insert(number, text);
  }
  return cached.value();
}

void FreqSpectrumView::buildPriorityPart(OverlayScene &scene, qreal devicePixelRatio) {
  const ChartGeometry::AxisEdges edges = axisEdges();
  const MonitorModel *monitor = MonitorModel::instance();
  scene.priorityTriangles.clear();
  scene.priorityLines.clear();
  const VariantListModel *autoPoints = monitor->autoMonitorPoints();
  for (int i = 0; i < autoPoints->count(); ++i) {
    const double x = coordinateToPixelX(autoPoints->at(i).toMap().value(QStringLiteral("fre")).toDouble());
    scene.priorityTriangles.append(
        triangleSprite(true, QPointF(x, edges.top), kPriorityFill, kPriorityOutline, devicePixelRatio));
    scene.priorityTriangles.append(
        triangleSprite(false, QPointF(x, edges.bottom), kPriorityFill, kPriorityOutline, devicePixelRatio));
    scene.priorityLines.append(ChartGeometry::priorityLineRect(x, edges));
  }

  const QVariantList interference = monitor->highInterferencePoints();
  QVector<double> interferenceXs;
  interferenceXs.reserve(interference.size());
  for (const QVariant &point : interference)
    interferenceXs.append(coordinateToPixelX(point.toPointF().x()));
  scene.interferenceBands = ChartGeometry::interferenceBands(interferenceXs, edges);
}

void FreqSpectrumView::buildMarksPart(OverlayScene &scene, const QPainter *painter) {
  scene.marks.clear();
  scene.marksShown = FreqScanSetModel::instance()->markSwitch();
  scene.markFont = painter->font();
  scene.markFont.setPointSize(kMarkFontPoints);
  scene.markFont.setWeight(kMarkFontWeight);
  if (!scene.marksShown)
    return;
  const qreal ratio = painter->device()->devicePixelRatioF();
  const double ascent = QFontMetricsF(scene.markFont, painter->device()).ascent();
  int number = 0;
  const QList<MarkItem> marks = MarkModel::instance()->marks();
  for (const MarkItem &mark : marks) {
    ++number;
    if (mark.type().isEmpty())
      continue;
    const double level = mark.dbm().toDouble();
    if (!(m_yMin <= level && level < m_yMax))
      continue;
    const double x = coordinateToPixelX(mark.fre().toDouble());
    const double y = coordinateToPixelY(level);
    const QColor color = ChartGeometry::markColor(mark.id());
    OverlayScene::Mark drawn;
    drawn.triangle = triangleSprite(true, QPointF(x, y), color, color, ratio);
    drawn.number = numberText(number, scene.markFont);
    // The number's baseline starts at this whole pixel.
    drawn.numberTopLeft = QPointF(int(x + kMarkNumberDxPx), int(y + kMarkNumberDyPx) - ascent);
    scene.marks.append(drawn);
  }
}

void FreqSpectrumView::buildManualPart(OverlayScene &scene, const QPainter *painter) {
  scene.manualPoints.clear();
  // The painter's font at this point of a paint: the marks' font if they were drawn.
  scene.manualFont = FreqScanSetModel::instance()->markSwitch() ? scene.markFont : painter->font();
  const qreal ratio = painter->device()->devicePixelRatioF();
  const VariantListModel *manualPoints = MonitorModel::instance()->manualMonitorPoints();
  for (int i = 0; i < manualPoints->count(); ++i) {
    const QVariantMap entry = manualPoints->at(i).toMap();
    if (!entry.contains(QStringLiteral("fre")) || !entry.contains(QStringLiteral("strength")))
      continue;
    const double frequency = entry.value(QStringLiteral("x")).toDouble();
    const double level = entry.value(QStringLiteral("y")).toDouble();
    if (isInvalidCoordinatePoint(frequency, level))
      continue;
    const QPointF centre = coordinateToPixel(QPointF(frequency, level));
    const QRectF square(centre.x() - kManualHalfSizePx, centre.y() - kManualHalfSizePx, 2 * kManualHalfSizePx,
                        2 * kManualHalfSizePx);
    const QString number = QString::number(i + 1);
    const QFont font = scene.manualFont;
    scene.manualPoints.append(renderSprite(square, ratio, [&](QPainter &sprite) {
      sprite.setPen(Qt::white);
      sprite.setBrush(Qt::white);
      sprite.drawRect(square);
      sprite.setFont(font);
      sprite.setPen(Qt::black);
      sprite.drawText(square, Qt::AlignCenter, number);
    }));
  }
}

void FreqSpectrumView::buildLabelPart(OverlayScene &scene, const QPainter *painter) {
  scene.unitFont = FreqScanSetModel::instance()->markSwitch() ? scene.markFont : painter->font();
  scene.unitFont.setPointSize(ChartGeometry::unitLabelPointSize(height()));
  scene.unitLabel = QStaticText(kUnitLabelText);
  scene.unitLabel.prepare(QTransform(), scene.unitFont);
  scene.unitLabelTopLeft =
      kUnitLabelBaseline - QPointF(0, QFontMetricsF(scene.unitFont, painter->device()).ascent());
}

void FreqSpectrumView::paintEvent(QPainter *painter) {
  const OverlayScene &scene = overlayScene(painter);
  const ChartGeometry::AxisEdges edges = axisEdges();

  if (m_frequencyPriorityFlag) {
    for (int i = 0; i < scene.priorityLines.size(); ++i) {
      drawSprite(painter, scene.priorityTriangles[2 * i]);
      drawSprite(painter, scene.priorityTriangles[2 * i + 1]);
      painter->fillRect(scene.priorityLines[i], kPriorityOutline);
    }
    for (const QRect &band : scene.interferenceBands)
      painter->fillRect(band, kInterferenceFill);
  }

  if (m_hovered != BandSegment::None) {
    painter->setPen(kHighlightColor);
    painter->setBrush(kHighlightColor);
    painter->drawRect(ChartGeometry::bandSegmentRect(m_hovered, edges));
  }

  if (scene.marksShown) {
    painter->setFont(scene.markFont);
    painter->setPen(Qt::white);
    for (const OverlayScene::Mark &mark : scene.marks) {
      drawSprite(painter, mark.triangle);
      painter->drawStaticText(mark.numberTopLeft, mark.number);
    }
  }

  for (const Sprite &point : scene.manualPoints)
    drawSprite(painter, point);

  painter->setFont(scene.unitFont);
  painter->setPen(Qt::white);
  painter->drawStaticText(scene.unitLabelTopLeft, scene.unitLabel);
  PerfProbe::sweepPainted();
}
