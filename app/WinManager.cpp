#include "WinManager.h"

#include "DeclarativeWindow.h"
#include "SlidingStackedWidget.h"
#include "Toast.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

namespace {
QSize primaryScreenSize() {
  const QScreen *screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1280, 750);
}
}  // namespace

WinManager *WinManager::instance() {
  static WinManager *const s_instance = new WinManager();
  return s_instance;
}

WinManager::WinManager() : QWidget(nullptr) {
  Toast::setDefaultFontSize(kToastFontSize);
  m_stack = new SlidingStackedWidget(this);
  m_stack->setSpeed(kSlideSpeedMs);
  m_stack->setAnimation(QEasingCurve::InOutCubic);
}

void WinManager::addWin(DeclarativeWindow *window) {
  window->setIndex(m_stack->count());
  m_stack->addWidget(window);
}

void WinManager::deletePages() {
  while (m_stack->count() > 0) {
    QWidget *page = m_stack->widget(0);
    m_stack->removeWidget(page);
    delete page;
  }
}

Window *WinManager::getCurrentWin() const { return qobject_cast<Window *>(m_stack->currentWidget()); }

QRect WinManager::getWindowArea() const { return m_stack->geometry(); }

void WinManager::setWinHeight(int height) {
  m_winHeight = height;
  emit statusChanged();
}

void WinManager::setWinWidth(int width) {
  m_winWidth = width;
  emit statusChanged();
}

void WinManager::setFontSize(int size) {
  m_fontSize = size;
  emit statusChanged();
}

void WinManager::setScaleFactor(double factor) {
  m_scaleFactor = factor;
  emit statusChanged();
}

void WinManager::setFullWinFlag(bool flag) { m_fullWinFlag = flag; }

Window *WinManager::findWin(const QString &name) const {
  for (int i = 0; i < m_stack->count(); ++i) {
    auto *page = qobject_cast<Window *>(m_stack->widget(i));
    if (page && page->name() == name)
      return page;
  }
  return nullptr;
}

void WinManager::gotoWin(const QString &name) {
  if (m_stack->isSliding())
    return;
  Window *page = findWin(name);
  if (!page)
    return;
  page->setFocus();
  page->enter_win();
  if (Window *current = getCurrentWin())
    current->exit_win();
  m_stack->slideInIdx(page->index(), SlidingStackedWidget::SlideAuto);
}

void WinManager::gotoWinWithArgs(const QString &name, QVariant args) {
  if (m_stack->isSliding())
    return;
  Window *page = findWin(name);
  if (!page)
    return;
  page->setFocus();
  page->enterWin(args);
  if (Window *current = getCurrentWin())
    current->exit_win();
  m_stack->slideInIdx(page->index(), SlidingStackedWidget::SlideAuto);
}

void WinManager::gotoWinWithArgs(int winIndex, QVariant args) {
  // Going by index is the by-name call's twin.
  if (winIndex < 0 || winIndex >= m_stack->count())
    return;
  if (auto *page = qobject_cast<Window *>(m_stack->widget(winIndex)))
    gotoWinWithArgs(page->name(), args);
}

void WinManager::back() {
  if (m_stack->isSliding() || m_stack->count() < 2)
    return;
  if (Window *current = getCurrentWin())
    current->exit_win();
  m_stack->slideInPrevDelNew();
}

void WinManager::showPopupMessage(const QString &text, WinManager::PopupMessageType type, int duringSec) {
  Window *page = getCurrentWin();
  if (!page)
    return;
  auto *toast = new Toast(page);
  toast->setText(text);
  if (type == ERROR_TYPE)
    toast->setBackgroundColor(QColor(QStringLiteral("#ff0000")));
  else if (type == SUCCEEDED_TYPE)
    toast->setBackgroundColor(QColor(QStringLiteral("#00ff00")));
  toast->adjustSize();
  toast->move((page->width() - toast->width()) / 2, page->height() - toast->height() - 100);
  toast->setDuring(duringSec * 2000);
  toast->show();
}

void WinManager::customShowMinimized() {
  setWindowFlags(Qt::Window);
  showMinimized();
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  show();
}

void WinManager::winMove(int x, int y) { move(pos() + QPoint(x, y)); }

void WinManager::resizeWindowFromTopDrag(int /*globalX*/, int globalY) {
  QRect g = geometry();
  if (g.bottom() - globalY + 1 > minimumHeight()) {
    g.setTop(globalY);
    setGeometry(g);
  }
}

void WinManager::resizeWindowFromBottomDrag(int /*globalX*/, int globalY) {
  QRect g = geometry();
  if (globalY - g.top() > minimumHeight()) {
    g.setBottom(globalY - 1);
    setGeometry(g);
  }
}

void WinManager::resizeWindowFromLeftDrag(int globalX, int /*globalY*/) {
  QRect g = geometry();
  if (g.right() - globalX + 1 > minimumWidth()) {
    g.setLeft(globalX);
    setGeometry(g);
  }
}

void WinManager::resizeWindowFromRightDrag(int globalX, int /*globalY*/) {
  QRect g = geometry();
  if (globalX - g.left() > minimumWidth()) {
    g.setRight(globalX - 1);
    setGeometry(g);
  }
}

void WinManager::initWindowGeometry() {
  m_fullWinFlag = false;
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  const QSize screen = primaryScreenSize();
  const int width = int(screen.width() * 0.7);
  const int height = int(screen.height() * 0.7);
  setWinWidth(width);
  setWinHeight(height);
  setGeometry((screen.width() - width) / 2, (screen.height() - height) / 2, width, height);
  setMinimumSize(width, height);
}

void WinManager::closeWin() {
  close();
  QCoreApplication::quit();
}

int WinManager::screenGeometryWidth() const { return primaryScreenSize().width(); }

int WinManager::screenGeometryHeght() const { return primaryScreenSize().height(); }

bool WinManager::eventFilter(QObject *watched, QEvent *event) {
  if (m_stack->isSliding()) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)
      return true;
  }
  return QWidget::eventFilter(watched, event);
}

void WinManager::resizeEvent(QResizeEvent *event) {
  m_stack->resize(event->size());
  m_stack->move(0, 0);
  emit sizeChanged(event->size());
  QWidget::resizeEvent(event);
}
