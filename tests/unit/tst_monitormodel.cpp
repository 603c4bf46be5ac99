// Monitoring points: the automatic list a running one-click scan rebuilds from
// every sweep, manual points and how their levels follow the sweeps, the
// high-interference points, the list requests, and every log line on the way.

#include "FreqScanSetModel.h"
#include "MonitorModel.h"
#include "SweepSamples.h"
#include "SystemConfig.h"
#include "TestSupport.h"

#include <QMutex>
#include <QMutexLocker>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {

struct LogLine {
  QtMsgType type;
  QString text;
};

QMutex g_logMutex;
QList<LogLine> g_log;
QtMessageHandler g_nextHandler = nullptr;

void capturingHandler(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  {
    QMutexLocker lock(&g_logMutex);
    g_log.append({type, text});
  }
  if (g_nextHandler) g_nextHandler(type, context, text);
}

QList<LogLine> takeLog() {
  QMutexLocker lock(&g_logMutex);
  QList<LogLine> taken;
  taken.swap(g_log);
  return taken;
}

// The messages of the helper lines, each prefixed with its level. The helpers
// send their text quoted, so a message ends the line before the quote.
QStringList messages(const QList<LogLine> &lines) {
  QStringList result;
  for (const LogLine &line : lines) {
    const int start = line.text.indexOf(QStringLiteral("] - "));
    if (start < 0) continue;
    const QString level = line.type == QtInfoMsg       ? QStringLiteral("INFO")
                          : line.type == QtWarningMsg  ? QStringLiteral("WARNING")
                          : line.type == QtCriticalMsg ? QStringLiteral("ERROR")
                                                       : QStringLiteral("OTHER");
    result << level + QStringLiteral(": ") + line.text.mid(start + 4).chopped(1);
  }
  return result;
}

QVariantMap entryAt(VariantListModel *list, int index) {
  return list->at(index).toMap();
}

QStringList fresOf(VariantListModel *list) {
  QStringList fres;
  for (int i = 0; i < list->count(); ++i) fres << entryAt(list, i).value(QStringLiteral("fre")).toString();
  return fres;
}

QVector<QPointF> evenlySpaced(int n, double startMhz, double stopMhz, double levelDbm) {
  const QVector<double> xs = SweepSamples::gridFrequencies(startMhz, stopMhz, n);
  return SweepSamples::pointsOf(xs, QVector<double>(n, levelDbm));
}

}  // namespace

class TestMonitorModel : public QObject {
  Q_OBJECT

  MonitorModel *model = nullptr;
  FreqScanSetModel *settings = nullptr;

  void startOneClickScan(int count = 10) {
    settings->setPriorityFreqNum(count);
    settings->setAutoMonitor(true);
  }

private slots:
  void initTestCase() {
    SystemConfig::instance()->init();
    settings = FreqScanSetModel::instance();
    model = MonitorModel::instance();
    QVERIFY(model->selectAll());
    QCOMPARE(model->autoMonitorPoints()->count(), 0);
    QCOMPARE(model->manualMonitorPoints()->count(), 0);
    QVERIFY(model->highInterferencePoints().isEmpty());
    g_nextHandler = qInstallMessageHandler(capturingHandler);
  }

  void cleanupTestCase() { qInstallMessageHandler(g_nextHandler); }

  // Each test starts with empty lists, no sweep, no interference points and no scan running.
  void init() {
    settings->setPriorityFreqNum(10);
    settings->setAutoMonitor(true);
    model->setLatestPoints(evenlySpaced(2, 600.0, 601.0, -100.0));  // level: nothing stands out
    settings->setAutoMonitor(false);
    model->setLatestPoints({});
    model->setPeakPoints({});
    model->clearAutoMonitorPoints();
    model->clearManualMonitorPoints();
    model->setSelectAll(true);
    QVERIFY(model->highInterferencePoints().isEmpty());
    takeLog();
  }

  void twoPointSweepGivesBothInOrder() {
    startOneClickScan(10);
    takeLog();
    QSignalSpy points(model, &MonitorModel::pointsChanged);
    QSignalSpy latest(model, &MonitorModel::latestPointsChanged);
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    QCOMPARE(latest.count(), 1);
    QVERIFY(points.count() >= 1);
    VariantListModel *list = model->autoMonitorPoints();
    QCOMPARE(list->count(), 2);
    const QVariantMap first = entryAt(list, 0);
    QCOMPARE(first.value(QStringLiteral("fre")), QVariant(QStringLiteral("450.000")));
    QCOMPARE(first.value(QStringLiteral("strength")), QVariant(-100.0));
    QCOMPARE(first.value(QStringLiteral("select")), QVariant(true));
    QCOMPARE(first.keys().size(), 3);
    QCOMPARE(entryAt(list, 1).value(QStringLiteral("fre")).toString(), QStringLiteral("950.000"));
    QCOMPARE(entryAt(list, 1).value(QStringLiteral("strength")).toDouble(), -99.5);
    QCOMPARE(messages(takeLog()),
             (QStringList{QStringLiteral("INFO: Min frequency space calculated: 500"),
                          QStringLiteral("INFO: Min Strength: -100"), QStringLiteral("INFO: Max Strength: -99.5")}));
  }

  void firstEntryIsTheLowestFrequencyWithinOneDbOfTheMinimum() {
    startOneClickScan(1);
    model->setLatestPoints({{450.0, -99.5}, {500.0, -98.0}, {600.0, -100.0}, {700.0, -100.0}});
    QCOMPARE(fresOf(model->autoMonitorPoints()), QStringList{QStringLiteral("450.000")});
  }

  void evenlySpacedEqualLevelsFillFromBothEnds() {
    startOneClickScan(5);
    model->setLatestPoints(evenlySpaced(9, 600.0, 608.0, -97.0));
    QCOMPARE(fresOf(model->autoMonitorPoints()), (QStringList{"600.000", "608.000", "604.000", "602.000", "606.000"}));
  }

  void entriesAreInSelectionOrderWithFrequencyToTheKilohertz_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("fre");
    QTest::newRow("on the grid") << 612.025 << "612.025";
    QTest::newRow("half a kHz rounds up") << 612.0125 << "612.013";
    QTest::newRow("below half a kHz") << 612.0004 << "612.000";
  }

  void entriesAreInSelectionOrderWithFrequencyToTheKilohertz() {
    QFETCH(double, x);
    QFETCH(QString, fre);
    startOneClickScan(10);
    model->setLatestPoints({{x, -100.0}, {x + 10.0, -100.0}});
    QCOMPARE(entryAt(model->autoMonitorPoints(), 0).value(QStringLiteral("fre")).toString(), fre);
  }

  void sceneSweepGivesWhatTheSearchGives() {
    startOneClickScan(10);
    const QVector<QPointF> sweep = SweepSamples::sceneSweep(5);
    model->setLatestPoints(sweep);
    const QVector<QPointF> selected = model->getLowInterferencePoints(sweep);
    QVERIFY(!selected.isEmpty());
    VariantListModel *list = model->autoMonitorPoints();
    QCOMPARE(list->count(), selected.size());
    for (int i = 0; i < selected.size(); ++i) {
      QCOMPARE(entryAt(list, i).value(QStringLiteral("fre")).toString(), QString::number(selected[i].x(), 'f', 3));
      QCOMPARE(entryAt(list, i).value(QStringLiteral("strength")).toDouble(), selected[i].y());
    }
    // Quiet points only: every one lies near the lowest level of the sweep.
    double lowest = 0.0;
    for (const QPointF &p : sweep) lowest = std::min(lowest, p.y());
    for (const QPointF &p : selected) QVERIFY(p.y() <= lowest + 10.0);
  }

  void autoListIsLeftAloneWhenNoScanRuns() {
    startOneClickScan(10);
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    const QVariantList before = model->autoMonitorPoints()->data();
    const QVariantList interferenceBefore = model->highInterferencePoints();
    settings->setAutoMonitor(false);
    takeLog();
    QSignalSpy points(model, &MonitorModel::pointsChanged);
    model->setLatestPoints({{500.0, -80.0}, {520.0, -20.0}, {540.0, -90.0}});
    QCOMPARE(model->autoMonitorPoints()->data(), before);
    QCOMPARE(model->highInterferencePoints(), interferenceBefore);
    QCOMPARE(points.count(), 0);
    QVERIFY(takeLog().isEmpty());
  }

  void countOfZeroOrLessFindsNothing_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("0") << 0;
    QTest::newRow("-3") << -3;
  }

  void countOfZeroOrLessFindsNothing() {
    QFETCH(int, count);
    startOneClickScan(count);
    takeLog();
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    QCOMPARE(model->autoMonitorPoints()->count(), 0);
    QCOMPARE(messages(takeLog()), (QStringList{QStringLiteral("INFO: Min frequency space calculated: 500"),
                                               QStringLiteral("INFO: No priority frequency points found.")}));
  }

  void tooFewPointsAreWarnedAbout() {
    startOneClickScan(10);
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    takeLog();
    model->setLatestPoints({{600.0, -100.0}});
    QCOMPARE(model->autoMonitorPoints()->count(), 0);
    QCOMPARE(messages(takeLog()),
             (QStringList{QStringLiteral("WARNING: Not enough frequency points available, returning empty list."),
                          QStringLiteral("INFO: No priority frequency points found.")}));
    // An empty sweep empties the list and says nothing.
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    takeLog();
    model->setLatestPoints({});
    QCOMPARE(model->autoMonitorPoints()->count(), 0);
    QVERIFY(takeLog().isEmpty());
    QVERIFY(model->getLowInterferencePoints({}).isEmpty());
    QCOMPARE(messages(takeLog()),
             QStringList{QStringLiteral("WARNING: No frequency points available, returning empty list.")});
  }

  void highInterferencePointsStandTwoDbAboveTheAverage() {
    startOneClickScan(10);
    // Mean -80: the threshold is -78; -78 itself is not above it.
    model->setLatestPoints({{600.0, -90.0}, {601.0, -70.0}, {602.0, -78.0}, {603.0, -90.0}, {604.0, -72.0}});
    const QVariantList high = model->highInterferencePoints();
    QCOMPARE(high, (QVariantList{QPointF(601.0, -70.0), QPointF(604.0, -72.0)}));
  }

  void highInterferencePointsAreInFrequencyOrder() {
    startOneClickScan(10);
    model->setLatestPoints({{604.0, -60.0}, {600.0, -90.0}, {602.0, -50.0}, {601.0, -90.0}, {603.0, -90.0}});
    QCOMPARE(model->highInterferencePoints(), (QVariantList{QPointF(602.0, -50.0), QPointF(604.0, -60.0)}));
  }

  void manualPointWithoutSweep() {
    QSignalSpy points(model, &MonitorModel::pointsChanged);
    model->appendManualMonitorPoint(600.012, -87.26);
    QCOMPARE(points.count(), 1);
    QCOMPARE(model->manualMonitorPoints()->count(), 1);
    const QVariantMap entry = entryAt(model->manualMonitorPoints(), 0);
    const QVariantMap expected{{"x", QStringLiteral("600.000")},
                               {"y", QStringLiteral("-87.260")},
                               {"fre", QStringLiteral("600.000")},
                               {"strength", QStringLiteral("-87.3")},
                               {"select", true},
                               {"usedClosestPoint", false},
                               {"originalFre", QStringLiteral("600.012")}};
    QCOMPARE(entry, expected);
    for (const char *key : {"x", "y", "fre", "strength", "originalFre"})
      QCOMPARE(entry.value(key).userType(), int(QMetaType::QString));
    QCOMPARE(entry.value("select").userType(), int(QMetaType::Bool));
    QCOMPARE(entry.value("usedClosestPoint").userType(), int(QMetaType::Bool));
    QCOMPARE(messages(takeLog()),
             (QStringList{QStringLiteral("INFO: No spectrum points available. Using adjusted frequency: 600"),
                          QStringLiteral("INFO: Added manual monitoring point: Frequency=600.000, Strength=-87.3")}));
  }

  void manualPointTakesTheLevelOfAVeryClosePoint() {
    model->setLatestPoints({{599.98, -95.0}, {600.005, -87.26}, {600.03, -99.0}});
    takeLog();
    model->appendManualMonitorPoint(600.012, -50.0);
    const QVariantMap entry = entryAt(model->manualMonitorPoints(), 0);
    QCOMPARE(entry.value("fre").toString(), QStringLiteral("600.000"));
    QCOMPARE(entry.value("x").toString(), QStringLiteral("600.000"));
    QCOMPARE(entry.value("strength"), QVariant(QStringLiteral("-87.3")));
    QCOMPARE(entry.value("y").toString(), QStringLiteral("-87.260"));
    QCOMPARE(entry.value("usedClosestPoint"), QVariant(true));
    QCOMPARE(entry.value("originalFre").toString(), QStringLiteral("600.012"));
    QCOMPARE(
        messages(takeLog()),
        (QStringList{QStringLiteral("INFO: Using closest spectrum point (diff=0.005): Frequency=600, Strength=-87.26"),
                     QStringLiteral("INFO: Added manual monitoring point: Frequency=600.000, Strength=-87.3")}));
  }

  void manualPointSnapAndClosestPoint_data() {
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("pointX");
    QTest::addColumn<QString>("fre");
    QTest::addColumn<bool>("usedClosestPoint");
    QTest::addColumn<QString>("strength");
    // The given level is -50; the sweep point's level is -80.
    QTest::newRow("snapped down") << 600.012 << 600.0 << "600.000" << true << "-80.0";
    QTest::newRow("snapped up") << 600.013 << 600.025 << "600.025" << true << "-80.0";
    QTest::newRow("below, snapped up") << 599.9874 << 599.975 << "599.975" << true << "-80.0";
    QTest::newRow("point 0.01 away") << 600.0 << 600.01 << "600.000" << true << "-80.0";
    QTest::newRow("point 0.011 away") << 600.0 << 600.011 << "600.000" << false << "-50.0";
    QTest::newRow("point far away") << 700.0 << 600.0 << "700.000" << false << "-50.0";
  }

  void manualPointSnapAndClosestPoint() {
    QFETCH(double, frequency);
    QFETCH(double, pointX);
    QFETCH(QString, fre);
    QFETCH(bool, usedClosestPoint);
    QFETCH(QString, strength);
    model->setLatestPoints({{pointX, -80.0}});
    model->appendManualMonitorPoint(frequency, -50.0);
    const QVariantMap entry = entryAt(model->manualMonitorPoints(), 0);
    QCOMPARE(entry.value("fre").toString(), fre);
    QCOMPARE(entry.value("x").toString(), fre);
    QCOMPARE(entry.value("usedClosestPoint").toBool(), usedClosestPoint);
    QCOMPARE(entry.value("strength").toString(), strength);
  }

  void duplicatesAreAppended() {
    model->appendManualMonitorPoint(600.0, -50.0);
    model->appendManualMonitorPoint(600.0, -50.0);
    QCOMPARE(model->manualMonitorPoints()->count(), 2);
  }

  void manualLevelsFollowTheSweep_data() {
    QTest::addColumn<QVector<QPointF>>("sweep");
    QTest::addColumn<QVariant>("strength");
    // The entry sits at 600.000 MHz with the level text "-50.0".
    QTest::newRow("exact point") << QVector<QPointF>{{599.5, -70.0}, {600.0, -61.0}, {600.3, -65.0}} << QVariant(-61.0);
    QTest::newRow("nearest 0.6 MHz away") << QVector<QPointF>{{598.0, -70.0}, {600.6, -62.0}} << QVariant(-62.0);
    QTest::newRow("nearest 1.2 MHz away")
        << QVector<QPointF>{{598.0, -70.0}, {601.2, -62.0}} << QVariant(QStringLiteral("-50.0"));
    QTest::newRow("exactly 1 MHz away") << QVector<QPointF>{{601.0, -62.0}} << QVariant(QStringLiteral("-50.0"));
    QTest::newRow("equally near: the first") << QVector<QPointF>{{599.5, -70.0}, {600.5, -62.0}} << QVariant(-70.0);
    QTest::newRow("nearer later point") << QVector<QPointF>{{599.5, -70.0}, {600.25, -62.0}} << QVariant(-62.0);
  }

  void manualLevelsFollowTheSweep() {
    QFETCH(QVector<QPointF>, sweep);
    QFETCH(QVariant, strength);
    model->appendManualMonitorPoint(600.0, -50.0);
    model->setLatestPoints(sweep);
    const QVariant actual = entryAt(model->manualMonitorPoints(), 0).value(QStringLiteral("strength"));
    QCOMPARE(actual.userType(), strength.userType());
    QCOMPARE(actual, strength);
  }

  void everyManualEntryFollowsWithAndWithoutAScan() {
    model->appendManualMonitorPoint(600.0, -50.0);
    model->appendManualMonitorPoint(610.0, -50.0);
    model->setLatestPoints({{600.0, -61.0}, {610.0, -71.0}});
    QCOMPARE(entryAt(model->manualMonitorPoints(), 0).value("strength"), QVariant(-61.0));
    QCOMPARE(entryAt(model->manualMonitorPoints(), 1).value("strength"), QVariant(-71.0));
    startOneClickScan(10);
    model->setLatestPoints({{600.0, -62.0}, {610.0, -72.0}});
    QCOMPARE(entryAt(model->manualMonitorPoints(), 0).value("strength"), QVariant(-62.0));
    QCOMPARE(entryAt(model->manualMonitorPoints(), 1).value("strength"), QVariant(-72.0));
    // The other keys stay as created.
    QCOMPARE(entryAt(model->manualMonitorPoints(), 1).value("y").toString(), QStringLiteral("-50.000"));
  }

  void findManualMonitorPoint_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("index");
    // Entries at 600.000 and 600.300 MHz.
    QTest::newRow("exact") << 600.0 << 0;
    QTest::newRow("0.15 above") << 600.15 << 0;
    QTest::newRow("0.15 below") << 599.85 << 0;
    QTest::newRow("between: the first") << 600.18 << 0;
    QTest::newRow("nearer the second") << 600.25 << 1;
    QTest::newRow("0.25 below the first") << 599.75 << -1;
    QTest::newRow("far") << 700.0 << -1;
  }

  void findManualMonitorPoint() {
    QFETCH(double, x);
    QFETCH(int, index);
    model->appendManualMonitorPoint(600.0, -50.0);
    model->appendManualMonitorPoint(600.3, -50.0);
    // The level plays no part.
    QCOMPARE(model->findManualMonitorPoint(QPointF(x, 12345.0)), index);
  }

  void findWithNoManualEntries() { QCOMPARE(model->findManualMonitorPoint(QPointF(600.0, -50.0)), -1); }

  void removeRequests_data() {
    QTest::addColumn<bool>("manual");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("message");
    QTest::newRow("manual -1") << true << -1 << "ERROR: Invalid index -1 for removing manual monitoring point.";
    QTest::newRow("manual count") << true << 2 << "ERROR: Invalid index 2 for removing manual monitoring point.";
    QTest::newRow("manual 1") << true << 1 << "INFO: Removed manual monitoring point at index 1.";
    QTest::newRow("auto -1") << false << -1 << "ERROR: Invalid index -1 for removing auto monitoring point.";
    QTest::newRow("auto count") << false << 2 << "ERROR: Invalid index 2 for removing auto monitoring point.";
    QTest::newRow("auto 0") << false << 0 << "INFO: Removed auto monitoring point at index 0.";
  }

  void removeRequests() {
    QFETCH(bool, manual);
    QFETCH(int, index);
    QFETCH(QString, message);
    model->appendManualMonitorPoint(600.0, -50.0);
    model->appendManualMonitorPoint(610.0, -50.0);
    startOneClickScan(10);
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    settings->setAutoMonitor(false);
    VariantListModel *list = manual ? model->manualMonitorPoints() : model->autoMonitorPoints();
    QCOMPARE(list->count(), 2);
    const QVariantList before = list->data();
    takeLog();
    QSignalSpy points(model, &MonitorModel::pointsChanged);
    if (manual)
      emit model->removeManualListAtIndex(index);
    else
      emit model->removeAutoListAtIndex(index);
    QCOMPARE(messages(takeLog()), QStringList{message});
    const bool valid = index >= 0 && index < 2;
    QCOMPARE(points.count(), valid ? 1 : 0);
    QVariantList expected = before;
    if (valid) expected.removeAt(index);
    QCOMPARE(list->data(), expected);
  }

  void selectionToggleInvertsTheShownState_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("message");
    QTest::newRow("shown selected") << 1 << true << "INFO: Updated auto monitor point at index 1 to select=0";
    QTest::newRow("shown unselected") << 0 << false << "INFO: Updated auto monitor point at index 0 to select=1";
    QTest::newRow("index -1") << -1 << true << "ERROR: Invalid index -1 for updating auto monitor point select.";
    QTest::newRow("index count") << 2 << true << "ERROR: Invalid index 2 for updating auto monitor point select.";
  }

  void selectionToggleInvertsTheShownState() {
    QFETCH(int, index);
    QFETCH(bool, shown);
    QFETCH(QString, message);
    startOneClickScan(10);
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    const QVariantList before = model->autoMonitorPoints()->data();
    takeLog();
    QSignalSpy points(model, &MonitorModel::pointsChanged);
    model->updateAutoMonitorPointSelect(index, shown);
    QCOMPARE(messages(takeLog()), QStringList{message});
    if (index < 0 || index >= 2) {
      QCOMPARE(points.count(), 0);
      QCOMPARE(model->autoMonitorPoints()->data(), before);
      return;
    }
    QCOMPARE(points.count(), 1);
    const QVariantMap entry = entryAt(model->autoMonitorPoints(), index);
    QCOMPARE(entry.value("select"), QVariant(!shown));
    QCOMPARE(entry.value("fre"), before[index].toMap().value("fre"));
  }

  void selectAllAppliesToExistingAndNewEntries() {
    startOneClickScan(5);
    model->setLatestPoints(evenlySpaced(9, 600.0, 608.0, -97.0));
    QCOMPARE(model->autoMonitorPoints()->count(), 5);
    QSignalSpy status(model, &MonitorModel::statusChanged);
    QSignalSpy points(model, &MonitorModel::pointsChanged);
    model->setSelectAll(false);
    QVERIFY(!model->selectAll());
    QCOMPARE(status.count(), 1);
    QCOMPARE(points.count(), 1);
    for (int i = 0; i < 5; ++i) QCOMPARE(entryAt(model->autoMonitorPoints(), i).value("select"), QVariant(false));
    // The next sweep of the running scan creates its entries unselected.
    model->setLatestPoints(evenlySpaced(9, 600.0, 608.0, -97.0));
    QCOMPARE(model->autoMonitorPoints()->count(), 5);
    for (int i = 0; i < 5; ++i) QCOMPARE(entryAt(model->autoMonitorPoints(), i).value("select"), QVariant(false));
    // Writing the same value still signals.
    model->setSelectAll(false);
    QCOMPARE(status.count(), 2);
  }

  void selectAllOnAnEmptyListOnlySignalsItsState() {
    QSignalSpy status(model, &MonitorModel::statusChanged);
    QSignalSpy points(model, &MonitorModel::pointsChanged);
    model->setSelectAll(false);
    QCOMPARE(status.count(), 1);
    QCOMPARE(points.count(), 0);
  }

  void userSelectionIsResetByTheNextSweepOfAScan() {
    startOneClickScan(10);
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    model->updateAutoMonitorPointSelect(0, true);
    QCOMPARE(entryAt(model->autoMonitorPoints(), 0).value("select"), QVariant(false));
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    QCOMPARE(entryAt(model->autoMonitorPoints(), 0).value("select"), QVariant(true));
  }

  void clearsEmptyTheirListAndSignal() {
    model->appendManualMonitorPoint(600.0, -50.0);
    startOneClickScan(10);
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    QSignalSpy points(model, &MonitorModel::pointsChanged);
    model->clearAutoMonitorPoints();
    QCOMPARE(points.count(), 1);
    QCOMPARE(model->autoMonitorPoints()->count(), 0);
    QCOMPARE(model->manualMonitorPoints()->count(), 1);
    model->clearManualMonitorPoints();
    QCOMPARE(points.count(), 2);
    QCOMPARE(model->manualMonitorPoints()->count(), 0);
  }

  void peakPointsAreKeptAndClearedOnRequest() {
    QSignalSpy peak(model, &MonitorModel::peakPointsChanged);
    const QVector<QPointF> points{{600.0, -60.0}, {601.0, -61.0}};
    model->setPeakPoints(points);
    QCOMPARE(peak.count(), 1);
    QCOMPARE(model->peakPoints(), points);
    emit settings->clearPeakPoints();
    QCOMPARE(peak.count(), 2);
    QVERIFY(model->peakPoints().isEmpty());
  }

  void qmlReadsListsAndPoints() {
    startOneClickScan(10);
    model->setLatestPoints({{450.0, -100.0}, {950.0, -99.5}});
    model->appendManualMonitorPoint(600.0, -50.0);
    QQmlEngine engine;
    engine.rootContext()->setContextProperty(QStringLiteral("monitorModel"), model);
    QQmlComponent component(&engine);
    component.setData(R"(
      import QtQuick 2.15
      QtObject {
        property int latestCount: monitorModel.latestPoints.length
        property real secondX: monitorModel.latestPoints[1].x
        property int autoCount: monitorModel.autoMonitorPoints.count()
        property string firstFre: monitorModel.autoMonitorPoints.at(0).fre
        property string manualStrength: monitorModel.manualMonitorPoints.at(0).strength
        property bool all: monitorModel.selectAll
        function toggle() { monitorModel.updateAutoMonitorPointSelect(1, true) }
        function unselectAll() { monitorModel.selectAll = !monitorModel.selectAll }
      }
    )",
                      QUrl(QStringLiteral("qrc:/tst_monitormodel.qml")));
    QScopedPointer<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));
    QCOMPARE(root->property("latestCount").toInt(), 2);
    QCOMPARE(root->property("secondX").toDouble(), 950.0);
    QCOMPARE(root->property("autoCount").toInt(), 2);
    QCOMPARE(root->property("firstFre").toString(), QStringLiteral("450.000"));
    QCOMPARE(root->property("manualStrength").toString(), QStringLiteral("-50.0"));
    QVERIFY(root->property("all").toBool());
    QMetaObject::invokeMethod(root.data(), "toggle");
    QCOMPARE(entryAt(model->autoMonitorPoints(), 1).value("select"), QVariant(false));
    QMetaObject::invokeMethod(root.data(), "unselectAll");
    QVERIFY(!model->selectAll());
    QVERIFY(!root->property("all").toBool());
    ORVIK_VERIFY_NO_QML_WARNINGS();
  }
};

ORVIK_TEST_MAIN(TestMonitorModel)
#include "tst_monitormodel.moc"
