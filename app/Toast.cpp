#include "Toast.h"

#include "WinManager.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimerEvent>

namespace {
int s_defaultFontSize = 20;
QColor s_defaultBackgroundColor = Qt::white;
QColor s_defaultTextColor = Qt::black;
}  // namespace

Toast::Toast(QWidget *parent) : QWidget(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  QFont font = this->font();
  font.setPointSize(qMax(1, int(s_defaultFontSize * WinManager::instance()->scaleFactor())));
  setFont(font);
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, s_defaultTextColor);
  pal.setColor(QPalette::Window, s_defaultBackgroundColor);
  setPalette(pal);
  setAutoFillBackground(true);

  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_label = new QLabel(this);
  m_label->setFont(font);
  m_label->setAlignment(Qt::AlignCenter);
  m_label->setStyleSheet(QStringLiteral("background:white; border:2px solid gray; border-radius:10px; "));
  layout->addWidget(m_label);
  hide();
}

void Toast::setText(const QString &text) {
  m_label->setText(text);
  adjustSize();
}

void Toast::setDuring(int ms) { m_duringMs = ms; }

int Toast::getDuring() const { return m_duringMs; }

void Toast::setBackgroundColor(const QColor &color) {
  m_label->setStyleSheet(QStringLiteral("color:white; background:%1; border:2px solid %2; border-radius:10px;")
                             .arg(color.name(), color.name()));
}

void Toast::setDefaultFontSize(int size) { s_defaultFontSize = size; }
void Toast::setDefaultBackgroundColor(const QColor &color) { s_defaultBackgroundColor = color; }
void Toast::setDefaultTextColor(const QColor &color) { s_defaultTextColor = color; }
int Toast::defaultFontSize() { return s_defaultFontSize; }

void Toast::show() {
  if (m_timerId == 0)
    m_timerId = startTimer(m_duringMs, Qt::CoarseTimer);
  QWidget::show();
}

void Toast::timerEvent(QTimerEvent *event) {
  if (event->timerId() != m_timerId) {
    QWidget::timerEvent(event);
    return;
  }
  killTimer(m_timerId);
  m_timerId = 0;
  hide();
  deleteLater();
}
