#include "Window.h"

#include "WinManager.h"

Window::Window(const QString &name, QWidget *parent) : QWidget(parent), m_name(name) {
  setGeometry(WinManager::instance()->getWindowArea());
}

void Window::enter_win() {}
void Window::enterWin(QVariant) {}
void Window::exit_win() {}
