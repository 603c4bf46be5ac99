#pragma once

#include <QColor>
#include <QWidget>

class QLabel;

// A transient popup message. Created with new, shown once; it hides and
// deletes itself when its display time is up.
class Toast : public QWidget {
  Q_OBJECT
public:
  explicit Toast(QWidget *parent);

  void setText(const QString &text);
  void setDuring(int ms);
  int getDuring() const;
  void setBackgroundColor(const QColor &color);

  static void setDefaultFontSize(int size);
  static void setDefaultBackgroundColor(const QColor &color);
  static void setDefaultTextColor(const QColor &color);
  static int defaultFontSize();

public slots:
  Q_INVOKABLE void show();

protected:
  void timerEvent(QTimerEvent *event) override;

private:
  QLabel *m_label = nullptr;
  int m_duringMs = 2000;
  int m_timerId = 0;
};
