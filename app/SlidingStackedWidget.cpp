#include "SlidingStackedWidget.h"

#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

SlidingStackedWidget::SlidingStackedWidget(QWidget *parent) : QStackedWidget(parent) {}

void SlidingStackedWidget::setSpeed(int speedMs) { m_speedMs = speedMs; }
void SlidingStackedWidget::setAnimation(QEasingCurve::Type type) { m_animationType = type; }
void SlidingStackedWidget::setVerticalMode(bool vertical) { m_vertical = vertical; }
void SlidingStackedWidget::setWrap(bool wrap) { m_wrap = wrap; }

void SlidingStackedWidget::slideInNext() {
  const int now = currentIndex();
  if (m_wrap || now < count() - 1)
    slideInIdx(now + 1);
}

void SlidingStackedWidget::slideInPrev() {
  const int now = currentIndex();
  if (m_wrap || now > 0)
    slideInIdx(now - 1);
}

void SlidingStackedWidget::slideInPrevDelNew() { slideInPrev(); }

void SlidingStackedWidget::slideInIdx(int idx, t_direction direction) {
  if (count() == 0)
    return;
  if (idx > count() - 1) {
    direction = m_vertical ? SlideUp : SlideLeft;
    idx = idx % count();
  } else if (idx < 0) {
    direction = m_vertical ? SlideDown : SlideRight;
    idx = ((idx % count()) + count()) % count();
  }
  slideInWgt(widget(idx), direction);
}

void SlidingStackedWidget::slideInWgt(QWidget *newWidget, t_direction direction) {
  if (m_sliding)
    return;
  m_sliding = true;
  const int now = currentIndex();
  const int next = indexOf(newWidget);
  if (now == next) {
    m_sliding = false;
    return;
  }
  if (direction == SlideAuto) {
    if (now < next)
      direction = m_vertical ? SlideUp : SlideLeft;
    else
      direction = m_vertical ? SlideDown : SlideRight;
  }

  const int offsetX = frameRect().width();
  const int offsetY = frameRect().height();
  QWidget *nowWidget = widget(now);
  newWidget->setGeometry(0, 0, offsetX, offsetY);

  QPoint offset;
  switch (direction) {
  case SlideRight: offset = QPoint(offsetX, 0); break;
  case SlideLeft: offset = QPoint(-offsetX, 0); break;
  case SlideUp: offset = QPoint(0, -offsetY); break;
  case SlideDown: offset = QPoint(0, offsetY); break;
  case SlideAuto: break;
  }

  const QPoint nowPos = nowWidget->pos();
  const QPoint nextPos = newWidget->pos();
  m_savedPos = nowPos;

  delete m_nowLabel;
  delete m_nextLabel;
  m_nowLabel = new QLabel(this);
  m_nextLabel = new QLabel(this);
  m_nowLabel->setPixmap(nowWidget->grab());
  m_nextLabel->setPixmap(newWidget->grab());
  m_nowLabel->setGeometry(QRect(nowPos, nowWidget->size()));
  m_nextLabel->setGeometry(QRect(nextPos, newWidget->size()));
  m_nowLabel->show();
  m_nextLabel->show();
  if (now < next)
    m_nextLabel->raise();
  else
    m_nowLabel->raise();
  nowWidget->hide();
  newWidget->hide();

  delete m_group;
  m_group = new QParallelAnimationGroup(this);
  auto *nowAnimation = new QPropertyAnimation(m_nowLabel, "pos");
  nowAnimation->setDuration(m_speedMs);
  nowAnimation->setEasingCurve(m_animationType);
  nowAnimation->setStartValue(nowPos);
  nowAnimation->setEndValue(nowPos + offset);
  auto *nextAnimation = new QPropertyAnimation(m_nextLabel, "pos");
  nextAnimation->setDuration(m_speedMs);
  nextAnimation->setEasingCurve(m_animationType);
  nextAnimation->setStartValue(nextPos - offset);
  nextAnimation->setEndValue(nextPos);
  m_group->addAnimation(nowAnimation);
  m_group->addAnimation(nextAnimation);

  m_now = now;
  m_next = next;
  connect(m_group, &QParallelAnimationGroup::finished, this, &SlidingStackedWidget::animationDoneSlot);
  m_group->start();
}

void SlidingStackedWidget::animationDoneSlot() {
  if (m_nowLabel)
    m_nowLabel->hide();
  if (m_nextLabel)
    m_nextLabel->hide();
  setCurrentIndex(m_next);
  QWidget *leaving = widget(m_now);
  if (leaving) {
    leaving->hide();
    leaving->move(m_savedPos);
  }
  if (QWidget *arriving = widget(m_next))
    arriving->show();
  if (m_group)
    m_group->deleteLater();
  m_group = nullptr;
  m_sliding = false;
  emit animationFinished();
}
