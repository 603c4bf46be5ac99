#include "UpgradeModel.h"

#include "ConfigService.h"
#include "FileReadWrite.h"
#include "LoggerService.h"
#include "SystemConfig.h"
#include "ThreadHandoff.h"
#include "UpdatePlatform.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QProcess>
#include <QRunnable>
#include <QThreadPool>

namespace {

const QString kVersionManifestPath = QStringLiteral("/update.json");
const QString kUpdateDirectoryName = QStringLiteral("update");
const QString kInstallScript = QStringLiteral("bin/installApp.sh");
const QString kRestartScript = QStringLiteral("bin/restart.sh");

// Optional members of the system configuration file that point the update at
// another server or installation tree without a rebuild.
const QString kServerRootKey = QStringLiteral("updateServerRoot");
const QString kDownloadPageKey = QStringLiteral("downloadPage");
const QString kInstallDirKey = QStringLiteral("updateInstallDir");

QString configuredText(const QString &key, const QString &fallback) {
  const QString value = SystemConfig::instance()->readConfigInfo().value(key).toString();
  return value.isEmpty() ? fallback : value;
}

QNetworkRequest plainGet(const QUrl &url) {
  QNetworkRequest request(url);
  // A redirect is an answer other than 200 and counts as a failure.
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  return request;
}

// Writes the script's output as plain messages, so that it reaches the log file.
void forwardOutput(const QByteArray &data, const char *prefix) {
  if (data.isEmpty()) return;
  // Decoded up to the first zero byte, as a C string.
  const QString text = QString::fromUtf8(data.constData());
  qInfo().noquote() << QString::fromLatin1(prefix) + text;
}

// Runs the job on a worker of the global thread pool. The job is complete
// before it is handed over and the worker takes it over before touching it:
// the pool's own locking is invisible to ThreadSanitizer.
void runOnPool(std::function<void()> job) {
  QRunnable *task = QRunnable::create([job = std::move(job)]() {
    ThreadHandoff::acquire();
    job();
  });
  ThreadHandoff::release();
  QThreadPool::globalInstance()->start(task);
}

}  // namespace

UpgradeModel *UpgradeModel::s_instance = nullptr;

UpgradeModel *UpgradeModel::instance() {
  if (!s_instance) s_instance = new UpgradeModel;
  return s_instance;
}

UpgradeModel::UpgradeModel() : QObject(nullptr), m_scriptDirectory(QCoreApplication::applicationDirPath()) {
  qRegisterMetaType<UpgradeModel::UpgradeState>("UpgradeModel::UpgradeState");
  qRegisterMetaType<UpgradeModel::ErrorCode>("UpgradeModel::ErrorCode");
  LOG_INFO(QStringLiteral("UpgradeModel initialized"));
  LOG_INFO(versionManifestUrl());
  initEventTable();
  m_downloadState = std::make_shared<DownloadState>();
  m_downloadState->timer.setSingleShot(true);
  m_resetTimer.setSingleShot(true);
  connect(&m_resetTimer, &QTimer::timeout, this, &UpgradeModel::resetStatus);
  connect(this, &UpgradeModel::md5CalculationDone, this, &UpgradeModel::onMd5CalculationDone);
  connect(this, &UpgradeModel::installDone, this, &UpgradeModel::onInstallDone, Qt::QueuedConnection);
  connect(this, &UpgradeModel::startNextState, this, &UpgradeModel::onNextState, Qt::QueuedConnection);
}

// ---- locations --------------------------------------------------------------

QString UpgradeModel::rootUrl() {
  const QString serverRoot = configuredText(kServerRootKey, QStringLiteral(ORVIK_UPDATE_SERVER_ROOT));
  QString root = serverRoot;
  while (root.endsWith(QLatin1Char('/'))) root.chop(1);
  return root + UpdatePlatform::installerArtifact().platformDirectory;
}

QString UpgradeModel::versionManifestUrl() {
  return rootUrl() + kVersionManifestPath;
}

QString UpgradeModel::installerDownloadUrl() {
  return rootUrl() + QLatin1Char('/') + UpdatePlatform::installerArtifact().fileName;
}

QString UpgradeModel::installerFilePath() {
  // DEAFULT_DIR_PATH is the "config" directory inside the application data directory.
  const QString dataDir = QFileInfo(FileReadWrite::DEAFULT_DIR_PATH).absolutePath();
  return dataDir + QLatin1Char('/') + kUpdateDirectoryName + QLatin1Char('/') +
         UpdatePlatform::installerArtifact().fileName;
}

QString UpgradeModel::installDirectory() {
  return configuredText(kInstallDirKey, QCoreApplication::applicationDirPath());
}

QString UpgradeModel::downloadPageUrl() const {
  return configuredText(kDownloadPageKey, QStringLiteral(ORVIK_DOWNLOAD_PAGE));
}

// ---- state flow -------------------------------------------------------------

void UpgradeModel::initEventTable() {
  m_stack.addTransition(IDLE, CHECKING, [this](const QByteArray &) {
    setUpgradeState(CHECKING);
    const bool need = isNeededUpdate();
    setVersionStatus(need ? VERSION_LASTED : VERSION_LATEST);
    emit needToUpdate(need);
    setUpgradeState(CHECKED);
  });
  m_stack.addTransition(CHECKING, CHECKED, [this](const QByteArray &) {
    if (m_versionStatus == VERSION_LATEST) {
      LOG_INFO(QStringLiteral("No update needed, current version is the latest."));
      m_resetTimer.start(kNoUpdateResetDelayMs);
      return;
    }
    setCurrentState(CHECKED);
    command(DOWNLOADING);
  });
  m_stack.addTransition(CHECKED, DOWNLOADING, [this](const QByteArray &) {
    LOG_INFO(QStringLiteral("Starting download..."));
    setUpgradeState(DOWNLOADING);
    m_installerPath = installerFilePath();
    if (!startDownload(m_downloadState, QUrl(installerDownloadUrl()), m_installerPath)) {
      LOG_INFO(QStringLiteral("Download failed"));
      setUpgradeState(ERROR);
    }
  });
  m_stack.addTransition(DOWNLOADING, MD5_VERIFYING, [this](const QByteArray &) {
    LOG_INFO(QStringLiteral("MD5 verification started..."));
    setUpgradeState(MD5_VERIFYING);
    setCurrentState(MD5_VERIFYING);
    verifyFileIntegrity(m_installerPath);
  });
  m_stack.addTransition(MD5_VERIFYING, INSTALLING, [this](const QByteArray &) {
    LOG_INFO(QStringLiteral("Installation started..."));
    setUpgradeState(INSTALLING);
    setCurrentState(INSTALLING);
    installSoftwareAsync();
  });
  m_stack.addTransition(INSTALLING, COMPLETED, [this](const QByteArray &) {
    LOG_INFO(QStringLiteral("Installation completed successfully"));
    setUpgradeState(COMPLETED);
  });
  // The pair's name notwithstanding, the flow stays in ERROR until resetStatus.
  m_stack.addTransition(ERROR, IDLE, [this](const QByteArray &) {
    LOG_INFO(QStringLiteral("Upgrade failed"));
    setUpgradeState(ERROR);
  });
  setCurrentState(m_upgradeState);
}

void UpgradeModel::setUpgradeState(UpgradeState state) {
  m_upgradeState = state;
  emit upgradeStateChanged();
}

void UpgradeModel::setVersionStatus(VersionStatus status) {
  m_versionStatus = status;
  emit versionStatusChanged();
}

void UpgradeModel::queryUpdate() {
  setUpgradeState(CHECKING);
  command(CHECKING);
}

void UpgradeModel::startUpgrade() {
  LOG_INFO(QStringLiteral("Starting upgrade process"));
  // After a check the stack still stands at IDLE.
  setCurrentState(CHECKING);
  command(CHECKED);
}

void UpgradeModel::resetStatus() {
  setUpgradeState(IDLE);
  setVersionStatus(CHECKING_PASSED);
  setCurrentState(IDLE);
}

void UpgradeModel::onNextState(UpgradeState state, ErrorCode code) {
  ThreadHandoff::acquire();
  LOG_INFO(QStringLiteral("Transitioning to next state: ") + QString::number(int(state)));
  setUpgradeState(state);
  if (code != NO_ERROR) {
    setCurrentState(ERROR);
    command(IDLE);
  } else {
    command(state);
  }
}

// ---- version check ----------------------------------------------------------

QByteArray UpgradeModel::executeHttpRequest(const QUrl &url, int timeoutMs) {
  QNetworkAccessManager manager;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setInterval(timeoutMs);
  QNetworkReply *reply = manager.get(plainGet(url));
  connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  connect(
      &timer, &QTimer::timeout, reply,
      [reply]() {
        if (reply->isRunning()) {
          reply->abort();
          LOG_INFO(QStringLiteral("Network request timed out"));
        }
      },
      Qt::DirectConnection);
  timer.start();
  if (reply->isRunning()) loop.exec();

  if (!timer.isActive()) {
    reply->deleteLater();
    return QByteArray();
  }
  timer.stop();
  const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  // An HTTP answer other than 200 is reported by its status code below; the
  // network error line is for failures that never got an answer.
  if (reply->error() != QNetworkReply::NoError && !status.isValid()) {
    LOG_INFO(QStringLiteral("Network request failed: ") + reply->errorString() + QStringLiteral(" Error code: ") +
             QString::number(int(reply->error())));
    reply->deleteLater();
    return QByteArray();
  }
  const int statusCode = status.toInt();
  if (statusCode != 200) {
    LOG_INFO(QStringLiteral("HTTP request failed with status code: ") + QString::number(statusCode));
    reply->deleteLater();
    return QByteArray();
  }
  const QByteArray body = reply->readAll();
  reply->deleteLater();
  if (body.isEmpty()) {
    LOG_INFO(QStringLiteral("Received empty response from server"));
    return body;
  }
  LOG_INFO(QStringLiteral("Request successful. Received ") + QString::number(body.size()) + QStringLiteral(" bytes"));
  return body;
}

QVariantMap UpgradeModel::parseUpdateInfoFromResponse(const QByteArray &body) {
  return QJsonDocument::fromJson(body).object().toVariantMap();
}

QString UpgradeModel::extractVersionFromUpdateInfo(const QVariantMap &updateInfo) {
  if (updateInfo.isEmpty()) {
    LOG_INFO(QStringLiteral("Update info is empty"));
    return QString();
  }
  return updateInfo.value(QStringLiteral("version")).toString();
}

QString UpgradeModel::getVersionFromServer() {
  const QString url = versionManifestUrl();
  LOG_INFO(url);
  const QByteArray body = executeHttpRequest(QUrl(url), m_requestTimeoutMs);
  if (body.isEmpty()) return QString();
  const QVariantMap updateInfo = parseUpdateInfoFromResponse(body);
  if (updateInfo.isEmpty()) return QString();
  return extractVersionFromUpdateInfo(updateInfo);
}

UpgradeModel::Version UpgradeModel::parseVersion(const QString &text) {
  return VersionCompare::parseVersion(text);
}

bool UpgradeModel::isLatestVersion(const QString &current, const QString &latest) {
  LOG_INFO(QStringLiteral("curent Version: ") + current + QStringLiteral(" latest Version: ") + latest);
  if (!VersionCompare::isLatestVersion(current, latest)) {
    LOG_INFO(QStringLiteral("Update needed."));
    return false;
  }
  LOG_INFO(QStringLiteral("No update required; you already have the latest version."));
  return true;
}

bool UpgradeModel::isNeededUpdate() {
  return !isLatestVersion(ConfigService::instance()->version(), getVersionFromServer());
}

// ---- download ---------------------------------------------------------------

bool UpgradeModel::startDownload(const std::shared_ptr<DownloadState> &state, const QUrl &url,
                                 const QString &filePath) {
  if (state->inProgress) {
    state->error = QStringLiteral("Download already in progress");
    return false;
  }
  const QString directory = QFileInfo(filePath).absolutePath();
  if (!QDir(directory).exists()) {
    if (!QDir().mkpath(directory)) {
      state->error = QStringLiteral("Failed to create directory: ") + directory;
      return false;
    }
    QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  // Whatever stands at the path (an old download, or a link planted there) is
  // removed, not followed, and the file is created anew, for the owner only.
  const QFileInfo existing(filePath);
  if (existing.exists() || existing.isSymLink()) QFile::remove(filePath);
  auto file = std::make_shared<QFile>(filePath);
  if (!file->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    state->error = QStringLiteral("Failed to open file for writing: ") + filePath;
    return false;
  }
  file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  state->file = file;
  state->error.clear();

  // The manager lives exactly as long as its reply: both go when the state lets go of the reply.
  auto *manager = new QNetworkAccessManager;
  QNetworkReply *rawReply = manager->get(plainGet(url));
  state->reply = std::shared_ptr<QNetworkReply>(rawReply, [manager](QNetworkReply *reply) {
    reply->disconnect();
    reply->deleteLater();
    manager->deleteLater();
  });
  state->inProgress = true;

  const std::weak_ptr<DownloadState> weak = state;
  connect(rawReply, &QNetworkReply::finished, this, [this, weak]() {
    if (const auto locked = weak.lock()) onDownloadFinished(locked.get());
  });
  connect(rawReply, &QNetworkReply::errorOccurred, this, [this, weak](QNetworkReply::NetworkError code) {
    const auto locked = weak.lock();
    if (!locked) return;
    if (locked == m_downloadState) {
      handleNetworkError(code);
    } else {
      locked->timer.stop();
      locked->error = locked->reply ? locked->reply->errorString() : QString();
      removePartialFile(locked.get());
    }
  });
  connect(rawReply, &QNetworkReply::readyRead, this, [this, weak]() {
    if (const auto locked = weak.lock()) onDownloadReadyRead(locked.get());
  });

  DownloadState *raw = state.get();
  state->timer.disconnect();
  state->timer.setSingleShot(true);
  connect(&state->timer, &QTimer::timeout, this, [this, raw]() { onDownloadTimeout(raw); });
  state->timer.start(m_downloadTimeoutMs);
  return true;
}

void UpgradeModel::onDownloadReadyRead(DownloadState *state) {
  if (state->reply && state->file && state->file->isOpen()) state->file->write(state->reply->readAll());
}

void UpgradeModel::onDownloadFinished(DownloadState *state) {
  state->timer.stop();
  QNetworkReply *reply = state->reply.get();
  if (!reply) return;
  if (reply->error() != QNetworkReply::NoError) {
    state->error = reply->errorString();
    state->inProgress = false;
    removePartialFile(state);
    // A failed download ends the update; without this the flow would stay in DOWNLOADING.
    LOG_INFO(QStringLiteral("Download failed: ") + state->error);
    emit startNextState(ERROR, NETWORK_ERROR);
    return;
  }
  QString fileName;
  if (state->file) {
    if (state->file->isOpen()) state->file->write(reply->readAll());
    state->file->close();
    fileName = state->file->fileName();
  }
  state->inProgress = false;
  setCurrentState(DOWNLOADING);
  command(MD5_VERIFYING);
  LOG_INFO(QStringLiteral("Download finished successfully: ") + fileName);
}

void UpgradeModel::onDownloadTimeout(DownloadState *state) {
  if (!state->inProgress) return;
  // Aborting makes the reply report an error and finish at once; the
  // completion step must not report the failure a second time.
  if (state->reply) {
    state->reply->disconnect(this);
    state->reply->abort();
  }
  state->error = QStringLiteral("Download timeout");
  state->inProgress = false;
  removePartialFile(state);
  LOG_INFO(QStringLiteral("Download timeout"));
  emit startNextState(ERROR, NETWORK_ERROR);
}

void UpgradeModel::handleNetworkError(QNetworkReply::NetworkError code) {
  Q_UNUSED(code)
  DownloadState *state = m_downloadState.get();
  state->timer.stop();
  state->error = state->reply ? state->reply->errorString() : QString();
  removePartialFile(state);
}

void UpgradeModel::removePartialFile(DownloadState *state) {
  if (!state->file) return;
  state->file->close();
  state->file->remove();
}

// ---- verification -----------------------------------------------------------

QString UpgradeModel::getMd5FromServer() {
  const QString url = versionManifestUrl();
  LOG_INFO(url);
  const QByteArray body = executeHttpRequest(QUrl(url), m_requestTimeoutMs);
  if (body.isEmpty()) return QString();
  const QString installerName = UpdatePlatform::installerArtifact().fileName;
  const QJsonArray lists = QJsonDocument::fromJson(body).object().value(QStringLiteral("UpdateLists")).toArray();
  for (const QJsonValue &entry : lists) {
    const QJsonObject object = entry.toObject();
    if (object.value(QStringLiteral("name")).toString() == installerName) {
      const QString md5 = object.value(QStringLiteral("md5")).toString();
      LOG_INFO(QStringLiteral("Md5: ") + md5);
      return md5;
    }
  }
  return QString();
}

bool UpgradeModel::verifyFileIntegrity(const QString &path) {
  const QString remoteMd5 = getMd5FromServer();
  if (remoteMd5.isEmpty()) {
    // Without a published digest nothing vouches for the file: refuse it.
    LOG_INFO(QStringLiteral("No MD5 published for ") + UpdatePlatform::installerArtifact().fileName);
    LOG_INFO(QStringLiteral("MD5 verification failed"));
    emit startNextState(ERROR, FILE_INTEGRITY_ERROR);
    return false;
  }
  runOnPool([this, path, remoteMd5]() {
    const QString localMd5 = calculateMd5(path);
    ThreadHandoff::release();
    emit md5CalculationDone(localMd5, remoteMd5);
  });
  return true;
}

QString UpgradeModel::calculateMd5(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    LOG_INFO(QStringLiteral("无法打开文件进行读取：") + file.errorString());
    return QString();
  }
  QCryptographicHash hash(QCryptographicHash::Md5);
  if (!hash.addData(&file)) return QString();
  return QString::fromLatin1(hash.result().toHex());
}

void UpgradeModel::onMd5CalculationDone(const QString &localMd5, const QString &remoteMd5) {
  ThreadHandoff::acquire();
  LOG_INFO(QStringLiteral("Local Md5: ") + localMd5);
  LOG_INFO(QStringLiteral("Remote Md5: ") + remoteMd5);
  if (!localMd5.isEmpty() && localMd5 == remoteMd5) {
    LOG_INFO(QStringLiteral("MD5 verification passed"));
    emit startNextState(INSTALLING, NO_ERROR);
  } else {
    LOG_INFO(QStringLiteral("MD5 verification failed"));
    emit startNextState(ERROR, FILE_INTEGRITY_ERROR);
  }
}

// ---- installation and restart -----------------------------------------------

void UpgradeModel::installSoftwareAsync() {
  const QString script = QDir(m_scriptDirectory).filePath(kInstallScript);
  // The script is told which archive to install and which tree to replace.
  const QStringList arguments{m_installerPath, installDirectory()};
  const int timeoutMs = m_installTimeoutMs;
  runOnPool([this, script, arguments, timeoutMs]() { runInstallation(script, arguments, timeoutMs); });
}

void UpgradeModel::runInstallation(const QString &script, const QStringList &arguments, int timeoutMs) {
  QProcess process;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setInterval(timeoutMs);
  connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
  connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  connect(&process, &QProcess::readyReadStandardOutput, &process,
          [&process]() { forwardOutput(process.readAllStandardOutput(), "[STDOUT] "); });
  connect(&process, &QProcess::readyReadStandardError, &process,
          [&process]() { forwardOutput(process.readAllStandardError(), "[STDERR] "); });

  const auto finish = [this](bool status) {
    ThreadHandoff::release();
    emit installDone(status);
  };

  if (!QFileInfo::exists(script)) {
    LOG_INFO(QStringLiteral("Error Msg: ") + QStringLiteral("Installation script not found: ") + script);
    finish(false);
    return;
  }
  process.start(script, arguments, QIODevice::ReadWrite);
  if (!process.waitForStarted(timeoutMs)) {
    LOG_INFO(QStringLiteral("Error Msg: ") + QStringLiteral("Failed to start process: ") + process.errorString());
    ThreadHandoff::release();
    QMetaObject::invokeMethod(this, "reportInstallationNotStarted", Qt::QueuedConnection);
    return;
  }
  timer.start();
  if (process.state() != QProcess::NotRunning) loop.exec();

  if (process.state() != QProcess::NotRunning) {
    process.terminate();
    if (!process.waitForFinished(kTerminateGraceMs)) {
      process.kill();
      process.waitForFinished(timeoutMs);
    }
    LOG_INFO(QStringLiteral("Error Msg: ") + QStringLiteral("Process timed out after ") + QString::number(timeoutMs) +
             QStringLiteral(" ms"));
    finish(false);
    return;
  }
  timer.stop();
  forwardOutput(process.readAllStandardOutput(), "[STDOUT] ");
  forwardOutput(process.readAllStandardError(), "[STDERR] ");
  if (process.exitStatus() != QProcess::NormalExit) {
    LOG_INFO(QStringLiteral("Error Msg: ") + QStringLiteral("Process did not exit normally: ") +
             QString::number(int(process.exitStatus())));
    finish(false);
    return;
  }
  if (process.exitCode() == 0) {
    LOG_INFO(QStringLiteral("Installation completed successfully"));
    finish(true);
  } else {
    LOG_INFO(QStringLiteral("Installation failed with code: ") + QString::number(process.exitCode()));
    finish(false);
  }
}

void UpgradeModel::reportInstallationNotStarted() {
  ThreadHandoff::acquire();
  emit startNextState(ERROR, INSTALLATION_ERROR);
}

void UpgradeModel::onInstallDone(bool status) {
  ThreadHandoff::acquire();
  if (status) {
    LOG_INFO(QStringLiteral("Installation completed successfully"));
    emit startNextState(COMPLETED, NO_ERROR);
  } else {
    LOG_INFO(QStringLiteral("Installation failed"));
    emit startNextState(ERROR, INSTALLATION_ERROR);
  }
}

void UpgradeModel::restartSoftware() {
  LOG_INFO(QStringLiteral("Starting software restart"));
  const QString script = QDir(m_scriptDirectory).filePath(kRestartScript);
  LOG_INFO(QStringLiteral("Restart command: ") + script);
  // The script ends this process by its id and starts the installed program
  // with the arguments this one was started with.
  QStringList arguments{QString::number(QCoreApplication::applicationPid()), QCoreApplication::applicationFilePath()};
  arguments += QCoreApplication::arguments().mid(1);

  QProcess process;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
  connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) loop.quit();
  });
  connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  process.start(script, arguments);
  timer.start(kRestartWaitMs);
  if (process.state() != QProcess::NotRunning) loop.exec();
  if (process.error() == QProcess::FailedToStart)
    LOG_INFO(QStringLiteral("Error Msg: ") + QStringLiteral("Failed to start process: ") + process.errorString());
}
