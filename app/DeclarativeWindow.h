#pragma once

#include "Window.h"

#include <QStringList>
#include <QUrl>

class QQuickWidget;

// A page that hosts one QML file and publishes the application context to it.
class DeclarativeWindow : public Window {
  Q_OBJECT
public:
  DeclarativeWindow(const QString &name, const QUrl &source, const QStringList &importPaths,
                    QWidget *parent = nullptr);
  ~DeclarativeWindow() override;

  void enter_win() override;
  void enterWin(QVariant args) override;
  void exit_win() override;

  QQuickWidget *getView() const { return m_view; }

public slots:
  void onResize(QSize size);

private:
  void setupView();
  void invokeRoot(const char *function, const QVariant *argument = nullptr);

  QQuickWidget *m_view = nullptr;
  QUrl m_source;
  QStringList m_importPaths;
};
