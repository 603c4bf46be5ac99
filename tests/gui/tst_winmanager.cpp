#include "ApplicationContext.h"
#include "DeclarativeWindow.h"
#include "SlidingStackedWidget.h"
#include "TestSupport.h"
#include "Toast.h"
#include "WinManager.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWidget>
#include <QSignalSpy>

namespace {
// A page whose hooks record themselves in the root object's `calls`.
const char *const kRecordingPage = R"(import QtQuick 2.15
Item {
    property var calls: []
    function enterWin() { calls.push("enter"); calls = calls }
    function enterWinWithArgs(args) { calls.push("args:" + args); calls = calls }
    function exitWin() { calls.push("exit"); calls = calls }
}
)";

class PressCounter : public QWidget {
public:
  int presses = 0;

protected:
  void mousePressEvent(QMouseEvent *) override { ++presses; }
};
}  // namespace

class TestWinManager : public QObject {
  Q_OBJECT

  QString m_pageFile;
  DeclarativeWindow *m_first = nullptr;
  DeclarativeWindow *m_second = nullptr;

  static QStringList calls(DeclarativeWindow *page) {
    return page->getView()->rootObject()->property("calls").toStringList();
  }
  static void resetCalls(DeclarativeWindow *page) {
    page->getView()->rootObject()->setProperty("calls", QVariantList());
  }

private slots:
  void initTestCase() {
    m_pageFile = orvik::test::homePath() + "/page.qml";
    QFile file(m_pageFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kRecordingPage);
    file.close();
    WinManager *manager = WinManager::instance();
    qApp->installEventFilter(manager);
    manager->setGeometry(100, 100, 800, 600);
    manager->show();
    m_first = new DeclarativeWindow("First", QUrl::fromLocalFile(m_pageFile), {});
    m_second = new DeclarativeWindow("Second", QUrl::fromLocalFile(m_pageFile), {});
    manager->addWin(m_first);
    manager->addWin(m_second);
    QCOMPARE(m_first->index(), 0);
    QCOMPARE(m_second->index(), 1);
    QCOMPARE(manager->getCurrentWin(), m_first);
  }

  void init() {
    resetCalls(m_first);
    resetCalls(m_second);
  }

  void contextUnknownNameIsNullAndLastSetWins() {
    ApplicationContext *context = ApplicationContext::instance();
    QTest::ignoreMessage(QtDebugMsg, "ERROR: [ApplicationContext] no such object in context: nothingHere");
    QCOMPARE(context->getContextObject("nothingHere"), nullptr);
    QObject a, b;
    context->setContext("zzTest", &a);
    context->setContext("zzTest", &b);
    QCOMPARE(context->getContextObject("zzTest"), &b);
    QCOMPARE(context->getContextMap().count("zzTest"), 1);
    context->setContext("zzTest", nullptr);
  }

  void gotoCurrentPageCallsEnterThenExitWithoutAnimation() {
    WinManager *manager = WinManager::instance();
    QSignalSpy finished(manager->stack(), &SlidingStackedWidget::animationFinished);
    manager->gotoWin("First");
    QCOMPARE(calls(m_first), (QStringList{"enter", "exit"}));
    QVERIFY(!manager->stack()->isSliding());
    QCOMPARE(finished.count(), 0);
    manager->gotoWin("first");  // names are case-sensitive
    manager->gotoWin("Nowhere");
    QCOMPARE(calls(m_first), (QStringList{"enter", "exit"}));
  }

  void clicksAreSwallowedOnlyWhileSliding() {
    WinManager *manager = WinManager::instance();
    PressCounter target;
    target.resize(50, 50);
    target.show();
    auto press = [&target] {
      QMouseEvent event(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&target, &event);
    };
    QSignalSpy finished(manager->stack(), &SlidingStackedWidget::animationFinished);
    manager->gotoWinWithArgs("Second", QVariant("x"));
    QVERIFY(manager->stack()->isSliding());
    QCOMPARE(calls(m_second), QStringList{"args:x"});
    QCOMPARE(calls(m_first), QStringList{"exit"});
    press();
    QCOMPARE(target.presses, 0);
    manager->gotoWin("First");  // ignored during the slide
    QVERIFY(finished.wait(2000));
    QCOMPARE(manager->getCurrentWin(), m_second);
    QVERIFY(m_second->isVisible());
    press();
    QCOMPARE(target.presses, 1);
    manager->back();
    QVERIFY(finished.wait(2000));
    QCOMPARE(manager->getCurrentWin(), m_first);
  }

  void resizeReachesPagesAndViews() {
    WinManager *manager = WinManager::instance();
    QSignalSpy pageSize(m_first, &Window::sizeChanged);
    QSignalSpy managerSize(manager, &WinManager::sizeChanged);
    manager->resize(manager->width() + 1, manager->height());
    QTRY_VERIFY(managerSize.count() >= 1);
    QCOMPARE(managerSize.last().first().toSize(), manager->size());
    QVERIFY(pageSize.count() >= 1);
    QCOMPARE(m_first->screenWidth(), manager->width());
    QCOMPARE(m_first->getView()->size(), manager->size());
    QCOMPARE(m_second->size(), manager->size());
  }

  void edgeDrags_data() {
    QTest::addColumn<QString>("edge");
    QTest::addColumn<int>("globalPos");
    QTest::addColumn<QRect>("expected");
    // Window (100,100) 800x600, minimum 400x300; right = 899, bottom = 699.
    const QRect start(100, 100, 800, 600);
    QTest::newRow("top shrinks") << "top" << 200 << QRect(100, 200, 800, 500);
    QTest::newRow("top to exactly minimum does nothing") << "top" << 400 << start;
    QTest::newRow("top one above minimum") << "top" << 399 << QRect(100, 399, 800, 301);
    QTest::newRow("bottom grows") << "bottom" << 801 << QRect(100, 100, 800, 701);
    QTest::newRow("bottom to exactly minimum does nothing") << "bottom" << 400 << start;
    QTest::newRow("bottom one above minimum") << "bottom" << 401 << QRect(100, 100, 800, 301);
    QTest::newRow("left grows") << "left" << 50 << QRect(50, 100, 850, 600);
    QTest::newRow("left to exactly minimum does nothing") << "left" << 500 << start;
    QTest::newRow("right to exactly minimum does nothing") << "right" << 500 << start;
    QTest::newRow("right one above minimum") << "right" << 501 << QRect(100, 100, 401, 600);
  }

  void edgeDrags() {
    QFETCH(QString, edge);
    QFETCH(int, globalPos);
    QFETCH(QRect, expected);
    WinManager *manager = WinManager::instance();
    manager->setMinimumSize(400, 300);
    manager->setGeometry(100, 100, 800, 600);
    QCOMPARE(manager->geometry(), QRect(100, 100, 800, 600));
    if (edge == "top")
      manager->resizeWindowFromTopDrag(-1, globalPos);
    else if (edge == "bottom")
      manager->resizeWindowFromBottomDrag(-1, globalPos);
    else if (edge == "left")
      manager->resizeWindowFromLeftDrag(globalPos, -1);
    else
      manager->resizeWindowFromRightDrag(globalPos, -1);
    QCOMPARE(manager->geometry(), expected);
  }

  void popupMessageLivesTwiceItsSecondsThenGoes() {
    WinManager *manager = WinManager::instance();
    manager->showPopupMessage("保存成功", WinManager::ERROR_TYPE, 1);
    QPointer<Toast> toast = manager->getCurrentWin()->findChild<Toast *>();
    QVERIFY(toast);
    QVERIFY(toast->isVisible());
    QCOMPARE(toast->getDuring(), 2000);
    QVERIFY(toast->findChild<QLabel *>()->styleSheet().contains("background:#ff0000"));
    const QRect page = manager->getCurrentWin()->rect();
    QCOMPARE(toast->x(), (page.width() - toast->width()) / 2);
    QCOMPARE(toast->y(), page.height() - toast->height() - 100);
    QTRY_VERIFY_WITH_TIMEOUT(toast.isNull(), 5000);
  }

  void popupMessageDefaultsToFourSeconds() {
    WinManager *manager = WinManager::instance();
    QMetaObject::invokeMethod(manager, "showPopupMessage", Q_ARG(QString, "提示"));
    QPointer<Toast> toast = manager->getCurrentWin()->findChild<Toast *>();
    QVERIFY(toast);
    QCOMPARE(toast->getDuring(), 4000);
    QCOMPARE(toast->font().pointSize(), 18);
    QVERIFY(toast->findChild<QLabel *>()->styleSheet().startsWith("background:white"));
    delete toast;
  }
};

ORVIK_TEST_MAIN(TestWinManager)
#include "tst_winmanager.moc"
