#include "TestSupport.h"

#include "ApplicationContext.h"
#include "DeclarativeWindow.h"
#include "EmtApplication.h"
#include "SystemConfig.h"
#include "UserConfig.h"

#include <QApplication>
#include <QDir>
#include <QMutex>
#include <QMutexLocker>
#include <QQuickItem>
#include <QQuickWidget>
#include <QStandardPaths>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <cstdlib>

namespace orvik::test {
namespace {

std::mutex g_recorderMutex;
QStringList g_qmlWarnings;
std::atomic<QtMessageHandler> g_previousHandler{nullptr};
bool g_installed = false;

bool isQmlMessage(const QMessageLogContext &context, const QString &text) {
  const QString file = QString::fromUtf8(context.file ? context.file : "");
  if (file.endsWith(QLatin1String(".qml")) || file.endsWith(QLatin1String(".js")))
    return true;
  if (context.category && qstrncmp(context.category, "qml", 3) == 0)
    return true;
  return text.contains(QLatin1String(".qml:")) || text.contains(QLatin1String("QML "))
         || text.startsWith(QLatin1String("qrc:/"));
}

void recordingHandler(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  // The log service chains to whatever it replaced, which may be this
  // recorder: a message must pass through it once, not loop.
  thread_local bool inside = false;
  if (inside) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return;
  }
  inside = true;
  if (type != QtDebugMsg && type != QtInfoMsg && isQmlMessage(context, text)) {
    std::lock_guard<std::mutex> lock(g_recorderMutex);
    g_qmlWarnings.append(text);
  }
  if (QtMessageHandler previous = g_previousHandler.load())
    previous(type, context, text);
  else
    std::fprintf(stderr, "%s\n", qPrintable(text));
  inside = false;
}

}  // namespace

void preparePrivateHome() {
  const QByteArray home = qgetenv("ORVIK_TEST_HOME");
  if (home.isEmpty() || home != qgetenv("HOME")) {
    // The application's paths are fixed from HOME before main runs, so HOME
    // cannot be moved from here: refuse rather than touch the user's files.
    std::fprintf(stderr, "Run the tests through ctest (it gives each test a private HOME), or set HOME and "
                         "ORVIK_TEST_HOME to the same scratch directory.\n");
    std::exit(2);
  }
  QDir(QString::fromLocal8Bit(home)).removeRecursively();
  const QString homeDir = QString::fromLocal8Bit(home);
  QDir().mkpath(homeDir + QStringLiteral("/Documents"));
  QDir().mkpath(homeDir + QStringLiteral("/.config"));
  const QString runtime = homeDir + QStringLiteral("/.runtime");
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
}

QString homePath() { return QString::fromLocal8Bit(qgetenv("HOME")); }

QString documentsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void installMessageRecorder() {
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  QtMessageHandler previous = qInstallMessageHandler(recordingHandler);
  if (previous != recordingHandler)
    g_previousHandler = previous;
  g_installed = true;
}

QStringList qmlWarnings() {
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  return g_qmlWarnings;
}

QStringList takeQmlWarnings() {
  std::lock_guard<std::mutex> lock(g_recorderMutex);
  QStringList taken;
  taken.swap(g_qmlWarnings);
  return taken;
}

DeclarativeWindow *loadQmlPage(const QString &url, QSize size) {
  SystemConfig::instance()->init();
  UserConfig::instance()->init();
  EmtApplication::registerNativeTypes();
  EmtApplication::publishModels();
  const QStringList importPaths = {QStringLiteral("qrc:/Orvik/MainWin/"), QStringLiteral("qrc:/Corlakit/"),
                                   QStringLiteral("qrc:/")};
  auto *page = new DeclarativeWindow(QStringLiteral("TestPage"), QUrl(url), importPaths);
  page->resize(size);
  page->onResize(size);
  page->show();
  return page;
}

QQuickItem *findItem(QQuickWidget *view, const QString &objectName) {
  if (!view || !view->rootObject())
    return nullptr;
  if (view->rootObject()->objectName() == objectName)
    return view->rootObject();
  return view->rootObject()->findChild<QQuickItem *>(objectName);
}

QImage renderView(QQuickWidget *view) { return view ? view->grabFramebuffer() : QImage(); }

QImage renderItem(QQuickWidget *view, QQuickItem *item) {
  if (!view || !item)
    return QImage();
  const QImage full = renderView(view);
  const QRectF rect = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
  return full.copy(rect.toAlignedRect());
}

int runTests(QObject *testObject, int argc, char **argv) {
  // QTest installs its own message handler when it starts logging; the
  // recorder goes in front of it, so ignored messages and output still work.
  QTest::qInit(testObject, argc, argv);
  installMessageRecorder();
  const int failures = QTest::qRun();
  QTest::qCleanup();
  // QTest's handler is gone now; messages of the process's exit go to stderr.
  {
    std::lock_guard<std::mutex> lock(g_recorderMutex);
    g_previousHandler = nullptr;
  }
  const QStringList left = takeQmlWarnings();
  if (!left.isEmpty()) {
    std::fprintf(stderr, "FAIL: %d QML warning(s) during the tests:\n%s\n", int(left.size()),
                 qPrintable(left.join(QLatin1Char('\n'))));
    return failures ? failures : 1;
  }
  return failures;
}

}  // namespace orvik::test
