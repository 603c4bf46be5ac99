#include "FileReadWrite.h"
#include "FreqRange.h"
#include "FreqScanSetModel.h"
#include "SystemConfig.h"
#include "TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

class TestFreqScanSetModel : public QObject {
  Q_OBJECT

  static QJsonObject config() { return SystemConfig::instance()->readConfigInfo(); }

private slots:
  void initTestCase() {
    // A fresh installation: the configuration file exists and is empty.
    SystemConfig::instance()->init();
  }

  void storedRangesAreNormalised_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("stop");
    QTest::addColumn<QString>("startText");
    QTest::addColumn<QString>("stopText");
    QTest::newRow("defaults") << 450.0 << 950.0 << "450.000" << "950.000";
    QTest::newRow("above the band") << 960.0 << 970.0 << "949.700" << "950.000";
    QTest::newRow("inverted") << 600.0 << 500.0 << "600.000" << "600.300";
    QTest::newRow("below the band") << 300.0 << 400.0 << "450.000" << "450.300";
    QTest::newRow("off grid") << 500.01 << 600.01 << "500.000" << "600.025";
    QTest::newRow("zero span at top") << 949.9 << 949.9 << "949.700" << "950.000";
  }

  void storedRangesAreNormalised() {
    QFETCH(double, start);
    QFETCH(double, stop);
    QFETCH(QString, startText);
    QFETCH(QString, stopText);
    const FreqRange::FreqPair range = FreqRange::normaliseStoredRange(float(start), float(stop));
    // At start-up both values then pass through the setters' snapping.
    const QString startOut = FreqRange::formatFreq(FreqRange::snapStart(range.startMhz));
    const QString stopOut = FreqRange::formatFreq(FreqRange::snapStop(FreqRange::toFloat(startOut), range.stopMhz));
    QCOMPARE(startOut, startText);
    QCOMPARE(stopOut, stopText);
  }

  void storedLevelsAreNormalised_data() {
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<QString>("lowerText");
    QTest::addColumn<QString>("upperText");
    QTest::newRow("defaults") << -110.0 << 0.0 << "-110" << "0";
    QTest::newRow("beyond the limits") << -120.0 << 10.0 << "-110" << "0";
    QTest::newRow("inverted near the top") << -0.5 << -2.0 << "-1" << "0";
    QTest::newRow("inverted") << -85.5 << -90.0 << "-85.5" << "-84.5";
  }

  void storedLevelsAreNormalised() {
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(QString, lowerText);
    QFETCH(QString, upperText);
    const FreqRange::DbmPair range = FreqRange::normaliseDbmRange(float(lower), float(upper));
    QCOMPARE(FreqRange::formatDbm(range.lower), lowerText);
    QCOMPARE(FreqRange::formatDbm(range.upper), upperText);
  }

  void emptyConfigurationGivesDefaultsAndWritesNothing() {
    FreqScanSetModel *model = FreqScanSetModel::instance();
    QCOMPARE(model->startFreqStr(), QStringLiteral("450.000"));
    QCOMPARE(model->stopFreqStr(), QStringLiteral("950.000"));
    QCOMPARE(model->lowerDbmStr(), QStringLiteral("-110"));
    QCOMPARE(model->upperDbmStr(), QStringLiteral("0"));
    QVERIFY(!model->peakSwitch());
    QVERIFY(!model->markSwitch());
    QVERIFY(!model->autoMonitor());
    QVERIFY(!model->markPriorityFreq());
    QCOMPARE(model->priorityFreqNum(), 10);
    QCOMPARE(model->monitorStatus(), QStringLiteral("auto"));
    QCOMPARE(model->scanStatus(), QStringLiteral("stop"));
    QVERIFY(config().isEmpty());
  }

  void startSetter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("below the band") << "300" << "450.000";
    QTest::newRow("above the band, no upper bound") << "960" << "960.000";
    QTest::newRow("snapped down") << "500.01" << "500.000";
    QTest::newRow("not a number") << "abc" << "450.000";
    QTest::newRow("on grid") << "470.025" << "470.025";
  }

  void startSetter() {
    QFETCH(QString, text);
    QFETCH(QString, stored);
    FreqScanSetModel *model = FreqScanSetModel::instance();
    model->setStartFreqStr(QStringLiteral("451.000"));
    QSignalSpy changed(model, &FreqScanSetModel::startFreqStrChanged);
    model->setStartFreqStr(text);
    QCOMPARE(model->startFreqStr(), stored);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(config().value("startFreq").toString(), stored);
  }

  void startSetterSignalsEvenWhenTheValueStays() {
    FreqScanSetModel *model = FreqScanSetModel::instance();
    model->setStartFreqStr(QStringLiteral("450.000"));
    QSignalSpy changed(model, &FreqScanSetModel::startFreqStrChanged);
    model->setStartFreqStr(QStringLiteral("450.000"));
    QCOMPARE(changed.count(), 0);  // the same text: nothing
    model->setStartFreqStr(QStringLiteral("450"));
    QCOMPARE(model->startFreqStr(), QStringLiteral("450.000"));
    QCOMPARE(changed.count(), 1);
  }

  void stopSetter_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("snapped up") << "450.000" << "600.01" << "600.025";
    QTest::newRow("below start") << "700.000" << "650" << "700.300";
    QTest::newRow("start at the top") << "950.000" << "650" << "950.000";
    QTest::newRow("above the band") << "450.000" << "999" << "950.000";
  }

  void stopSetter() {
    QFETCH(QString, start);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    FreqScanSetModel *model = FreqScanSetModel::instance();
    model->setStartFreqStr(start);
    model->setStopFreqStr(QStringLiteral("1"));
    model->setStopFreqStr(text);
    QCOMPARE(model->stopFreqStr(), stored);
    QCOMPARE(model->startFreqStr(), start);
    QCOMPARE(config().value("stopFreq").toString(), stored);
  }

  void switchesAndTextsPersist() {
    FreqScanSetModel *model = FreqScanSetModel::instance();
    QSignalSpy mark(model, &FreqScanSetModel::markSwitchChanged);
    model->setMarkSwitch(false);  // unchanged, still signals and writes
    QCOMPARE(mark.count(), 1);
    QCOMPARE(config().value("markSwitch"), QJsonValue(false));
    model->setPeakSwitch(true);
    model->setPriorityFreqNum(24);
    model->setMonitorStatus(QStringLiteral("manual"));
    model->setLowerDbmStr(QStringLiteral("-95"));
    const QJsonObject stored = config();
    QCOMPARE(stored.value("peakSwitch"), QJsonValue(true));
    QCOMPARE(stored.value("priorityFreqNum"), QJsonValue(24));
    QCOMPARE(stored.value("monitorStatus"), QJsonValue("manual"));
    QCOMPARE(stored.value("lowerDbmStr"), QJsonValue("-95"));

    QSignalSpy peak(model, &FreqScanSetModel::peakSwitchChanged);
    model->setPeakSwitch(true);
    QCOMPARE(peak.count(), 0);
    QSignalSpy priority(model, &FreqScanSetModel::markPriorityFreqChanged);
    model->setMarkPriorityFreq(false);
    QCOMPARE(priority.count(), 1);
    QVERIFY(!config().contains("markPriorityFreq"));
  }

  void updateScanStatusAlwaysWrites() {
    FreqScanSetModel *model = FreqScanSetModel::instance();
    QSignalSpy status(model, &FreqScanSetModel::statusChanged);
    model->updateScanStatus(QStringLiteral("stop"));
    QCOMPARE(status.count(), 0);
    QCOMPARE(config().value("scanStatus"), QJsonValue("stop"));
    model->setScanStatus(QStringLiteral("single"));
    QCOMPARE(status.count(), 1);
    QVERIFY(config().value("scanStatus") == QJsonValue("stop"));  // setScanStatus does not persist
  }
};

ORVIK_TEST_MAIN(TestFreqScanSetModel)
#include "tst_freqscansetmodel.moc"
