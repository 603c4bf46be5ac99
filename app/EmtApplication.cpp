#include "EmtApplication.h"

#include "ApplicationContext.h"
#include "ConfigService.h"
#include "DeclarativeWindow.h"
#include "FrameSeqModel.h"
#include "FreqScanSetModel.h"
#include "LoggerService.h"
#include "SerialPortModel.h"
#include "SystemConfig.h"
#include "UserConfig.h"
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
  SystemConfig::instance()->init();
  UserConfig::instance()->init();
  LOG_INFO(ConfigService::instance()->version());
  LOG_INFO(ConfigService::instance()->commitId());
  LOG_INFO(ConfigService::instance()->compileTime());
  QThreadPool::globalInstance()->setMaxThreadCount(kMaxPoolThreads);
}

void EmtApplication::registerQmlTypes() {
  qmlRegisterUncreatableType<ConfigService>(kQmlModule, 1, 0, "ConfigService", kUncreatableReason);
  qmlRegisterUncreatableType<SerialPortModel>(kQmlModule, 1, 0, "SerialPortModel", kUncreatableReason);
}

void EmtApplication::setApplicationContext() {
  ApplicationContext *context = ApplicationContext::instance();
  context->setContext(QStringLiteral("serialPortModel"), SerialPortModel::instance());
  context->setContext(QStringLiteral("winManager"), WinManager::instance());
  context->setContext(QStringLiteral("systemInfo"), ConfigService::instance());
  context->setContext(QStringLiteral("freqScanSetModel"), FreqScanSetModel::instance());
  context->setContext(QStringLiteral("frameSeqModel"), FrameSeqModel::instance());
}

void EmtApplication::createWindows() {
  m_startTimer.setSingleShot(true);
  m_startTimer.setInterval(kMainWindowDelayMs);
  connect(&m_startTimer, &QTimer::timeout, this, &EmtApplication::showMainWindow);
  m_startTimer.start();
}

void EmtApplication::showMainWindow() {
  const QStringList importPaths = {QStringLiteral("qrc:/Orvik/MainWin/"), QStringLiteral("qrc:/Corlakit/"),
                                   QStringLiteral("qrc:/")};
  WinManager *manager = WinManager::instance();
  auto *page = new DeclarativeWindow(QStringLiteral("MainWin"), QUrl(QStringLiteral("qrc:/Orvik/MainWin/MainWin.qml")),
                                     importPaths);
  manager->addWin(page);
  manager->setMinimumSize(kMainWindowWidth, kMainWindowHeight);
  manager->setGeometry(getWindowX(kMainWindowWidth), getWindowY(kMainWindowHeight), kMainWindowWidth,
                       kMainWindowHeight);
  manager->gotoWin(QStringLiteral("MainWin"));
  manager->show();
}
