#pragma once

#include "Fsm.h"
#include "VersionCompare.h"

#include <QByteArray>
#include <QFile>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <memory>

// The self-update: asks the update server for the latest version, tells the
// interface whether an update is available and, when the user agrees, walks
// through download, MD5 verification and installation. The steps are chained
// by a transition table on a state stack; each step reports its end either by
// a command on the stack or by startNextState (queued, so it always runs after
// the current callback has returned, on the main thread).
//
// Server locations come from the build (ORVIK_UPDATE_SERVER_ROOT,
// ORVIK_DOWNLOAD_PAGE); optional members of the system configuration file
// override them at run time: "updateServerRoot", "downloadPage", and
// "updateInstallDir" (the tree installApp.sh replaces; the executable's
// directory when absent).
class UpgradeModel : public QObject {
  Q_OBJECT
  Q_PROPERTY(UpgradeState upgradeState READ upgradeState NOTIFY upgradeStateChanged)
  Q_PROPERTY(VersionStatus versionStatus READ versionStatus NOTIFY versionStatusChanged)
public:
  // The values are also the state names on the state stack.
  enum UpgradeState {
    IDLE = 0,
    CHECKING = 1,
    CHECKED = 2,
    DOWNLOADING = 3,
    MD5_VERIFYING = 4,
    INSTALLING = 5,
    COMPLETED = 6,
    ERROR = 7
  };
  Q_ENUM(UpgradeState)

  enum VersionStatus { CHECKING_PASSED = 0, CHECKING_FAILED = 1, VERSION_LASTED = 2, VERSION_LATEST = 3 };
  Q_ENUM(VersionStatus)

  enum ErrorCode {
    NO_ERROR = 0,
    NETWORK_ERROR = 1,
    FILE_SAVE_ERROR = 2,
    FILE_INTEGRITY_ERROR = 3,
    EXTRACTION_ERROR = 4,
    INSTALLATION_ERROR = 5,
    GET_UPDATE_INFO_ERROR = 6,
    UNKNOWN_ERROR = 7
  };
  Q_ENUM(ErrorCode)

  using Version = VersionCompare::Version;

  // The one download in progress; shared with the download's callbacks.
  struct DownloadState {
    std::shared_ptr<QNetworkReply> reply;
    std::shared_ptr<QFile> file;
    QTimer timer;  // limits the whole download, not the time between packets
    bool inProgress = false;
    QString error;  // the last failure, for the log and the tests
  };

  static constexpr int kRequestTimeoutMs = 30000;
  static constexpr int kDownloadTimeoutMs = 30000;
  static constexpr int kInstallTimeoutMs = 30000;
  static constexpr int kTerminateGraceMs = 3000;
  static constexpr int kRestartWaitMs = 30000;
  static constexpr int kNoUpdateResetDelayMs = 2000;

  static UpgradeModel *instance();

  UpgradeState upgradeState() const { return m_upgradeState; }
  VersionStatus versionStatus() const { return m_versionStatus; }

  Q_INVOKABLE void queryUpdate();
  Q_INVOKABLE void restartSoftware();
  Q_INVOKABLE void resetStatus();
  Q_INVOKABLE void startUpgrade();
  // The maker's download page, opened by the interface in the system's browser.
  Q_INVOKABLE QString downloadPageUrl() const;

  // Server locations: the root already carries the platform directory.
  static QString rootUrl();
  static QString versionManifestUrl();
  static QString installerDownloadUrl();
  // Where the installer is downloaded to: a directory of the application data
  // that only the user can enter, never a shared, predictable temporary path.
  static QString installerFilePath();
  // The installation tree handed to installApp.sh.
  static QString installDirectory();

  // GET with a time-out; the body on status 200, empty on any failure.
  static QByteArray executeHttpRequest(const QUrl &url, int timeoutMs = kRequestTimeoutMs);
  static QVariantMap parseUpdateInfoFromResponse(const QByteArray &body);
  static QString extractVersionFromUpdateInfo(const QVariantMap &updateInfo);
  static Version parseVersion(const QString &text);
  static bool isLatestVersion(const QString &current, const QString &latest);
  // Lower-case hexadecimal MD5 of the file, or empty when it cannot be read.
  static QString calculateMd5(const QString &path);

  bool isNeededUpdate();
  QString getVersionFromServer();
  // The digest published for this platform's installer, or empty.
  QString getMd5FromServer();

  std::shared_ptr<DownloadState> downloadState() const { return m_downloadState; }
  // True when the request has been sent; otherwise the state's error says why.
  bool startDownload(const std::shared_ptr<DownloadState> &state, const QUrl &url, const QString &filePath);
  // Starts hashing the file against the published digest; false (and the
  // failure reported) when there is no digest to compare with.
  bool verifyFileIntegrity(const QString &path);
  void installSoftwareAsync();

  // The directory below which "bin/installApp.sh" and "bin/restart.sh" are
  // found; the executable's directory unless a test points it elsewhere.
  QString scriptDirectory() const { return m_scriptDirectory; }
  void setScriptDirectory(const QString &directory) { m_scriptDirectory = directory; }
  // Time limits of the requests, the download and the installation script.
  void setRequestTimeoutMs(int timeoutMs) { m_requestTimeoutMs = timeoutMs; }
  void setDownloadTimeoutMs(int timeoutMs) { m_downloadTimeoutMs = timeoutMs; }
  void setInstallTimeoutMs(int timeoutMs) { m_installTimeoutMs = timeoutMs; }

signals:
  void upgradeStateChanged();
  void versionStatusChanged();
  void md5CalculationDone(QString localMd5, QString remoteMd5);
  void installDone(bool status);
  void startNextState(UpgradeModel::UpgradeState state, UpgradeModel::ErrorCode code);
  void needToUpdate(bool status);

public slots:
  void handleNetworkError(QNetworkReply::NetworkError code);

private slots:
  // The installation script did not start: reported from the worker without
  // arguments, so nothing crosses the threads but the call itself.
  void reportInstallationNotStarted();

private:
  UpgradeModel();

  void initEventTable();
  void setUpgradeState(UpgradeState state);
  void setVersionStatus(VersionStatus status);
  void setCurrentState(UpgradeState state) { m_stack.setCurrentState(Fsm::state(state)); }
  bool command(UpgradeState state) { return m_stack.command(Fsm::state(state)); }

  void onNextState(UpgradeState state, ErrorCode code);
  void onMd5CalculationDone(const QString &localMd5, const QString &remoteMd5);
  void onInstallDone(bool status);
  void onDownloadReadyRead(DownloadState *state);
  void onDownloadFinished(DownloadState *state);
  void onDownloadTimeout(DownloadState *state);
  static void removePartialFile(DownloadState *state);
  // Runs on a worker thread of the global pool.
  void runInstallation(const QString &script, const QStringList &arguments, int timeoutMs);

  static UpgradeModel *s_instance;

  UpgradeState m_upgradeState = IDLE;
  VersionStatus m_versionStatus = CHECKING_PASSED;
  Fsm::stack m_stack{Fsm::state(Fsm::kNull)};
  QTimer m_resetTimer;
  std::shared_ptr<DownloadState> m_downloadState;
  QString m_installerPath;
  QString m_scriptDirectory;
  int m_requestTimeoutMs = kRequestTimeoutMs;
  int m_downloadTimeoutMs = kDownloadTimeoutMs;
  int m_installTimeoutMs = kInstallTimeoutMs;
};
