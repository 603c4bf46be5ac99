#pragma once

#include <QEasingCurve>
#include <QPoint>
#include <QPointer>
#include <QStackedWidget>

class QLabel;
class QParallelAnimationGroup;

// A stacked widget that slides between its pages. Pictures of the two pages
// are animated in place of the pages themselves.
class SlidingStackedWidget : public QStackedWidget {
  Q_OBJECT
public:
  enum t_direction { SlideRight = 0, SlideLeft = 1, SlideUp = 2, SlideDown = 3, SlideAuto = 4 };
  Q_ENUM(t_direction)

  explicit SlidingStackedWidget(QWidget *parent = nullptr);

  bool isSliding() const { return m_sliding; }

public slots:
  void setSpeed(int speedMs);
  void setAnimation(QEasingCurve::Type type);
  void setVerticalMode(bool vertical = true);
  void setWrap(bool wrap);
  void slideInNext();
  void slideInPrev();
  void slideInIdx(int idx, SlidingStackedWidget::t_direction direction = SlideAuto);
  void slideInPrevDelNew();

signals:
  void animationFinished();

private slots:
  void animationDoneSlot();

private:
  void slideInWgt(QWidget *widget, t_direction direction);

  int m_speedMs = 500;
  QEasingCurve::Type m_animationType = QEasingCurve::Linear;
  bool m_vertical = false;
  bool m_wrap = false;
  bool m_sliding = false;
  int m_now = 0;
  int m_next = 0;
  QPoint m_savedPos;
  QPointer<QLabel> m_nowLabel;
  QPointer<QLabel> m_nextLabel;
  QPointer<QParallelAnimationGroup> m_group;
};
