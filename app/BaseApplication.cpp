#include "BaseApplication.h"

#include "WinManager.h"

#include <QScreen>

namespace {
QSize screenSize() {
  const QScreen *screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(BaseApplication::kDefaultWidth, BaseApplication::kDefaultHeight);
}
const QString kFullScreenOption = QStringLiteral("f");
}  // namespace

BaseApplication::BaseApplication(int &argc, char **argv) : QObject(nullptr), m_application(argc, argv) {
  m_parser.addOption(QCommandLineOption(kFullScreenOption, QStringLiteral("Show full screen")));
  m_parser.process(m_application);
}

BaseApplication::~BaseApplication() = default;

bool BaseApplication::fullScreenOption() const { return m_parser.isSet(kFullScreenOption); }

int BaseApplication::getWindowX(int width) { return (screenSize().width() - width) / 2; }

int BaseApplication::getWindowY(int height) { return (screenSize().height() - height) / 2; }

void BaseApplication::initWindowGeometry() {
  WinManager *manager = WinManager::instance();
  manager->setFullWinFlag(true);
  const QSize screen = screenSize();
  int width = screen.width();
  int height = screen.height();
  if (!fullScreenOption()) {
    manager->setFullWinFlag(false);
    width = qMin(screen.width(), kDefaultWidth);
    height = qMin(screen.height(), kDefaultHeight);
  }
  manager->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  manager->setWinWidth(width);
  manager->setWinHeight(height);
  manager->setGeometry(getWindowX(width), getWindowY(height), width, height);
}

int BaseApplication::run() {
  registerQmlTypes();
  setApplicationContext();
  createWindows();
  return m_application.exec();
}
