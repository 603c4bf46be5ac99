// The spectrum chart in its chart area, with the real models behind it: sweeps
// come in through the scan sequence model's signal, ranges are kept legal,
// the mouse drives the tracker, the bands and the wheel, the overlays land at
// their computed pixels, and the context menu offers the right entries.

#include "ApplicationContext.h"
#include "ChartGeometry.h"
#include "DeclarativeWindow.h"
#include "EmtApplication.h"
#include "FrameSeqModel.h"
#include "FreqScanSetModel.h"
#include "FreqSpectrumView.h"
#include "MarkModel.h"
#include "MonitorModel.h"
#include "RightButtonMenu.h"
#include "SystemConfig.h"
#include "TestSupport.h"
#include "VideoModel.h"
#include "WinManager.h"

#include <QAction>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

using ChartGeometry::BandSegment;

namespace {

const QSize kPageSize(1040, 690);
constexpr int kPoints = 1000;
constexpr double kNoiseDbm = -100.0;

// A sweep of whole-dBm levels, all at the noise floor but the given points.
QVariantList sweep(int points = kPoints, QMap<int, int> levels = {}) {
  QVariantList list;
  list.reserve(points);
  for (int i = 0; i < points; ++i)
    list.append(levels.value(i, int(kNoiseDbm)));
  return list;
}

void feed(const QVariantList &levels) { emit FrameSeqModel::instance()->scanSuccessed(levels); }

bool isRed(const QColor &c) { return c.red() > 90 && c.green() < 60 && c.blue() < 60; }

bool near(const QColor &actual, const QColor &expected, int tolerance = 12) {
  return std::abs(actual.red() - expected.red()) <= tolerance && std::abs(actual.green() - expected.green()) <= tolerance
         && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QString describe(const QColor &c) { return c.name(QColor::HexArgb); }

}  // namespace

class TestSpectrumView : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();
  void cleanup();

  void chartArea_viewGivesWayToTheMarkPanel_data();
  void chartArea_viewGivesWayToTheMarkPanel();
  void resize_plotFollowsAtOnce();
  void levelAxis_labelColumnStays48PixelsWide();
  void window_drawsTheChart();
  void initCustomPlot_again_connectsNothingTwice();

  void sweep_spreadOverTheRangeAndHandedOn();
  void sweep_levelsOutsideTheRangeArePinnedInsideButKeptTrue();
  void sweep_denseSpanSharesGridFrequencies();
  void maxHold_mergeAndRestart_data();
  void maxHold_mergeAndRestart();
  void maxHold_clearedByRequestAndByRangeChangeWhileScanning();
  void storedPoints_shownAsTraceAndPriorityMarksOff();

  void range_illegalChangeSnapsBack_data();
  void range_illegalChangeSnapsBack();
  void wheel_zoomsFrequencyOnly_andNotOverTheBands();
  void input_reachesThePlotOnTheNextPass();
  void tracker_followsTheCursorAndStaysWhenItLeaves();
  void bandSegment_boundaryPixelsBelongToNone_data();
  void bandSegment_boundaryPixelsBelongToNone();
  void bandDrag_centrePanStopsAtTheBandEdge();
  void bandDrag_leftSegmentMovesOnlyTheLowerBound();
  void doubleClick_addsManualPoint();

  void overlay_warningLines();
  void overlay_markColourAtItsPoint_data();
  void overlay_markColourAtItsPoint();
  void overlay_markAtLevelBounds();
  void overlay_priorityMarksAndInterferenceBands();
  void overlay_manualPointSquareOnlyInsideTheRanges();
  void overlay_hoverHighlight();
  void overlay_unitLabelSize_data();
  void overlay_unitLabelSize();
  void overlay_onlyChangeKeepsThePlotPicture();
  void plotItems_autoScanTipAndPeakCurveFollowTheSettings();

  void menu_entriesInOrder_data();
  void menu_entriesInOrder();
  void menu_enabling();
  void menu_deleteRemovesTheMatchedPoint();
  void menu_scaleTopAndStartEntries();
  void png_hasThePlotSize();

private:
  FreqSpectrumView *view() const;
  QImage render() const;
  QColor pixel(const QImage &image, double x, double y) const;
  void hover(const QPointF &at);
  void mouse(QEvent::Type type, const QPointF &at, Qt::MouseButton button, Qt::MouseButtons buttons);
  void wheel(const QPointF &at, int angle);
  void deliver();
  ChartGeometry::AxisEdges edges() const;
  void setFrequencyRange(double lower, double upper);
  void setLevelRange(double lower, double upper);

  std::unique_ptr<DeclarativeWindow> m_page;
};

// ---- fixture ----------------------------------------------------------------

void TestSpectrumView::initTestCase() {
  SystemConfig::instance()->init();
  EmtApplication::registerNativeTypes();
  ApplicationContext *context = ApplicationContext::instance();
  context->setContext(QStringLiteral("winManager"), WinManager::instance());
  context->setContext(QStringLiteral("freqScanSetModel"), FreqScanSetModel::instance());
  context->setContext(QStringLiteral("monitorModel"), MonitorModel::instance());
  context->setContext(QStringLiteral("markModel"), MarkModel::instance());
}

void TestSpectrumView::init() {
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  settings->setScanStatus(QStringLiteral("stop"));
  settings->setAutoMonitor(false);
  settings->setMarkPriorityFreq(false);
  settings->setMarkSwitch(false);
  settings->setPeakSwitch(true);
  settings->setStartFreqStr(QStringLiteral("450.000"));
  settings->setStopFreqStr(QStringLiteral("950.000"));
  settings->setLowerDbmStr(QStringLiteral("-110"));
  settings->setUpperDbmStr(QStringLiteral("0"));
  MonitorModel::instance()->clearManualMonitorPoints();
  MonitorModel::instance()->clearAutoMonitorPoints();
  for (int id = 0; id < MarkModel::kSlotCount; ++id)
    emit MarkModel::instance()->markUpdated(id, QStringLiteral("450.000"), QStringLiteral("0"), QString());
  VideoModel::instance()->setRunning(false);

  m_page.reset(orvik::test::loadQmlPage(QStringLiteral("qrc:/Orvik/MainWin/ChartBox.qml"), kPageSize));
  QCOMPARE(m_page->getView()->status(), QQuickWidget::Ready);
  QVERIFY(view());
  emit settings->clearPeakPoints();
}

void TestSpectrumView::cleanup() {
  m_page.reset();
  ORVIK_VERIFY_NO_QML_WARNINGS();
}

FreqSpectrumView *TestSpectrumView::view() const {
  return qobject_cast<FreqSpectrumView *>(orvik::test::findItem(m_page->getView(), QStringLiteral("spectrumView")));
}

QImage TestSpectrumView::render() const {
  // The item's own paint, as the scene graph calls it, into a picture.
  FreqSpectrumView *v = view();
  QImage image(qRound(v->width()), qRound(v->height()), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  v->paint(&painter);
  return image;
}

QColor TestSpectrumView::pixel(const QImage &image, double x, double y) const {
  return image.pixelColor(QPoint(int(std::floor(x)), int(std::floor(y))));
}

void TestSpectrumView::hover(const QPointF &at) {
  QHoverEvent event(QEvent::HoverMove, at, at);
  QCoreApplication::sendEvent(view(), &event);
  deliver();
}

void TestSpectrumView::mouse(QEvent::Type type, const QPointF &at, Qt::MouseButton button,
                             Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, at, view()->mapToGlobal(at), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(view(), &event);
  deliver();
}

void TestSpectrumView::wheel(const QPointF &at, int angle) {
  QWheelEvent event(at, view()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view(), &event);
  deliver();
}

void TestSpectrumView::deliver() { QCoreApplication::sendPostedEvents(view()->customPlot()); }

ChartGeometry::AxisEdges TestSpectrumView::edges() const {
  ChartGeometry::AxisEdges e;
  e.left = view()->getMinPointPixelX();
  e.right = view()->getMaxPointPixelX();
  e.top = view()->getMaxPointPixelY();
  e.bottom = view()->getMinPointPixelY();
  return e;
}

void TestSpectrumView::setFrequencyRange(double lower, double upper) {
  view()->customPlot()->xAxis->setRange(lower, upper);
}

void TestSpectrumView::setLevelRange(double lower, double upper) { view()->customPlot()->yAxis->setRange(lower, upper); }

// ---- chart area and geometry ------------------------------------------------

void TestSpectrumView::chartArea_viewGivesWayToTheMarkPanel_data() {
  QTest::addColumn<bool>("markSwitch");
  QTest::addColumn<double>("viewHeightRatio");
  QTest::addColumn<int>("panelHeight");
  QTest::newRow("mark switch off") << false << 0.95 << 0;
  QTest::newRow("mark switch on") << true << 0.83 << 70;
}

void TestSpectrumView::chartArea_viewGivesWayToTheMarkPanel() {
  QFETCH(bool, markSwitch);
  QFETCH(double, viewHeightRatio);
  QFETCH(int, panelHeight);
  FreqScanSetModel::instance()->setMarkSwitch(markSwitch);
  QQuickItem *panel = orvik::test::findItem(m_page->getView(), QStringLiteral("markPanel"));
  QVERIFY(panel);
  QCOMPARE(panel->isVisible(), markSwitch);
  QCOMPARE(int(panel->height()), panelHeight);
  QCOMPARE(panel->width(), double(qRound(kPageSize.width() * 0.95)));
  QCOMPARE(view()->width(), double(qRound(kPageSize.width() * 0.95)));
  QCOMPARE(view()->height(), double(qRound(kPageSize.height() * viewHeightRatio)));
  QCOMPARE(view()->customPlot()->size(), QSize(int(view()->width()), int(view()->height())));
  QCOMPARE(view()->customPlot()->viewport(), QRect(0, 0, int(view()->width()), int(view()->height())));
}

void TestSpectrumView::resize_plotFollowsAtOnce() {
  render();
  const int renders = view()->plotRenderCount();
  const QSizeF before(view()->width(), view()->height());
  const double right = view()->getMaxPointPixelX();
  const double bottom = view()->getMinPointPixelY();
  view()->setWidth(700);
  view()->setHeight(400);
  // Before any paint: plot, viewport and axis rectangle already follow.
  QCOMPARE(view()->plotRenderCount(), renders);
  QCOMPARE(view()->customPlot()->size(), QSize(700, 400));
  QCOMPARE(view()->customPlot()->viewport(), QRect(0, 0, 700, 400));
  QCOMPARE(view()->getMaxPointPixelX(), right - (before.width() - 700));
  QCOMPARE(view()->getMinPointPixelY(), bottom - (before.height() - 400));
}

void TestSpectrumView::levelAxis_labelColumnStays48PixelsWide() {
  const int left = view()->customPlot()->axisRect()->left();
  const QCPAxis *axis = view()->customPlot()->yAxis;
  QCOMPARE(left, axis->padding() + axis->tickLabelPadding() + FreqSpectrumView::kLevelLabelColumnPx);
  setLevelRange(-100.5, -98.25);
  render();
  QCOMPARE(view()->customPlot()->axisRect()->left(), left);
}

void TestSpectrumView::window_drawsTheChart() {
  // Through the scene graph of the page, as on screen: the warning line at
  // -70 dBm shows in red.
  feed(sweep());
  const QImage image = orvik::test::renderItem(m_page->getView(), view());
  QCOMPARE(image.size(), QSize(int(view()->width()), int(view()->height())));
  const ChartGeometry::AxisEdges e = edges();
  const int row = int(std::round(view()->coordinateToPixelY(-70)));
  int red = 0;
  for (int x = int(e.left) + 5; x < int(e.right) - 5; ++x)
    for (int y = row - 1; y <= row + 1; ++y)
      red += isRed(image.pixelColor(x, y));
  QVERIFY2(red > (e.right - e.left) / 4, qPrintable(QString::number(red)));
  QVERIFY(view()->plotRenderCount() > 0);
}

void TestSpectrumView::initCustomPlot_again_connectsNothingTwice() {
  view()->initCustomPlot();
  QSignalSpy marks(MarkModel::instance(), &MarkModel::marksChanged);
  QSignalSpy latest(MonitorModel::instance(), &MonitorModel::latestPointsChanged);
  feed(sweep());
  QCOMPARE(marks.count(), 1);
  QCOMPARE(latest.count(), 1);
}

// ---- sweeps -------------------------------------------------------------------

void TestSpectrumView::sweep_spreadOverTheRangeAndHandedOn() {
  QSignalSpy marks(MarkModel::instance(), &MarkModel::marksChanged);
  feed(sweep(kPoints, {{500, -40}}));
  const QVector<QPointF> points = view()->mainPoints();
  QCOMPARE(points.size(), kPoints);
  QCOMPARE(points.first().x(), 450.0);
  QCOMPARE(points.last().x(), 950.0);
  QCOMPARE(points[500].y(), -40.0);
  QCOMPARE(marks.count(), 1);
  QCOMPARE(MarkModel::instance()->currentPoints().first(), points[500]);
  QCOMPARE(MonitorModel::instance()->latestPoints(), points);
  QCOMPARE(MonitorModel::instance()->peakPoints(), points);
  QCOMPARE(view()->mainGraph().data()->size(), kPoints);
}

void TestSpectrumView::sweep_levelsOutsideTheRangeArePinnedInsideButKeptTrue() {
  setLevelRange(-100, -20);
  QCOMPARE(view()->yMin(), -100.0);
  QCOMPARE(view()->yMax(), -20.0);
  feed(sweep(kPoints, {{10, -105}, {11, -100}, {20, -10}, {21, -20}, {30, -60}}));

  const double bottomPx = view()->coordinateToPixelY(-100);
  const double topPx = view()->coordinateToPixelY(-20);
  auto drawnPx = [&](int i) { return view()->coordinateToPixelY(view()->mainGraph().data()->at(i)->value); };
  QCOMPARE(drawnPx(10), bottomPx - 3);
  QCOMPARE(drawnPx(11), bottomPx - 3);
  QCOMPARE(drawnPx(20), topPx + 3);
  QCOMPARE(drawnPx(21), topPx + 3);
  QCOMPARE(view()->mainGraph().data()->at(30)->value, -60.0);
  // The points, the monitoring model and the max-hold keep the true levels.
  QCOMPARE(view()->mainPoints()[10].y(), -105.0);
  QCOMPARE(view()->mainPoints()[20].y(), -10.0);
  QCOMPARE(MonitorModel::instance()->latestPoints()[10].y(), -105.0);
  QCOMPARE(view()->peakPoints()[20].y(), -10.0);
}

void TestSpectrumView::sweep_denseSpanSharesGridFrequencies() {
  setFrequencyRange(600.0, 610.0);
  QCOMPARE(FreqScanSetModel::instance()->startFreqStr(), QStringLiteral("600.000"));
  QCOMPARE(FreqScanSetModel::instance()->stopFreqStr(), QStringLiteral("610.000"));
  // A carrier on one point among 1000 over 10 MHz.
  feed(sweep(kPoints, {{500, -35}}));
  const QVector<QPointF> points = view()->mainPoints();
  QCOMPARE(points.size(), 401);
  QCOMPARE(points.first().x(), 600.0);
  QCOMPARE(points.last().x(), 610.0);
  int carriers = 0;
  for (const QPointF &p : points)
    carriers += p.y() == -35.0;
  QCOMPARE(carriers, 1);
  QVERIFY(points.last().x() <= view()->xMax());
}

void TestSpectrumView::maxHold_mergeAndRestart_data() {
  QTest::addColumn<QVariantList>("first");
  QTest::addColumn<QVariantList>("second");
  QTest::addColumn<double>("newStop");  // 0: range unchanged between the sweeps
  QTest::addColumn<QPointF>("levelRange");
  QTest::addColumn<int>("index");
  QTest::addColumn<double>("expected");
  QTest::addColumn<bool>("restarted");

  const QPointF full(-110, 0);
  QTest::newRow("higher level replaces") << sweep(kPoints, {{7, -60}}) << sweep(kPoints, {{7, -50}}) << 0.0 << full
                                         << 7 << -50.0 << false;
  QTest::newRow("lower level is kept out") << sweep(kPoints, {{7, -50}}) << sweep(kPoints, {{7, -60}}) << 0.0
                                           << full << 7 << -50.0 << false;
  QTest::newRow("equal level") << sweep(kPoints, {{7, -50}}) << sweep(kPoints, {{7, -50}}) << 0.0 << full << 7
                               << -50.0 << false;
  QTest::newRow("above the level range: true levels compared")
      << sweep(kPoints, {{7, -35}}) << sweep(kPoints, {{7, -30}}) << 0.0 << QPointF(-80, -40) << 7 << -30.0 << false;
  QTest::newRow("below the level range: true levels compared")
      << sweep(kPoints, {{7, -104}}) << sweep(kPoints, {{7, -108}}) << 0.0 << QPointF(-100, -40) << 7 << -104.0
      << false;
  QTest::newRow("new stop frequency restarts") << sweep(kPoints, {{7, -50}}) << sweep(kPoints, {{7, -60}}) << 900.0
                                               << full << 7 << -60.0 << true;
  QTest::newRow("other number of points restarts") << sweep(kPoints, {{7, -50}}) << sweep(600, {{7, -60}}) << 0.0
                                                   << full << 7 << -60.0 << true;
}

void TestSpectrumView::maxHold_mergeAndRestart() {
  QFETCH(QVariantList, first);
  QFETCH(QVariantList, second);
  QFETCH(double, newStop);
  QFETCH(QPointF, levelRange);
  QFETCH(int, index);
  QFETCH(double, expected);
  QFETCH(bool, restarted);

  setLevelRange(levelRange.x(), levelRange.y());
  feed(first);
  if (newStop > 0)
    FreqScanSetModel::instance()->setStopFreqStr(QString::number(newStop, 'f', 3));
  feed(second);

  const QVector<QPointF> peak = view()->peakPoints();
  QCOMPARE(peak.size(), second.size());
  QCOMPARE(peak.first().x(), view()->mainPoints().first().x());
  QCOMPARE(peak.last().x(), view()->mainPoints().last().x());
  QCOMPARE(peak[index].y(), expected);
  // Elsewhere the max-hold is the noise floor either way.
  QCOMPARE(peak[index + 1].y(), kNoiseDbm);
  if (restarted)
    QCOMPARE(peak, view()->mainPoints());
  // What the monitoring model keeps (and the CSV export saves) is what is drawn.
  QCOMPARE(MonitorModel::instance()->peakPoints(), peak);
  QCOMPARE(view()->peakGraph().data()->size(), peak.size());
  QCOMPARE(view()->peakGraph().data()->at(index)->value, expected);
}

void TestSpectrumView::maxHold_clearedByRequestAndByRangeChangeWhileScanning() {
  feed(sweep(kPoints, {{3, -20}}));
  emit FreqScanSetModel::instance()->clearPeakPoints();
  QVERIFY(view()->peakPoints().isEmpty());
  QCOMPARE(view()->peakGraph().data()->size(), 0);
  feed(sweep(kPoints, {{3, -70}}));
  QCOMPARE(view()->peakPoints()[3].y(), -70.0);

  // A new start while scanning empties the max-hold; while stopped it stays.
  FreqScanSetModel::instance()->setStartFreqStr(QStringLiteral("460.000"));
  QCOMPARE(view()->peakPoints().size(), kPoints);
  FreqScanSetModel::instance()->setScanStatus(QStringLiteral("continuous"));
  FreqScanSetModel::instance()->setStartFreqStr(QStringLiteral("470.000"));
  QVERIFY(view()->peakPoints().isEmpty());
  QCOMPARE(view()->xMin(), 470.0);
}

void TestSpectrumView::storedPoints_shownAsTraceAndPriorityMarksOff() {
  view()->setFrequencyPriorityFlag(true);
  QSignalSpy flag(view(), &FreqSpectrumView::frequencyPriorityFlagChanged);
  const QVector<QPointF> stored = {{600.0, -80.0}, {600.025, -75.0}, {600.05, -90.0}};
  view()->showStoredPoints(stored);
  QCOMPARE(flag.count(), 1);
  QVERIFY(!view()->frequencyPriorityFlag());
  QCOMPARE(view()->mainPoints(), stored);
  QCOMPARE(MonitorModel::instance()->latestPoints(), stored);
  QCOMPARE(view()->peakPoints(), stored);
  QCOMPARE(view()->mainGraph().data()->size(), 3);
}

// ---- ranges -----------------------------------------------------------------

void TestSpectrumView::range_illegalChangeSnapsBack_data() {
  QTest::addColumn<bool>("frequency");
  QTest::addColumn<double>("lower");
  QTest::addColumn<double>("upper");
  QTest::addColumn<double>("expectedLower");
  QTest::addColumn<double>("expectedUpper");
  QTest::newRow("below the band") << true << 449.0 << 900.0 << 450.0 << 950.0;
  QTest::newRow("above the band") << true << 500.0 << 951.0 << 450.0 << 950.0;
  QTest::newRow("span of 0.3 MHz") << true << 600.0 << 600.3 << 450.0 << 950.0;
  QTest::newRow("span just above 0.3 MHz") << true << 600.0 << 600.35 << 600.0 << 600.35;
  QTest::newRow("start off the grid, snapped down") << true << 500.01 << 700.0 << 500.0 << 700.0;
  QTest::newRow("below the level limit") << false << -111.0 << -50.0 << -110.0 << 0.0;
  QTest::newRow("above the level limit") << false << -50.0 << 1.0 << -110.0 << 0.0;
  QTest::newRow("gap of 1 dB") << false << -60.0 << -59.0 << -110.0 << 0.0;
  QTest::newRow("gap of 1.5 dB") << false << -60.0 << -58.5 << -60.0 << -58.5;
}

void TestSpectrumView::range_illegalChangeSnapsBack() {
  QFETCH(bool, frequency);
  QFETCH(double, lower);
  QFETCH(double, upper);
  QFETCH(double, expectedLower);
  QFETCH(double, expectedUpper);
  QCPAxis *axis = frequency ? view()->customPlot()->xAxis : view()->customPlot()->yAxis;
  axis->setRange(lower, upper);
  QCOMPARE(axis->range().lower, expectedLower);
  QCOMPARE(axis->range().upper, expectedUpper);
  const FreqScanSetModel *settings = FreqScanSetModel::instance();
  if (frequency) {
    QCOMPARE(view()->xMin(), expectedLower);
    QCOMPARE(view()->xMax(), expectedUpper);
    QCOMPARE(settings->startFreqStr(), QString::number(expectedLower, 'f', 3));
    QCOMPARE(settings->stopFreqStr(), QString::number(expectedUpper, 'f', 3));
  } else {
    QCOMPARE(view()->yMin(), expectedLower);
    QCOMPARE(view()->yMax(), expectedUpper);
    QCOMPARE(settings->lowerDbmStr(), QString::number(expectedLower, 'f', 3));
    QCOMPARE(settings->upperDbmStr(), QString::number(expectedUpper, 'f', 3));
  }
}

void TestSpectrumView::wheel_zoomsFrequencyOnly_andNotOverTheBands() {
  const ChartGeometry::AxisEdges e = edges();
  const QPointF inside((e.left + e.right) / 2, (e.top + e.bottom) / 2);
  hover(inside);
  wheel(inside, 120);
  QVERIFY(view()->xMax() - view()->xMin() < 500.0);
  QVERIFY(view()->xMin() >= 450.0 && view()->xMax() <= 950.0);
  QCOMPARE(view()->yMin(), -110.0);
  QCOMPARE(view()->yMax(), 0.0);

  const double lower = view()->xMin();
  const double upper = view()->xMax();
  for (const QPointF &band : {QPointF(inside.x(), e.bottom + 20), QPointF(e.left - 20, inside.y())}) {
    hover(band);
    wheel(band, 120);
    QCOMPARE(view()->xMin(), lower);
    QCOMPARE(view()->xMax(), upper);
    QCOMPARE(view()->yMin(), -110.0);
    QCOMPARE(view()->yMax(), 0.0);
  }
}

void TestSpectrumView::input_reachesThePlotOnTheNextPass() {
  int moves = 0;
  Qt::MouseButtons buttons = Qt::AllButtons;
  QPoint position;
  const QMetaObject::Connection connection =
      connect(view()->customPlot(), &QCustomPlot::mouseMove, this, [&](QMouseEvent *event) {
        ++moves;
        buttons = event->buttons();
        position = event->pos();
      });
  const ChartGeometry::AxisEdges e = edges();
  const QPointF at(e.left + 100.4, e.top + 50.6);
  QHoverEvent event(QEvent::HoverMove, at, at);
  QCoreApplication::sendEvent(view(), &event);
  QCOMPARE(moves, 0);
  deliver();
  disconnect(connection);
  // The hover arrives as a plain move at whole pixels, no button held.
  QCOMPARE(moves, 1);
  QCOMPARE(buttons, Qt::MouseButtons(Qt::NoButton));
  QCOMPARE(position, at.toPoint());

  // A wheel step is posted the same way.
  const double span = view()->xMax() - view()->xMin();
  QWheelEvent step(at, view()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view(), &step);
  QCOMPARE(view()->xMax() - view()->xMin(), span);
  deliver();
  QVERIFY(view()->xMax() - view()->xMin() < span);
}

void TestSpectrumView::tracker_followsTheCursorAndStaysWhenItLeaves() {
  feed(sweep());
  const ChartGeometry::AxisEdges e = edges();
  const QPoint at(int(e.left) + 200, int(e.top) + 100);
  hover(at);
  const double frequency = view()->pixelToCoordinateX(at.x());
  const double level = view()->pixelToCoordinateY(at.y());
  const int index = view()->mainGraph().graph()->findBegin(frequency, true);
  QCOMPARE(view()->trackerText(),
           QStringLiteral("%1MHz\r\n%2dBm\r\n%3/%4").arg(frequency).arg(level).arg(index).arg(1000));
  QVERIFY(view()->trackerVisible());

  // Over the level band the tracker hides; leaving the item changes nothing.
  hover(QPointF(e.left - 20, e.top + 100));
  QVERIFY(!view()->trackerVisible());
  hover(at);
  const QString text = view()->trackerText();
  QHoverEvent leave(QEvent::HoverLeave, QPointF(-5, -5), at);
  QSignalSpy left(view(), &QBaseWidgetPlot::hoverLeave);
  QCoreApplication::sendEvent(view(), &leave);
  deliver();
  QCOMPARE(left.count(), 1);
  QCOMPARE(view()->trackerText(), text);
  QVERIFY(view()->trackerVisible());
}

void TestSpectrumView::bandSegment_boundaryPixelsBelongToNone_data() {
  QTest::addColumn<QPointF>("at");
  QTest::addColumn<int>("segment");
  // Axis rectangle: left 63, right 1000, top 35, bottom 600.
  QTest::newRow("frequency left") << QPointF(100, 620) << int(BandSegment::FrequencyLeft);
  QTest::newRow("at the left edge") << QPointF(63, 620) << int(BandSegment::None);
  QTest::newRow("first split") << QPointF(350, 620) << int(BandSegment::None);
  QTest::newRow("frequency centre") << QPointF(500, 620) << int(BandSegment::FrequencyCentre);
  QTest::newRow("second split") << QPointF(650, 620) << int(BandSegment::None);
  QTest::newRow("frequency right") << QPointF(999, 620) << int(BandSegment::FrequencyRight);
  QTest::newRow("at the right edge") << QPointF(1000, 620) << int(BandSegment::None);
  QTest::newRow("on the bottom edge") << QPointF(500, 600) << int(BandSegment::None);
  QTest::newRow("40 px below") << QPointF(500, 640) << int(BandSegment::None);
  QTest::newRow("level top") << QPointF(40, 100) << int(BandSegment::LevelTop);
  QTest::newRow("at the top edge") << QPointF(40, 35) << int(BandSegment::None);
  QTest::newRow("level first split") << QPointF(40, 210) << int(BandSegment::None);
  QTest::newRow("level centre") << QPointF(40, 300) << int(BandSegment::LevelCentre);
  QTest::newRow("level bottom") << QPointF(40, 599) << int(BandSegment::LevelBottom);
  QTest::newRow("40 px left") << QPointF(23, 300) << int(BandSegment::None);
  QTest::newRow("on the left edge") << QPointF(63, 300) << int(BandSegment::None);
  QTest::newRow("corner below the level band") << QPointF(40, 620) << int(BandSegment::None);
  QTest::newRow("inside the plot") << QPointF(500, 300) << int(BandSegment::None);
}

void TestSpectrumView::bandSegment_boundaryPixelsBelongToNone() {
  QFETCH(QPointF, at);
  QFETCH(int, segment);
  ChartGeometry::AxisEdges e;
  e.left = 63;
  e.right = 1000;
  e.top = 35;
  e.bottom = 600;
  QCOMPARE(int(ChartGeometry::bandSegmentAt(at, e)), segment);
}

void TestSpectrumView::bandDrag_centrePanStopsAtTheBandEdge() {
  setFrequencyRange(470.0, 570.0);
  const ChartGeometry::AxisEdges e = edges();
  QPointF at(0.5 * e.right, e.bottom + 20);
  hover(at);
  QCOMPARE(view()->hoveredSegment(), BandSegment::FrequencyCentre);
  mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  QVERIFY(view()->isPressed(BandSegment::FrequencyCentre));

  // Dragging right moves the content right: the range goes down, and stops
  // before its lower bound reaches the band edge.
  double previous = view()->xMin();
  double lastPanX = at.x();
  for (int step = 0; step < 30; ++step) {
    at.rx() += 10;
    mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    QVERIFY2(view()->xMin() > 450.0, qPrintable(QString::number(view()->xMin())));
    QVERIFY(view()->xMax() - view()->xMin() > 99.0);
    if (view()->xMin() < previous)
      lastPanX = at.x();
    previous = view()->xMin();
  }
  QVERIFY(lastPanX > 0.5 * e.right);
  QVERIFY(view()->xMin() < 460.0);
  const double stopped = view()->xMin();
  at.rx() += 10;
  mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
  QCOMPARE(view()->xMin(), stopped);

  // The range stays where the cursor grabbed it: back past the point where
  // the pan stopped, it pans again.
  at.setX(lastPanX - 40);
  mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
  QVERIFY(view()->xMin() > stopped);

  mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  QVERIFY(!view()->isPressed(BandSegment::FrequencyCentre));
  QCOMPARE(view()->hoveredSegment(), BandSegment::None);
}

void TestSpectrumView::bandDrag_leftSegmentMovesOnlyTheLowerBound() {
  setFrequencyRange(500.0, 600.0);
  const ChartGeometry::AxisEdges e = edges();
  QPointF at(e.left + 30, e.bottom + 20);
  hover(at);
  QCOMPARE(view()->hoveredSegment(), BandSegment::FrequencyLeft);
  mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  at.rx() += 50;
  mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
  QVERIFY(view()->xMin() < 500.0);
  QCOMPARE(view()->xMax(), 600.0);
  mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void TestSpectrumView::doubleClick_addsManualPoint() {
  const ChartGeometry::AxisEdges e = edges();
  const QPointF at(e.left + 300, e.top + 200);
  mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
  const VariantListModel *manual = MonitorModel::instance()->manualMonitorPoints();
  QCOMPARE(manual->count(), 1);
  const double frequency = view()->pixelToCoordinateX(at.x());
  const double snapped = std::round(frequency / 0.025) * 0.025;
  QCOMPARE(manual->at(0).toMap().value(QStringLiteral("fre")).toString(), QString::number(snapped, 'f', 3));
}

// ---- overlays -----------------------------------------------------------------

void TestSpectrumView::overlay_warningLines() {
  QImage image = render();
  const ChartGeometry::AxisEdges e = edges();
  for (double level : {-70.0, -100.0}) {
    const int row = int(std::round(view()->coordinateToPixelY(level)));
    int red = 0;
    for (int x = int(e.left) + 5; x < int(e.right) - 5; ++x)
      for (int y = row - 1; y <= row + 1; ++y)
        red += isRed(image.pixelColor(x, y));
    QVERIFY2(red > (e.right - e.left) / 4, qPrintable(QStringLiteral("%1 dBm: %2 red pixels").arg(level).arg(red)));
  }

  // A level range without the two levels hides both lines.
  setLevelRange(-60, -10);
  image = render();
  int red = 0;
  for (int y = int(e.top); y < int(e.bottom); ++y)
    for (int x = int(e.left) + 5; x < int(e.right) - 5; ++x)
      red += isRed(image.pixelColor(x, y));
  QCOMPARE(red, 0);
}

void TestSpectrumView::overlay_markColourAtItsPoint_data() {
  QTest::addColumn<int>("slot");
  QTest::addColumn<QString>("colour");
  QTest::newRow("slot 0") << 0 << "#946a00";
  QTest::newRow("slot 2") << 2 << "#ff7b00";
  QTest::newRow("slot 5") << 5 << "#00BFFF";
  QTest::newRow("slot 7") << 7 << "#818181";
}

void TestSpectrumView::overlay_markColourAtItsPoint() {
  QFETCH(int, slot);
  QFETCH(QString, colour);
  FreqScanSetModel::instance()->setMarkSwitch(true);
  emit MarkModel::instance()->markUpdated(slot, QStringLiteral("450.000"), QStringLiteral("0"),
                                          QStringLiteral("peak"));
  feed(sweep(kPoints, {{400, -30}}));
  const QPointF peak = view()->mainPoints()[400];
  const QImage image = render();
  const double x = view()->coordinateToPixelX(peak.x());
  const double y = view()->coordinateToPixelY(peak.y());
  const QColor inside = pixel(image, x, y - 5);
  QVERIFY2(near(inside, QColor(colour)), qPrintable(describe(inside)));

  // The mark switch off: no mark.
  FreqScanSetModel::instance()->setMarkSwitch(false);
  const QImage without = render();
  QVERIFY(!near(pixel(without, x, y - 5), QColor(colour)));
}

void TestSpectrumView::overlay_markAtLevelBounds() {
  // A peak exactly at the top of the level range is not drawn, a valley
  // exactly at the bottom is.
  FreqScanSetModel::instance()->setMarkSwitch(true);
  setLevelRange(-100, -30);
  emit MarkModel::instance()->markUpdated(1, QStringLiteral("450.000"), QStringLiteral("0"), QStringLiteral("peak"));
  emit MarkModel::instance()->markUpdated(4, QStringLiteral("450.000"), QStringLiteral("0"),
                                          QStringLiteral("valley"));
  QMap<int, int> levels;
  for (int i = 0; i < kPoints; ++i)
    levels[i] = -60;
  levels[300] = -30;
  levels[700] = -100;
  feed(sweep(kPoints, levels));
  const QImage image = render();
  const QPointF peak = view()->mainPoints()[300];
  const QPointF valley = view()->mainPoints()[700];
  QVERIFY(!near(pixel(image, view()->coordinateToPixelX(peak.x()), view()->coordinateToPixelY(-30) - 5),
                ChartGeometry::markColor(1)));
  const QColor atValley =
      pixel(image, view()->coordinateToPixelX(valley.x()), view()->coordinateToPixelY(-100) - 5);
  QVERIFY2(near(atValley, ChartGeometry::markColor(4)), qPrintable(describe(atValley)));
}

void TestSpectrumView::overlay_priorityMarksAndInterferenceBands() {
  // A one-click scan sweep: a quiet floor with two loud runs far apart.
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  settings->setPriorityFreqNum(3);
  settings->setAutoMonitor(true);
  QMap<int, int> levels;
  for (int i = 100; i < 110; ++i)
    levels[i] = -40;
  levels[600] = -40;
  feed(sweep(kPoints, levels));
  settings->setAutoMonitor(false);
  const VariantListModel *autoPoints = MonitorModel::instance()->autoMonitorPoints();
  QVERIFY(autoPoints->count() > 0);
  const QVariantList interference = MonitorModel::instance()->highInterferencePoints();
  QCOMPARE(interference.size(), 11);

  const ChartGeometry::AxisEdges e = edges();
  const double priorityX = view()->coordinateToPixelX(autoPoints->at(0).toMap().value("fre").toDouble());
  const double runX = view()->coordinateToPixelX(view()->mainPoints()[105].x());
  const double loneX = view()->coordinateToPixelX(view()->mainPoints()[600].x());
  const double quietX = view()->coordinateToPixelX(view()->mainPoints()[350].x());
  const double row = e.top + 0.3 * (e.bottom - e.top) + 1;

  QImage image = render();
  QVERIFY(!near(pixel(image, priorityX, e.top - 4), QColor(0x6A, 0x5A, 0xCD), 20));

  view()->setFrequencyPriorityFlag(true);
  image = render();
  const QColor above = pixel(image, priorityX, e.top - 4);
  const QColor below = pixel(image, priorityX, e.bottom + 4);
  QVERIFY2(near(above, QColor(0x6A, 0x5A, 0xCD), 20), qPrintable(describe(above)));
  QVERIFY2(near(below, QColor(0x6A, 0x5A, 0xCD), 20), qPrintable(describe(below)));
  // Orange at alpha 60 over the black plot: about (60, 39, 0).
  for (double x : {runX, loneX}) {
    const QColor band = pixel(image, x, row);
    QVERIFY2(band.red() > 40 && band.green() > 25 && band.green() < band.red() && band.blue() < 25,
             qPrintable(describe(band)));
  }
  const QColor quiet = pixel(image, quietX, row);
  QVERIFY2(quiet.red() < 20, qPrintable(describe(quiet)));
  const QVector<QRect> bands = ChartGeometry::interferenceBands(
      {view()->coordinateToPixelX(view()->mainPoints()[600].x())}, e);
  QCOMPARE(bands.size(), 1);
  QCOMPARE(bands.first().width(), 2);
}

void TestSpectrumView::overlay_manualPointSquareOnlyInsideTheRanges() {
  MonitorModel::instance()->appendManualMonitorPoint(600.0, -50.0);
  QImage image = render();
  const double x = view()->coordinateToPixelX(600.0);
  const double y = view()->coordinateToPixelY(-50.0);
  QCOMPARE(pixel(image, x + 7, y + 7), QColor(Qt::white));

  setLevelRange(-40, 0);
  image = render();
  const double hiddenY = view()->coordinateToPixelY(-50.0);
  QVERIFY(pixel(image, x + 7, qBound(0.0, hiddenY + 7, image.height() - 1.0)) != QColor(Qt::white));

  // Back in range: shown again.
  setLevelRange(-110, 0);
  image = render();
  QCOMPARE(pixel(image, x + 7, view()->coordinateToPixelY(-50.0) + 7), QColor(Qt::white));
}

void TestSpectrumView::overlay_hoverHighlight() {
  const ChartGeometry::AxisEdges e = edges();
  const QPointF at(e.left + 30, e.bottom + 20);
  const QPointF sample(e.left + 30, e.bottom + 30);
  const QColor before = pixel(render(), sample.x(), sample.y());
  hover(at);
  const QColor lit = pixel(render(), sample.x(), sample.y());
  QVERIFY2(lit.lightness() > before.lightness() + 40, qPrintable(describe(lit)));
  mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  QCOMPARE(pixel(render(), sample.x(), sample.y()), before);
}

void TestSpectrumView::overlay_unitLabelSize_data() {
  QTest::addColumn<double>("height");
  QTest::addColumn<int>("points");
  QTest::newRow("300 px") << 300.0 << 6;
  QTest::newRow("450 px") << 450.0 << 9;
  QTest::newRow("600 px") << 600.0 << 12;
  QTest::newRow("900 px") << 900.0 << 12;
  QTest::newRow("tiny") << 20.0 << 1;
}

void TestSpectrumView::overlay_unitLabelSize() {
  QFETCH(double, height);
  QFETCH(int, points);
  QCOMPARE(ChartGeometry::unitLabelPointSize(height), points);
  // The label is drawn in white at the top left corner.
  const QImage image = render();
  int white = 0;
  for (int y = 4; y < 20; ++y)
    for (int x = 10; x < 80; ++x)
      white += image.pixelColor(x, y).lightness() > 200;
  QVERIFY(white > 20);
}

void TestSpectrumView::overlay_onlyChangeKeepsThePlotPicture() {
  render();
  const int renders = view()->plotRenderCount();
  render();
  QCOMPARE(view()->plotRenderCount(), renders);
  MonitorModel::instance()->appendManualMonitorPoint(700.0, -60.0);
  render();
  QCOMPARE(view()->plotRenderCount(), renders);
  feed(sweep());
  render();
  QCOMPARE(view()->plotRenderCount(), renders + 1);
}

void TestSpectrumView::plotItems_autoScanTipAndPeakCurveFollowTheSettings() {
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  QCPItemText *tip = view()->autoScanTip();
  QVERIFY(!tip->visible());
  QCOMPARE(tip->text(), QStringLiteral("正在搜索中..."));
  // A one-click scan starts: autoMonitor, then markPriorityFreq.
  settings->setAutoMonitor(true);
  settings->setMarkPriorityFreq(false);
  QVERIFY(tip->visible());
  QCOMPARE(tip->font().pointSize(), int(0.13 * view()->customPlot()->height()));
  QCOMPARE(tip->position->pixelPosition(), QPointF(view()->customPlot()->axisRect()->rect().center()));
  settings->setAutoMonitor(false);
  settings->setMarkPriorityFreq(true);
  QVERIFY(!tip->visible());

  QVERIFY(view()->peakGraph().graph()->visible());
  settings->setPeakSwitch(false);
  QVERIFY(!view()->peakGraph().graph()->visible());
  QVERIFY(view()->mainGraph().graph()->visible());

  // The warning lines span the frequency range.
  setFrequencyRange(500, 700);
  QCOMPARE(view()->warningLine(0)->start->coords(), QPointF(500, -70));
  QCOMPARE(view()->warningLine(0)->end->coords(), QPointF(700, -70));
  QCOMPARE(view()->warningLine(1)->start->coords(), QPointF(500, -100));
}

// ---- context menu -------------------------------------------------------------

void TestSpectrumView::menu_entriesInOrder_data() {
  QTest::addColumn<bool>("recording");
  QTest::addColumn<QString>("recordText");
  QTest::addColumn<QString>("recordIcon");
  QTest::newRow("idle") << false << "開始录像" << ":/res/video_record_icon_normal.png";
  QTest::newRow("recording") << true << "停止录像" << ":/res/video_record_icon_pressed.png";
}

void TestSpectrumView::menu_entriesInOrder() {
  QFETCH(bool, recording);
  QFETCH(QString, recordText);
  QFETCH(QString, recordIcon);
  VideoModel::instance()->setRunning(recording);
  const std::unique_ptr<RightButtonMenu> menu = view()->createRightBtnMenu(QPointF(300, 200));
  QStringList texts;
  const QList<QAction *> actions = menu->actions();
  QVERIFY(qobject_cast<QWidgetAction *>(actions.first()));
  QVERIFY(!actions.first()->isEnabled());
  for (QAction *action : actions.mid(1))
    texts << (action->isSeparator() ? QStringLiteral("separator") : action->text());
  const QStringList expected = {"将当前设置为开始频率", "将当前设置为结束频率", "separator",
                                "将当前频率设置为最高刻度", "将当前频率设置为最低刻度", "separator",
                                "添加当前为监测点", "删除当前监测点", "separator",
                                "保存图片", recordText, "保存为CSV"};
  QCOMPARE(texts, expected);

  const QList<RightButtonMenu::MenuItem> items = RightButtonMenu::menuItems(
      {}, recording ? RightButtonMenu::VideoRecordState::Recording : RightButtonMenu::VideoRecordState::Idle);
  QStringList icons;
  for (const RightButtonMenu::MenuItem &item : items)
    icons << item.iconPath;
  QCOMPARE(icons, QStringList({":/res/start_fre_icon.png", ":/res/end_fre_icon.jpg", "",
                               ":/res/highest_scale_icon.png", ":/res/lowest_scale_icon.png", "",
                               ":/res/add_detection_points_icon.png", ":/res/del_detection_points_icon.png", "",
                               ":/res/save_picture_icon.png", recordIcon, ":/res/save_csv_file_icon.png"}));
}

void TestSpectrumView::menu_enabling() {
  const ChartGeometry::AxisEdges e = edges();
  const QPointF at(e.left + 400, e.top + 150);
  {
    const std::unique_ptr<RightButtonMenu> menu = view()->createRightBtnMenu(at);
    QVERIFY(!RightButtonMenu::findAction(menu.get(), RightButtonMenu::saveCsvText())->isEnabled());
    QVERIFY(!RightButtonMenu::findAction(menu.get(), RightButtonMenu::deleteMonitorPointText())->isEnabled());
    QVERIFY(RightButtonMenu::findAction(menu.get(), RightButtonMenu::addMonitorPointText())->isEnabled());
  }
  feed(sweep());
  MonitorModel::instance()->appendManualMonitorPoint(view()->pixelToCoordinateX(at.x()), -50);
  {
    const std::unique_ptr<RightButtonMenu> menu = view()->createRightBtnMenu(at);
    QVERIFY(RightButtonMenu::findAction(menu.get(), RightButtonMenu::saveCsvText())->isEnabled());
    QVERIFY(RightButtonMenu::findAction(menu.get(), RightButtonMenu::deleteMonitorPointText())->isEnabled());
  }
  // 40 px further along the point no longer matches.
  const std::unique_ptr<RightButtonMenu> far = view()->createRightBtnMenu(at + QPointF(40, 0));
  QVERIFY(!RightButtonMenu::findAction(far.get(), RightButtonMenu::deleteMonitorPointText())->isEnabled());
  QVERIFY(!RightButtonMenu::findAction(far.get(), QStringLiteral("no such entry")));
}

void TestSpectrumView::menu_deleteRemovesTheMatchedPoint() {
  const ChartGeometry::AxisEdges e = edges();
  const QPointF at(e.left + 250, e.top + 100);
  MonitorModel::instance()->appendManualMonitorPoint(view()->pixelToCoordinateX(at.x()), -50);
  render();
  const int renders = view()->plotRenderCount();
  const std::unique_ptr<RightButtonMenu> menu = view()->createRightBtnMenu(at);
  QAction *remove = RightButtonMenu::findAction(menu.get(), RightButtonMenu::deleteMonitorPointText());
  QVERIFY(remove && remove->isEnabled());
  remove->trigger();
  QCOMPARE(MonitorModel::instance()->manualMonitorPoints()->count(), 0);
  // The chart repaints without the square.
  const QImage image = render();
  QCOMPARE(view()->plotRenderCount(), renders);
  QVERIFY(pixel(image, at.x() + 7, view()->coordinateToPixelY(-50) + 7) != QColor(Qt::white));

  const std::unique_ptr<RightButtonMenu> again = view()->createRightBtnMenu(at);
  RightButtonMenu::findAction(again.get(), RightButtonMenu::addMonitorPointText())->trigger();
  QCOMPARE(MonitorModel::instance()->manualMonitorPoints()->count(), 1);
}

void TestSpectrumView::menu_scaleTopAndStartEntries() {
  const QPointF at(view()->coordinateToPixelX(600.0), view()->coordinateToPixelY(-40.0));
  const std::unique_ptr<RightButtonMenu> menu = view()->createRightBtnMenu(at);
  RightButtonMenu::findAction(menu.get(), RightButtonMenu::setScaleTopText())->trigger();
  QCOMPARE(view()->yMin(), -110.0);
  QVERIFY(std::abs(view()->yMax() + 40.0) < 1e-6);
  QCOMPARE(view()->customPlot()->yAxis->range().upper, view()->yMax());

  RightButtonMenu::findAction(menu.get(), RightButtonMenu::setStartText())->trigger();
  QVERIFY(std::abs(view()->xMin() - 600.0) < 0.025);
  QCOMPARE(view()->xMax(), 950.0);
  QCOMPARE(FreqScanSetModel::instance()->startFreqStr(), QString::number(view()->xMin(), 'f', 3));
}

void TestSpectrumView::png_hasThePlotSize() {
  feed(sweep());
  QTemporaryDir dir(orvik::test::homePath() + QStringLiteral("/png-XXXXXX"));
  QVERIFY(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("chart.png"));
  const QSize plotSize = view()->customPlot()->size();
  QVERIFY(view()->savePngFile(path, plotSize.width(), plotSize.height()));
  QCOMPARE(QImage(path).size(), plotSize);
  QVERIFY(!view()->savePngFile(dir.filePath(QStringLiteral("missing/chart.png")), plotSize.width(),
                               plotSize.height()));
}

ORVIK_TEST_MAIN(TestSpectrumView)
#include "tst_spectrumview.moc"
