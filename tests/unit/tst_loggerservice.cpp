#include "LoggerService.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct ForwardedMessage {
  QtMsgType type;
  QString text;
};

// Stands behind the log service as its "previous handler": records what is
// passed on and, unless quiet, hands it to the handlers installed before.
// A std::mutex, so that the thread sanitizer sees its hand-overs.
std::mutex g_sinkMutex;
QList<ForwardedMessage> g_forwarded;
std::atomic<bool> g_sinkQuiet{false};
QtMessageHandler g_frameworkHandler = nullptr;

void sinkHandler(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    g_forwarded.append({type, text});
  }
  if (!g_sinkQuiet && g_frameworkHandler) g_frameworkHandler(type, context, text);
}

QList<ForwardedMessage> takeForwarded() {
  std::lock_guard<std::mutex> lock(g_sinkMutex);
  QList<ForwardedMessage> taken;
  taken.swap(g_forwarded);
  return taken;
}

QString appDataPath() {
  return orvik::test::documentsPath() + QStringLiteral("/Veltro-Orvik");
}
QString logDirPath() {
  return appDataPath() + QStringLiteral("/logs");
}

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Splits the log into lines; false unless every line, the last included, ends
// with "\r\n" and no other carriage return or line feed occurs.
bool splitCrLfLines(const QByteArray &content, QStringList &lines) {
  lines.clear();
  if (content.isEmpty()) return true;
  if (!content.endsWith("\r\n")) return false;
  const QList<QByteArray> parts = content.left(content.size() - 2).split('\n');
  for (int i = 0; i < parts.size(); ++i) {
    QByteArray part = parts.at(i);
    const bool isLast = i == parts.size() - 1;
    if (!isLast) {
      if (!part.endsWith('\r')) return false;
      part.chop(1);
    }
    if (part.contains('\r')) return false;
    lines.append(QString::fromUtf8(part));
  }
  return true;
}

const QRegularExpression kLogLine(
    QStringLiteral(R"(^\[ (\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}) (\S+) \] - (\w+): (.*)$)"));
const QRegularExpression kHelperBody(QStringLiteral(
    R"re(^"\[ (\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}) (\S+) \] \[File: ([^\]]+)\] \[Line: (\d+)\] \[(\w+)\] - (.*)"$)re"));

// The timestamp lies in [before, after] (whole seconds) and carries the weekday of the system locale.
bool timestampFits(const QString &dateTime, const QString &weekday, const QDateTime &before, const QDateTime &after) {
  const QDateTime stamp = QDateTime::fromString(dateTime, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
  const QDateTime from = before.addMSecs(-before.time().msec());
  return stamp.isValid() && stamp >= from && stamp <= after &&
         weekday == QLocale::system().dayName(stamp.date().dayOfWeek(), QLocale::ShortFormat);
}

QByteArray earlierLogContent(qint64 size) {
  const QByteArray pattern = "[ 2025-10-27 09:15:02 Mon ] - Unknown: \"earlier run ÄÖ\"\r\n";
  QByteArray data = pattern.repeated(int(size / pattern.size()) + 1);
  data.truncate(int(size));
  return data;
}

QByteArray backupContent(int n) {
  return QByteArrayLiteral("backup ") + QByteArray::number(n) + "\r\n";
}

// Sends one message through Qt's message functions, as any code of the process does.
void sendQtMessage(QtMsgType type, const QString &text) {
  const QMessageLogger logger;
  switch (type) {
    case QtDebugMsg:
      logger.debug().noquote() << text;
      break;
    case QtInfoMsg:
      logger.info().noquote() << text;
      break;
    case QtWarningMsg:
      logger.warning().noquote() << text;
      break;
    default:
      logger.critical().noquote() << text;
      break;
  }
}

struct HelperInConstructor {
  HelperInConstructor() { LOG_INFO(QStringLiteral("from a constructor")); }
};

}  // namespace

class TestLoggerService : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();

  void qtMessage_writesOneLineWithTypeWord_data();
  void qtMessage_writesOneLineWithTypeWord();
  void outputMessage_fatalIsWrittenAndPassedOn();
  void logHelpers_writeQuotedLineWithFunctionAndLine_data();
  void logHelpers_writeQuotedLineWithFunctionAndLine();
  void logHelpers_nameLambdaAndConstructor();
  void init_rotatesOrMigratesEarlierLogs_data();
  void init_rotatesOrMigratesEarlierLogs();
  void init_cumulativeFileUnwritable_keepsEarlierLog();
  void concurrentLogging_writesWholeLinesOnly();
};

void TestLoggerService::initTestCase() {
  // Chain: log service -> sink -> the recorder and test framework installed before.
  // The recorder is not installed again in front: it would then call the log
  // service, which calls the recorder, without end.
  g_frameworkHandler = qInstallMessageHandler(sinkHandler);
  LoggerService::instance();
  QCOMPARE(LoggerService::getCurrentLogPath(), logDirPath() + QStringLiteral("/audio.log"));
  QCOMPARE(LoggerService::getBackupLogPath(0), logDirPath() + QStringLiteral("/audio_backup.log"));
  QCOMPARE(LoggerService::getBackupLogPath(3), logDirPath() + QStringLiteral("/audio_backup_3.log"));
}

void TestLoggerService::init() {
  QDir(appDataPath()).removeRecursively();
  LoggerService::instance().ensureLogDirectoryExists();
  takeForwarded();
}

void TestLoggerService::qtMessage_writesOneLineWithTypeWord_data() {
  QTest::addColumn<int>("type");
  QTest::addColumn<QString>("word");
  QTest::addColumn<QString>("text");
  QTest::newRow("debug") << int(QtDebugMsg) << "Debug"
                         << "port list refreshed";
  QTest::newRow("info has no word of its own") << int(QtInfoMsg) << "Unknown"
                                               << "sweep decoded";
  QTest::newRow("warning") << int(QtWarningMsg) << "Warning"
                           << "frame too short";
  QTest::newRow("critical") << int(QtCriticalMsg) << "Critical"
                            << "device lost";
  QTest::newRow("placeholders stay literal") << int(QtInfoMsg) << "Unknown"
                                             << "level %1 at %2 MHz, 100% %3";
  QTest::newRow("non-ASCII text") << int(QtWarningMsg) << "Warning" << QString::fromUtf8("频率 450.000 MHz µ");
}

void TestLoggerService::qtMessage_writesOneLineWithTypeWord() {
  QFETCH(int, type);
  QFETCH(QString, word);
  QFETCH(QString, text);

  const QDateTime before = QDateTime::currentDateTime();
  sendQtMessage(QtMsgType(type), text);
  const QDateTime after = QDateTime::currentDateTime();

  QStringList lines;
  QVERIFY(splitCrLfLines(readAll(LoggerService::getCurrentLogPath()), lines));
  QCOMPARE(lines.size(), 1);
  const QRegularExpressionMatch match = kLogLine.match(lines.first());
  QVERIFY2(match.hasMatch(), qPrintable(lines.first()));
  QVERIFY2(timestampFits(match.captured(1), match.captured(2), before, after), qPrintable(lines.first()));
  QCOMPARE(match.captured(3), word);
  QCOMPARE(match.captured(4), text);

  // The previous handler gets the message itself, not the formatted line.
  const QList<ForwardedMessage> forwarded = takeForwarded();
  QCOMPARE(forwarded.size(), 1);
  QCOMPARE(int(forwarded.first().type), type);
  QCOMPARE(forwarded.first().text, text);
}

void TestLoggerService::outputMessage_fatalIsWrittenAndPassedOn() {
  // Sent directly: through qFatal the test process would end.
  g_sinkQuiet = true;
  LoggerService::instance().outputMessage(QtFatalMsg, QMessageLogContext(), QStringLiteral("out of memory"));
  g_sinkQuiet = false;

  QStringList lines;
  QVERIFY(splitCrLfLines(readAll(LoggerService::getCurrentLogPath()), lines));
  QCOMPARE(lines.size(), 1);
  const QRegularExpressionMatch match = kLogLine.match(lines.first());
  QVERIFY2(match.hasMatch(), qPrintable(lines.first()));
  QCOMPARE(match.captured(3), QStringLiteral("Fatal"));
  QCOMPARE(match.captured(4), QStringLiteral("out of memory"));
  const QList<ForwardedMessage> forwarded = takeForwarded();
  QCOMPARE(forwarded.size(), 1);
  QCOMPARE(forwarded.first().type, QtFatalMsg);
}

void TestLoggerService::logHelpers_writeQuotedLineWithFunctionAndLine_data() {
  QTest::addColumn<int>("helper");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("typeWord");
  QTest::addColumn<QString>("level");
  QTest::addColumn<QString>("writtenMessage");
  QTest::newRow("info") << 0 << "Success To Create Default Conifg"
                        << "Unknown"
                        << "INFO"
                        << "Success To Create Default Conifg";
  QTest::newRow("warning") << 1 << "port busy"
                           << "Warning"
                           << "WARNING"
                           << "port busy";
  QTest::newRow("error") << 2 << "write failed"
                         << "Critical"
                         << "ERROE"
                         << "write failed";
  QTest::newRow("quotes and backslashes are escaped") << 0 << R"(name "A\B")"
                                                      << "Unknown"
                                                      << "INFO"
                                                      << R"(name \"A\\B\")";
  QTest::newRow("line breaks stay inside the line") << 0 << "first\nsecond\r\tend"
                                                    << "Unknown"
                                                    << "INFO"
                                                    << R"(first\nsecond\r\tend)";
  QTest::newRow("placeholders stay literal") << 2 << "%1 of %2 points"
                                             << "Critical"
                                             << "ERROE"
                                             << "%1 of %2 points";
}

void TestLoggerService::logHelpers_writeQuotedLineWithFunctionAndLine() {
  QFETCH(int, helper);
  QFETCH(QString, message);
  QFETCH(QString, typeWord);
  QFETCH(QString, level);
  QFETCH(QString, writtenMessage);

  const QDateTime before = QDateTime::currentDateTime();
  int line = 0;
  g_sinkQuiet = true;
  switch (helper) {
    case 0:
      line = __LINE__ + 1;
      LOG_INFO(message);
      break;
    case 1:
      line = __LINE__ + 1;
      LOG_WARNING(message);
      break;
    default:
      line = __LINE__ + 1;
      LOG_ERROR(message);
      break;
  }
  g_sinkQuiet = false;
  const QDateTime after = QDateTime::currentDateTime();

  QStringList lines;
  QVERIFY(splitCrLfLines(readAll(LoggerService::getCurrentLogPath()), lines));
  QCOMPARE(lines.size(), 1);
  const QRegularExpressionMatch outer = kLogLine.match(lines.first());
  QVERIFY2(outer.hasMatch(), qPrintable(lines.first()));
  QCOMPARE(outer.captured(3), typeWord);
  const QRegularExpressionMatch body = kHelperBody.match(outer.captured(4));
  QVERIFY2(body.hasMatch(), qPrintable(outer.captured(4)));
  QVERIFY2(timestampFits(body.captured(1), body.captured(2), before, after), qPrintable(lines.first()));
  QCOMPARE(body.captured(3), QStringLiteral("logHelpers_writeQuotedLineWithFunctionAndLine"));
  QCOMPARE(body.captured(4).toInt(), line);
  QCOMPARE(body.captured(5), level);
  QCOMPARE(body.captured(6), writtenMessage);
}

void TestLoggerService::logHelpers_nameLambdaAndConstructor() {
  g_sinkQuiet = true;
  const auto lambda = [] { LOG_INFO(QStringLiteral("from a lambda")); };
  lambda();
  HelperInConstructor fixture;
  Q_UNUSED(fixture)
  g_sinkQuiet = false;

  QStringList lines;
  QVERIFY(splitCrLfLines(readAll(LoggerService::getCurrentLogPath()), lines));
  QCOMPARE(lines.size(), 2);
  QVERIFY2(lines.at(0).contains(QStringLiteral("[File: operator()] ")), qPrintable(lines.at(0)));
  QVERIFY2(lines.at(1).contains(QStringLiteral("[File: HelperInConstructor] ")), qPrintable(lines.at(1)));
}

void TestLoggerService::init_rotatesOrMigratesEarlierLogs_data() {
  QTest::addColumn<qint64>("currentSize");  // -1: no "audio.log"
  QTest::addColumn<QList<int>>("backups");
  QTest::addColumn<bool>("cumulativeBefore");
  // Backups 1..6 afterwards: the content each holds, "log" for the earlier audio.log, "" for absent.
  QTest::addColumn<QStringList>("expected");
  QTest::addColumn<bool>("migrated");

  constexpr qint64 limit = LoggerService::kSizeLimitBytes;
  const QList<int> allFive{1, 2, 3, 4, 5};
  QTest::newRow("no earlier files") << qint64(-1) << QList<int>{} << false << QStringList{"", "", "", "", "", ""}
                                    << false;
  QTest::newRow("empty log migrates") << qint64(0) << QList<int>{} << false << QStringList{"", "", "", "", "", ""}
                                      << true;
  QTest::newRow("small log appends to cumulative file")
      << qint64(5000) << QList<int>{2} << true << QStringList{"", "b2", "", "", "", ""} << true;
  QTest::newRow("one byte below limit migrates, backups untouched")
      << limit - 1 << allFive << true << QStringList{"b1", "b2", "b3", "b4", "b5", ""} << true;
  QTest::newRow("at limit with five backups: oldest dropped")
      << limit << allFive << true << QStringList{"log", "b1", "b2", "b3", "b4", ""} << false;
  QTest::newRow("above limit without backups")
      << limit + 1 << QList<int>{} << false << QStringList{"log", "", "", "", "", ""} << false;
  QTest::newRow("gaps 1 and 3 move along")
      << limit << QList<int>{1, 3} << false << QStringList{"log", "b1", "", "b3", "", ""} << false;
  QTest::newRow("gaps 2 and 5: backup 5 kept")
      << limit << QList<int>{2, 5} << false << QStringList{"log", "", "b2", "", "b5", ""} << false;
  QTest::newRow("stray sixth backup removed on rotation")
      << limit << QList<int>{1, 2, 3, 4, 5, 6} << false << QStringList{"log", "b1", "b2", "b3", "b4", ""} << false;
  QTest::newRow("stray sixth backup left without rotation")
      << qint64(10) << QList<int>{6} << false << QStringList{"", "", "", "", "", "b6"} << true;
}

void TestLoggerService::init_rotatesOrMigratesEarlierLogs() {
  QFETCH(qint64, currentSize);
  QFETCH(QList<int>, backups);
  QFETCH(bool, cumulativeBefore);
  QFETCH(QStringList, expected);
  QFETCH(bool, migrated);

  const QByteArray cumulativeOld = "[ 2025-10-20 08:00:00 Mon ] - Debug: earlier runs\r\n";
  const QByteArray earlier = currentSize >= 0 ? earlierLogContent(currentSize) : QByteArray();
  const bool noEarlierFiles = currentSize < 0 && backups.isEmpty() && !cumulativeBefore;
  if (noEarlierFiles) QVERIFY(QDir(appDataPath()).removeRecursively());
  if (currentSize >= 0) QVERIFY(writeAll(LoggerService::getCurrentLogPath(), earlier));
  for (int n : backups) QVERIFY(writeAll(LoggerService::getBackupLogPath(n), backupContent(n)));
  if (cumulativeBefore) QVERIFY(writeAll(LoggerService::getBackupLogPath(0), cumulativeOld));

  LoggerService::instance().init();

  QVERIFY(!QFile::exists(LoggerService::getCurrentLogPath()));
  for (int n = 1; n <= 6; ++n) {
    const QString path = LoggerService::getBackupLogPath(n);
    const QString tag = expected.at(n - 1);
    if (tag.isEmpty()) {
      QVERIFY2(!QFile::exists(path), qPrintable(path));
      continue;
    }
    const QByteArray want = tag == QLatin1String("log") ? earlier : backupContent(tag.midRef(1).toInt());
    const QByteArray have = readAll(path);
    QVERIFY2(
        have == want,
        qPrintable(
            QStringLiteral("backup %1: %2 bytes, expected %3 (%4)").arg(n).arg(have.size()).arg(want.size()).arg(tag)));
  }

  const QString cumulativePath = LoggerService::getBackupLogPath(0);
  QCOMPARE(QFile::exists(cumulativePath), cumulativeBefore || migrated);
  const QByteArray wantCumulative =
      (cumulativeBefore ? cumulativeOld : QByteArray()) + (migrated ? earlier : QByteArray());
  const QByteArray haveCumulative = readAll(cumulativePath);
  QVERIFY2(haveCumulative == wantCumulative,
           qPrintable(QStringLiteral("%1 bytes, expected %2").arg(haveCumulative.size()).arg(wantCumulative.size())));

  if (noEarlierFiles) {
    QVERIFY(QDir(logDirPath()).exists());
    QVERIFY(QDir(logDirPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
  }
}

void TestLoggerService::init_cumulativeFileUnwritable_keepsEarlierLog() {
  const QByteArray earlier = earlierLogContent(2000);
  QVERIFY(writeAll(LoggerService::getCurrentLogPath(), earlier));
  // A directory in its place makes appending to the cumulative file fail.
  QVERIFY(QDir().mkpath(LoggerService::getBackupLogPath(0)));

  LoggerService::instance().init();

  QCOMPARE(readAll(LoggerService::getCurrentLogPath()), earlier);
  QVERIFY(QFileInfo(LoggerService::getBackupLogPath(0)).isDir());
}

void TestLoggerService::concurrentLogging_writesWholeLinesOnly() {
  constexpr int threadCount = 6;
  constexpr int messagesPerThread = 300;
  // Long lines make torn or interleaved writes likely if appends were not serialised.
  const QString padding(400, QLatin1Char('x'));

  g_sinkQuiet = true;
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < threadCount; ++t) {
    threads.emplace_back([t, &padding, &ready] {
      ++ready;
      while (ready.load() < threadCount) std::this_thread::yield();
      for (int k = 0; k < messagesPerThread; ++k)
        LOG_INFO(QStringLiteral("thread %1 message %2 %3").arg(t).arg(k).arg(padding));
    });
  }
  for (std::thread &thread : threads) thread.join();
  g_sinkQuiet = false;
  QCOMPARE(takeForwarded().size(), threadCount * messagesPerThread);

  QStringList lines;
  QVERIFY(splitCrLfLines(readAll(LoggerService::getCurrentLogPath()), lines));
  QCOMPARE(lines.size(), threadCount * messagesPerThread);
  const QRegularExpression payload(QStringLiteral("^thread (\\d+) message (\\d+) (x+)$"));
  QSet<QString> seen;
  for (const QString &line : qAsConst(lines)) {
    const QRegularExpressionMatch outer = kLogLine.match(line);
    QVERIFY2(outer.hasMatch(), qPrintable(line));
    const QRegularExpressionMatch body = kHelperBody.match(outer.captured(4));
    QVERIFY2(body.hasMatch(), qPrintable(line));
    const QRegularExpressionMatch message = payload.match(body.captured(6));
    QVERIFY2(message.hasMatch() && message.captured(3) == padding, qPrintable(line));
    seen.insert(message.captured(1) + QLatin1Char('/') + message.captured(2));
  }
  QCOMPARE(seen.size(), threadCount * messagesPerThread);
}

ORVIK_TEST_MAIN(TestLoggerService)
#include "tst_loggerservice.moc"
