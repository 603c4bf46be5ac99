// The monitoring model's per-sweep work during a one-click scan, and the
// priority-frequency search in it: the library's search against the
// stage-by-stage reference on the same 1000-point sweeps, then the whole
// refresh through the model (manual levels, automatic list, interference
// points) and, with the marks, all the analysis one sweep costs.
//
// The models read and write the configuration under HOME, so the program
// runs itself again with a private, temporary HOME.

#include "../tests/unit/PrioritySearchReference.h"
#include "../tests/unit/SweepSamples.h"
#include "FreqScanSetModel.h"
#include "MarkModel.h"
#include "MonitorModel.h"
#include "PrioritySearch.h"
#include "SystemConfig.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

constexpr int kSweepPoints = 1000;
constexpr int kPriorityCount = 10;
constexpr int kManualPoints = 5;
constexpr int kSweepVariants = 8;
constexpr const char *kPrivateHomeVariable = "ORVIK_BENCH_HOME";

QVector<QVector<QPointF>> sceneSweeps() {
  QVector<QVector<QPointF>> sweeps;
  for (int seed = 1; seed <= kSweepVariants; ++seed)
    sweeps.append(SweepSamples::sceneSweep(unsigned(seed), kSweepPoints));
  return sweeps;
}

QVector<QPointF> flatSweep() {
  const QVector<double> xs = SweepSamples::gridFrequencies(450.0, 950.0, kSweepPoints);
  return SweepSamples::pointsOf(xs, QVector<double>(kSweepPoints, -100.0));
}

double spanOf(const QVector<QPointF> &points) {
  return points.last().x() - points.first().x();
}

template <QVector<QPointF> (*Search)(const QVector<QPointF> &, int, double, double)>
void runSearch(benchmark::State &state, const QVector<QVector<QPointF>> &sweeps, int count) {
  int i = 0;
  for (auto _ : state) {
    const QVector<QPointF> &sweep = sweeps[i++ % sweeps.size()];
    QVector<QPointF> result = Search(sweep, count, 1.0, spanOf(sweep));
    benchmark::DoNotOptimize(result.constData());
  }
}

void BM_PrioritySearchReference_1000points(benchmark::State &state) {
  runSearch<PrioritySearchReference::filteredPoints>(state, sceneSweeps(), int(state.range(0)));
}
BENCHMARK(BM_PrioritySearchReference_1000points)->Arg(kPriorityCount)->Arg(999)->Unit(benchmark::kMicrosecond);

void BM_PrioritySearch_1000points(benchmark::State &state) {
  runSearch<PrioritySearch::filteredPoints>(state, sceneSweeps(), int(state.range(0)));
}
BENCHMARK(BM_PrioritySearch_1000points)->Arg(kPriorityCount)->Arg(999)->Unit(benchmark::kMicrosecond);

// Equal levels everywhere: every point is a candidate in every stage.
void BM_PrioritySearchReference_Flat1000points(benchmark::State &state) {
  runSearch<PrioritySearchReference::filteredPoints>(state, {flatSweep()}, int(state.range(0)));
}
BENCHMARK(BM_PrioritySearchReference_Flat1000points)->Arg(10)->Arg(999)->Unit(benchmark::kMillisecond);

void BM_PrioritySearch_Flat1000points(benchmark::State &state) {
  runSearch<PrioritySearch::filteredPoints>(state, {flatSweep()}, int(state.range(0)));
}
BENCHMARK(BM_PrioritySearch_Flat1000points)->Arg(10)->Arg(999)->Unit(benchmark::kMicrosecond);

// A one-click scan running with n = 10 and five manual points on the chart.
void prepareMonitorModel() {
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  settings->setPriorityFreqNum(kPriorityCount);
  settings->setAutoMonitor(true);
  MonitorModel *model = MonitorModel::instance();
  model->clearManualMonitorPoints();
  for (int i = 0; i < kManualPoints; ++i) model->appendManualMonitorPoint(470.0 + i * 97.3, -90.0);
}

void BM_PerSweepRefresh_1000points(benchmark::State &state) {
  prepareMonitorModel();
  MonitorModel *model = MonitorModel::instance();
  const QVector<QVector<QPointF>> sweeps = sceneSweeps();
  int i = 0;
  for (auto _ : state) model->setLatestPoints(sweeps[i++ % sweeps.size()]);
  state.counters["autoEntries"] = model->autoMonitorPoints()->count();
}
BENCHMARK(BM_PerSweepRefresh_1000points)->Unit(benchmark::kMicrosecond);

using SweepSamples::markInput;

// What the spectrum view hands to both models for one sweep: marks (three
// peaks, three valleys, two fixed frequencies) and the monitoring refresh.
void BM_SweepAnalysis_1000points(benchmark::State &state) {
  prepareMonitorModel();
  MarkModel *marks = MarkModel::instance();
  const QStringList types = {"peak", "valley", "peak", "both", "valley", "peak", "both", "valley"};
  for (int id = 0; id < types.size(); ++id) emit marks->markUpdated(id, QString::number(500 + id * 50), "0", types[id]);
  const QVector<QVector<QPointF>> sweeps = sceneSweeps();
  QVector<QVariantMap> inputs;
  for (const QVector<QPointF> &sweep : sweeps) inputs.append(markInput(sweep));
  MonitorModel *model = MonitorModel::instance();
  int i = 0;
  for (auto _ : state) {
    const int k = i++ % sweeps.size();
    marks->updateMarkListAtCurrentPoints(inputs[k]);
    model->setLatestPoints(sweeps[k]);
  }
}
BENCHMARK(BM_SweepAnalysis_1000points)->Unit(benchmark::kMicrosecond);

// The log lines of every sweep are formatted as in the application; only the
// writing to the log file is left out.
void discardMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

int runInPrivateHome() {
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("HOME"), home.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
  environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.local/share"));
  environment.insert(QString::fromLatin1(kPrivateHomeVariable), home.path());
  QProcess child;
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::ForwardedChannels);
  child.start(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
  if (!child.waitForStarted() || !child.waitForFinished(-1)) return 1;
  return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
}

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  if (qEnvironmentVariableIsEmpty(kPrivateHomeVariable)) return runInPrivateHome();
  qInstallMessageHandler(discardMessage);
  SystemConfig::instance()->init();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
