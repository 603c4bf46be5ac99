// The analyser simulator, seen from a client on its pseudo-terminal (as the
// application's serial port sees it), plus the scene library's promises that
// a pty client cannot observe reliably (chunk sizes, timing).

#include "SimFaults.h"
#include "SimFrame.h"
#include "SimScene.h"
#include "SimShell.h"
#include "TestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <memory>

using namespace tinysasim;

namespace {

constexpr int kDeadlineMs = 5000;
constexpr int kSilenceMs = 500;   // how long "nothing arrives" is watched
constexpr int kClockGrainMs = 2;  // both sides count whole milliseconds
constexpr qint64 kBandStartHz = 450000000;
constexpr qint64 kBandStopHz = 950000000;
constexpr int kBandPoints = 1000;
const QByteArray kGreeting = QByteArray(kShellBanner) + kPrompt;

qint64 monotonicNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QString simulatorPath() {
  const QByteArray fromEnvironment = qgetenv("ORVIK_TINYSA_SIM");
  if (!fromEnvironment.isEmpty()) return QString::fromLocal8Bit(fromEnvironment);
  return QString::fromLocal8Bit(qgetenv("ORVIK_BINARY_DIR")) + QStringLiteral("/tinysa-sim");
}

QString devicesDir() {
  return orvik::test::documentsPath() + QStringLiteral("/Veltro-Orvik/devices");
}

QByteArray scanCommand(qint64 startHz, qint64 stopHz, int points) {
  return "scanraw " + QByteArray::number(startHz) + ' ' + QByteArray::number(stopHz) + ' ' +
         QByteArray::number(points) + "\r\n";
}

// The raw values of a received frame, read by position (3 bytes a point), so a
// data byte that looks like "x" or "}" cannot fool the check.
QVector<quint16> rawsOfFrame(const QByteArray &frame) {
  QVector<quint16> raws;
  for (int offset = 1; offset + 3 <= frame.size() - 1; offset += 3)
    raws.append(quint16(quint8(frame[offset + 1]) | (quint8(frame[offset + 2]) << 8)));
  return raws;
}

// Whether the frame has the layout "{" ("x" lo hi)* "}".
bool hasFrameLayout(const QByteArray &frame) {
  if (frame.size() < 2 || frame.front() != '{' || frame.back() != '}' || (frame.size() - 2) % 3 != 0) return false;
  for (int offset = 1; offset < frame.size() - 1; offset += 3) {
    if (frame[offset] != 'x') return false;
  }
  return true;
}

QByteArray dataBytesOf(const QByteArray &frame) {
  QByteArray bytes;
  for (int offset = 1; offset + 3 <= frame.size() - 1; offset += 3) bytes += frame.mid(offset + 1, 2);
  return bytes;
}

// A client of the simulator's port in raw mode, reading with deadlines.
class PortClient {
public:
  ~PortClient() { close(); }

  bool open(const QString &path) {
    close();
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return false;
    termios settings{};
    if (::tcgetattr(m_fd, &settings) == 0) {
      ::cfmakeraw(&settings);
      ::cfsetspeed(&settings, B115200);
      ::tcsetattr(m_fd, TCSANOW, &settings);
    }
    return true;
  }

  void close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_pending.clear();
  }

  bool write(const QByteArray &bytes) {
    int offset = 0;
    while (offset < bytes.size()) {
      const ssize_t count = ::write(m_fd, bytes.constData() + offset, size_t(bytes.size() - offset));
      if (count < 0 && errno != EAGAIN && errno != EINTR) return false;
      offset += int(std::max<ssize_t>(count, 0));
    }
    return true;
  }

  // Exactly `count` bytes, or fewer when the deadline passes or the port hangs up.
  QByteArray readExactly(int count, int timeoutMs = kDeadlineMs) {
    QElapsedTimer timer;
    timer.start();
    while (m_pending.size() < count && fill(int(std::max<qint64>(0, timeoutMs - timer.elapsed())))) {
    }
    const QByteArray bytes = m_pending.left(count);
    m_pending.remove(0, bytes.size());
    return bytes;
  }

  // Everything that arrives within `ms`.
  QByteArray readFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms && fill(int(ms - timer.elapsed()))) {
    }
    QByteArray bytes;
    bytes.swap(m_pending);
    return bytes;
  }

  // Whether the port hangs up (the device went away) within the deadline.
  bool waitForHangUp(int timeoutMs = kDeadlineMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
      pollfd entry{m_fd, POLLIN, 0};
      if (::poll(&entry, 1, int(timeoutMs - timer.elapsed())) <= 0) continue;
      if (entry.revents & (POLLHUP | POLLERR)) return true;
      char buffer[4096];
      const ssize_t count = ::read(m_fd, buffer, sizeof(buffer));
      if (count == 0 || (count < 0 && errno == EIO)) return true;
    }
    return false;
  }

private:
  // Waits up to timeoutMs for bytes; false on time-out or hang-up.
  bool fill(int timeoutMs) {
    pollfd entry{m_fd, POLLIN, 0};
    if (::poll(&entry, 1, timeoutMs) <= 0 || !(entry.revents & POLLIN)) return false;
    char buffer[4096];
    const ssize_t count = ::read(m_fd, buffer, sizeof(buffer));
    if (count <= 0) return count < 0 && errno == EAGAIN;
    m_pending.append(buffer, int(count));
    return true;
  }

  int m_fd = -1;
  QByteArray m_pending;  // read ahead of what was asked for
};

// One simulator process and the lines it printed.
class SimProcess {
public:
  ~SimProcess() { stop(); }

  bool start(const QStringList &arguments) {
    m_process.setProgram(simulatorPath());
    m_process.setArguments(arguments);
    m_process.start();
    if (!m_process.waitForStarted(kDeadlineMs)) return false;
    const QByteArray link = waitForLine("link: ");
    const QByteArray pty = waitForLine("pty: ");
    m_linkPath = QFile::decodeName(link.mid(6));
    m_ptyPath = QFile::decodeName(pty.mid(5));
    return !m_linkPath.isEmpty() && !m_ptyPath.isEmpty();
  }

  // The next stdout line starting with `prefix` (earlier lines are skipped); empty on time-out.
  QByteArray waitForLine(const QByteArray &prefix, int timeoutMs = kDeadlineMs) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
      int end;
      while ((end = m_output.indexOf('\n')) >= 0) {
        const QByteArray line = m_output.left(end);
        m_output.remove(0, end + 1);
        if (line.startsWith(prefix)) return line;
      }
      if (timer.elapsed() >= timeoutMs || m_process.state() == QProcess::NotRunning) return QByteArray();
      m_process.waitForReadyRead(int(std::max<qint64>(1, timeoutMs - timer.elapsed())));
      m_output += m_process.readAllStandardOutput();
    }
  }

  bool finish(int *exitCode, int timeoutMs = kDeadlineMs) {
    if (!m_process.waitForFinished(timeoutMs) || m_process.exitStatus() != QProcess::NormalExit) return false;
    *exitCode = m_process.exitCode();
    return true;
  }

  void stop() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(kDeadlineMs)) {
      m_process.kill();
      m_process.waitForFinished(kDeadlineMs);
    }
  }

  QProcess &process() { return m_process; }
  QString linkPath() const { return m_linkPath; }
  QString ptyPath() const { return m_ptyPath; }

private:
  QProcess m_process;
  QByteArray m_output;
  QString m_linkPath;
  QString m_ptyPath;
};

// What the client sees of the faulty sweep in the fault table.
enum class FaultView {
  IntactFrame,  // the frame and prompt exactly as a healthy device sends them
  Truncated,    // a prefix of the frame, no "}" and no prompt
  Corrupted,    // same length and frame ends, a few bytes changed
  ShortFrame,   // a complete frame of fewer points, no prompt
  Nothing,      // no bytes at all
};

}  // namespace

Q_DECLARE_METATYPE(FaultView)

class TestTinySaSim : public QObject {
  Q_OBJECT

private:
  // Starts the simulator, opens its port and reads the greeting.
  bool startAndConnect(const QStringList &arguments) {
    m_sim = std::make_unique<SimProcess>();
    if (!m_sim->start(arguments) || !m_client.open(m_sim->linkPath())) return false;
    return m_client.readExactly(kGreeting.size()) == kGreeting;
  }

  std::unique_ptr<SimProcess> m_sim;
  PortClient m_client;

private slots:
  void initTestCase() { QVERIFY2(QFileInfo(simulatorPath()).isExecutable(), qPrintable(simulatorPath())); }

  void cleanup() {
    m_client.close();
    m_sim.reset();
  }

  void start_placesLinkToItsPtyInDevicesDir_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("name");
    QTest::newRow("default name") << QStringList() << QStringLiteral("tinySA-sim");
    QTest::newRow("--name") << QStringList{QStringLiteral("--name"), QStringLiteral("Bench 2")}
                            << QStringLiteral("Bench 2");
  }

  void start_placesLinkToItsPtyInDevicesDir() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, name);
    m_sim = std::make_unique<SimProcess>();
    QVERIFY(m_sim->start(arguments));
    QCOMPARE(m_sim->linkPath(), devicesDir() + QLatin1Char('/') + name);
    const QFileInfo link(m_sim->linkPath());
    QVERIFY(link.isSymLink());
    QCOMPARE(QFile::symLinkTarget(m_sim->linkPath()), m_sim->ptyPath());
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(m_sim->linkPath()).constData(), &status), 0);
    QVERIFY(S_ISCHR(status.st_mode));
  }

  void open_greetsWithShellBannerAndPrompt() {
    m_sim = std::make_unique<SimProcess>();
    QVERIFY(m_sim->start({}));
    QVERIFY(m_client.open(m_sim->linkPath()));
    QCOMPARE(m_client.readExactly(kGreeting.size()), QByteArray("\r\ntinySA Shell\r\nch> "));
  }

  void command_answersWithEchoThenOutputThenPrompt_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("version") << QByteArray("version\r\n") << QByteArray("version\r\ntinySA_v1.4-105-g090fcb8\r\nch> ");
    QTest::newRow("unknown command") << QByteArray("foo bar\r\n") << QByteArray("foo bar\r\nfoo?\r\nch> ");
    QTest::newRow("empty line") << QByteArray("\r\n") << QByteArray("\r\nch> ");
    QTest::newRow("line feeds ignored") << QByteArray("\nvbat\n\r\n") << QByteArray("vbat\r\n4151 mV\r\nch> ");
    QTest::newRow("backspace") << QByteArray("vbatx\b\r\n") << QByteArray("vbatx\b \b\r\n4151 mV\r\nch> ");
    QTest::newRow("sweep start, stop, query")
        << QByteArray("sweep start 450000000\r\nsweep stop 950000000\r\nsweep\r\n")
        << QByteArray(
               "sweep start 450000000\r\nch> sweep stop 950000000\r\nch> sweep\r\n"
               "450000000 950000000 290\r\nch> ");
    QTest::newRow("sweep with unit suffix")
        << QByteArray("sweep start 470M\r\nsweep\r\n")
        << QByteArray("sweep start 470M\r\nch> sweep\r\n470000000 350000000 290\r\nch> ");
    QTest::newRow("start above stop") << scanCommand(950000000, 450000000, 1000)
                                      << scanCommand(950000000, 450000000, 1000) + "frequency range is invalid\r\nch> ";
    QTest::newRow("scanraw without stop")
        << QByteArray("scanraw 450000000\r\n")
        << QByteArray("scanraw 450000000\r\nusage: scanraw {start(Hz)} {stop(Hz)} [points]\r\nch> ");
  }

  void command_answersWithEchoThenOutputThenPrompt() {
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, expected);
    QVERIFY(startAndConnect({}));
    QVERIFY(m_client.write(sent));
    QCOMPARE(m_client.readExactly(expected.size()), expected);
  }

  void version_answersPerBannerOption_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("minimumDelayMs");
    QTest::addColumn<bool>("matchesBasicPattern");
    QTest::newRow("basic") << QStringList() << QByteArray("tinySA_v1.4-105-g090fcb8\r\nch> ") << 0 << true;
    QTest::newRow("ultra") << QStringList{QStringLiteral("--banner"), QStringLiteral("ultra")}
                           << QByteArray("tinySA4_v1.4-143-g864bb27\r\nHW Version:V0.4.5.1.1 \r\nch> ") << 0 << false;
    QTest::newRow("wrong") << QStringList{QStringLiteral("--banner"), QStringLiteral("wrong")}
                           << QByteArray("tinySA_v1.4-105\r\nch> ") << 0 << false;
    QTest::newRow("wrong as fault") << QStringList{QStringLiteral("--fault"), QStringLiteral("wrong-banner")}
                                    << QByteArray("tinySA_v1.4-105\r\nch> ") << 0 << false;
    QTest::newRow("none") << QStringList{QStringLiteral("--banner"), QStringLiteral("none")} << QByteArray("ch> ") << 0
                          << false;
    QTest::newRow("late") << QStringList{QStringLiteral("--banner"), QStringLiteral("late"),
                                         QStringLiteral("--banner-delay-ms"), QStringLiteral("1200")}
                          << QByteArray("tinySA_v1.4-105-g090fcb8\r\nch> ") << 1200 << true;
  }

  void version_answersPerBannerOption() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, answer);
    QFETCH(int, minimumDelayMs);
    QFETCH(bool, matchesBasicPattern);
    QVERIFY(startAndConnect(arguments));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(m_client.write("version\r\n"));
    QCOMPARE(m_client.readExactly(9), QByteArray("version\r\n"));
    QCOMPARE(m_client.readExactly(answer.size()), answer);
    QVERIFY2(timer.elapsed() >= minimumDelayMs - kClockGrainMs, qPrintable(QString::number(timer.elapsed())));
    // The application recognises a Basic by this pattern; the faulty banners must miss it.
    const QRegularExpression basicBanner(QStringLiteral("tinySA_v[\\d\\.]+-\\d+-g[\\da-f]+"));
    QCOMPARE(basicBanner.match(QString::fromLatin1(answer)).hasMatch(), matchesBasicPattern);
  }

  void scanraw_frameCarriesSceneRawValues_data() {
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<qint64>("startHz");
    QTest::addColumn<qint64>("stopHz");
    QTest::addColumn<int>("points");  // 0: no points argument, the sweep's 290 apply
    QTest::addColumn<QString>("specialBytes");
    QTest::newRow("band, seed 1") << quint64(1) << kBandStartHz << kBandStopHz << kBandPoints << "natural";
    QTest::newRow("narrow span, seed 42") << quint64(42) << qint64(600000000) << qint64(610000000) << 200 << "natural";
    QTest::newRow("points omitted") << quint64(3) << kBandStartHz << kBandStopHz << 0 << "natural";
    QTest::newRow("special bytes forced") << quint64(7) << kBandStartHz << kBandStopHz << kBandPoints << "force";
    QTest::newRow("special bytes avoided") << quint64(7) << kBandStartHz << kBandStopHz << kBandPoints << "avoid";
  }

  void scanraw_frameCarriesSceneRawValues() {
    QFETCH(quint64, seed);
    QFETCH(qint64, startHz);
    QFETCH(qint64, stopHz);
    QFETCH(int, points);
    QFETCH(QString, specialBytes);
    QVERIFY(startAndConnect({QStringLiteral("--seed"), QString::number(seed), QStringLiteral("--sweep-ms"),
                             QStringLiteral("0"), QStringLiteral("--special-bytes"), specialBytes}));
    SceneConfig scene;
    scene.seed = seed;
    QVERIFY(parseSpecialBytes(specialBytes, &scene.specialBytes));
    const int framePoints = points > 0 ? points : 290;
    const QByteArray command =
        points > 0 ? scanCommand(startHz, stopHz, points)
                   : "scanraw " + QByteArray::number(startHz) + ' ' + QByteArray::number(stopHz) + "\r\n";
    QVector<quint16> previous;
    for (quint64 sweep = 0; sweep < 2; ++sweep) {
      QVERIFY(m_client.write(command));
      QCOMPARE(m_client.readExactly(command.size()), command);
      const QByteArray frame = m_client.readExactly(3 * framePoints + 2);
      QVERIFY(hasFrameLayout(frame));
      QCOMPARE(m_client.readExactly(4), QByteArray("ch> "));

      const QVector<quint16> raws = rawsOfFrame(frame);
      QCOMPARE(raws, sceneRawValues(scene, sweep, startHz, stopHz, framePoints));
      const QVector<double> levels = sceneLevelsDbm(scene, sweep, startHz, stopHz, framePoints);
      const QVector<int> wholeLevels = sceneWholeLevelsDbm(scene, sweep, startHz, stopHz, framePoints);
      for (int i = 0; i < raws.size(); ++i) {
        QCOMPARE(raws[i] / 32.0 - 128.0, levels[i]);
        QCOMPARE(raws[i] / 32 - 128, wholeLevels[i]);
      }
      QVERIFY2(raws != previous, "every sweep has its own noise");
      previous = raws;

      const QByteArray data = dataBytesOf(frame);
      if (scene.specialBytes == SpecialBytes::Force) {
        for (char special : {'\x78', '\x7B', '\x7D', '\x0A'}) QVERIFY(data.contains(special));
      } else if (scene.specialBytes == SpecialBytes::Avoid) {
        for (char special : {'\x78', '\x7B', '\x7D'}) QVERIFY(!data.contains(special));
      }
    }
  }

  void scanraw_frameTakesTheSweepTime() {
    QVERIFY(startAndConnect({QStringLiteral("--sweep-ms"), QStringLiteral("400")}));
    const QByteArray command = scanCommand(kBandStartHz, kBandStopHz, kBandPoints);
    const int answerBytes = command.size() + 3 * kBandPoints + 2 + 4;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(m_client.write(command));
    QCOMPARE(m_client.readExactly(answerBytes).right(5), QByteArray("}ch> "));
    QVERIFY2(timer.elapsed() >= 400 - kClockGrainMs, qPrintable(QString::number(timer.elapsed())));
  }

  void commandsSentDuringScan_areReadAfterIt() {
    QVERIFY(startAndConnect({QStringLiteral("--sweep-ms"), QStringLiteral("300")}));
    const QByteArray command = scanCommand(kBandStartHz, kBandStopHz, 100);
    QVERIFY(m_client.write(command + "version\r\n"));
    SceneConfig scene;
    const QByteArray expected = command + encodeFrame(sceneRawValues(scene, 0, kBandStartHz, kBandStopHz, 100)) +
                                "ch> version\r\ntinySA_v1.4-105-g090fcb8\r\nch> ";
    QCOMPARE(m_client.readExactly(expected.size()), expected);
  }

  void faults_clientSeesTheFaultOnlyOnHitSweeps_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<FaultView>("view");
    QTest::newRow("random-chunks") << "random-chunks:2" << FaultView::IntactFrame;
    QTest::newRow("drop-frame-end") << "drop-frame-end:2" << FaultView::Truncated;
    QTest::newRow("corrupt-bytes") << "corrupt-bytes:2" << FaultView::Corrupted;
    QTest::newRow("short-scan") << "short-scan:2" << FaultView::ShortFrame;
    QTest::newRow("lost-answer") << "lost-answer:2" << FaultView::Nothing;
  }

  void faults_clientSeesTheFaultOnlyOnHitSweeps() {
    QFETCH(QString, fault);
    QFETCH(FaultView, view);
    const QString logPath = orvik::test::homePath() + QStringLiteral("/frames.log");
    QVERIFY(startAndConnect({QStringLiteral("--sweep-ms"), QStringLiteral("0"), QStringLiteral("--fault"), fault,
                             QStringLiteral("--log"), logPath}));
    FaultPlan plan;
    QString error;
    QVERIFY(parseFaultPlan(fault, &plan, &error));
    const SceneConfig scene;
    const QByteArray command = scanCommand(kBandStartHz, kBandStopHz, kBandPoints);

    for (quint64 sweep = 0; sweep < 3; ++sweep) {
      const ScanAnswer expected = buildScanAnswer(scene, {plan}, 0, {sweep, kBandStartHz, kBandStopHz, kBandPoints});
      QVERIFY(m_client.write(command));
      QCOMPARE(m_client.readExactly(command.size()), command);
      const QByteArray seen = m_client.readExactly(expected.bytes.size());
      QCOMPARE(seen, expected.bytes);
      const QByteArray clean = expected.cleanFrame + kPrompt;
      if (sweep != 1) {
        QCOMPARE(seen, clean);
        continue;
      }
      QVERIFY(hasFault(expected.faults, plan.fault));
      switch (view) {
        case FaultView::IntactFrame:
          QCOMPARE(seen, clean);
          break;
        case FaultView::Truncated:
          QVERIFY(!seen.isEmpty() && seen.size() < expected.cleanFrame.size());
          QVERIFY(expected.cleanFrame.startsWith(seen));
          break;
        case FaultView::Corrupted: {
          QCOMPARE(seen.size(), clean.size());
          QVERIFY(seen.startsWith('{') && seen.endsWith("}ch> "));
          int changed = 0;
          for (int i = 0; i < seen.size(); ++i) changed += seen[i] != clean[i] ? 1 : 0;
          QVERIFY2(changed >= 1 && changed <= 1 + kBandPoints / 250, qPrintable(QString::number(changed)));
          break;
        }
        case FaultView::ShortFrame:
          QVERIFY(hasFrameLayout(seen));
          QVERIFY(rawsOfFrame(seen).size() < kBandPoints);
          QCOMPARE(rawsOfFrame(seen), expected.raws.mid(0, rawsOfFrame(seen).size()));
          break;
        case FaultView::Nothing:
          QVERIFY(seen.isEmpty());
          break;
      }
    }

    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), 4);  // three lines and the empty rest after the last line feed
    const QByteArray range = " start=450000000 stop=950000000 points=1000 fault=";
    QVERIFY2(lines[0].startsWith("sweep=0" + range + "none "), lines[0].constData());
    QVERIFY2(lines[1].startsWith("sweep=1" + range + faultName(plan.fault).toLatin1() + ' '), lines[1].constData());
    QVERIFY2(lines[2].startsWith("sweep=2" + range + "none "), lines[2].constData());
  }

  // The timing log names each complete frame once its last byte is out, with
  // a CLOCK_MONOTONIC time after the request, once the frame's sweep time has passed.
  void timingLog_namesCompleteFramesOnceTheyHaveLeft() {
    const QString logPath = orvik::test::homePath() + QStringLiteral("/timing.log");
    const QStringList faults = {QStringLiteral("drop-frame-end:2"), QStringLiteral("short-scan:3")};
    QVERIFY(startAndConnect({QStringLiteral("--sweep-ms"), QStringLiteral("50"), QStringLiteral("--fault"), faults[0],
                             QStringLiteral("--fault"), faults[1], QStringLiteral("--timing-log"), logPath}));
    const QByteArray command = scanCommand(kBandStartHz, kBandStopHz, kBandPoints);
    const SceneConfig scene;
    QVector<FaultPlan> plans(faults.size());
    QString error;
    for (int i = 0; i < faults.size(); ++i) QVERIFY(parseFaultPlan(faults[i], &plans[i], &error));
    QVector<qint64> requestedNs;
    for (quint64 sweep = 0; sweep < 3; ++sweep) {
      const ScanAnswer expected = buildScanAnswer(scene, plans, 50, {sweep, kBandStartHz, kBandStopHz, kBandPoints});
      requestedNs.append(monotonicNs());
      QVERIFY(m_client.write(command));
      QCOMPARE(m_client.readExactly(command.size() + expected.bytes.size()), command + expected.bytes);
      if (!expected.prompt) QCOMPARE(m_client.readFor(kSilenceMs), QByteArray());
    }

    // Sweep 1 broke off; sweep 2 is short but complete.
    QFile log(logPath);
    QList<QByteArray> lines;
    QTRY_VERIFY((log.open(QIODevice::ReadOnly), lines = log.readAll().trimmed().split('\n'), log.close(),
                 lines.size() == 2));
    const QVector<int> sweeps = {0, 2};
    for (int i = 0; i < lines.size(); ++i) {
      const QList<QByteArray> words = lines[i].split(' ');
      QCOMPARE(words.size(), 2);
      QCOMPARE(words[0].toInt(), sweeps[i]);
      QVERIFY(words[1].toLongLong() > requestedNs[sweeps[i]]);
    }
    QVERIFY(lines[0].split(' ')[1].toLongLong() - requestedNs[0] >= 40 * 1000 * 1000);
  }

  void mute_sendsNoByteAtAll() {
    m_sim = std::make_unique<SimProcess>();
    QVERIFY(m_sim->start({QStringLiteral("--fault"), QStringLiteral("mute")}));
    QVERIFY(m_client.open(m_sim->linkPath()));
    QVERIFY(m_client.write("version\r\n"));
    QCOMPARE(m_client.readFor(kSilenceMs), QByteArray());
  }

  void unplug_linkGoesAndPortHangsUpAfterLastFrame_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("--exit-after") << QStringList{QStringLiteral("--exit-after"), QStringLiteral("2")};
    QTest::newRow("unplug fault") << QStringList{QStringLiteral("--fault"), QStringLiteral("unplug:2")};
  }

  void unplug_linkGoesAndPortHangsUpAfterLastFrame() {
    QFETCH(QStringList, arguments);
    QVERIFY(startAndConnect(arguments << QStringLiteral("--sweep-ms") << QStringLiteral("0")));
    const QByteArray command = scanCommand(kBandStartHz, kBandStopHz, kBandPoints);
    const SceneConfig scene;
    for (quint64 sweep = 0; sweep < 2; ++sweep) {
      const QByteArray expected =
          command + encodeFrame(sceneRawValues(scene, sweep, kBandStartHz, kBandStopHz, kBandPoints)) + kPrompt;
      QVERIFY(m_client.write(command));
      QCOMPARE(m_client.readExactly(expected.size()), expected);
    }
    QVERIFY(m_client.waitForHangUp());
    QVERIFY(!QFileInfo(m_sim->linkPath()).isSymLink());
    int exitCode = -1;
    QVERIFY(m_sim->finish(&exitCode));
    QCOMPARE(exitCode, 0);
  }

  void reconnect_nextClientGetsFreshGreetingAndNoLeftovers() {
    QVERIFY(startAndConnect({QStringLiteral("--sweep-ms"), QStringLiteral("3000")}));
    QVERIFY(!m_sim->waitForLine("client: open").isEmpty());
    const QByteArray command = scanCommand(kBandStartHz, kBandStopHz, kBandPoints);
    QVERIFY(m_client.write(command));
    QCOMPARE(m_client.readExactly(command.size() + 1), command + '{');
    m_client.close();
    QVERIFY(!m_sim->waitForLine("client: closed").isEmpty());

    QVERIFY(m_client.open(m_sim->linkPath()));
    QCOMPARE(m_client.readExactly(kGreeting.size()), kGreeting);
    // The broken-off scan is forgotten: the shell reads at once, and counts on.
    const QByteArray small = scanCommand(kBandStartHz, kBandStopHz, 10);
    const QByteArray expected =
        small + encodeFrame(sceneRawValues(SceneConfig(), 1, kBandStartHz, kBandStopHz, 10)) + kPrompt;
    QVERIFY(m_client.write(small));
    QCOMPARE(m_client.readExactly(expected.size()), expected);
  }

  void stopSignal_removesLinkAndExitsZero_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("midScan");
    QTest::newRow("SIGTERM idle") << int(SIGTERM) << false;
    QTest::newRow("SIGINT idle") << int(SIGINT) << false;
    QTest::newRow("SIGTERM during a scan") << int(SIGTERM) << true;
  }

  void stopSignal_removesLinkAndExitsZero() {
    QFETCH(int, signalNumber);
    QFETCH(bool, midScan);
    QVERIFY(startAndConnect({QStringLiteral("--sweep-ms"), QStringLiteral("60000")}));
    if (midScan) {
      const QByteArray command = scanCommand(kBandStartHz, kBandStopHz, kBandPoints);
      QVERIFY(m_client.write(command));
      QCOMPARE(m_client.readExactly(command.size()), command);
    }
    QVERIFY(QFileInfo(m_sim->linkPath()).isSymLink());
    QCOMPARE(::kill(pid_t(m_sim->process().processId()), signalNumber), 0);
    int exitCode = -1;
    QVERIFY(m_sim->finish(&exitCode));
    QCOMPARE(exitCode, 0);
    QVERIFY(!QFileInfo(m_sim->linkPath()).isSymLink());
  }

  void badOption_exitsWithTwoAndPlacesNoLink_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")};
    QTest::newRow("positional argument") << QStringList{QStringLiteral("extra")};
    QTest::newRow("seed not a number") << QStringList{QStringLiteral("--seed"), QStringLiteral("abc")};
    QTest::newRow("unknown fault") << QStringList{QStringLiteral("--fault"), QStringLiteral("nosuch")};
    QTest::newRow("fault every 0") << QStringList{QStringLiteral("--fault"), QStringLiteral("corrupt-bytes:0")};
    QTest::newRow("run fault with N") << QStringList{QStringLiteral("--fault"), QStringLiteral("mute:2")};
    QTest::newRow("unplug without N") << QStringList{QStringLiteral("--fault"), QStringLiteral("unplug")};
    QTest::newRow("unknown banner") << QStringList{QStringLiteral("--banner"), QStringLiteral("plus")};
    QTest::newRow("unknown special bytes") << QStringList{QStringLiteral("--special-bytes"), QStringLiteral("some")};
    QTest::newRow("negative sweep time") << QStringList{QStringLiteral("--sweep-ms"), QStringLiteral("-5")};
    QTest::newRow("exit after 0") << QStringList{QStringLiteral("--exit-after"), QStringLiteral("0")};
    QTest::newRow("name with slash") << QStringList{QStringLiteral("--name"), QStringLiteral("a/b")};
    QTest::newRow("option without value") << QStringList{QStringLiteral("--seed")};
    QTest::newRow("scene start above stop")
        << QStringList{QStringLiteral("--print-scene"), QStringLiteral("--start"), QStringLiteral("900000000"),
                       QStringLiteral("--stop"), QStringLiteral("800000000")};
  }

  void badOption_exitsWithTwoAndPlacesNoLink() {
    QFETCH(QStringList, arguments);
    QProcess process;
    process.start(simulatorPath(), arguments);
    QVERIFY(process.waitForFinished(kDeadlineMs));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().startsWith("tinysa-sim: "));
    QVERIFY(QDir(devicesDir()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).isEmpty());
  }

  void help_listsEveryFaultAndExitsZero() {
    QProcess process;
    process.start(simulatorPath(), {QStringLiteral("--help")});
    QVERIFY(process.waitForFinished(kDeadlineMs));
    QCOMPARE(process.exitCode(), 0);
    const QByteArray help = process.readAllStandardOutput();
    for (const FaultInfo &info : faultTable()) QVERIFY2(help.contains(QByteArray("  ") + info.name + ' '), info.name);
  }

  void printScene_printsTheLibrarysValues_data() {
    QTest::addColumn<QString>("specialBytes");
    QTest::newRow("natural") << "natural";
    QTest::newRow("force") << "force";
  }

  void printScene_printsTheLibrarysValues() {
    QFETCH(QString, specialBytes);
    QProcess process;
    process.start(simulatorPath(),
                  {QStringLiteral("--print-scene"), QStringLiteral("--seed"), QStringLiteral("9"),
                   QStringLiteral("--sweep"), QStringLiteral("4"), QStringLiteral("--start"),
                   QStringLiteral("470000000"), QStringLiteral("--stop"), QStringLiteral("480M"),
                   QStringLiteral("--points"), QStringLiteral("100"), QStringLiteral("--special-bytes"), specialBytes});
    QVERIFY(process.waitForFinished(kDeadlineMs));
    QCOMPARE(process.exitCode(), 0);
    SceneConfig scene;
    scene.seed = 9;
    QVERIFY(parseSpecialBytes(specialBytes, &scene.specialBytes));
    const QVector<quint16> raws = sceneRawValues(scene, 4, 470000000, 480000000, 100);
    const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(lines.size(), raws.size());
    for (int i = 0; i < lines.size(); ++i) {
      const QList<QByteArray> fields = lines[i].split(' ');
      QCOMPARE(fields.size(), 4);
      QCOMPARE(fields[0].toInt(), i);
      QCOMPARE(fields[1].toLongLong(), pointFrequencyHz(470000000, 480000000, 100, i));
      QCOMPARE(fields[2].toInt(), int(raws[i]));
      QCOMPARE(fields[3].toDouble(), rawToLevelDbm(raws[i]));
    }
  }

  // --- the library, where a pty client cannot look ---

  void answer_leavesInUsbPacketsSpreadOverTheSweep_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("sweepMs");
    QTest::newRow("1000 points, 1 s") << 1000 << 1000;
    QTest::newRow("290 points, 1 s per 1000") << 290 << 1000;
    QTest::newRow("7 points, at once") << 7 << 0;
  }

  void answer_leavesInUsbPacketsSpreadOverTheSweep() {
    QFETCH(int, points);
    QFETCH(int, sweepMs);
    const ScanAnswer answer = buildScanAnswer(SceneConfig(), {}, sweepMs, {0, kBandStartHz, kBandStopHz, points});
    QCOMPARE(answer.durationMs, sweepMs * points / 1000);
    QCOMPARE(answer.bytes, encodeFrame(answer.raws) + kPrompt);
    QByteArray joined;
    qint64 previousMs = 0;
    for (int i = 0; i < answer.chunks.size(); ++i) {
      const TimedChunk &chunk = answer.chunks[i];
      QVERIFY(chunk.bytes.size() <= kUsbPacketBytes);
      if (i + 1 < answer.chunks.size()) QCOMPARE(chunk.bytes.size(), kUsbPacketBytes);
      QVERIFY(chunk.atMs >= previousMs && chunk.atMs <= answer.durationMs);
      // A chunk is due when its last byte has been measured, so the pace is even.
      QCOMPARE(chunk.atMs, qint64(answer.durationMs) * (joined.size() + chunk.bytes.size()) / answer.bytes.size());
      previousMs = chunk.atMs;
      joined += chunk.bytes;
    }
    QCOMPARE(joined, answer.bytes);
    QCOMPARE(answer.chunks.last().atMs, qint64(answer.durationMs));
  }

  void answer_randomChunksKeepTheBytesButNotThePacketSize() {
    const FaultPlan plan{Fault::RandomChunks, 1};
    const ScanRequest request{5, kBandStartHz, kBandStopHz, kBandPoints};
    const ScanAnswer answer = buildScanAnswer(SceneConfig(), {plan}, 1000, request);
    QCOMPARE(answer.bytes, answer.cleanFrame + kPrompt);
    QByteArray joined;
    QSet<int> sizes;
    for (const TimedChunk &chunk : answer.chunks) {
      joined += chunk.bytes;
      sizes.insert(chunk.bytes.size());
    }
    QCOMPARE(joined, answer.bytes);
    QVERIFY(sizes.size() > 5);
    QVERIFY(std::any_of(sizes.begin(), sizes.end(), [](int size) { return size > kUsbPacketBytes; }));
    QCOMPARE(answer.chunks.last().atMs, qint64(1000));
    // Reproducible: the same sweep is cut the same way again.
    const ScanAnswer again = buildScanAnswer(SceneConfig(), {plan}, 1000, request);
    QCOMPARE(again.chunks.size(), answer.chunks.size());
    for (int i = 0; i < again.chunks.size(); ++i) QCOMPARE(again.chunks[i].bytes, answer.chunks[i].bytes);
  }

  // What the program writes per write() call: each piece SimShell hands out.
  void shell_handsOutAtMostOnePacketPerWrite() {
    SimShell shell{DeviceConfig()};
    shell.clientOpened(0);
    const QByteArray command = scanCommand(kBandStartHz, kBandStopHz, kBandPoints);
    shell.receive(command, 0);
    QByteArray joined;
    QList<qint64> frameChunkTimes;
    for (qint64 nowMs = 0; nowMs <= 1100; ++nowMs) {
      for (const QByteArray &piece : shell.takeDue(nowMs)) {
        QVERIFY(piece.size() <= kUsbPacketBytes);
        if (joined.size() >= kGreeting.size() + command.size()) frameChunkTimes.append(nowMs);
        joined += piece;
      }
    }
    const QByteArray frame = encodeFrame(sceneRawValues(SceneConfig(), 0, kBandStartHz, kBandStopHz, kBandPoints));
    QCOMPARE(joined, kGreeting + command + frame + kPrompt);
    QVERIFY(frameChunkTimes.first() < 100);
    QCOMPARE(frameChunkTimes.last(), qint64(1000));
    QCOMPARE(shell.sweepCount(), quint64(1));
  }

  void scene_hasFloorCarriersAndChannels_data() {
    QTest::addColumn<quint64>("seed");
    for (quint64 seed : {1, 2, 3, 17, 123456789})
      QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
  }

  void scene_hasFloorCarriersAndChannels() {
    QFETCH(quint64, seed);
    SceneConfig scene;
    scene.seed = seed;
    const QVector<double> levels = sceneLevelsDbm(scene, 0, kBandStartHz, kBandStopHz, kBandPoints);
    QVector<double> sorted = levels;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    QVERIFY2(median > -102 && median < -98, qPrintable(QString::number(median)));
    QVERIFY(sorted.first() > -106);
    QVERIFY(sceneLevelsDbm(scene, 0, kBandStartHz, kBandStopHz, kBandPoints) == levels);

    auto frequencyOf = [](int i) { return double(pointFrequencyHz(kBandStartHz, kBandStopHz, kBandPoints, i)); };
    const QVector<SceneCarrier> carriers = sceneCarriers(seed);
    QVERIFY(carriers.size() >= 3);
    for (const SceneCarrier &carrier : carriers) {
      QVERIFY(carrier.levelDbm >= kCarrierMinDbm && carrier.levelDbm <= kCarrierMaxDbm);
      double peak = -200;
      for (int i = 0; i < kBandPoints; ++i) {
        if (std::abs(frequencyOf(i) - carrier.frequencyHz) <= 250e3) peak = std::max(peak, levels[i]);
      }
      // A narrow carrier shows at its level (flicker and the filter's edge aside) on its nearest point.
      QVERIFY2(std::abs(peak - carrier.levelDbm) < 4.5,
               qPrintable(
                   QStringLiteral("%1 MHz: %2 vs %3").arg(carrier.frequencyHz / 1e6).arg(peak).arg(carrier.levelDbm)));
    }
    const QVector<SceneChannel> channels = sceneChannels(seed);
    QVERIFY(!channels.isEmpty());
    for (const SceneChannel &channel : channels) {
      QCOMPARE(channel.highHz - channel.lowHz, kChannelWidthHz);
      for (int i = 0; i < kBandPoints; ++i) {
        const double f = frequencyOf(i);
        if (f >= channel.lowHz + 500e3 && f <= channel.highHz - 500e3)
          QVERIFY2(levels[i] > -64 && levels[i] < -56, qPrintable(QString::number(levels[i])));
      }
    }
    // Away from every sender there is only the noise floor.
    for (int i = 0; i < kBandPoints; ++i) {
      const double f = frequencyOf(i);
      const bool nearChannel = std::any_of(channels.begin(), channels.end(), [f](const SceneChannel &c) {
        return f > c.lowHz - 1e6 && f < c.highHz + 1e6;
      });
      const bool nearCarrier = std::any_of(carriers.begin(), carriers.end(),
                                           [f](const SceneCarrier &c) { return std::abs(c.frequencyHz - f) < 1.5e6; });
      if (!nearChannel && !nearCarrier)
        QVERIFY2(levels[i] < -90, qPrintable(QStringLiteral("%1 MHz: %2").arg(f / 1e6).arg(levels[i])));
    }
  }

  void scene_naturallyCarriesFrameAndLineBytes() {
    QByteArray data;
    for (quint64 sweep = 0; sweep < 10; ++sweep)
      data += dataBytesOf(encodeFrame(sceneRawValues(SceneConfig(), sweep, kBandStartHz, kBandStopHz, kBandPoints)));
    for (char special : {'\x78', '\x7B', '\x7D', '\x0A'})
      QVERIFY2(data.contains(special), qPrintable(QString::number(quint8(special), 16)));
  }
};

ORVIK_TEST_MAIN(TestTinySaSim)
#include "tst_tinysasim.moc"
