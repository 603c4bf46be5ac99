#include "FileReadWrite.h"
#include "FrameProcessor.h"
#include "FrameSeqModel.h"
#include "FreqScanSetModel.h"
#include "SerialPortModel.h"
#include "SimScene.h"
#include "SimulatorProcess.h"
#include "SystemConfig.h"
#include "TestSupport.h"

#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>

namespace {

constexpr qint64 kStartHz = 450000000;
constexpr qint64 kStopHz = 950000000;
constexpr int kPoints = 1000;
constexpr quint64 kSeed = 7;

// The analyser simulator with this file's scene and sweep time.
class Simulator : public orvik::test::SimulatorProcess {
public:
  bool start(const QStringList &extraArgs) {
    return SimulatorProcess::start(QStringList{"--seed", QString::number(kSeed), "--sweep-ms", "150"} + extraArgs);
  }
};


QVector<int> toInts(const QVariantList &list) {
  QVector<int> levels;
  levels.reserve(list.size());
  for (const QVariant &v : list)
    levels.append(v.toInt());
  return levels;
}

QVector<int> sceneSweep(quint64 index, tinysasim::SpecialBytes special = tinysasim::SpecialBytes::Natural) {
  tinysasim::SceneConfig config;
  config.seed = kSeed;
  config.specialBytes = special;
  return tinysasim::sceneWholeLevelsDbm(config, index, kStartHz, kStopHz, kPoints);
}

// The scene sweep (searched among the first ones) that equals the levels, or -1.
int matchingSceneSweep(const QVector<int> &levels,
                       tinysasim::SpecialBytes special = tinysasim::SpecialBytes::Natural, int searchCount = 60) {
  for (int k = 0; k < searchCount; ++k) {
    if (sceneSweep(quint64(k), special) == levels)
      return k;
  }
  return -1;
}

}  // namespace

class TestDeviceLink : public QObject {
  Q_OBJECT

  Simulator *m_sim = nullptr;
  SerialPortModel *m_model = nullptr;

  static int indexOfPort(const QString &portName) {
    const QVariantList ports = SerialPortModel::instance()->portList();
    for (int i = 0; i < ports.size(); ++i) {
      if (ports.at(i).toMap().value("portName").toString() == portName)
        return i;
    }
    return -1;
  }

  void startSimulator(const QStringList &args) {
    delete m_sim;
    m_sim = new Simulator;
    QVERIFY(m_sim->start(args));
    QTRY_VERIFY_WITH_TIMEOUT(indexOfPort(m_sim->link()) >= 0, 5000);
  }

  void connectToSimulator() {
    m_model->setCurrentIndex(indexOfPort(m_sim->link()));
    QCOMPARE(m_model->currentPortName(), m_sim->link());
    m_model->openSerialPort();
  }


private slots:
  void initTestCase() {
    SystemConfig::instance()->init();
    // A returning user: the simulator's link is the remembered port.
    m_sim = new Simulator;
    QVERIFY(m_sim->start({}));
    QJsonObject config;
    config.insert("serialPort", QJsonObject{{"portName", m_sim->link()}});
    QVERIFY(SystemConfig::instance()->writeConfigToFile(config));

    m_model = SerialPortModel::instance();
    QSignalSpy found(m_model, &SerialPortModel::portFound);
    QCOMPARE(m_model->currentPortName(), m_sim->link());
    FrameSeqModel::instance();
    QVERIFY(found.wait(3000));
    QCOMPARE(found.first().at(0).toMap().value("portName").toString(), m_sim->link());
    QCOMPARE(m_model->currentIndex(), found.first().at(1).toInt());
    QCOMPARE(m_model->connectState(), SerialPortModel::DISCONNECTED);  // selected, not opened
    QTRY_VERIFY_WITH_TIMEOUT(FrameProcessor::instance()->isRunning(), 2000);
  }

  // Every test leaves the link idle: sweeping stopped, port closed, simulator gone.
  void cleanup() {
    if (QTest::currentTestFunction() == QByteArray("connectsWithinOneSecondAndSweepsOnceExactly") &&
        !QTest::currentTestFailed())
      return;  // the next test goes on sweeping on this connection
    emit FreqScanSetModel::instance()->stopScan();
    m_model->closeSerialPort();
    QTRY_COMPARE_WITH_TIMEOUT(m_model->connectState(), SerialPortModel::DISCONNECTED, 3000);
    delete m_sim;
    m_sim = nullptr;
  }

  void cleanupTestCase() {
    delete m_sim;
    m_sim = nullptr;
  }

  void connectsWithinOneSecondAndSweepsOnceExactly() {
    QSignalSpy status(m_model, &SerialPortModel::statusChanged);
    QElapsedTimer timer;
    timer.start();
    connectToSimulator();
    QCOMPARE(m_model->connectState(), SerialPortModel::CONNECTING);
    QTRY_VERIFY_WITH_TIMEOUT(m_model->connected(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(m_model->connectState(), SerialPortModel::CONNECTED, 3000);
    QCOMPARE(SystemConfig::instance()->readConfigInfo().value("serialPort").toObject().value("portName").toString(),
             m_sim->link());

    QSignalSpy sweeps(FrameSeqModel::instance(), &FrameSeqModel::scanSuccessed);
    emit FreqScanSetModel::instance()->singleScan();
    QCOMPARE(FreqScanSetModel::instance()->scanStatus(), QStringLiteral("single"));
    QVERIFY(sweeps.wait(5000));
    QCOMPARE(toInts(sweeps.first().first().toList()), sceneSweep(0));
    QTRY_COMPARE(FreqScanSetModel::instance()->scanStatus(), QStringLiteral("stop"));
    QVERIFY(!m_model->busy());
  }

  void sweepsContinuouslyInOrder() {
    QSignalSpy sweeps(FrameSeqModel::instance(), &FrameSeqModel::scanSuccessed);
    emit FreqScanSetModel::instance()->continuousScan();
    QCOMPARE(FreqScanSetModel::instance()->scanStatus(), QStringLiteral("continuous"));
    QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 3, 10000);
    emit FreqScanSetModel::instance()->stopScan();
    QCOMPARE(FreqScanSetModel::instance()->scanStatus(), QStringLiteral("stop"));
    QVERIFY(!FrameProcessor::instance()->continuousTimer()->isActive());
    const int first = matchingSceneSweep(toInts(sweeps.at(0).first().toList()));
    QVERIFY(first >= 1);
    for (int i = 1; i < 3; ++i)
      QCOMPARE(toInts(sweeps.at(i).first().toList()), sceneSweep(quint64(first + i)));
  }

  void handshakeFailures_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("wrong banner") << QStringList{"--banner", "wrong"};
    QTest::newRow("banner 1.2 s late") << QStringList{"--banner", "late", "--banner-delay-ms", "1200"};
    QTest::newRow("no banner") << QStringList{"--banner", "none"};
    QTest::newRow("silent device") << QStringList{"--fault", "mute"};
  }

  void handshakeFailures() {
    QFETCH(QStringList, args);
    startSimulator(args);
    if (QTest::currentTestFailed())
      return;
    QSignalSpy closed(m_model, &SerialPortModel::closeConnect);
    connectToSimulator();
    QCOMPARE(m_model->connectState(), SerialPortModel::CONNECTING);
    QVERIFY(closed.wait(3000));
    QCOMPARE(m_model->connectState(), SerialPortModel::DISCONNECTED);
    QVERIFY(!m_model->connected());
  }

  void faultsNeverReachTheSweeps_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("random chunks") << QStringList{"--fault", "random-chunks"};
    QTest::newRow("corrupt bytes every 2nd") << QStringList{"--fault", "corrupt-bytes:2"};
    QTest::newRow("dropped frame end every 3rd") << QStringList{"--fault", "drop-frame-end:3"};
    QTest::newRow("special bytes forced") << QStringList{"--special-bytes", "force"};
  }

  void faultsNeverReachTheSweeps() {
    QFETCH(QStringList, args);
    startSimulator(args);
    if (QTest::currentTestFailed())
      return;
    connectToSimulator();
    QTRY_COMPARE_WITH_TIMEOUT(m_model->connectState(), SerialPortModel::CONNECTED, 3000);
    QSignalSpy sweeps(FrameSeqModel::instance(), &FrameSeqModel::scanSuccessed);
    emit FreqScanSetModel::instance()->continuousScan();
    QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 3, 20000);
    for (const QList<QVariant> &sweep : qAsConst(sweeps)) {
      const QVector<int> levels = toInts(sweep.first().toList());
      const bool forced = args.contains("--special-bytes");
      if (forced)
        QCOMPARE(levels.size(), kPoints);
      // Whatever the fault did, a published sweep is one the simulator sent, whole.
      const auto special = forced ? tinysasim::SpecialBytes::Force : tinysasim::SpecialBytes::Natural;
      QVERIFY2(matchingSceneSweep(levels, special) >= 0, qPrintable(QString("sweep of %1 points").arg(levels.size())));
    }
  }

  void lostAnswerResumesAfterTheWatchdog() {
    startSimulator({"--fault", "lost-answer:2"});
    if (QTest::currentTestFailed())
      return;
    connectToSimulator();
    QTRY_COMPARE_WITH_TIMEOUT(m_model->connectState(), SerialPortModel::CONNECTED, 3000);
    QSignalSpy sweeps(FrameSeqModel::instance(), &FrameSeqModel::scanSuccessed);
    QSignalSpy watchdog(FrameProcessor::instance()->busyWatchdog(), &QTimer::timeout);
    emit FreqScanSetModel::instance()->continuousScan();
    QTRY_VERIFY_WITH_TIMEOUT(watchdog.count() >= 1 && sweeps.count() >= 2, 15000);
    QCOMPARE(FreqScanSetModel::instance()->scanStatus(), QStringLiteral("continuous"));
  }

  void unplugWhileSweepingStopsEverything() {
    startSimulator({"--exit-after", "2"});
    if (QTest::currentTestFailed())
      return;
    connectToSimulator();
    QTRY_COMPARE_WITH_TIMEOUT(m_model->connectState(), SerialPortModel::CONNECTED, 3000);
    QSignalSpy notFound(m_model, &SerialPortModel::portNotFound);
    emit FreqScanSetModel::instance()->continuousScan();
    QTRY_COMPARE_WITH_TIMEOUT(m_model->connectState(), SerialPortModel::DISCONNECTED, 15000);
    QCOMPARE(FreqScanSetModel::instance()->scanStatus(), QStringLiteral("stop"));
    QVERIFY(!FrameProcessor::instance()->continuousTimer()->isActive());
    QVERIFY(!m_model->busy());
    QCOMPARE(m_model->currentIndex(), -1);
    QVERIFY(m_model->currentPortName().isEmpty());
    QVERIFY(notFound.count() >= 1);
    // The configuration still remembers the port for the next start.
    QVERIFY(!SystemConfig::instance()->readConfigInfo().value("serialPort").toObject().value("portName")
                 .toString().isEmpty());
  }
};

ORVIK_TEST_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
