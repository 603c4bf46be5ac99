#include "ApplicationContext.h"
#include "EmtApplication.h"
#include "TestSupport.h"
#include "WinManager.h"
#include "Window.h"

#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QThreadPool>

// The application object is built here as the real program builds it, with
// the "-f" option; the real executable is started for the command-line cases.
class TestApplication : public QObject {
  Q_OBJECT

  static QString executable() {
    return QString::fromLocal8Bit(qgetenv("ORVIK_BINARY_DIR")) + QStringLiteral("/veltro-orvik");
  }
  static QSize screen() { return QGuiApplication::primaryScreen()->geometry().size(); }

private slots:
  void fullOptionSetsFlagAndScreenGeometry() {
    WinManager *manager = WinManager::instance();
    QVERIFY(manager->fullWinFlag());
    QCOMPARE(manager->geometry(), QRect(QPoint(0, 0), screen()));
    QCOMPARE(manager->winWidth(), screen().width());
    QCOMPARE(manager->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    QCOMPARE(QThreadPool::globalInstance()->maxThreadCount(), 20);
  }

  void startUpLogsTheBuildConstants() {
    QFile log(orvik::test::documentsPath() + "/Veltro-Orvik/logs/audio.log");
    QVERIFY2(log.open(QIODevice::ReadOnly), qPrintable(log.fileName()));
    const QString text = QString::fromUtf8(log.readAll());
    const int version = text.indexOf("[INFO] - 1.0.7");
    const int commit = text.indexOf("[INFO] - 6685a19");
    const int time = text.indexOf("[INFO] - 2510281502");
    QVERIFY2(version >= 0 && commit > version && time > commit, qPrintable(text));
  }

  void mainWindowOpensCentredAtItsMinimumSize() {
    auto *app = qobject_cast<EmtApplication *>(qApp->property("orvikApplication").value<QObject *>());
    QVERIFY(app);
    app->showMainWindow();
    WinManager *manager = WinManager::instance();
    const QSize size(1280, 750);
    // The offscreen screen is smaller than the window: the centred position is negative.
    const QPoint pos((screen().width() - 1280) / 2, (screen().height() - 750) / 2);
    QCOMPARE(manager->geometry(), QRect(pos, size));
    QCOMPARE(manager->minimumSize(), size);
    QVERIFY(manager->fullWinFlag());
    QVERIFY(manager->isVisible());
    QVERIFY(manager->getCurrentWin());
    QCOMPARE(manager->getCurrentWin()->name(), QStringLiteral("MainWin"));
    QCOMPARE(manager->getCurrentWin()->size(), size);
    QCOMPARE(BaseApplication::getWindowX(1280), pos.x());
    QCOMPARE(BaseApplication::getWindowY(750), pos.y());
    ORVIK_VERIFY_NO_QML_WARNINGS();
  }

  void contextPublishesTheModels() {
    ApplicationContext *context = ApplicationContext::instance();
    QCOMPARE(context->getContextObject("winManager"), WinManager::instance());
    QVERIFY(context->getContextObject("systemInfo"));
  }

  void unknownOptionEndsWithExitCodeOne() {
    QProcess process;
    process.start(executable(), {"--no-such-option"});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(process.readAllStandardError().contains("no-such-option"), "Qt's parser error names the option");
  }
};

int main(int argc, char **argv) {
  orvik::test::preparePrivateHome();
  int appArgc = 2;
  char full[] = "-f";
  char *appArgv[] = {argv[0], full, nullptr};
  EmtApplication application(appArgc, appArgv);
  qApp->setProperty("orvikApplication", QVariant::fromValue<QObject *>(&application));
  application.registerQmlTypes();
  application.setApplicationContext();
  orvik::test::installMessageRecorder();
  TestApplication tc;
  return orvik::test::runTests(&tc, argc, argv);
}
#include "tst_application.moc"
