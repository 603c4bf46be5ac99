#include "EmtApplication.h"

#include "ApplicationContext.h"
#include "ConfigService.h"
#include "DeclarativeWindow.h"
#include "FrameSeqModel.h"
#include "FreqSpectrumView.h"
#include "FreqScanSetModel.h"
#include "LoggerService.h"
#include "MarkModel.h"
#include "MonitorModel.h"
#include "PerfProbe.h"
#include "PresetModel.h"
#include "RenderBackend.h"
#include "StartupWarmup.h"
#include "ResModel.h"
#include "SerialPortModel.h"
#include "SystemConfig.h"
#include "UpgradeModel.h"
#include "UserConfig.h"
#include "VideoModel.h"
#include "WinManager.h"

#include <QQmlEngine>
#include <QThreadPool>

namespace {
constexpr const char *kQmlModule = "MyModel";
const QString kUncreatableReason = QStringLiteral("for use  info");
}  // namespace

EmtApplication::EmtApplication(int &argc, char **argv) : BaseApplication(argc, argv) {
  initWindowGeometry();
  application().installEventFilter(WinManager::instance());
  LoggerService::instance().init();
  PerfProbe::install();
  SystemConfig::instance()->init();
  UserConfig::instance()->init();
  LOG_INFO(ConfigService::instance()->version());
  LOG_INFO(ConfigService::instance()->commitId());
  LOG_INFO(ConfigService::instance()->compileTime());
  QThreadPool::globalInstance()->setMaxThreadCount(kMaxPoolThreads);
}

void EmtApplication::registerQmlTypes() { registerNativeTypes(); }

void EmtApplication::registerNativeTypes() {
  // Idempotent, so tests that load pages can call it as the application does.
  static bool s_registered = false;
  if (s_registered)
    return;
  s_registered = true;
  qmlRegisterType<FreqSpectrumView>("MyModel", 1, 0, "FreqSpectrumView");
  qmlRegisterUncreatableType<ConfigService>(kQmlModule, 1, 0, "ConfigService", kUncreatableReason);
  qmlRegisterUncreatableType<SerialPortModel>(kQmlModule, 1, 0, "SerialPortModel", kUncreatableReason);
  qmlRegisterUncreatableType<PresetModel>(kQmlModule, 1, 0, "PresetModel", kUncreatableReason);
  qmlRegisterUncreatableType<UpgradeModel>(kQmlModule, 1, 0, "UpgradeModel", kUncreatableReason);
}

void EmtApplication::setApplicationContext() { publishModels(); }

void EmtApplication::publishModels() {
  ApplicationContext *context = ApplicationContext::instance();
  context->setContext(QStringLiteral("serialPortModel"), SerialPortModel::instance());
  context->setContext(QStringLiteral("winManager"), WinManager::instance());
  context->setContext(QStringLiteral("systemInfo"), ConfigService::instance());
  context->setContext(QStringLiteral("freqScanSetModel"), FreqScanSetModel::instance());
  context->setContext(QStringLiteral("frameSeqModel"), FrameSeqModel::instance());
  context->setContext(QStringLiteral("monitorModel"), MonitorModel::instance());
  context->setContext(QStringLiteral("markModel"), MarkModel::instance());
  context->setContext(QStringLiteral("videoModel"), VideoModel::instance());
  context->setContext(QStringLiteral("resModel"), ResModel::instance());
  context->setContext(QStringLiteral("presetModel"), PresetModel::instance());
  context->setContext(QStringLiteral("upgradeModel"), UpgradeModel::instance());
}

void EmtApplication::createWindows() {
  m_startTimer.setSingleShot(true);
  // Exactly the delay: a coarse timer may end it up to 5 % (100 ms) late.
  m_startTimer.setTimerType(Qt::PreciseTimer);
  m_startTimer.setInterval(kMainWindowDelayMs);
  connect(&m_startTimer, &QTimer::timeout, this, &EmtApplication::showMainWindow);
  m_startTimer.start();
  // While the start-up delay runs: the scene graph is chosen before the first
  // page exists, and Qt Quick and the fonts are made ready for the main page.
  QTimer::singleShot(0, this, [] {
    LOG_INFO(RenderBackend::choose());
    StartupWarmup::run();
    PerfProbe::mark("warmed-up");
  });
}

EmtApplication::~EmtApplication() {
  // The pages' QML goes while every model it binds to still exists.
  WinManager *manager = WinManager::instance();
  manager->hide();
  manager->deletePages();
}

void EmtApplication::showMainWindow() {
  PerfProbe::mark("main-page-load");
  const QStringList importPaths = {QStringLiteral("qrc:/Orvik/MainWin/"), QStringLiteral("qrc:/Corlakit/"),
                                   QStringLiteral("qrc:/")};
  WinManager *manager = WinManager::instance();
  auto *page = new DeclarativeWindow(QStringLiteral("MainWin"), QUrl(QStringLiteral("qrc:/Orvik/MainWin/MainWin.qml")),
                                     importPaths);
  PerfProbe::mark("main-page-created");
  manager->addWin(page);
  manager->setMinimumSize(kMainWindowWidth, kMainWindowHeight);
  manager->setGeometry(getWindowX(kMainWindowWidth), getWindowY(kMainWindowHeight), kMainWindowWidth,
                       kMainWindowHeight);
  manager->gotoWin(QStringLiteral("MainWin"));
  manager->show();
  UpgradeModel::instance()->queryUpdate();
}
