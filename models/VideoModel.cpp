#include "VideoModel.h"

#include "CapturePlatform.h"
#include "CsvFormat.h"
#include "LoggerService.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>

namespace {

constexpr int kOutputTailBytes = 4096;
const char kQuitKey[] = "q";

}  // namespace

VideoModel *VideoModel::m_instance = nullptr;

VideoModel *VideoModel::instance() {
  if (!m_instance) m_instance = new VideoModel();
  return m_instance;
}

VideoModel::VideoModel(QObject *parent) : QObject(parent) {
  connect(this, &VideoModel::playStateChanged, this, &VideoModel::toggle);

  // ffmpeg reports its progress continuously; an unread pipe would fill up and
  // stall the recording, so the output is read and only its end is kept.
  m_process.setProcessChannelMode(QProcess::MergedChannels);
  connect(&m_process, &QProcess::readyReadStandardOutput, this, &VideoModel::collectOutput);
  connect(&m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
          &VideoModel::onProcessFinished);

  m_stopTimer.setSingleShot(true);
  connect(&m_stopTimer, &QTimer::timeout, this, &VideoModel::escalateStop);

  // A recording still running when the application quits is finished properly
  // instead of being left behind without its file index.
  if (QCoreApplication *application = QCoreApplication::instance())
    connect(application, &QCoreApplication::aboutToQuit, this, &VideoModel::finishProcess);
}

bool VideoModel::running() const {
  return m_running;
}

void VideoModel::setRunning(bool running) {
  m_running = running;
  emit statusChanged();
}

bool VideoModel::isRunning() const {
  return m_running;
}

bool VideoModel::isRecording() const {
  return m_running;
}

QString VideoModel::ffmpegPath() {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bin/ffmpeg"));
}

void VideoModel::start() {
  LOG_INFO(QStringLiteral("VideoModel started !"));
  emit playStateChanged();
}

void VideoModel::stop() {
  LOG_INFO(QStringLiteral("VideoModel stopped !"));
  emit playStateChanged();
}

void VideoModel::toggle() {
  if (!m_running) {
    startRecording();
    return;
  }
  stopRecording();
  m_running = false;
  emit statusChanged();
}

void VideoModel::startRecording() {
  const QString proposed = CsvFormat::defaultFileName(QStringLiteral("Veltro_%1.mp4"), QDateTime::currentDateTime());
  const QString path = QFileDialog::getSaveFileName(nullptr, tr("保存 %1").arg(QStringLiteral("mp4")), proposed,
                                                    QStringLiteral("MP4 文件 (*.mp4);;所有文件 (*)"), nullptr,
                                                    QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return;

  // The process object is reused: an earlier recording that has not ended yet
  // is finished first. Nothing but our own child is touched.
  finishProcess();

  LOG_INFO(QStringLiteral("Recording video to: ") + path);
  const QString program = ffmpegPath();
  QStringList arguments = CapturePlatform::captureInputArguments();
  arguments << QStringLiteral("-y") << path;
  LOG_INFO(QStringLiteral("FFMPEG Path: ") + program);
  LOG_INFO(QStringLiteral("Starting ffmpeg with arguments: ") + arguments.join(QLatin1Char(' ')));

  m_outputTail.clear();
  m_quitSent = false;
  m_terminateSent = false;
  m_process.setProgram(program);
  m_process.setArguments(arguments);
  m_process.start(QIODevice::ReadWrite);

  LOG_INFO(QStringLiteral("Waiting for ffmpeg to start..."));
  QEventLoop loop;
  QTimer timeout;
  timeout.setSingleShot(true);
  connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
  connect(&m_process, &QProcess::started, &loop, &QEventLoop::quit);
  // A program that cannot be started is known at once; there is nothing to wait for.
  connect(&m_process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
  if (m_process.state() == QProcess::Starting) {
    timeout.start(kStartWaitMs);
    loop.exec();
  }
  LOG_INFO(QStringLiteral("FFMPEG started."));

  if (m_process.state() != QProcess::NotRunning) {
    m_running = true;
    emit statusChanged();
    LOG_INFO(QStringLiteral("Video recording started."));
  } else {
    LOG_INFO(QStringLiteral("Failed to start ffmpeg process."));
  }
}

void VideoModel::stopRecording() {
  if (m_process.state() == QProcess::Running) {
    m_process.write(kQuitKey, 1);
    m_quitSent = true;
    // ffmpeg normally exits within moments; one that does not is ended by the timer.
    m_stopTimer.start(kQuitWaitMs);
  }
  m_running = false;
  emit statusChanged();
  LOG_INFO(QStringLiteral("Video recording stopped."));
}

void VideoModel::escalateStop() {
  if (m_process.state() == QProcess::NotRunning) return;
  if (!m_terminateSent) {
    LOG_INFO(QStringLiteral("ffmpeg did not quit, terminating it."));
    m_terminateSent = true;
    m_process.terminate();
    m_stopTimer.start(kTerminateWaitMs);
    return;
  }
  LOG_INFO(QStringLiteral("ffmpeg did not terminate, killing it."));
  m_process.kill();
}

void VideoModel::finishProcess() {
  if (m_process.state() == QProcess::NotRunning) return;
  LOG_INFO(QStringLiteral("Ending the previous ffmpeg process."));
  m_stopTimer.stop();
  if (m_process.state() == QProcess::Running && !m_quitSent) {
    m_process.write(kQuitKey, 1);
    m_quitSent = true;
  }
  if (m_process.waitForFinished(kQuitWaitMs)) return;
  m_process.terminate();
  if (m_process.waitForFinished(kTerminateWaitMs)) return;
  m_process.kill();
  m_process.waitForFinished(kTerminateWaitMs);
}

void VideoModel::onProcessFinished(int exitCode, QProcess::ExitStatus exitStatus) {
  m_stopTimer.stop();
  if (!m_running) return;
  // The recording ended without being stopped (no screen access, disk full):
  // the state must not keep claiming that a recording runs.
  // Progress lines end in carriage returns, messages in line feeds.
  const QList<QByteArray> lines = QByteArray(m_outputTail).replace('\r', '\n').trimmed().split('\n');
  LOG_INFO(QStringLiteral("ffmpeg exited during the recording (exit code %1, %2): %3")
               .arg(exitCode)
               .arg(exitStatus == QProcess::NormalExit ? QStringLiteral("normal exit") : QStringLiteral("crashed"))
               .arg(QString::fromLocal8Bit(lines.isEmpty() ? QByteArray() : lines.last().trimmed())));
  m_running = false;
  emit statusChanged();
}

void VideoModel::collectOutput() {
  m_outputTail += m_process.readAllStandardOutput();
  if (m_outputTail.size() > kOutputTailBytes) m_outputTail = m_outputTail.right(kOutputTailBytes);
}
