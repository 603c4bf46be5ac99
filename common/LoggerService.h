#pragma once

#include <QMutex>
#include <QString>
#include <QtGlobal>

// The single sink of every Qt message of the process: each message becomes one
// line of "audio.log" in the application data directory and is then handed on
// to the handler that was installed before. At start-up init() rotates an
// oversized log into numbered backups or appends a normal-sized one to the
// cumulative backup, so every run begins without a current log.
class LoggerService {
public:
  // A current log of at least this size is rotated at start-up.
  static constexpr qint64 kSizeLimitBytes = 10485760;
  // Numbered backups kept: "audio_backup_1.log" (newest) to "audio_backup_5.log".
  static constexpr int kBackupCount = 5;

  // The first call installs the message handler.
  static LoggerService &instance();

  // Prepares this run's log files: directory, rotation, migration (in this order).
  void init();
  void ensureLogDirectoryExists();
  void rotateLogIfNeeded();
  void migrateOldLog();

  // Formats and appends one line, then passes the unchanged message on.
  void outputMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);

  static QString logMessageType(QtMsgType type);
  static QString currentTimestamp();
  static QString getCurrentLogPath();
  // n >= 1: numbered backup n; n == 0: the cumulative "audio_backup.log".
  static QString getBackupLogPath(int n);

  // Appends the line and "\r\n" to the current log as one write.
  void writeMessageToLog(const QString &line);
  // Whole content decoded as UTF-8; empty (and *ok false) when it cannot be opened.
  static QString readOldLogContent(const QString &path, bool *ok = nullptr);
  // Appends the text as it is (no line end added); false unless all of it was written.
  static bool writeNewLogContent(const QString &path, const QString &text);

  // Builds the line of the LOG_* helpers and sends it through Qt's message stream.
  static void writeHelperLine(QtMsgType type, const char *function, int line, const QString &message);

  LoggerService(const LoggerService &) = delete;
  LoggerService &operator=(const LoggerService &) = delete;

private:
  LoggerService();
  ~LoggerService() = default;

  static QString logDirectoryPath();

  QtMessageHandler m_previousHandler = nullptr;
  // Messages arrive from several threads; one line is written at a time.
  QMutex m_writeMutex;
};

// Log-line helpers used everywhere: "[ time ] [File: function] [Line: n] [LEVEL] - message".
// The "File" field carries the unqualified name of the calling function.
#define LOG_INFO(message) ::LoggerService::writeHelperLine(QtInfoMsg, __func__, __LINE__, (message))
#define LOG_WARNING(message) ::LoggerService::writeHelperLine(QtWarningMsg, __func__, __LINE__, (message))
#define LOG_ERROR(message) ::LoggerService::writeHelperLine(QtCriticalMsg, __func__, __LINE__, (message))
