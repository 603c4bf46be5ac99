// The update flow against a real HTTP server on 127.0.0.1: the check, the
// download with its digest, the installation scripts and the restart.

#include "SystemConfig.h"
#include "TestSupport.h"
#include "UpdatePlatform.h"
#include "UpgradeModel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThreadPool>

#include <memory>

namespace {

constexpr int kFlowTimeoutMs = 20000;
constexpr int kShortTimeoutMs = 400;

// ---- a small HTTP/1.1 server -------------------------------------------------

struct Route {
  enum Mode {
    Answer,  // status line, headers and the whole body, then close
    Hang,    // read the request and never answer
    CutOff,  // announce the whole body, send half of it, then close
    Stall,   // announce the whole body, send half of it, then wait forever
  };
  int status = 200;
  QByteArray body;
  Mode mode = Answer;
  QByteArray location;  // for redirects
};

class HttpServer : public QObject {
public:
  bool listen() {
    connect(&m_server, &QTcpServer::newConnection, this, &HttpServer::onNewConnection);
    return m_server.listen(QHostAddress::LocalHost, 0);
  }
  QString root() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
  void setRoute(const QByteArray &path, const Route &route) { m_routes.insert(path, route); }
  QList<QByteArray> requests() const { return m_requests; }

private:
  void onNewConnection() {
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
      socket->setParent(this);
      connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { onReadyRead(socket); });
    }
  }

  void onReadyRead(QTcpSocket *socket) {
    QByteArray buffer = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", buffer);
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0 || socket->property("answered").toBool()) return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QByteArray path = requestLine.value(1);
    m_requests.append(path);
    const Route route = m_routes.value(path, Route{404, "not found", Route::Answer, {}});
    if (route.mode == Route::Hang) return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + " Status\r\n" +
                      "Content-Type: application/octet-stream\r\n" +
                      "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n" + "Connection: close\r\n";
    if (!route.location.isEmpty()) head += "Location: " + route.location + "\r\n";
    head += "\r\n";
    socket->write(head);
    if (route.mode == Route::Answer) {
      socket->write(route.body);
      socket->disconnectFromHost();
      return;
    }
    socket->write(route.body.left(route.body.size() / 2));
    socket->flush();
    if (route.mode == Route::CutOff) socket->disconnectFromHost();
  }

  QTcpServer m_server;
  QHash<QByteArray, Route> m_routes;
  QList<QByteArray> m_requests;
};

// ---- the log, as the model writes it ----------------------------------------

QMutex g_logMutex;
QStringList g_log;
QtMessageHandler g_nextHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &message) {
  {
    QMutexLocker lock(&g_logMutex);
    g_log.append(message);
  }
  // Informational lines are only collected; everything else goes on to the
  // QML warning recorder and the test log.
  if (type != QtInfoMsg && g_nextHandler) g_nextHandler(type, context, message);
}

QStringList logLines() {
  QMutexLocker lock(&g_logMutex);
  return g_log;
}

void clearLog() {
  QMutexLocker lock(&g_logMutex);
  g_log.clear();
}

// Whether the messages appear in the log in this order (each as part of a line).
bool logHasInOrder(const QStringList &messages, QString *missing = nullptr) {
  const QStringList lines = logLines();
  int at = 0;
  for (const QString &message : messages) {
    bool found = false;
    for (; at < lines.size(); ++at) {
      if (lines.at(at).contains(message)) {
        found = true;
        ++at;
        break;
      }
    }
    if (!found) {
      if (missing) *missing = message;
      return false;
    }
  }
  return true;
}

// Whether one line of the log holds all the parts.
bool logHasLine(const QStringList &parts) {
  for (const QString &line : logLines()) {
    bool all = true;
    for (const QString &part : parts) all = all && line.contains(part);
    if (all) return true;
  }
  return false;
}

#define VERIFY_LOG_LINE(...)                                                            \
  do {                                                                                  \
    const QStringList logParts{__VA_ARGS__};                                            \
    QVERIFY2(logHasLine(logParts), qPrintable(logParts.join(QStringLiteral(" ... ")))); \
  } while (false)

// The helper's QVERIFYs end only the helper; this ends the test as well.
#define RUN_UPDATE()                        \
  do {                                      \
    runUpdate();                            \
    if (QTest::currentTestFailed()) return; \
  } while (false)

#define VERIFY_LOG_IN_ORDER(...)                                                                \
  do {                                                                                          \
    const QStringList expectedLines{__VA_ARGS__};                                               \
    QString missingLine;                                                                        \
    const bool inOrder = logHasInOrder(expectedLines, &missingLine);                            \
    QVERIFY2(inOrder, qPrintable(QStringLiteral("not in the log (in order): ") + missingLine)); \
  } while (false)

// ---- manifests, archives and scripts ----------------------------------------

QString installerName() {
  return UpdatePlatform::installerArtifact().fileName;
}
QByteArray platformPath(const QString &file) {
  return (UpdatePlatform::installerArtifact().platformDirectory + QLatin1Char('/') + file).toUtf8();
}
QByteArray manifestPath() {
  return platformPath(QStringLiteral("update.json"));
}
QByteArray installerPath() {
  return platformPath(installerName());
}

QString md5Of(const QByteArray &data) {
  return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

QJsonObject listEntry(const QString &name, const QString &md5) {
  return QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("md5"), md5}};
}

QByteArray manifest(const QString &version, const QJsonArray &lists = QJsonArray()) {
  return QJsonDocument(QJsonObject{{QStringLiteral("version"), version}, {QStringLiteral("UpdateLists"), lists}})
      .toJson();
}

bool writeFile(const QString &path, const QByteArray &content, bool executable = false) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) return false;
  file.close();
  if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
  return true;
}

QByteArray readFile(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A .tar.gz of the directory's content, made by the system's tar.
QByteArray tarGz(const QString &directory) {
  QProcess tar;
  tar.start(QStringLiteral("tar"),
            {QStringLiteral("-czf"), QStringLiteral("-"), QStringLiteral("-C"), directory, QStringLiteral(".")});
  if (!tar.waitForFinished(10000) || tar.exitCode() != 0) return QByteArray();
  return tar.readAllStandardOutput();
}

// Every file below the directory with its content, for comparing trees.
QMap<QString, QByteArray> treeContent(const QString &directory) {
  QMap<QString, QByteArray> content;
  QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    content.insert(QDir(directory).relativeFilePath(path), readFile(path));
  }
  return content;
}

}  // namespace

class TestUpgradeModel : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();
  void cleanup();

  void check_reportsWhetherTheServerHasANewerVersion_data();
  void check_reportsWhetherTheServerHasANewerVersion();
  void check_serverNeverAnswers_timesOutWithoutUpdate();
  void check_serverUnreachable_noUpdate();
  void check_secondQueryWhileResultPending_checksAgain();
  void startUpgrade_afterNoUpdate_resetsToIdleAfterTwoSeconds();

  void update_rightDigest_runsThroughEveryStateToCompleted();
  void update_digestRefused_endsInErrorWithoutInstalling_data();
  void update_digestRefused_endsInErrorWithoutInstalling();
  void update_downloadFails_endsInErrorNotDownloading_data();
  void update_downloadFails_endsInErrorNotDownloading();
  void update_linkPlantedAtDownloadPath_isReplacedNotFollowed();
  void startDownload_whileOneRuns_isRefusedAndLeavesItAlone();

  void install_scriptOutcome_data();
  void install_scriptOutcome();
  void install_realScript_replacesTheInstalledTree();
  void install_realScript_failureKeepsTheOldTree_data();
  void install_realScript_failureKeepsTheOldTree();

  void restart_runsTheScriptWithOwnPidAndProgram();
  void restartScript_endsTheProcessAndStartsTheProgram();
  void restartScript_refusesAnInvalidPid();

  void startNextState_errorCode_endsInErrorWithUpgradeFailed();

private:
  void serveUpdate(const QByteArray &archive, const QJsonArray &lists);
  void serveUpdate(const QByteArray &archive) {
    serveUpdate(archive, QJsonArray{listEntry(installerName(), md5Of(archive))});
  }
  void writeFakeInstaller(const QByteArray &body);
  // Runs the check, which must offer the update, then the update until it ends.
  void runUpdate();
  QList<int> recordedStates() const;

  UpgradeModel *m_model = nullptr;
  std::unique_ptr<HttpServer> m_server;
  QString m_scratch;
  QString m_defaultScriptDirectory;
  QList<int> m_states;
  QMetaObject::Connection m_stateRecorder;
  int m_testNumber = 0;
};

void TestUpgradeModel::initTestCase() {
  g_nextHandler = qInstallMessageHandler(captureMessage);
  SystemConfig::instance()->init();
  m_model = UpgradeModel::instance();
  m_defaultScriptDirectory = m_model->scriptDirectory();
  QCOMPARE(m_model->upgradeState(), UpgradeModel::IDLE);
  QCOMPARE(m_model->versionStatus(), UpgradeModel::CHECKING_PASSED);
  // Construction names the manifest it will ask for.
  VERIFY_LOG_IN_ORDER(QStringLiteral("UpgradeModel initialized"), QStringLiteral("/update.json"));
}

void TestUpgradeModel::init() {
  m_server = std::make_unique<HttpServer>();
  QVERIFY(m_server->listen());
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.insert(QStringLiteral("updateServerRoot"), m_server->root());
  config.remove(QStringLiteral("updateInstallDir"));
  QVERIFY(SystemConfig::instance()->writeConfigToFile(config));

  m_scratch = orvik::test::homePath() + QStringLiteral("/scratch-%1").arg(++m_testNumber);
  QVERIFY(QDir().mkpath(m_scratch));
  m_states.clear();
  m_stateRecorder = connect(m_model, &UpgradeModel::upgradeStateChanged, this,
                            [this]() { m_states.append(int(m_model->upgradeState())); });
  clearLog();
}

void TestUpgradeModel::cleanup() {
  disconnect(m_stateRecorder);
  // Let every started step end, and its queued report arrive, before the next test.
  QTRY_VERIFY_WITH_TIMEOUT(!m_model->downloadState()->inProgress, 10000);
  QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 0, 10000);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  m_model->setScriptDirectory(m_defaultScriptDirectory);
  m_model->setRequestTimeoutMs(UpgradeModel::kRequestTimeoutMs);
  m_model->setDownloadTimeoutMs(UpgradeModel::kDownloadTimeoutMs);
  m_model->setInstallTimeoutMs(UpgradeModel::kInstallTimeoutMs);
  m_model->resetStatus();
  m_server.reset();
  if (QTest::currentTestFailed())
    std::fprintf(stderr, "Log of the failed test:\n%s\n", qPrintable(logLines().join(QLatin1Char('\n'))));
}

void TestUpgradeModel::serveUpdate(const QByteArray &archive, const QJsonArray &lists) {
  m_server->setRoute(manifestPath(), Route{200, manifest(QStringLiteral("1.0.8"), lists), Route::Answer, {}});
  m_server->setRoute(installerPath(), Route{200, archive, Route::Answer, {}});
}

void TestUpgradeModel::writeFakeInstaller(const QByteArray &body) {
  // Records its arguments, then does what the test asks of it.
  const QByteArray script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + m_scratch.toUtf8() + "/install-args'\n" + body;
  QVERIFY(writeFile(m_scratch + QStringLiteral("/bin/installApp.sh"), script, true));
  m_model->setScriptDirectory(m_scratch);
}

void TestUpgradeModel::runUpdate() {
  QSignalSpy need(m_model, &UpgradeModel::needToUpdate);
  m_model->queryUpdate();
  QCOMPARE(need.count(), 1);
  QCOMPARE(need.first().first().toBool(), true);
  QCOMPARE(m_model->upgradeState(), UpgradeModel::CHECKED);
  m_model->startUpgrade();
  QTRY_VERIFY_WITH_TIMEOUT(
      m_model->upgradeState() == UpgradeModel::COMPLETED || m_model->upgradeState() == UpgradeModel::ERROR,
      kFlowTimeoutMs);
  // Anything still under way would report later: it must not change the outcome.
  QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 0, 10000);
  QCoreApplication::processEvents();
}

QList<int> TestUpgradeModel::recordedStates() const {
  QList<int> states;
  for (int state : m_states)
    if (states.isEmpty() || states.last() != state) states.append(state);
  return states;
}

// ---- the check ----------------------------------------------------------------

void TestUpgradeModel::check_reportsWhetherTheServerHasANewerVersion_data() {
  QTest::addColumn<int>("status");
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<bool>("update");
  QTest::addColumn<QString>("logLine");

  QTest::newRow("1.0.8") << 200 << manifest("1.0.8") << true << "Update needed.";
  QTest::newRow("1.0.7") << 200 << manifest("1.0.7") << false
                         << "No update required; you already have the latest version.";
  QTest::newRow("1.0.7-rc.2") << 200 << manifest("1.0.7-rc.2") << true
                              << "curent Version: 1.0.7 latest Version: 1.0.7-rc.2";
  QTest::newRow("1.0.6-rc.9") << 200 << manifest("1.0.6-rc.9") << false << "No update required";
  QTest::newRow("version with words around it") << 200 << manifest("release v1.0.8 stable") << true << "Update needed.";
  QTest::newRow("404") << 404 << QByteArray("not here") << false << "HTTP request failed with status code: 404";
  QTest::newRow("500") << 500 << QByteArray("broken") << false << "HTTP request failed with status code: 500";
  QTest::newRow("redirect") << 302 << QByteArray() << false << "HTTP request failed with status code: 302";
  QTest::newRow("empty body") << 200 << QByteArray() << false << "Received empty response from server";
  QTest::newRow("invalid JSON") << 200 << QByteArray("{\"version\": ") << false << "Request successful. Received";
  QTest::newRow("top-level array") << 200 << QByteArray("[\"1.0.8\"]") << false << "latest Version: ";
  QTest::newRow("no version member") << 200 << QByteArray("{\"UpdateLists\": []}") << false
                                     << "curent Version: 1.0.7 latest Version: ";
}

void TestUpgradeModel::check_reportsWhetherTheServerHasANewerVersion() {
  QFETCH(int, status);
  QFETCH(QByteArray, body);
  QFETCH(bool, update);
  QFETCH(QString, logLine);
  m_server->setRoute(manifestPath(), Route{status, body, Route::Answer, "http://127.0.0.1:1/elsewhere"});
  QSignalSpy need(m_model, &UpgradeModel::needToUpdate);
  QSignalSpy versionStatus(m_model, &UpgradeModel::versionStatusChanged);

  m_model->queryUpdate();

  QCOMPARE(need.count(), 1);
  QCOMPARE(need.first().first().toBool(), update);
  QCOMPARE(versionStatus.count(), 1);
  QCOMPARE(m_model->versionStatus(), update ? UpgradeModel::VERSION_LASTED : UpgradeModel::VERSION_LATEST);
  QCOMPARE(m_model->upgradeState(), UpgradeModel::CHECKED);
  QCOMPARE(recordedStates(), (QList<int>{UpgradeModel::CHECKING, UpgradeModel::CHECKED}));
  QCOMPARE(m_server->requests(), QList<QByteArray>{manifestPath()});
  VERIFY_LOG_IN_ORDER(m_server->root() + QString::fromUtf8(manifestPath()), logLine);
}

void TestUpgradeModel::check_serverNeverAnswers_timesOutWithoutUpdate() {
  m_server->setRoute(manifestPath(), Route{200, QByteArray(), Route::Hang, {}});
  m_model->setRequestTimeoutMs(kShortTimeoutMs);
  QSignalSpy need(m_model, &UpgradeModel::needToUpdate);
  QElapsedTimer elapsed;
  elapsed.start();

  m_model->queryUpdate();

  QCOMPARE(need.count(), 1);
  QCOMPARE(need.first().first().toBool(), false);
  QCOMPARE(m_model->versionStatus(), UpgradeModel::VERSION_LATEST);
  QVERIFY2(elapsed.elapsed() < 10000, "the request's own timer ends the wait");
  VERIFY_LOG_IN_ORDER(QStringLiteral("Network request timed out"), QStringLiteral("latest Version: "));
  QVERIFY(!logHasInOrder({QStringLiteral("Request successful")}));
}

void TestUpgradeModel::check_serverUnreachable_noUpdate() {
  // A port that was free a moment ago: the connection is refused.
  quint16 port = 0;
  {
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    port = probe.serverPort();
  }
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.insert(QStringLiteral("updateServerRoot"), QStringLiteral("http://127.0.0.1:%1/").arg(port));
  QVERIFY(SystemConfig::instance()->writeConfigToFile(config));
  QSignalSpy need(m_model, &UpgradeModel::needToUpdate);

  m_model->queryUpdate();

  QCOMPARE(need.count(), 1);
  QCOMPARE(need.first().first().toBool(), false);
  // The trailing "/" of the configured root does not double.
  VERIFY_LOG_IN_ORDER(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QString::fromUtf8(manifestPath())),
                      QStringLiteral("Network request failed: "));
  VERIFY_LOG_LINE(QStringLiteral("Network request failed: "), QStringLiteral(" Error code: "));
}

void TestUpgradeModel::check_secondQueryWhileResultPending_checksAgain() {
  m_server->setRoute(manifestPath(), Route{200, manifest("1.0.8"), Route::Answer, {}});
  QSignalSpy need(m_model, &UpgradeModel::needToUpdate);
  m_model->queryUpdate();
  m_model->queryUpdate();
  QCOMPARE(need.count(), 2);
  QCOMPARE(m_server->requests().size(), 2);
  QCOMPARE(m_model->upgradeState(), UpgradeModel::CHECKED);
}

void TestUpgradeModel::startUpgrade_afterNoUpdate_resetsToIdleAfterTwoSeconds() {
  m_server->setRoute(manifestPath(), Route{200, manifest("1.0.7"), Route::Answer, {}});
  m_model->queryUpdate();
  QElapsedTimer elapsed;
  elapsed.start();

  m_model->startUpgrade();

  VERIFY_LOG_IN_ORDER(QStringLiteral("Starting upgrade process"),
                      QStringLiteral("No update needed, current version is the latest."));
  QCOMPARE(m_model->upgradeState(), UpgradeModel::CHECKED);
  QTRY_COMPARE_WITH_TIMEOUT(m_model->upgradeState(), UpgradeModel::IDLE, 5000);
  QVERIFY2(elapsed.elapsed() >= 1900, qPrintable(QString::number(elapsed.elapsed())));
  QCOMPARE(m_model->versionStatus(), UpgradeModel::CHECKING_PASSED);
  QCOMPARE(m_server->requests(), QList<QByteArray>{manifestPath()});
}

// ---- download and verification ------------------------------------------------

void TestUpgradeModel::update_rightDigest_runsThroughEveryStateToCompleted() {
  const QByteArray archive = QByteArray("installer image ").repeated(50000);
  serveUpdate(archive);
  writeFakeInstaller("exit 0\n");

  RUN_UPDATE();

  QCOMPARE(m_model->upgradeState(), UpgradeModel::COMPLETED);
  QCOMPARE(recordedStates(),
           (QList<int>{UpgradeModel::CHECKING, UpgradeModel::CHECKED, UpgradeModel::DOWNLOADING,
                       UpgradeModel::MD5_VERIFYING, UpgradeModel::INSTALLING, UpgradeModel::COMPLETED}));
  // The manifest is read twice: for the version, and again for the digest.
  QCOMPARE(m_server->requests(), (QList<QByteArray>{manifestPath(), installerPath(), manifestPath()}));

  // The installer lies in a directory of the user's own, not in the shared temporary directory.
  const QString downloaded = UpgradeModel::installerFilePath();
  QVERIFY2(downloaded.startsWith(orvik::test::documentsPath() + QStringLiteral("/Veltro-Orvik/")),
           qPrintable(downloaded));
  QCOMPARE(readFile(downloaded), archive);
  QCOMPARE(QFileInfo(downloaded).permissions() &
               (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther),
           QFileDevice::Permissions());
  QCOMPARE(
      QFileInfo(QFileInfo(downloaded).absolutePath()).permissions() & (QFileDevice::ExeGroup | QFileDevice::ExeOther),
      QFileDevice::Permissions());
  // The script was told which archive to install into which tree.
  QCOMPARE(readFile(m_scratch + QStringLiteral("/install-args")),
           (downloaded + QLatin1Char('\n') + QCoreApplication::applicationDirPath() + QLatin1Char('\n')).toUtf8());

  const QString md5 = md5Of(archive);
  VERIFY_LOG_IN_ORDER(
      QStringLiteral("Starting upgrade process"), QStringLiteral("Starting download..."),
      QStringLiteral("MD5 verification started..."), QStringLiteral("Md5: ") + md5,
      QStringLiteral("Download finished successfully: ") + downloaded, QStringLiteral("Local Md5: ") + md5,
      QStringLiteral("Remote Md5: ") + md5, QStringLiteral("MD5 verification passed"),
      QStringLiteral("Transitioning to next state: 5"), QStringLiteral("Installation started..."),
      QStringLiteral("Installation completed successfully"), QStringLiteral("Installation completed successfully"),
      QStringLiteral("Transitioning to next state: 6"), QStringLiteral("Installation completed successfully"));
}

void TestUpgradeModel::update_digestRefused_endsInErrorWithoutInstalling_data() {
  const QByteArray archive = QByteArray("installer image ").repeated(1000);
  QTest::addColumn<QByteArray>("archive");
  QTest::addColumn<QJsonArray>("lists");
  QTest::addColumn<QString>("logLine");

  QTest::newRow("upper-case digest") << archive << QJsonArray{listEntry(installerName(), md5Of(archive).toUpper())}
                                     << "MD5 verification failed";
  QTest::newRow("digest of other bytes") << archive << QJsonArray{listEntry(installerName(), md5Of("other"))}
                                         << "MD5 verification failed";
  QTest::newRow("no entry for the installer")
      << archive << QJsonArray{listEntry(QStringLiteral("readme.txt"), md5Of(archive))}
      << "No MD5 published for " + installerName();
  QTest::newRow("name differs in case") << archive << QJsonArray{listEntry(installerName().toUpper(), md5Of(archive))}
                                        << "No MD5 published for";
  QTest::newRow("entry without md5") << archive << QJsonArray{QJsonObject{{QStringLiteral("name"), installerName()}}}
                                     << "No MD5 published for";
  QTest::newRow("empty md5") << archive << QJsonArray{listEntry(installerName(), QString())} << "No MD5 published for";
  QTest::newRow("no UpdateLists") << archive << QJsonArray() << "No MD5 published for";
  QTest::newRow("empty download, no digest to match")
      << QByteArray() << QJsonArray{listEntry(installerName(), md5Of(archive))} << "MD5 verification failed";
}

void TestUpgradeModel::update_digestRefused_endsInErrorWithoutInstalling() {
  QFETCH(QByteArray, archive);
  QFETCH(QJsonArray, lists);
  QFETCH(QString, logLine);
  serveUpdate(archive, lists);
  writeFakeInstaller("exit 0\n");

  RUN_UPDATE();

  QCOMPARE(m_model->upgradeState(), UpgradeModel::ERROR);
  QCOMPARE(recordedStates(), (QList<int>{UpgradeModel::CHECKING, UpgradeModel::CHECKED, UpgradeModel::DOWNLOADING,
                                         UpgradeModel::MD5_VERIFYING, UpgradeModel::ERROR}));
  QVERIFY2(!QFile::exists(m_scratch + QStringLiteral("/install-args")), "the installation script must not run");
  VERIFY_LOG_IN_ORDER(QStringLiteral("MD5 verification started..."), logLine,
                      QStringLiteral("Transitioning to next state: 7"), QStringLiteral("Upgrade failed"));
  QVERIFY(!logHasInOrder({QStringLiteral("MD5 verification passed")}));
}

void TestUpgradeModel::update_downloadFails_endsInErrorNotDownloading_data() {
  QTest::addColumn<int>("mode");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("logLine");

  QTest::newRow("connection closed half-way") << int(Route::CutOff) << 200 << "Download failed: ";
  QTest::newRow("installer missing (404)") << int(Route::Answer) << 404 << "Download failed: ";
  QTest::newRow("server error (500)") << int(Route::Answer) << 500 << "Download failed: ";
  QTest::newRow("server stalls half-way") << int(Route::Stall) << 200 << "Download timeout";
  QTest::newRow("server never answers") << int(Route::Hang) << 200 << "Download timeout";
}

void TestUpgradeModel::update_downloadFails_endsInErrorNotDownloading() {
  QFETCH(int, mode);
  QFETCH(int, status);
  QFETCH(QString, logLine);
  const QByteArray archive = QByteArray("installer image ").repeated(100000);
  serveUpdate(archive);
  m_server->setRoute(installerPath(), Route{status, archive, Route::Mode(mode), {}});
  writeFakeInstaller("exit 0\n");
  m_model->setDownloadTimeoutMs(kShortTimeoutMs);

  RUN_UPDATE();

  QCOMPARE(m_model->upgradeState(), UpgradeModel::ERROR);
  QCOMPARE(recordedStates(),
           (QList<int>{UpgradeModel::CHECKING, UpgradeModel::CHECKED, UpgradeModel::DOWNLOADING, UpgradeModel::ERROR}));
  QVERIFY(!m_model->downloadState()->inProgress);
  QVERIFY(!m_model->downloadState()->error.isEmpty());
  QVERIFY2(!QFile::exists(UpgradeModel::installerFilePath()), "the partial file is deleted");
  QVERIFY(!QFile::exists(m_scratch + QStringLiteral("/install-args")));
  VERIFY_LOG_IN_ORDER(QStringLiteral("Starting download..."), logLine, QStringLiteral("Transitioning to next state: 7"),
                      QStringLiteral("Upgrade failed"));
  // Exactly one failure report, even when a time-out aborts the reply.
  QCOMPARE(logLines().filter(QStringLiteral("Upgrade failed")).size(), 1);
}

void TestUpgradeModel::update_linkPlantedAtDownloadPath_isReplacedNotFollowed() {
  const QString victim = m_scratch + QStringLiteral("/victim");
  QVERIFY(writeFile(victim, "precious"));
  const QString downloadPath = UpgradeModel::installerFilePath();
  QDir().mkpath(QFileInfo(downloadPath).absolutePath());
  QFile::remove(downloadPath);
  QVERIFY(QFile::link(victim, downloadPath));
  const QByteArray archive("installer image");
  serveUpdate(archive);
  writeFakeInstaller("exit 0\n");

  RUN_UPDATE();

  QCOMPARE(m_model->upgradeState(), UpgradeModel::COMPLETED);
  QCOMPARE(readFile(victim), QByteArray("precious"));
  QVERIFY(!QFileInfo(downloadPath).isSymLink());
  QCOMPARE(readFile(downloadPath), archive);
}

void TestUpgradeModel::startDownload_whileOneRuns_isRefusedAndLeavesItAlone() {
  m_server->setRoute("/slow", Route{200, QByteArray(100000, 'x'), Route::Stall, {}});
  m_model->setDownloadTimeoutMs(kShortTimeoutMs);
  const std::shared_ptr<UpgradeModel::DownloadState> state = m_model->downloadState();
  const QString first = m_scratch + QStringLiteral("/first.bin");
  const QString second = m_scratch + QStringLiteral("/second.bin");
  QVERIFY(m_model->startDownload(state, QUrl(m_server->root() + QStringLiteral("/slow")), first));
  QNetworkReply *running = state->reply.get();

  QVERIFY(!m_model->startDownload(state, QUrl(m_server->root() + QStringLiteral("/slow")), second));

  QCOMPARE(state->error, QStringLiteral("Download already in progress"));
  QVERIFY(state->inProgress);
  QCOMPARE(state->reply.get(), running);
  QVERIFY(running->isRunning());
  QVERIFY(QFile::exists(first));
  QVERIFY(!QFile::exists(second));
  // The running download still ends by its own time-out, into the error state.
  QTRY_COMPARE_WITH_TIMEOUT(m_model->upgradeState(), UpgradeModel::ERROR, 5000);
  QCOMPARE(state->error, QStringLiteral("Download timeout"));
  QVERIFY(!QFile::exists(first));
}

// ---- installation -------------------------------------------------------------

void TestUpgradeModel::install_scriptOutcome_data() {
  QTest::addColumn<QByteArray>("script");  // empty: no script at all
  QTest::addColumn<bool>("executable");
  QTest::addColumn<int>("timeoutMs");
  QTest::addColumn<int>("finalState");
  QTest::addColumn<QStringList>("logLines");

  QTest::newRow("exit 0") << QByteArray("exit 0\n") << true << UpgradeModel::kInstallTimeoutMs
                          << int(UpgradeModel::COMPLETED)
                          << QStringList{"Installation completed successfully", "Transitioning to next state: 6"};
  QTest::newRow("exit 3") << QByteArray("exit 3\n") << true << UpgradeModel::kInstallTimeoutMs
                          << int(UpgradeModel::ERROR)
                          << QStringList{"Installation failed with code: 3", "Installation failed",
                                         "Transitioning to next state: 7", "Upgrade failed"};
  QTest::newRow("crash") << QByteArray("kill -SEGV $$\n") << true << UpgradeModel::kInstallTimeoutMs
                         << int(UpgradeModel::ERROR)
                         << QStringList{"Error Msg: Process did not exit normally: 1", "Installation failed",
                                        "Upgrade failed"};
  QTest::newRow("prints on both channels")
      << QByteArray("echo first line\necho trouble >&2\necho second line\nexit 0\n") << true
      << UpgradeModel::kInstallTimeoutMs << int(UpgradeModel::COMPLETED)
      << QStringList{"Installation started...", "Installation completed successfully"};
  QTest::newRow("script missing") << QByteArray() << true << UpgradeModel::kInstallTimeoutMs << int(UpgradeModel::ERROR)
                                  << QStringList{"Error Msg: Installation script not found: ", "Installation failed",
                                                 "Upgrade failed"};
  QTest::newRow("script not executable") << QByteArray("exit 0\n") << false << UpgradeModel::kInstallTimeoutMs
                                         << int(UpgradeModel::ERROR)
                                         << QStringList{"Error Msg: Failed to start process: ",
                                                        "Transitioning to next state: 7", "Upgrade failed"};
  QTest::newRow("runs too long: terminated")
      << QByteArray("exec sleep 30\n") << true << kShortTimeoutMs << int(UpgradeModel::ERROR)
      << QStringList{QStringLiteral("Error Msg: Process timed out after %1 ms").arg(kShortTimeoutMs),
                     "Installation failed", "Upgrade failed"};
  QTest::newRow("ignores termination: killed")
      << QByteArray("trap '' TERM\nwhile :; do sleep 1; done\n") << true << kShortTimeoutMs << int(UpgradeModel::ERROR)
      << QStringList{QStringLiteral("Error Msg: Process timed out after %1 ms").arg(kShortTimeoutMs),
                     "Installation failed", "Upgrade failed"};
}

void TestUpgradeModel::install_scriptOutcome() {
  QFETCH(QByteArray, script);
  QFETCH(bool, executable);
  QFETCH(int, timeoutMs);
  QFETCH(int, finalState);
  QFETCH(QStringList, logLines);
  serveUpdate("installer image");
  m_model->setScriptDirectory(m_scratch);
  if (!script.isEmpty())
    QVERIFY(writeFile(m_scratch + QStringLiteral("/bin/installApp.sh"), "#!/bin/sh\n" + script, executable));
  m_model->setInstallTimeoutMs(timeoutMs);

  RUN_UPDATE();

  QCOMPARE(int(m_model->upgradeState()), finalState);
  const QList<int> states = recordedStates();
  QCOMPARE(states.last(), finalState);
  QVERIFY(states.contains(UpgradeModel::INSTALLING));
  VERIFY_LOG_IN_ORDER(QStringLiteral("Installation started..."));
  VERIFY_LOG_IN_ORDER(logLines);
  if (script.isEmpty())
    VERIFY_LOG_LINE(QStringLiteral("Installation script not found: ") + m_scratch +
                    QStringLiteral("/bin/installApp.sh"));
  if (QTest::currentDataTag() == QByteArray("prints on both channels")) {
    VERIFY_LOG_LINE(QStringLiteral("[STDOUT] "), QStringLiteral("first line"));
    VERIFY_LOG_LINE(QStringLiteral("[STDERR] trouble"));
    VERIFY_LOG_LINE(QStringLiteral("[STDOUT] "), QStringLiteral("second line"));
  }
}

void TestUpgradeModel::install_realScript_replacesTheInstalledTree() {
  QVERIFY(QFile::exists(m_defaultScriptDirectory + QStringLiteral("/bin/installApp.sh")));
  const QString installed = m_scratch + QStringLiteral("/Veltro-Orvik");
  QVERIFY(writeFile(installed + QStringLiteral("/veltro-orvik"), "#!/bin/sh\necho old\n", true));
  QVERIFY(writeFile(installed + QStringLiteral("/only-in-old"), "old"));
  const QString release = m_scratch + QStringLiteral("/release");
  QVERIFY(writeFile(release + QStringLiteral("/veltro-orvik"), "#!/bin/sh\necho new\n", true));
  QVERIFY(writeFile(release + QStringLiteral("/bin/installApp.sh"), "#!/bin/sh\nexit 0\n", true));
  const QMap<QString, QByteArray> newTree = treeContent(release);
  const QByteArray archive = tarGz(release);
  QVERIFY(!archive.isEmpty());
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.insert(QStringLiteral("updateInstallDir"), installed);
  QVERIFY(SystemConfig::instance()->writeConfigToFile(config));
  serveUpdate(archive);

  RUN_UPDATE();

  QCOMPARE(m_model->upgradeState(), UpgradeModel::COMPLETED);
  QCOMPARE(treeContent(installed), newTree);
  QVERIFY(QFileInfo(installed + QStringLiteral("/veltro-orvik")).isExecutable());
  // Nothing of the swap is left beside the tree.
  QCOMPARE(QDir(m_scratch).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
           (QStringList{"Veltro-Orvik", "release"}));
  VERIFY_LOG_LINE(QStringLiteral("[STDOUT] "), QStringLiteral("Installed into ") + installed);
}

void TestUpgradeModel::install_realScript_failureKeepsTheOldTree_data() {
  QTest::addColumn<QString>("archiveKind");
  QTest::addColumn<QString>("logLine");
  QTest::newRow("not an archive") << "garbage"
                                  << "cannot unpack";
  QTest::newRow("archive without the program") << "no-program"
                                               << "does not hold veltro-orvik";
  QTest::newRow("tree without the program") << "not-installed"
                                            << "not an installation of veltro-orvik";
  QTest::newRow("shared program directory") << "shared-bin"
                                            << "refusing to replace the shared program directory";
}

void TestUpgradeModel::install_realScript_failureKeepsTheOldTree() {
  QFETCH(QString, archiveKind);
  QFETCH(QString, logLine);
  const QString treeName =
      archiveKind == QLatin1String("shared-bin") ? QStringLiteral("bin") : QStringLiteral("Veltro-Orvik");
  const QString installed = m_scratch + QLatin1Char('/') + treeName;
  if (archiveKind == QLatin1String("not-installed"))
    QVERIFY(writeFile(installed + QStringLiteral("/something-else"), "other program"));
  else
    QVERIFY(writeFile(installed + QStringLiteral("/veltro-orvik"), "#!/bin/sh\necho old\n", true));
  QVERIFY(writeFile(installed + QStringLiteral("/bin/restart.sh"), "old script"));
  const QMap<QString, QByteArray> oldTree = treeContent(installed);

  QByteArray archive = "this is not a gzip stream";
  if (archiveKind != QLatin1String("garbage")) {
    const QString release = m_scratch + QStringLiteral("/release");
    QVERIFY(writeFile(release + QStringLiteral("/README"), "no program here"));
    if (archiveKind != QLatin1String("no-program"))
      QVERIFY(writeFile(release + QStringLiteral("/veltro-orvik"), "#!/bin/sh\necho new\n", true));
    archive = tarGz(release);
    QVERIFY(!archive.isEmpty());
    QDir(release).removeRecursively();
  }
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.insert(QStringLiteral("updateInstallDir"), installed);
  QVERIFY(SystemConfig::instance()->writeConfigToFile(config));
  serveUpdate(archive);

  RUN_UPDATE();

  QCOMPARE(m_model->upgradeState(), UpgradeModel::ERROR);
  QCOMPARE(treeContent(installed), oldTree);
  QCOMPARE(QDir(m_scratch).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{treeName});
  VERIFY_LOG_LINE(QStringLiteral("[STDERR] "), logLine);
  VERIFY_LOG_IN_ORDER(QStringLiteral("Installation failed with code: 1"), QStringLiteral("Upgrade failed"));
}

// ---- restart --------------------------------------------------------------------

void TestUpgradeModel::restart_runsTheScriptWithOwnPidAndProgram() {
  const QString recorded = m_scratch + QStringLiteral("/restart-args");
  QVERIFY(writeFile(m_scratch + QStringLiteral("/bin/restart.sh"),
                    "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + recorded.toUtf8() + "'\n", true));
  m_model->setScriptDirectory(m_scratch);

  m_model->restartSoftware();

  QStringList expected{QString::number(QCoreApplication::applicationPid()), QCoreApplication::applicationFilePath()};
  expected += QCoreApplication::arguments().mid(1);
  QCOMPARE(QString::fromUtf8(readFile(recorded)), expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));
  VERIFY_LOG_IN_ORDER(QStringLiteral("Starting software restart"),
                      QStringLiteral("Restart command: ") + m_scratch + QStringLiteral("/bin/restart.sh"));
}

void TestUpgradeModel::restartScript_endsTheProcessAndStartsTheProgram() {
  const QString script = m_defaultScriptDirectory + QStringLiteral("/bin/restart.sh");
  QVERIFY(QFileInfo(script).isExecutable());
  QProcess running;
  running.start(QStringLiteral("sleep"), {QStringLiteral("60")});
  QVERIFY(running.waitForStarted(5000));
  qRegisterMetaType<QProcess::ExitStatus>("QProcess::ExitStatus");
  QSignalSpy ended(&running, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
  const QString marker = m_scratch + QStringLiteral("/started");
  const QString program = m_scratch + QStringLiteral("/installed/veltro-orvik");
  QVERIFY(writeFile(program, "#!/bin/sh\nprintf '%s %s' \"$(pwd)\" \"$*\" > '" + marker.toUtf8() + "'\n", true));

  QProcess restart;
  restart.start(script, {QString::number(running.processId()), program, QStringLiteral("-f")});
  QVERIFY(restart.waitForStarted(5000));

  QVERIFY(ended.wait(10000) || !ended.isEmpty());
  QCOMPARE(running.exitStatus(), QProcess::CrashExit);  // ended by its signal
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker) && !readFile(marker).isEmpty(), 10000);
  QCOMPARE(QString::fromUtf8(readFile(marker)), m_scratch + QStringLiteral("/installed -f"));
  QTRY_COMPARE_WITH_TIMEOUT(restart.state(), QProcess::NotRunning, 10000);
  QCOMPARE(restart.exitStatus(), QProcess::NormalExit);
  QCOMPARE(restart.exitCode(), 0);
}

void TestUpgradeModel::restartScript_refusesAnInvalidPid() {
  const QString script = m_defaultScriptDirectory + QStringLiteral("/bin/restart.sh");
  for (const QString &pid : {QStringLiteral("-1"), QStringLiteral("1"), QStringLiteral("12abc"), QString()}) {
    QProcess restart;
    restart.start(script, {pid, QStringLiteral("/bin/true")});
    QVERIFY(restart.waitForFinished(5000));
    QCOMPARE(restart.exitCode(), 1);
    QVERIFY(restart.readAllStandardError().contains("not a process id"));
  }
}

// ---- the state flow -------------------------------------------------------------

void TestUpgradeModel::startNextState_errorCode_endsInErrorWithUpgradeFailed() {
  emit m_model->startNextState(UpgradeModel::ERROR, UpgradeModel::FILE_INTEGRITY_ERROR);
  // Queued: nothing happens before the event loop runs.
  QCOMPARE(m_model->upgradeState(), UpgradeModel::IDLE);
  QTRY_COMPARE(m_model->upgradeState(), UpgradeModel::ERROR);
  VERIFY_LOG_IN_ORDER(QStringLiteral("Transitioning to next state: 7"), QStringLiteral("Upgrade failed"));
  // The flow stays in ERROR until it is reset.
  QCoreApplication::processEvents();
  QCOMPARE(m_model->upgradeState(), UpgradeModel::ERROR);
  m_model->resetStatus();
  QCOMPARE(m_model->upgradeState(), UpgradeModel::IDLE);
  QCOMPARE(m_model->versionStatus(), UpgradeModel::CHECKING_PASSED);
}

ORVIK_TEST_MAIN(TestUpgradeModel)
#include "tst_upgrademodel.moc"
