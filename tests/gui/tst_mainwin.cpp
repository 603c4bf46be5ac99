// The main page's frame: it loads without QML warnings, its title bar follows
// the full-window flag, its panels follow the page size, and it is drawn dark.

#include "ApplicationContext.h"
#include "ConfigService.h"
#include "DeclarativeWindow.h"
#include "TestSupport.h"
#include "WinManager.h"

#include <QFile>
#include <QFontDatabase>
#include <QQuickItem>
#include <QQuickWidget>
#include <algorithm>
#include <memory>

namespace {

constexpr int kTitleBarHeightPx = 40;
constexpr int kMarginPx = 10;
constexpr int kMenuStripHeightPx = 30;
constexpr qreal kMaxColumnWidthPx = 230;

const char *const kMainWinUrl = "qrc:/Orvik/MainWin/MainWin.qml";

QRectF sceneRect(const QQuickItem *item) {
  return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

}  // namespace

class TestMainWin : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void cleanup();

  void resources_existAndFontsAreUsable();
  void load_readyWithoutWarnings();
  void titleBar_fullWinFlag_hidesButtonsAndStopsDragging_data();
  void titleBar_fullWinFlag_hidesButtonsAndStopsDragging();
  void layout_followsPageSize_data();
  void layout_followsPageSize();
  void render_pageIsDarkWithLightTitle();

private:
  std::unique_ptr<DeclarativeWindow> loadPage(QSize size = QSize(1280, 750));
  QQuickItem *item(const QString &objectName) const;

  std::unique_ptr<DeclarativeWindow> m_page;
};

void TestMainWin::initTestCase() {
  ApplicationContext::instance()->setContext(QStringLiteral("winManager"), WinManager::instance());
  ApplicationContext::instance()->setContext(QStringLiteral("systemInfo"), ConfigService::instance());
}

void TestMainWin::cleanup() {
  m_page.reset();
  WinManager::instance()->setFullWinFlag(false);
  ORVIK_VERIFY_NO_QML_WARNINGS();
}

std::unique_ptr<DeclarativeWindow> TestMainWin::loadPage(QSize size) {
  return std::unique_ptr<DeclarativeWindow>(orvik::test::loadQmlPage(QString::fromLatin1(kMainWinUrl), size));
}

QQuickItem *TestMainWin::item(const QString &objectName) const {
  QQuickItem *found = orvik::test::findItem(m_page->getView(), objectName);
  if (!found)
    qWarning("no item named %s", qPrintable(objectName));
  return found;
}

void TestMainWin::resources_existAndFontsAreUsable() {
  const QStringList pictures = {
      ":/res/title_bar_bg.png",           ":/res/window_close_icon_normal.png",
      ":/res/window_close_icon_hover.png", ":/res/window_shrink_icon_normal.png",
      ":/res/window_shrink_icon_hover.png", ":/res/full_screen_icon_normal.png",
      ":/res/full_screen_icon_hover.png", ":/res/general_btn_bg_normal.png",
      ":/res/general_btn_bg_pressed.png", ":/res/title_bg.png",
      ":/res/close.png",                  ":/res/line_chart_bg.png"};
  for (const QString &path : pictures)
    QVERIFY2(!QImage(path).isNull(), qPrintable(path));

  for (const char *font : {":/font/MicrosoftYaHei.ttf", ":/font/BankGothicMediumBT.ttf", ":/font/DS-DIGII.TTF"}) {
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(font));
    QVERIFY2(id >= 0, font);
    QVERIFY2(!QFontDatabase::applicationFontFamilies(id).isEmpty(), font);
  }
}

void TestMainWin::load_readyWithoutWarnings() {
  m_page = loadPage();
  QCOMPARE(m_page->getView()->status(), QQuickWidget::Ready);
  QVERIFY(item(QStringLiteral("mainWin")));
  QCOMPARE(m_page->getView()->rootObject()->property("title").toString(), QStringLiteral("主页"));
  // The page hooks the window manager calls exist and do nothing.
  QVERIFY(QMetaObject::invokeMethod(m_page->getView()->rootObject(), "enterWin"));
  QVERIFY(QMetaObject::invokeMethod(m_page->getView()->rootObject(), "exitWin"));
}

void TestMainWin::titleBar_fullWinFlag_hidesButtonsAndStopsDragging_data() {
  QTest::addColumn<bool>("fullWinFlag");
  QTest::newRow("normal window") << false;
  QTest::newRow("full window (-f)") << true;
}

void TestMainWin::titleBar_fullWinFlag_hidesButtonsAndStopsDragging() {
  QFETCH(bool, fullWinFlag);
  // The flag is set at start-up, before the page exists, and never signalled.
  WinManager::instance()->setFullWinFlag(fullWinFlag);
  m_page = loadPage();

  QQuickItem *buttons = item(QStringLiteral("actionButtons"));
  QQuickItem *dragArea = item(QStringLiteral("titleDraggableArea"));
  QQuickItem *titleTexts = item(QStringLiteral("titleTexts"));
  QVERIFY(buttons && dragArea && titleTexts);
  QCOMPARE(buttons->isVisible(), !fullWinFlag);
  // A MouseArea's own "enabled" decides whether it takes the mouse.
  QCOMPARE(dragArea->property("enabled").toBool(), !fullWinFlag);
  QVERIFY(titleTexts->isVisible());
  QCOMPARE(sceneRect(item(QStringLiteral("titleBar"))), QRectF(0, 0, 1280, kTitleBarHeightPx));
}

void TestMainWin::layout_followsPageSize_data() {
  QTest::addColumn<QSize>("size");
  QTest::newRow("start size") << QSize(1280, 750);
  QTest::newRow("narrowest with the full column") << QSize(1278, 700);
  QTest::newRow("column at 18 %") << QSize(1277, 700);
  QTest::newRow("small window") << QSize(900, 560);
  QTest::newRow("large window") << QSize(1920, 1080);
}

void TestMainWin::layout_followsPageSize() {
  QFETCH(QSize, size);
  // Loaded at another size first: the layout must follow the page when it is resized.
  m_page = loadPage(QSize(1100, 640));
  m_page->onResize(size);
  const qreal w = size.width();
  const qreal h = size.height();
  const qreal top = kTitleBarHeightPx + kMarginPx;
  const qreal column = std::min(w * 0.18, kMaxColumnWidthPx);

  QCOMPARE(sceneRect(item(QStringLiteral("mainWin"))), QRectF(0, 0, w, h));
  QCOMPARE(sceneRect(item(QStringLiteral("titleBar"))), QRectF(0, 0, w, kTitleBarHeightPx));
  QCOMPARE(sceneRect(item(QStringLiteral("rightEdgeArea"))), QRectF(w * 0.9, 0, w - w * 0.9, h));
  QCOMPARE(sceneRect(item(QStringLiteral("leftEdgeArea"))), QRectF(0, 0, w * 0.1, h));
  QCOMPARE(sceneRect(item(QStringLiteral("bottomEdgeArea"))), QRectF(0, h * 0.9, w, h - h * 0.9));

  QCOMPARE(sceneRect(item(QStringLiteral("setBox"))), QRectF(kMarginPx, top, column, h - top - kMarginPx));
  const qreal columnRight = kMarginPx + column;
  QCOMPARE(sceneRect(item(QStringLiteral("menuBox"))),
           QRectF(columnRight, top, w - kMarginPx - columnRight, kMenuStripHeightPx));
  const qreal chartTop = top + kMenuStripHeightPx + 5;
  QCOMPARE(sceneRect(item(QStringLiteral("chartBox"))),
           QRectF(columnRight + 5, chartTop, w - kMarginPx - columnRight - 5, h - kMarginPx - chartTop));

  // The control column's panels, top to bottom, as fractions of its width.
  const struct {
    const char *name;
    qreal heightRatio;
  } panels[] = {{"serialPortBox", 0.45}, {"freSetBox", 0.25}, {"scanControlBox", 0.2}, {"trackSetBox", 0.2},
                {"plotSetBox", 0.6}};
  qreal y = top;
  for (const auto &panel : panels) {
    QCOMPARE(sceneRect(item(QString::fromLatin1(panel.name))), QRectF(kMarginPx, y, column, column * panel.heightRatio));
    y += column * panel.heightRatio + 5;
  }
  const qreal monitorHeight = (h - top - kMarginPx) - 1.7 * column - 25;
  QCOMPARE(sceneRect(item(QStringLiteral("monitorSetBox"))),
           QRectF(kMarginPx, h - kMarginPx - monitorHeight, column, monitorHeight));

  QCOMPARE(sceneRect(item(QStringLiteral("mediaBox"))).x(), columnRight + 14 * kMenuStripHeightPx);
}

void TestMainWin::render_pageIsDarkWithLightTitle() {
  m_page = loadPage();
  const QImage image = orvik::test::renderView(m_page->getView());
  QCOMPARE(image.size(), QSize(1280, 750));

  // Page margin, a control panel, the chart's plate and the title bar.
  const QRectF panel = sceneRect(item(QStringLiteral("plotSetBox")));
  const QRectF chart = sceneRect(item(QStringLiteral("chartBox")));
  const QPoint samples[] = {QPoint(5, 745), panel.center().toPoint(), chart.center().toPoint(), QPoint(320, 20)};
  for (const QPoint &at : samples) {
    const QColor colour = image.pixelColor(at);
    QVERIFY2(colour.lightness() < 0x50, qPrintable(QStringLiteral("(%1,%2) is %3")
                                                       .arg(at.x()).arg(at.y()).arg(colour.name())));
  }
  QCOMPARE(image.pixelColor(QPoint(5, 745)), QColor(0x33, 0x33, 0x33));
  // The panels hold their controls now; the chart's plate stays black where no trace is drawn.
  QCOMPARE(image.pixelColor(QPoint(int(chart.left()) + 20, int(chart.top()) + 20)), QColor(Qt::black));

  // The product name is drawn in white on the bar.
  const QRect title = sceneRect(item(QStringLiteral("titleTexts"))).toAlignedRect();
  int brightest = 0;
  for (int y = title.top(); y <= title.bottom(); ++y)
    for (int x = title.left(); x <= title.right(); ++x)
      brightest = std::max(brightest, image.pixelColor(x, y).lightness());
  QVERIFY2(brightest > 200, qPrintable(QString::number(brightest)));
}

ORVIK_TEST_MAIN(TestMainWin)
#include "tst_mainwin.moc"
