#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

// One page of the window manager, found by its name.
class Window : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int screenWidth READ screenWidth NOTIFY sizeChanged)
  Q_PROPERTY(int screenHeight READ screenHeight NOTIFY sizeChanged)
public:
  explicit Window(const QString &name, QWidget *parent = nullptr);

  virtual void enter_win();
  virtual void enterWin(QVariant args);
  virtual void exit_win();

  int index() const { return m_index; }
  void setIndex(int index) { m_index = index; }
  QString name() const { return m_name; }

  int screenWidth() const { return width(); }
  int screenHeight() const { return height(); }

signals:
  void sizeChanged();

private:
  int m_index = 0;
  QString m_name;
};
