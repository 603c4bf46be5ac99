#include "LoggerService.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMutexLocker>
#include <QStandardPaths>

namespace {

const QString kTimestampFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss ddd");
const QString kAppDataDirName = QStringLiteral("Veltro-Orvik");

// Set while this thread is inside writeMessageToLog, so a message raised by the
// file access itself cannot dead-lock on the (non-recursive) write mutex.
thread_local bool t_writingLog = false;

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
  LoggerService::instance().outputMessage(type, context, message);
}

}  // namespace

LoggerService &LoggerService::instance() {
  // Never destroyed: messages can still arrive from static destructors at exit.
  static LoggerService *const service = new LoggerService;
  return *service;
}

LoggerService::LoggerService() {
  m_previousHandler = qInstallMessageHandler(messageHandler);
}

void LoggerService::init() {
  ensureLogDirectoryExists();
  rotateLogIfNeeded();
  migrateOldLog();
}

QString LoggerService::logDirectoryPath() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QDir(documents).filePath(kAppDataDirName) + QStringLiteral("/logs");
}

void LoggerService::ensureLogDirectoryExists() {
  const QString dir = logDirectoryPath();
  if (!QDir(dir).exists()) QDir().mkpath(dir);
}

void LoggerService::rotateLogIfNeeded() {
  const QString current = getCurrentLogPath();
  const QFileInfo info(current);
  const qint64 size = info.exists() ? info.size() : 0;
  if (size < kSizeLimitBytes) return;

  // Shift every present backup up by one; missing numbers stay missing.
  for (int i = kBackupCount; i >= 2; --i) {
    const QString older = getBackupLogPath(i - 1);
    if (!QFile::exists(older)) continue;
    const QString newer = getBackupLogPath(i);
    if (QFile::exists(newer)) QFile::remove(newer);
    QFile::rename(older, newer);
  }
  const QString first = getBackupLogPath(1);
  if (QFile::exists(first)) QFile::remove(first);
  if (QFile::exists(current)) QFile::rename(current, first);
  const QString beyond = getBackupLogPath(kBackupCount + 1);
  if (QFile::exists(beyond)) QFile::remove(beyond);
}

void LoggerService::migrateOldLog() {
  const QString current = getCurrentLogPath();
  if (!QFile::exists(current)) return;
  bool readOk = false;
  const QString content = readOldLogContent(current, &readOk);
  // The earlier run's log is only removed once it is safely in the cumulative
  // file; otherwise it stays and this run appends to it.
  if (!readOk || !writeNewLogContent(getBackupLogPath(0), content)) return;
  QFile::remove(current);
}

void LoggerService::outputMessage(QtMsgType type, const QMessageLogContext &context, const QString &message) {
  const QString line = QStringLiteral("[ %1 ] - %2: %3").arg(currentTimestamp(), logMessageType(type), message);
  writeMessageToLog(line);
  // Called outside the write lock, so a previous handler that logs cannot dead-lock.
  if (m_previousHandler) m_previousHandler(type, context, message);
}

QString LoggerService::logMessageType(QtMsgType type) {
  switch (type) {
    case QtDebugMsg:
      return QStringLiteral("Debug");
    case QtWarningMsg:
      return QStringLiteral("Warning");
    case QtCriticalMsg:
      return QStringLiteral("Critical");
    case QtFatalMsg:
      return QStringLiteral("Fatal");
    default:
      return QStringLiteral("Unknown");
  }
}

QString LoggerService::currentTimestamp() {
  return QLocale::system().toString(QDateTime::currentDateTime(), kTimestampFormat);
}

QString LoggerService::getCurrentLogPath() {
  return logDirectoryPath() + QStringLiteral("/audio.log");
}

QString LoggerService::getBackupLogPath(int n) {
  if (n == 0) return logDirectoryPath() + QStringLiteral("/audio_backup.log");
  return logDirectoryPath() + QStringLiteral("/audio_backup_%1.log").arg(n);
}

void LoggerService::writeMessageToLog(const QString &line) {
  if (t_writingLog) return;
  t_writingLog = true;
  // Line and line end go out in one unbuffered append, so lines never mix even
  // with another process appending. Binary mode keeps "\r\n" on every platform.
  const QByteArray bytes = (line + QStringLiteral("\r\n")).toUtf8();
  const QString path = getCurrentLogPath();
  {
    QMutexLocker lock(&m_writeMutex);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
      file.write(bytes);
      file.close();
    }
  }
  t_writingLog = false;
}

QString LoggerService::readOldLogContent(const QString &path, bool *ok) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (ok) *ok = false;
    return QString();
  }
  const QByteArray bytes = file.readAll();
  if (ok) *ok = file.error() == QFileDevice::NoError;
  // Sized conversion: the QByteArray overload would stop at the first NUL byte.
  return QString::fromUtf8(bytes.constData(), bytes.size());
}

bool LoggerService::writeNewLogContent(const QString &path, const QString &text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  const QByteArray bytes = text.toUtf8();
  const bool written = file.write(bytes) == bytes.size() && file.flush();
  file.close();
  return written && file.error() == QFileDevice::NoError;
}

void LoggerService::writeHelperLine(QtMsgType type, const char *function, int line, const QString &message) {
  QString level;
  switch (type) {
    case QtWarningMsg:
      level = QStringLiteral("WARNING");
      break;
    case QtCriticalMsg:
      level = QStringLiteral("ERROE");
      break;
    default:
      level = QStringLiteral("INFO");
      break;
  }
  const QString text = QStringLiteral("[ %1 ] [File: %2] [Line: %3] [%4] - %5")
                           .arg(currentTimestamp(), QString::fromUtf8(function), QString::number(line), level, message);
  // No file, line or function in the context: the text carries them itself.
  const QMessageLogger logger;
  switch (type) {
    case QtWarningMsg:
      logger.warning() << text;
      break;
    case QtCriticalMsg:
      logger.critical() << text;
      break;
    default:
      logger.info() << text;
      break;
  }
}
