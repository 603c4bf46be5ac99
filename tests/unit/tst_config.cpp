#include "ConfigService.h"
#include "FileReadWrite.h"
#include "SystemConfig.h"
#include "TestSupport.h"
#include "UserConfig.h"

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaProperty>
#include <QMutex>
#include <QMutexLocker>
#include <QSignalSpy>
#include <csignal>

namespace {

// Records the text of every message (the configuration store logs through the
// LOG_* helpers) and passes it on.
QMutex g_messagesMutex;
QStringList g_messages;
QtMessageHandler g_nextHandler = nullptr;

void capturingHandler(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  {
    QMutexLocker lock(&g_messagesMutex);
    g_messages.append(text);
  }
  if (g_nextHandler) g_nextHandler(type, context, text);
}

QStringList takeMessages() {
  QMutexLocker lock(&g_messagesMutex);
  QStringList taken;
  taken.swap(g_messages);
  return taken;
}

// How many recorded helper lines end in exactly this message. The helpers send
// their line as a quoted string, so it ends with the message and a quote.
int countLogged(const QStringList &messages, const QString &message) {
  const QString ending = QStringLiteral("] - ") + message + QLatin1Char('"');
  int count = 0;
  for (const QString &text : messages) count += text.endsWith(ending) ? 1 : 0;
  return count;
}

QString appDataPath() {
  return orvik::test::documentsPath() + QStringLiteral("/Veltro-Orvik");
}

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QJsonObject parseObject(const QByteArray &bytes, bool *ok) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
  *ok = !document.isNull() && document.isObject();
  return document.object();
}

// One way of making a write fail for real; restores the situation when it goes out of scope.
class WriteFailure {
public:
  enum Kind { ReadOnlyDirectory, FileSizeLimit };

  WriteFailure(Kind kind, const QString &dir) : m_kind(kind), m_dir(dir) {}
  ~WriteFailure() { release(); }

  // False with a reason when this failure cannot be produced here.
  bool arm(QString &reason) {
    if (m_kind == ReadOnlyDirectory) {
      m_permissions = QFile(m_dir).permissions();
      QFile::setPermissions(m_dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
      m_armed = true;
      const QString probe = m_dir + QStringLiteral("/probe");
      QFile probeFile(probe);
      if (probeFile.open(QIODevice::WriteOnly)) {
        probeFile.close();
        QFile::remove(probe);
        reason = QStringLiteral("directory permissions do not apply to this user (root)");
        return false;
      }
      return true;
    }
    // Writing past RLIMIT_FSIZE fails with EFBIG: a short write in the middle of the file.
    if (getrlimit(RLIMIT_FSIZE, &m_limit) != 0) {
      reason = QStringLiteral("no file size limit available");
      return false;
    }
    m_oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = m_limit;
    lowered.rlim_cur = kFileSizeLimitBytes;
    if (setrlimit(RLIMIT_FSIZE, &lowered) != 0) {
      std::signal(SIGXFSZ, m_oldSignal);
      reason = QStringLiteral("file size limit cannot be lowered");
      return false;
    }
    m_armed = true;
    return true;
  }

  void release() {
    if (!m_armed) return;
    m_armed = false;
    if (m_kind == ReadOnlyDirectory) {
      QFile::setPermissions(m_dir, m_permissions);
    } else {
      setrlimit(RLIMIT_FSIZE, &m_limit);
      std::signal(SIGXFSZ, m_oldSignal);
    }
  }

  static constexpr rlim_t kFileSizeLimitBytes = 4096;

private:
  Kind m_kind;
  QString m_dir;
  bool m_armed = false;
  QFileDevice::Permissions m_permissions;
  rlimit m_limit{};
  void (*m_oldSignal)(int) = SIG_DFL;
};

}  // namespace

Q_DECLARE_METATYPE(WriteFailure::Kind)

class TestConfig : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();

  void configService_publishesBuildFactsAndClock();
  void constants_pointIntoPrivateDocuments();
  void init_firstStart_createsDirectoryAndEmptyFiles();
  void init_secondStart_keepsFiles();
  void readConfigInfo_unusableFile_readsEmptyAndNextWriteReplacesIt_data();
  void readConfigInfo_unusableFile_readsEmptyAndNextWriteReplacesIt();
  void readConfigInfo_missingFile_readsEmpty();
  void changingOneMember_keepsAllOthers();
  void userConfig_write_logsSuccessAndPath();
  void writeConfigToFile_failedWrite_keepsOldFile_data();
  void writeConfigToFile_failedWrite_keepsOldFile();
  void writeJsonFile_targetIsDirectory_fails();
  void createDir_reportsExistingCreatedAndFailed_data();
  void createDir_reportsExistingCreatedAndFailed();

private:
  static void startUp();
};

void TestConfig::initTestCase() {
  // In front of the recorder and the test framework, which it calls in turn.
  g_nextHandler = qInstallMessageHandler(capturingHandler);
}

void TestConfig::init() {
  QDir(appDataPath()).removeRecursively();
  takeMessages();
}

void TestConfig::startUp() {
  SystemConfig::instance()->init();
  UserConfig::instance()->init();
}

void TestConfig::configService_publishesBuildFactsAndClock() {
  ConfigService *service = ConfigService::instance();
  QSignalSpy changed(service, &ConfigService::statusChanged);
  QVERIFY(service->currentTime().isEmpty());
  QCOMPARE(service->property("version").toString(), QStringLiteral("1.0.7"));
  QCOMPARE(service->property("commitid").toString(), QStringLiteral("6685a19"));
  QCOMPARE(service->property("compileTime").toString(), QStringLiteral("2510281502"));

  // QML binds to all four through the one shared change signal and may not write them.
  const QMetaObject *meta = service->metaObject();
  for (const char *name : {"version", "commitid", "compileTime", "currentTime"}) {
    const QMetaProperty property = meta->property(meta->indexOfProperty(name));
    QVERIFY2(property.isValid() && !property.isWritable(), name);
    QCOMPARE(property.notifySignal().name(), QByteArray("statusChanged"));
  }

  const QDateTime before = QDateTime::currentDateTime();
  QVERIFY(changed.wait(1000));
  const QDateTime after = QDateTime::currentDateTime();
  const QString text = service->property("currentTime").toString();
  QDateTime shown = QDateTime::fromString(text, QStringLiteral("yy-MM-dd HH:mm:ss"));
  shown = shown.addYears(100);  // two-digit years parse into the 1900s
  QVERIFY2(shown.isValid(), qPrintable(text));
  QVERIFY2(shown >= before.addMSecs(-before.time().msec()) && shown <= after, qPrintable(text));

  const int ticks = changed.count();
  service->setCurrentTime(text);
  QCOMPARE(changed.count(), ticks + 1);
}

void TestConfig::constants_pointIntoPrivateDocuments() {
  // Set up before main: they must still land in the test's own home.
  const QString base = orvik::test::documentsPath() + QStringLiteral("/Veltro-Orvik/");
  QCOMPARE(FileReadWrite::DEAFULT_DIR_PATH, base + QStringLiteral("config"));
  QCOMPARE(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH, base + QStringLiteral("config/Veltro_Orvik.dov"));
  QCOMPARE(FileReadWrite::DEAFULT_USER_CONFIG_PATH, base + QStringLiteral("config/Veltro_User.dov"));
  QCOMPARE(FileReadWrite::DEAFULT_PRESET_DIR_PATH, base + QStringLiteral("preset"));
}

void TestConfig::init_firstStart_createsDirectoryAndEmptyFiles() {
  QVERIFY(!QFileInfo::exists(orvik::test::documentsPath() + QStringLiteral("/Veltro-Orvik")));

  startUp();

  QVERIFY(QFileInfo(FileReadWrite::DEAFULT_DIR_PATH).isDir());
  for (const QString &path : {FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH, FileReadWrite::DEAFULT_USER_CONFIG_PATH}) {
    bool ok = false;
    const QJsonObject object = parseObject(readAll(path), &ok);
    QVERIFY2(ok, qPrintable(path));
    QVERIFY(object.isEmpty());
  }
  QCOMPARE(countLogged(takeMessages(), QStringLiteral("Success To Create Default Conifg")), 2);
  QVERIFY(SystemConfig::instance()->readConfigInfo().isEmpty());
  QVERIFY(UserConfig::instance()->readConfigInfo().isEmpty());
}

void TestConfig::init_secondStart_keepsFiles() {
  startUp();
  // Layouts of our own: any rewrite would show as changed bytes.
  const QByteArray system = "{\"startFreq\":\"470.000\",   \"markSwitch\":true}";
  const QByteArray user = "{\"presets\":[]}\n\n";
  QVERIFY(writeAll(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH, system));
  QVERIFY(writeAll(FileReadWrite::DEAFULT_USER_CONFIG_PATH, user));
  takeMessages();

  startUp();

  QCOMPARE(readAll(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH), system);
  QCOMPARE(readAll(FileReadWrite::DEAFULT_USER_CONFIG_PATH), user);
  const QStringList messages = takeMessages();
  QCOMPARE(countLogged(messages,
                       QStringLiteral("Config file already exists at: ") + FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH),
           1);
  QCOMPARE(countLogged(messages,
                       QStringLiteral("Config file already exists at: ") + FileReadWrite::DEAFULT_USER_CONFIG_PATH),
           1);
  QCOMPARE(countLogged(messages, QStringLiteral("Success To Create Default Conifg")), 0);
}

void TestConfig::readConfigInfo_unusableFile_readsEmptyAndNextWriteReplacesIt_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<bool>("parseErrorLogged");
  QTest::newRow("truncated object") << QByteArray("{\"startFreq\": \"450.000\", \"stopFr") << true;
  QTest::newRow("empty file") << QByteArray() << true;
  QTest::newRow("binary garbage") << QByteArray("\x00\xff\x7b\x7d\x01", 5) << true;
  QTest::newRow("trailing garbage") << QByteArray("{\"markSwitch\": true} }") << true;
  QTest::newRow("top-level array") << QByteArray("[{\"startFreq\": \"450.000\"}]") << false;
}

void TestConfig::readConfigInfo_unusableFile_readsEmptyAndNextWriteReplacesIt() {
  QFETCH(QByteArray, content);
  QFETCH(bool, parseErrorLogged);
  startUp();
  QVERIFY(writeAll(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH, content));
  takeMessages();

  QJsonObject object = SystemConfig::instance()->readConfigInfo();
  QVERIFY(object.isEmpty());
  const QStringList messages = takeMessages();
  if (parseErrorLogged) {
    QJsonParseError error;
    QVERIFY(QJsonDocument::fromJson(content, &error).isNull());
    QCOMPARE(countLogged(messages, error.errorString()), 1);
  } else {
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
  }
  // The file was only read, never repaired.
  QCOMPARE(readAll(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH), content);

  object.insert(QStringLiteral("peakSwitch"), true);
  QVERIFY(SystemConfig::instance()->writeConfigToFile(object));
  bool ok = false;
  const QJsonObject written = parseObject(readAll(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH), &ok);
  QVERIFY(ok);
  QCOMPARE(written, QJsonObject({{QStringLiteral("peakSwitch"), true}}));
  QCOMPARE(SystemConfig::instance()->readConfigInfo(), written);
}

void TestConfig::readConfigInfo_missingFile_readsEmpty() {
  startUp();
  QVERIFY(QFile::remove(FileReadWrite::DEAFULT_USER_CONFIG_PATH));
  takeMessages();

  QVERIFY(UserConfig::instance()->readConfigInfo().isEmpty());
  const QStringList messages = takeMessages();
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages.first().contains(QStringLiteral("[File: readConfigInfo]")), qPrintable(messages.first()));
}

void TestConfig::changingOneMember_keepsAllOthers() {
  startUp();
  const QJsonObject before{
      {QStringLiteral("startFreq"), QStringLiteral("470.000")},
      {QStringLiteral("stopFreq"), QStringLiteral("862.125")},
      {QStringLiteral("lowerDbmStr"), QStringLiteral("-100")},
      {QStringLiteral("markSwitch"), true},
      {QStringLiteral("priorityFreqNum"), 12},
      {QStringLiteral("monitorStatus"), QStringLiteral("manual")},
      {QStringLiteral("serialPort"),
       QJsonObject{{QStringLiteral("portName"), QStringLiteral("/dev/ttyACM0")}, {QStringLiteral("baud"), 115200}}}};
  QVERIFY(SystemConfig::instance()->writeConfigToFile(before));

  // The users' pattern: read the whole document, replace one (nested) member, write it all back.
  QJsonObject object = SystemConfig::instance()->readConfigInfo();
  QJsonObject port = object.value(QStringLiteral("serialPort")).toObject();
  port.insert(QStringLiteral("portName"), QStringLiteral("/dev/ttyACM1"));
  object.insert(QStringLiteral("serialPort"), port);
  QVERIFY(SystemConfig::instance()->writeConfigToFile(object));

  QJsonObject expected = before;
  QJsonObject expectedPort = before.value(QStringLiteral("serialPort")).toObject();
  expectedPort.insert(QStringLiteral("portName"), QStringLiteral("/dev/ttyACM1"));
  expected.insert(QStringLiteral("serialPort"), expectedPort);
  QCOMPARE(SystemConfig::instance()->readConfigInfo(), expected);
  // The user configuration is a separate file and stays as it was.
  QVERIFY(UserConfig::instance()->readConfigInfo().isEmpty());
}

void TestConfig::userConfig_write_logsSuccessAndPath() {
  startUp();
  takeMessages();
  const QJsonObject index{
      {QStringLiteral("presets"),
       QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("Hall A")},
                              {QStringLiteral("freqRange"), QStringLiteral("470.000 - 698.000")}}}}};
  QVERIFY(UserConfig::instance()->writeConfigToFile(index));
  QCOMPARE(UserConfig::instance()->readConfigInfo(), index);
  const QStringList messages = takeMessages();
  QCOMPARE(countLogged(messages, QStringLiteral("Success To Write User Config")), 1);
  QCOMPARE(countLogged(messages, QStringLiteral("User Config File Path: ") + FileReadWrite::DEAFULT_USER_CONFIG_PATH),
           1);
}

void TestConfig::writeConfigToFile_failedWrite_keepsOldFile_data() {
  QTest::addColumn<WriteFailure::Kind>("failure");
  QTest::addColumn<bool>("userFile");
  QTest::newRow("read-only directory, system file") << WriteFailure::ReadOnlyDirectory << false;
  QTest::newRow("read-only directory, user file") << WriteFailure::ReadOnlyDirectory << true;
  QTest::newRow("short write, system file") << WriteFailure::FileSizeLimit << false;
  QTest::newRow("short write, user file") << WriteFailure::FileSizeLimit << true;
}

void TestConfig::writeConfigToFile_failedWrite_keepsOldFile() {
  QFETCH(WriteFailure::Kind, failure);
  QFETCH(bool, userFile);
  startUp();
  const QString path = userFile ? FileReadWrite::DEAFULT_USER_CONFIG_PATH : FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH;
  const QJsonObject old{{QStringLiteral("startFreq"), QStringLiteral("450.000")},
                        {QStringLiteral("presets"), QJsonArray{QStringLiteral("kept")}}};
  QVERIFY(userFile ? UserConfig::instance()->writeConfigToFile(old) : SystemConfig::instance()->writeConfigToFile(old));
  const QByteArray oldBytes = readAll(path);
  takeMessages();

  // Larger than the lowered file size limit, so the write breaks off part-way.
  QJsonObject replacement = old;
  replacement.insert(QStringLiteral("remark"), QString(int(WriteFailure::kFileSizeLimitBytes) * 4, QLatin1Char('r')));

  bool written = true;
  {
    WriteFailure broken(failure, FileReadWrite::DEAFULT_DIR_PATH);
    QString reason;
    if (!broken.arm(reason)) QSKIP(qPrintable(reason));
    written = userFile ? UserConfig::instance()->writeConfigToFile(replacement)
                       : SystemConfig::instance()->writeConfigToFile(replacement);
  }

  QVERIFY(!written);
  QCOMPARE(readAll(path), oldBytes);
  QCOMPARE(QDir(FileReadWrite::DEAFULT_DIR_PATH).entryList(QDir::Files | QDir::Hidden).size(), 2);
  const QStringList messages = takeMessages();
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages.first().contains(QStringLiteral("[File: writeConfigToFile]")), qPrintable(messages.first()));
  QCOMPARE(countLogged(messages, QStringLiteral("Success To Write User Config")), 0);

  // Once writing works again the next change goes through.
  QVERIFY(userFile ? UserConfig::instance()->writeConfigToFile(replacement)
                   : SystemConfig::instance()->writeConfigToFile(replacement));
  QCOMPARE(userFile ? UserConfig::instance()->readConfigInfo() : SystemConfig::instance()->readConfigInfo(),
           replacement);
}

void TestConfig::writeJsonFile_targetIsDirectory_fails() {
  const QString path = appDataPath() + QStringLiteral("/config/Veltro_Orvik.dov");
  QVERIFY(QDir().mkpath(path));
  QString error;
  QVERIFY(!FileReadWrite::writeJsonFile(path, QJsonObject{{QStringLiteral("a"), 1}}, error));
  QVERIFY(!error.isEmpty());
  QVERIFY(QFileInfo(path).isDir());

  error.clear();
  QJsonObject object{{QStringLiteral("untouched"), true}};
  QVERIFY(!FileReadWrite::readJsonFile(path, object, error));
  QVERIFY(!error.isEmpty());
}

void TestConfig::createDir_reportsExistingCreatedAndFailed_data() {
  QTest::addColumn<QString>("relativePath");
  QTest::addColumn<bool>("result");
  QTest::addColumn<QString>("messageTemplate");  // "" = message left untouched
  QTest::newRow("existing directory") << "Veltro-Orvik" << true << "%1 is exit";
  QTest::newRow("missing parents are created") << "Veltro-Orvik/preset/a/b" << true << "";
  QTest::newRow("below a regular file") << "Veltro-Orvik/file/sub" << false << "Failed to create directory: %1";
  QTest::newRow("a regular file in the way") << "Veltro-Orvik/file" << false << "Failed to create directory: %1";
}

void TestConfig::createDir_reportsExistingCreatedAndFailed() {
  QFETCH(QString, relativePath);
  QFETCH(bool, result);
  QFETCH(QString, messageTemplate);
  QVERIFY(QDir().mkpath(appDataPath()));
  QVERIFY(writeAll(appDataPath() + QStringLiteral("/file"), "not a directory"));
  const QString path = orvik::test::documentsPath() + QLatin1Char('/') + relativePath;

  QString message = QStringLiteral("untouched");
  QCOMPARE(FileReadWrite::createDir(path, message), result);
  QCOMPARE(message, messageTemplate.isEmpty() ? QStringLiteral("untouched") : messageTemplate.arg(path));
  QCOMPARE(QFileInfo(path).isDir(), result);
}

ORVIK_TEST_MAIN(TestConfig)
#include "tst_config.moc"
