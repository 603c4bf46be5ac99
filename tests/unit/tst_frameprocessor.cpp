#include "FrameProcessor.h"
#include "FrameSeqModel.h"
#include "FreqScanSetModel.h"
#include "SerialPortModel.h"
#include "SystemConfig.h"
#include "TestSupport.h"

#include <QSignalSpy>

// The engine's pacing without a device: the port stays closed, so nothing is
// written, but the queue, the busy flag, the timers and the scan status behave
// as they do with one.
class TestFrameProcessor : public QObject {
  Q_OBJECT

  FrameProcessor *m_engine = nullptr;
  FreqScanSetModel *m_settings = nullptr;
  SerialPortModel *m_serial = nullptr;

private slots:
  void initTestCase() {
    SystemConfig::instance()->init();
    FrameSeqModel::instance();
    m_engine = FrameProcessor::instance();
    m_settings = FreqScanSetModel::instance();
    m_serial = SerialPortModel::instance();
    QTRY_VERIFY(m_engine->isRunning());
  }

  void init() {
    emit m_settings->stopScan();
    m_settings->setStartFreqStr("450.000");
    m_settings->setStopFreqStr("950.000");
  }

  void commandGroup_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QStringList>("group");
    QTest::newRow("band") << "450.000" << "950.000"
                          << QStringList{"sweep start 450000000\r\n", "sweep stop 950000000\r\n",
                                         "scanraw 450000000 950000000 1000\r\n"};
    QTest::newRow("fractional") << "470.025" << "470.325"
                                << QStringList{"sweep start 470025000\r\n", "sweep stop 470325000\r\n",
                                               "scanraw 470025000 470325000 1000\r\n"};
    QTest::newRow("2200 MHz does not fit in 32 bits") << "450" << "2200" << QStringList{};
    QTest::newRow("inverted") << "600" << "500" << QStringList{};
    QTest::newRow("equal") << "600" << "600" << QStringList{};
    QTest::newRow("not a number") << "abc" << "600" << QStringList{};
    QTest::newRow("negative") << "-5" << "600" << QStringList{};
  }

  void commandGroup() {
    QFETCH(QString, start);
    QFETCH(QString, stop);
    QFETCH(QStringList, group);
    QCOMPARE(FrameProcessor::buildScanCommands(start, stop), group);
  }

  void commandTable() {
    QCOMPARE(m_engine->getCommandBytes(FrameProcessor::VBAT), QByteArray("vbat\r\n"));
    QCOMPARE(m_engine->getCommandBytes(FrameProcessor::SWEEP), QByteArray("sweep\r\n"));
    QCOMPARE(FrameSeqModel::instance()->getHeartFrame(), QByteArray("version\r\n"));
    QCOMPARE(m_engine->getCommandBytes(FrameProcessor::Command(7)), QByteArray());
  }

  void onlyTheNewestGroupIsSentAndBusyQueuesNothing() {
    m_serial->setBusy(false);
    emit m_settings->singleScan();
    emit m_settings->singleScan();  // within one sending tick
    QCOMPARE(m_engine->pendingGroups(), 1);  // the request clears the queue before it adds
    QCOMPARE(m_settings->scanStatus(), QStringLiteral("single"));
    QVERIFY(m_engine->singleScanTimer()->isActive());
    m_engine->onScanTimeout();
    QVERIFY(m_serial->busy());
    QCOMPARE(m_engine->pendingGroups(), 0);
    m_engine->appendScanCommands();  // awaiting the answer: nothing is queued
    QCOMPARE(m_engine->pendingGroups(), 0);
  }

  void singleDeadlineRetries() {
    emit m_settings->singleScan();
    m_engine->onScanTimeout();
    QVERIFY(m_serial->busy());
    QMetaObject::invokeMethod(m_engine->singleScanTimer(), "timeout", Qt::DirectConnection);
    QVERIFY(!m_serial->busy());
    QCOMPARE(m_engine->pendingGroups(), 1);
    QVERIFY(m_engine->singleScanTimer()->isActive());
    emit m_settings->stopScan();
    QCOMPARE(m_settings->scanStatus(), QStringLiteral("stop"));
    QCOMPARE(m_engine->pendingGroups(), 0);
    QVERIFY(!m_engine->singleScanTimer()->isActive());
  }

  void continuousTickStartsTheWatchdogWhileBusy() {
    m_settings->setMarkPriorityFreq(true);
    m_settings->setAutoMonitor(true);
    emit m_settings->continuousScan();
    QVERIFY(m_settings->markPriorityFreq());  // kept during a one-click scan
    QVERIFY(m_engine->continuousTimer()->isActive());
    m_engine->onScanTimeout();
    QVERIFY(m_serial->busy());
    QMetaObject::invokeMethod(m_engine->continuousTimer(), "timeout", Qt::DirectConnection);
    QVERIFY(m_engine->busyWatchdog()->isActive());
    QCOMPARE(m_engine->busyWatchdog()->interval(), 5000);
    QMetaObject::invokeMethod(m_engine->busyWatchdog(), "timeout", Qt::DirectConnection);
    QVERIFY(!m_serial->busy());
    QMetaObject::invokeMethod(m_engine->continuousTimer(), "timeout", Qt::DirectConnection);
    QCOMPARE(m_engine->pendingGroups(), 1);
    m_settings->setAutoMonitor(false);
    emit m_settings->continuousScan();
    QVERIFY(!m_settings->markPriorityFreq());
  }

  void framesAreDecodedOnTheWorkersAndCompleteTheSweep() {
    emit m_settings->singleScan();
    m_engine->onScanTimeout();
    QSignalSpy sweeps(FrameSeqModel::instance(), &FrameSeqModel::scanSuccessed);
    QByteArray frame = "scanraw 450000000 950000000 1000\r\n{";
    for (int i = 0; i < 11; ++i)
      frame += QByteArray("x") + char(0x80) + char(0x03);  // raw 896 = -100 dBm
    frame += "}ch> ";
    m_engine->handleSerialData(frame.left(7));
    m_engine->handleSerialData(frame.mid(7));
    QVERIFY(sweeps.wait(2000));
    QVariantList expected;
    for (int i = 0; i < 11; ++i)
      expected << -100;
    QCOMPARE(sweeps.first().first().toList(), expected);
    QTRY_COMPARE(m_settings->scanStatus(), QStringLiteral("stop"));
    QVERIFY(!m_serial->busy());

    // Ten points are not a sweep: only the eleven-point frame behind it is published.
    QByteArray small = "{";
    for (int i = 0; i < 10; ++i)
      small += QByteArray("x") + char(0xA0) + char(0x02);
    m_engine->handleSerialData(small + "}" + frame);
    QVERIFY(sweeps.wait(2000));
    QCOMPARE(sweeps.count(), 2);
    QCOMPARE(sweeps.at(1).first().toList(), expected);
  }

  void aWaitingGroupFollowsARangeChange() {
    m_serial->setBusy(false);
    emit m_settings->continuousScan();
    m_settings->setStartFreqStr("600");
    m_settings->setStopFreqStr("700.5");
    QCOMPARE(m_engine->pendingGroups(), 1);
    QCOMPARE(m_engine->pendingGroup().last(), QStringLiteral("scanraw 600000000 700500000 1000\r\n"));
    m_engine->onScanTimeout();
    m_settings->setStartFreqStr("650");  // already sent: nothing is queued behind the sweep in flight
    QCOMPARE(m_engine->pendingGroups(), 0);
  }

  void disconnectStopsSweeping() {
    emit m_settings->continuousScan();
    emit m_serial->closeConnect();
    QCOMPARE(m_settings->scanStatus(), QStringLiteral("stop"));
    QVERIFY(!m_engine->continuousTimer()->isActive());
  }
};

ORVIK_TEST_MAIN(TestFrameProcessor)
#include "tst_frameprocessor.moc"
