#include "DeclarativeWindow.h"

#include "ApplicationContext.h"
#include "WinManager.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>

DeclarativeWindow::DeclarativeWindow(const QString &name, const QUrl &source, const QStringList &importPaths,
                                     QWidget *parent)
    : Window(name, parent), m_source(source), m_importPaths(importPaths) {
  setupView();
}

DeclarativeWindow::~DeclarativeWindow() {
  // The QML goes before the page it reads as _window, so no binding sees a null page.
  delete m_view;
  m_view = nullptr;
}

void DeclarativeWindow::setupView() {
  m_view = new QQuickWidget(this);
  m_view->setWindowFlags(Qt::FramelessWindowHint);
  m_view->setAttribute(Qt::WA_AcceptTouchEvents);
  m_view->setStyleSheet(QStringLiteral("background:transparent;"));
  m_view->setResizeMode(QQuickWidget::SizeRootObjectToView);
  m_view->adjustSize();
  m_view->move(0, 0);
  m_view->resize(size());

  for (const QString &path : qAsConst(m_importPaths))
    m_view->engine()->addImportPath(path);

  connect(WinManager::instance(), &WinManager::sizeChanged, this, &DeclarativeWindow::onResize);

  QQmlContext *context = m_view->rootContext();
  context->setContextProperty(QStringLiteral("_window"), this);
  const QMap<QString, QObject *> objects = ApplicationContext::instance()->getContextMap();
  for (auto it = objects.constBegin(); it != objects.constEnd(); ++it)
    context->setContextProperty(it.key(), it.value());

  if (!m_source.isEmpty()) {
    m_view->setSource(m_source);
    m_view->show();
  }
}

void DeclarativeWindow::invokeRoot(const char *function, const QVariant *argument) {
  if (!m_view || !m_view->rootObject())
    return;
  if (argument)
    QMetaObject::invokeMethod(m_view->rootObject(), function, Q_ARG(QVariant, *argument));
  else
    QMetaObject::invokeMethod(m_view->rootObject(), function);
}

void DeclarativeWindow::enter_win() { invokeRoot("enterWin"); }

void DeclarativeWindow::enterWin(QVariant args) { invokeRoot("enterWinWithArgs", &args); }

void DeclarativeWindow::exit_win() { invokeRoot("exitWin"); }

void DeclarativeWindow::onResize(QSize size) {
  resize(size);
  if (m_view)
    m_view->resize(size);
  emit sizeChanged();
}
