// Screen recording with Debian's ffmpeg capturing a real X server (an Xvfb
// that the test starts itself): the recording is a playable MP4, stopping it
// ends only the process the model started, and the toggle and its refusals
// behave as the interface expects. The file dialog is Qt's own, answered here.

#include "CapturePlatform.h"
#include "FileDialogAnswer.h"
#include "LogRecorder.h"
#include "TestSupport.h"
#include "VideoModel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

using orvik::test::FileDialogAnswer;
using orvik::test::LogRecorder;

namespace {

constexpr int kScreenWidthPx = 640;
constexpr int kScreenHeightPx = 480;
constexpr int kServerStartMs = 15000;
// About two seconds at x11grab's 30 frames per second.
constexpr int kRecordedFrames = 60;
constexpr int kFinishMs = 15000;

// ffprobe's view of a file: "video,<width>,<height>" of the first video stream, and its duration.
QString probeVideoStream(const QString &path) {
  QProcess probe;
  probe.start(QStringLiteral("ffprobe"),
              {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"), QStringLiteral("v:0"),
               QStringLiteral("-show_entries"), QStringLiteral("stream=codec_type,width,height"), QStringLiteral("-of"),
               QStringLiteral("csv=p=0"), path});
  if (!probe.waitForFinished(kFinishMs) || probe.exitCode() != 0)
    return QStringLiteral("ffprobe failed: ") + QString::fromLocal8Bit(probe.readAllStandardError());
  return QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
}

// The number of frames ffmpeg last reported as written ("frame=  57 fps=...").
int framesReported(const QByteArray &output) {
  int frames = -1;
  QRegularExpressionMatchIterator it =
      QRegularExpression(QStringLiteral("frame=\\s*(\\d+)")).globalMatch(QString::fromLatin1(output));
  while (it.hasNext()) frames = it.next().captured(1).toInt();
  return frames;
}

// The helper lines among the recorded messages (Qt's own warnings left out).
QStringList helperLines(const QStringList &messages) {
  return messages.filter(QStringLiteral("] [INFO] - "));
}

double probeDurationSeconds(const QString &path) {
  QProcess probe;
  probe.start(QStringLiteral("ffprobe"),
              {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
               QStringLiteral("format=duration"), QStringLiteral("-of"), QStringLiteral("csv=p=0"), path});
  if (!probe.waitForFinished(kFinishMs)) return -1.0;
  return QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed().toDouble();
}

}  // namespace

class TestVideoModel : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();
  void cleanup();
  void cleanupTestCase();

  void captureInput_perPlatform();

  void record_producesPlayableMp4AndSparesOtherFfmpeg();
  void cancelledDialog_staysIdleWithoutLog();
  void stopWhileIdle_startsLikeStart();
  void ffmpegEndingByItself_returnsToIdle();

private:
  VideoModel *model() const { return VideoModel::instance(); }
  // Waits until the model's ffmpeg has exited.
  bool waitForProcessEnd();

  std::unique_ptr<LogRecorder> m_log;
  std::unique_ptr<QTemporaryDir> m_dir;
  QProcess m_xserver;
  QString m_display;
};

void TestVideoModel::initTestCase() {
  m_log = std::make_unique<LogRecorder>();
  QVERIFY2(QFileInfo(VideoModel::ffmpegPath()).isExecutable(), qPrintable(VideoModel::ffmpegPath()));

  // Xvfb picks a free display itself and reports its number on the descriptor given.
  m_xserver.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("%1x%2x24").arg(kScreenWidthPx).arg(kScreenHeightPx), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")});
  QVERIFY2(m_xserver.waitForStarted(kServerStartMs), "Xvfb cannot be started");
  QByteArray number;
  QElapsedTimer clock;
  clock.start();
  while (!number.contains('\n') && clock.elapsed() < kServerStartMs && m_xserver.state() == QProcess::Running) {
    if (m_xserver.waitForReadyRead(kServerStartMs)) number += m_xserver.readAllStandardOutput();
  }
  QVERIFY2(number.contains('\n'), "Xvfb did not report its display");
  m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
  qputenv("DISPLAY", m_display.toLocal8Bit());
}

void TestVideoModel::init() {
  m_dir = std::make_unique<QTemporaryDir>(orvik::test::homePath() + QStringLiteral("/video-XXXXXX"));
  QVERIFY(m_dir->isValid());
  m_log->take();
}

void TestVideoModel::cleanup() {
  if (model()->running()) {
    model()->stop();
    waitForProcessEnd();
  }
  m_dir.reset();
}

void TestVideoModel::cleanupTestCase() {
  m_xserver.terminate();
  if (!m_xserver.waitForFinished(kFinishMs)) m_xserver.kill();
}

bool TestVideoModel::waitForProcessEnd() {
  QElapsedTimer clock;
  clock.start();
  while (model()->process().state() != QProcess::NotRunning && clock.elapsed() < kFinishMs) QTest::qWait(20);
  return model()->process().state() == QProcess::NotRunning;
}

void TestVideoModel::captureInput_perPlatform() {
  QCOMPARE(CapturePlatform::avFoundationInput(), QStringList({"-f", "avfoundation", "-i", "Capture screen 0"}));
  QCOMPARE(CapturePlatform::x11GrabInput(QStringLiteral(":7"), QSize(1920, 1080)),
           QStringList({"-f", "x11grab", "-video_size", "1920x1080", "-i", ":7"}));
  // Without a known size ffmpeg takes the whole root window.
  QCOMPARE(CapturePlatform::x11GrabInput(QStringLiteral(":7"), QSize()), QStringList({"-f", "x11grab", "-i", ":7"}));
#ifndef Q_OS_MACOS
  // This process draws off-screen, so its screens say nothing about the X server.
  QCOMPARE(CapturePlatform::captureInputArguments(), QStringList({"-f", "x11grab", "-i", m_display}));
#endif
}

void TestVideoModel::record_producesPlayableMp4AndSparesOtherFfmpeg() {
  // Another ffmpeg of the same user, busy with work of its own.
  QProcess bystander;
  bystander.start(QStringLiteral("ffmpeg"),
                  {QStringLiteral("-nostdin"), QStringLiteral("-re"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                   QStringLiteral("-i"), QStringLiteral("nullsrc=s=16x16"), QStringLiteral("-f"),
                   QStringLiteral("null"), QStringLiteral("-")});
  QVERIFY(bystander.waitForStarted());

  const QString path = m_dir->filePath(QStringLiteral("survey.mp4"));
  QSignalSpy status(model(), &VideoModel::statusChanged);
  {
    FileDialogAnswer answer(path);
    model()->start();
    QVERIFY(answer.answered());
    QCOMPARE(answer.caption(), QStringLiteral("保存 mp4"));
    QVERIFY(answer.usedQtDialog());
    QCOMPARE(answer.nameFilters(), QStringList({QStringLiteral("MP4 文件 (*.mp4)"), QStringLiteral("所有文件 (*)")}));
    QVERIFY(answer.proposedName().startsWith(QStringLiteral("Veltro_")));
    QVERIFY(answer.proposedName().endsWith(QStringLiteral(".mp4")));
  }
  QVERIFY(model()->running());
  QVERIFY(model()->isRecording());
  QVERIFY(status.count() >= 1);

  const QStringList startLines = m_log->take();
  for (const QString &message :
       {QStringLiteral("VideoModel started !"), QStringLiteral("Recording video to: ") + path,
        QStringLiteral("FFMPEG Path: ") + VideoModel::ffmpegPath(),
        QStringLiteral("Starting ffmpeg with arguments: -f x11grab -i ") + m_display + QStringLiteral(" -y ") + path,
        QStringLiteral("Waiting for ffmpeg to start..."), QStringLiteral("FFMPEG started."),
        QStringLiteral("Video recording started.")})
    QVERIFY2(LogRecorder::count(startLines, message) == 1, qPrintable(message));

  // About two seconds of pictures, as ffmpeg itself counts them.
  QTRY_VERIFY2_WITH_TIMEOUT(framesReported(model()->outputTail()) >= kRecordedFrames,
                            model()->outputTail().right(500).constData(), 30000);
  QVERIFY(model()->running());

  status.clear();
  model()->stop();
  QVERIFY(!model()->running());
  QVERIFY(status.count() >= 1);
  const QStringList stopLines = m_log->take();
  QCOMPARE(LogRecorder::count(stopLines, QStringLiteral("VideoModel stopped !")), 1);
  QCOMPARE(LogRecorder::count(stopLines, QStringLiteral("Video recording stopped.")), 1);

  // The quit key lets ffmpeg finish the file and exit by itself.
  QVERIFY(waitForProcessEnd());
  QCOMPARE(model()->process().exitStatus(), QProcess::NormalExit);
  QCOMPARE(model()->process().exitCode(), 0);
  QCOMPARE(probeVideoStream(path), QStringLiteral("video,%1,%2").arg(kScreenWidthPx).arg(kScreenHeightPx));
  QVERIFY(probeDurationSeconds(path) >= 1.0);

  QCOMPARE(bystander.state(), QProcess::Running);
  // A second recording starts without touching the other ffmpeg either.
  const QString second = m_dir->filePath(QStringLiteral("second.mp4"));
  {
    FileDialogAnswer answer(second);
    model()->start();
  }
  QVERIFY(model()->running());
  QCOMPARE(bystander.state(), QProcess::Running);
  model()->stop();
  QVERIFY(waitForProcessEnd());
  QCOMPARE(bystander.state(), QProcess::Running);

  bystander.kill();
  bystander.waitForFinished();
}

void TestVideoModel::cancelledDialog_staysIdleWithoutLog() {
  QSignalSpy status(model(), &VideoModel::statusChanged);
  FileDialogAnswer answer{QString()};
  model()->start();
  QVERIFY(answer.answered());
  QVERIFY(!model()->running());
  QCOMPARE(status.count(), 0);
  const QStringList lines = helperLines(m_log->take());
  QCOMPARE(lines.size(), 1);
  QCOMPARE(LogRecorder::count(lines, QStringLiteral("VideoModel started !")), 1);
}

void TestVideoModel::stopWhileIdle_startsLikeStart() {
  // stop() toggles too: while idle it asks for a file like start().
  FileDialogAnswer answer{QString()};
  model()->stop();
  QVERIFY(answer.answered());
  QVERIFY(!model()->running());
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("VideoModel stopped !")), 1);
}

void TestVideoModel::ffmpegEndingByItself_returnsToIdle() {
  // ffmpeg cannot create its output and exits at once: the model must not keep
  // claiming a recording.
  const QString path = m_dir->filePath(QStringLiteral("missing-dir/survey.mp4"));
  QSignalSpy status(model(), &VideoModel::statusChanged);
  FileDialogAnswer answer(path);
  model()->start();
  QVERIFY(answer.answered());
  QTRY_VERIFY_WITH_TIMEOUT(!model()->running() && model()->process().state() == QProcess::NotRunning, kFinishMs);
  QVERIFY(!QFileInfo::exists(path));
  const QStringList lines = m_log->take();
  QVERIFY2(LogRecorder::count(lines, QStringLiteral("Video recording started.")) +
                   LogRecorder::count(lines, QStringLiteral("Failed to start ffmpeg process.")) ==
               1,
           qPrintable(lines.join(QLatin1Char('\n'))));
  if (LogRecorder::count(lines, QStringLiteral("Video recording started.")) == 1)
    QCOMPARE(lines.filter(QStringLiteral("ffmpeg exited during the recording (exit code 1, normal exit)")).size(), 1);
}

ORVIK_TEST_MAIN(TestVideoModel)
#include "tst_videomodel.moc"
