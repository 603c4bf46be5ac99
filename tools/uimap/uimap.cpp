// Prints where every named item of the main page lies when the window has a
// given size: one line per item, "<objectName> <x> <y> <width> <height>" in
// window coordinates. The page is laid out in percentages of the window, so
// a driver that clicks the real window (xdotool) finds the real controls.
//
// Usage: uimap [--width W] [--height H] [--click NAME]...
// --click presses the named item first (in order), so the places of what it
// opens (menus, dialogs) are printed too. Runs on the offscreen platform.

#include "ApplicationContext.h"
#include "DeclarativeWindow.h"
#include "EmtApplication.h"
#include "SystemConfig.h"
#include "UserConfig.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTextStream>
#include <functional>

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_QUICK_BACKEND", "software");
  QApplication app(argc, argv);
  QCommandLineParser parser;
  parser.addHelpOption();
  QCommandLineOption widthOption("width", "Window width.", "W", "1280");
  QCommandLineOption heightOption("height", "Window height.", "H", "750");
  parser.addOption(widthOption);
  parser.addOption(heightOption);
  QCommandLineOption clickOption("click", "Press this item before printing.", "NAME");
  parser.addOption(clickOption);
  QCommandLineOption openOption("open", "Open this popup or dialog (its open()) before printing.", "NAME");
  parser.addOption(openOption);
  parser.process(app);
  const QSize size(parser.value(widthOption).toInt(), parser.value(heightOption).toInt());

  SystemConfig::instance()->init();
  UserConfig::instance()->init();
  EmtApplication::registerNativeTypes();
  EmtApplication::publishModels();
  DeclarativeWindow page(QStringLiteral("MainWin"), QUrl(QStringLiteral("qrc:/Orvik/MainWin/MainWin.qml")),
                         {QStringLiteral("qrc:/Orvik/MainWin/"), QStringLiteral("qrc:/Corlakit/"),
                          QStringLiteral("qrc:/")});
  page.resize(size);
  page.onResize(size);
  page.show();
  QCoreApplication::processEvents();
  QQuickItem *root = page.getView()->rootObject();
  if (!root)
    return 1;

  QQuickWidget *view = page.getView();
  for (const QString &name : parser.values(clickOption)) {
    std::function<QQuickItem *(QQuickItem *)> find = [&](QQuickItem *at) -> QQuickItem * {
      if (at->objectName() == name && at->isVisible())
        return at;
      for (QQuickItem *child : at->childItems()) {
        if (QQuickItem *hit = find(child))
          return hit;
      }
      return nullptr;
    };
    QQuickItem *item = find(view->quickWindow()->contentItem());
    if (!item) {
      QTextStream(stderr) << "uimap: no item named " << name << '\n';
      return 2;
    }
    const QPoint centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    QMouseEvent press(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &press);
    QCoreApplication::sendEvent(view, &release);
    // Popups open with an animation: let it end so their items stand where they stay.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 400)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }

  // Dialogs that a state of the device would open (a connection, a sweep):
  // opened directly, so their controls can be found in the real window.
  for (const QString &name : parser.values(openOption)) {
    QObject *popup = root->findChild<QObject *>(name);
    if (!popup || !QMetaObject::invokeMethod(popup, "open")) {
      QTextStream(stderr) << "uimap: nothing to open named " << name << '\n';
      return 2;
    }
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 400)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }

  QTextStream out(stdout);
  std::function<void(QQuickItem *)> walk = [&](QQuickItem *item) {
    if (!item->objectName().isEmpty() && item->isVisible()) {
      const QRectF r = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
      out << item->objectName() << ' ' << int(r.x()) << ' ' << int(r.y()) << ' ' << int(r.width()) << ' '
          << int(r.height()) << '\n';
    }
    for (QQuickItem *child : item->childItems())
      walk(child);
  };
  // Popups live in the window's overlay, beside the page's root.
  walk(view->quickWindow()->contentItem());
  return 0;
}
