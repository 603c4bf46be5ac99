// The spectrum chart's cost on the software raster path, at the chart size of
// a 1280 x 750 window with the mark panel shown (974 x 544 pixels):
//
// - one full repaint (a fresh plot picture and fresh overlays, as after a
//   sweep) with a 1000-point sweep, the max-hold, 8 marks, 10 priority
//   frequencies, interference bands and 5 manual points;
// - the same full repaint against a bare QCustomPlot render of the same two
//   graphs at the same size, timed alternately in one run (the ratio is the
//   figure that must hold);
// - a repaint after new ranges (the grid and axes drawn again too), one in
//   which only the cursor moved, and one in which nothing changed;
// - the work each sweep costs (hand-over to the marks and monitoring models,
//   max-hold, graph data) against the sweep period of the analyser.

#include "FreqScanSetModel.h"
#include "FreqSpectrumView.h"
#include "MarkModel.h"
#include "MonitorModel.h"
#include "SystemConfig.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <qcustomplot.h>

namespace {

constexpr const char *kPrivateHomeVariable = "ORVIK_BENCH_HOME";
constexpr int kViewWidthPx = 974;
constexpr int kViewHeightPx = 544;
constexpr int kSweepPoints = 1000;
// The analyser needs about one second for a 1000-point sweep.
constexpr double kSweepPeriodMs = 1000.0;
constexpr double kMsPerNs = 1e-6;

// A scene like the simulator's: a noise floor with fluctuation, a few narrow
// carriers and two flat 8 MHz channels.
QVariantList sceneSweep(int seed) {
  QVariantList levels;
  levels.reserve(kSweepPoints);
  for (int i = 0; i < kSweepPoints; ++i) {
    double level = -100.0 + ((i * 7919 + seed * 104729) % 11) * 0.6;
    if (i % 131 == 17)
      level = -45.0 - (i % 5) * 4.0;
    if ((i > 300 && i < 316) || (i > 700 && i < 716))
      level = -60.0;
    levels.append(int(std::lround(level)));
  }
  return levels;
}

// The view as the application shows it, with every overlay in use.
struct Scene {
  FreqSpectrumView view;

  Scene() {
    FreqScanSetModel *settings = FreqScanSetModel::instance();
    settings->setMarkSwitch(true);
    settings->setPeakSwitch(true);
    settings->setPriorityFreqNum(10);
    view.setWidth(kViewWidthPx);
    view.setHeight(kViewHeightPx);
    view.initCustomPlot();

    const QString types[] = {QStringLiteral("peak"), QStringLiteral("valley")};
    for (int id = 0; id < MarkModel::kSlotCount; ++id)
      emit MarkModel::instance()->markUpdated(id, QStringLiteral("450.000"), QStringLiteral("0"), types[id % 2]);

    // A one-click scan sweep fills the priority frequencies and the bands.
    settings->setAutoMonitor(true);
    view.takeSweep(sceneSweep(1));
    settings->setAutoMonitor(false);
    view.takeSweep(sceneSweep(2));
    view.setFrequencyPriorityFlag(true);
    MonitorModel *monitor = MonitorModel::instance();
    monitor->clearManualMonitorPoints();
    for (int i = 0; i < 5; ++i)
      monitor->appendManualMonitorPoint(500.0 + 80.0 * i, -70.0 + 5.0 * i);
  }

  // What a sweep leaves to the next paint: a fresh plot and fresh overlays.
  void invalidate() {
    view.replotCustomPlot();
    emit MarkModel::instance()->marksChanged();
  }
};

// A plain QCustomPlot with the same two graphs and default styling.
struct BarePlot {
  QCustomPlot plot;

  explicit BarePlot(const FreqSpectrumView &view) {
    plot.setGeometry(0, 0, kViewWidthPx, kViewHeightPx);
    plot.setViewport(QRect(0, 0, kViewWidthPx, kViewHeightPx));
    plot.setBackground(QBrush(Qt::black));
    for (const QVector<QPointF> &points : {view.mainPoints(), view.peakPoints()}) {
      QCPGraph *graph = plot.addGraph();
      QVector<double> keys;
      QVector<double> values;
      for (const QPointF &point : points) {
        keys.append(point.x());
        values.append(point.y());
      }
      graph->setData(keys, values);
      graph->setPen(QPen(Qt::green, 1));
      graph->setAntialiased(true);
    }
    plot.xAxis->setRange(450, 950);
    plot.yAxis->setRange(-110, 0);
  }

  void render(QImage &image) {
    QCPPainter painter(&image);
    plot.toPainter(&painter, kViewWidthPx, kViewHeightPx);
  }
};

QImage target() { return QImage(kViewWidthPx, kViewHeightPx, QImage::Format_ARGB32_Premultiplied); }

double paintOnce(FreqSpectrumView &view, QImage &image) {
  QElapsedTimer timer;
  timer.start();
  QPainter painter(&image);
  view.paint(&painter);
  painter.end();
  return timer.nsecsElapsed() * kMsPerNs;
}

void BM_SpectrumPaint_1280x750(benchmark::State &state) {
  Scene scene;
  QImage image = target();
  for (auto _ : state) {
    scene.invalidate();
    QPainter painter(&image);
    scene.view.paint(&painter);
  }
}
BENCHMARK(BM_SpectrumPaint_1280x750)->Unit(benchmark::kMillisecond);

void BM_SpectrumPaintVsBareRender_1280x750(benchmark::State &state) {
  Scene scene;
  BarePlot bare(scene.view);
  QImage ours = target();
  QImage theirs = target();
  double oursMs = 0;
  double bareMs = 0;
  for (auto _ : state) {
    scene.invalidate();
    const double paintMs = paintOnce(scene.view, ours);
    QElapsedTimer timer;
    timer.start();
    bare.render(theirs);
    const double renderMs = timer.nsecsElapsed() * kMsPerNs;
    oursMs += paintMs;
    bareMs += renderMs;
    state.SetIterationTime((paintMs + renderMs) / 1000.0);
  }
  const double n = double(state.iterations());
  state.counters["ours_ms"] = oursMs / n;
  state.counters["bare_ms"] = bareMs / n;
  state.counters["ratio"] = oursMs / bareMs;
}
BENCHMARK(BM_SpectrumPaintVsBareRender_1280x750)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BareQCustomPlotRender_1280x750(benchmark::State &state) {
  Scene scene;
  BarePlot bare(scene.view);
  QImage image = target();
  for (auto _ : state)
    bare.render(image);
}
BENCHMARK(BM_BareQCustomPlotRender_1280x750)->Unit(benchmark::kMillisecond);

void BM_SpectrumPaint_CursorMoved_1280x750(benchmark::State &state) {
  // The tracker items moved: a new plot picture, the overlays kept.
  Scene scene;
  QImage image = target();
  for (auto _ : state) {
    scene.view.replotCustomPlot();
    QPainter painter(&image);
    scene.view.paint(&painter);
  }
}
BENCHMARK(BM_SpectrumPaint_CursorMoved_1280x750)->Unit(benchmark::kMillisecond);

void BM_SpectrumPaint_RangeChanged_1280x750(benchmark::State &state) {
  // New ranges: the still part (background, grids, axes) is drawn again too.
  Scene scene;
  QImage image = target();
  QCPAxis *unwatched = scene.view.customPlot()->yAxis2;
  const QCPRange ranges[] = {unwatched->range(), QCPRange(unwatched->range().lower, unwatched->range().upper + 1)};
  int next = 0;
  for (auto _ : state) {
    unwatched->setRange(ranges[next]);
    next = 1 - next;
    scene.invalidate();
    QPainter painter(&image);
    scene.view.paint(&painter);
  }
}
BENCHMARK(BM_SpectrumPaint_RangeChanged_1280x750)->Unit(benchmark::kMillisecond);

void BM_SpectrumPaint_NothingChanged_1280x750(benchmark::State &state) {
  Scene scene;
  QImage image = target();
  for (auto _ : state) {
    QPainter painter(&image);
    scene.view.paint(&painter);
  }
}
BENCHMARK(BM_SpectrumPaint_NothingChanged_1280x750)->Unit(benchmark::kMillisecond);

void sweepWork(benchmark::State &state, bool oneClickScan) {
  Scene scene;
  FreqScanSetModel::instance()->setAutoMonitor(oneClickScan);
  const QVariantList sweeps[] = {sceneSweep(3), sceneSweep(4)};
  int next = 0;
  double totalMs = 0;
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    scene.view.takeSweep(sweeps[next]);
    totalMs += timer.nsecsElapsed() * kMsPerNs;
    next = 1 - next;
  }
  FreqScanSetModel::instance()->setAutoMonitor(false);
  state.counters["share_of_sweep_period"] = totalMs / double(state.iterations()) / kSweepPeriodMs;
}

void BM_SweepWork_1000points(benchmark::State &state) { sweepWork(state, false); }
BENCHMARK(BM_SweepWork_1000points)->Unit(benchmark::kMicrosecond);

void BM_SweepWork_OneClickScan_1000points(benchmark::State &state) { sweepWork(state, true); }
BENCHMARK(BM_SweepWork_OneClickScan_1000points)->Unit(benchmark::kMillisecond);

// The log lines of every sweep are formatted as in the application; only the
// writing to the log file is left out.
void discardMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

// The models keep their files under HOME: the benchmark runs itself again in
// a private one, so the user's configuration is never touched.
int runInPrivateHome() {
  QTemporaryDir home;
  if (!home.isValid())
    return 1;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("HOME"), home.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
  environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.local/share"));
  environment.insert(QString::fromLatin1(kPrivateHomeVariable), home.path());
  if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QProcess child;
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::ForwardedChannels);
  child.start(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
  if (!child.waitForStarted() || !child.waitForFinished(-1))
    return 1;
  return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
}

}  // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty(kPrivateHomeVariable)) {
    QCoreApplication launcher(argc, argv);
    return runInPrivateHome();
  }
  QApplication app(argc, argv);
  qInstallMessageHandler(discardMessage);
  SystemConfig::instance()->init();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
