#include "CustomMenu.h"

#include "CustomIconStyle.h"

#include <QKeySequence>
#include <QWidgetAction>

namespace {

const char *const kMenuStyleSheet =
    "QMenu { padding: 0px; background-color: #333333; border: 1px solid #333333; font-size: 10pt; border-radius: "
    "5px; }"
    "QMenu::separator { background-color: white; height: 1.2px; margin: 2px 1px 2px 50px; }"
    "QMenu::item { margin: 1px 5px; background-color: transparent; color: white; height: 35px; padding-left: 10px; "
    "}"
    "QMenu::item:selected { background-color: #0078d7; color: white; }";

const char *const kHeaderStyleSheet =
    "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0.0 #858585, stop: 0.1 #5c5c5c, stop: 0.7 "
    "#474747); border-radius: 5px;";

}  // namespace

CustomMenu::CustomMenu(QWidget *parent) : QMenu(parent), m_iconStyle(new CustomIconStyle) {
  // The menu owns its style; QWidget::setStyle does not take ownership.
  m_iconStyle->setParent(this);
  m_iconStyle->setCustomSize(kIconSizePx);
  setStyle(m_iconStyle);
  setStyleSheet(QString::fromUtf8(kMenuStyleSheet));

  auto *header = new QWidgetAction(this);
  auto *bar = new QWidget;
  bar->setFixedSize(kHeaderWidthPx, kHeaderHeightPx);
  bar->setStyleSheet(QString::fromUtf8(kHeaderStyleSheet));
  header->setDefaultWidget(bar);
  header->setEnabled(false);
  addAction(header);
}

CustomMenu::~CustomMenu() = default;

void CustomMenu::setupMenu(QObject *receiver, const Items &items) {
  for (const auto &item : items) {
    if (item.first.contains(QLatin1String("separator"))) {
      addSeparator();
      continue;
    }
    QAction *action = addAction(item.second.first, item.first);
    action->setShortcut(QKeySequence());
    const Callback callback = item.second.second;
    connect(action, &QAction::triggered, receiver, [callback] {
      if (callback)
        callback();
    });
  }
}
