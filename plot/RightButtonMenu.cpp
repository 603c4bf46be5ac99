#include "RightButtonMenu.h"

#include <QAction>

RightButtonMenu::RightButtonMenu(MenuActions actions, VideoRecordState state, QWidget *parent)
    : CustomMenu(parent), m_actions(std::move(actions)), m_state(state) {
  Items items;
  for (const MenuItem &item : menuItems(m_actions, m_state))
    items.append(qMakePair(item.text, qMakePair(item.iconPath.isEmpty() ? QIcon() : QIcon(item.iconPath),
                                                item.callback)));
  setupMenu(this, items);
}

RightButtonMenu::~RightButtonMenu() = default;

QList<RightButtonMenu::MenuItem> RightButtonMenu::menuItems(const MenuActions &actions, VideoRecordState state) {
  const bool recording = state == VideoRecordState::Recording;
  return {
      {setStartText(), QStringLiteral(":/res/start_fre_icon.png"), actions.setStart},
      {setStopText(), QStringLiteral(":/res/end_fre_icon.jpg"), actions.setStop},
      {separatorText(), QString(), Callback()},
      {setScaleTopText(), QStringLiteral(":/res/highest_scale_icon.png"), actions.setScaleTop},
      {setScaleBottomText(), QStringLiteral(":/res/lowest_scale_icon.png"), actions.setScaleBottom},
      {separatorText(), QString(), Callback()},
      {addMonitorPointText(), QStringLiteral(":/res/add_detection_points_icon.png"), actions.addMonitorPoint},
      {deleteMonitorPointText(), QStringLiteral(":/res/del_detection_points_icon.png"), actions.deleteMonitorPoint},
      {separatorText(), QString(), Callback()},
      {savePictureText(), QStringLiteral(":/res/save_picture_icon.png"), actions.savePicture},
      {recording ? stopRecordingText() : startRecordingText(),
       recording ? QStringLiteral(":/res/video_record_icon_pressed.png")
                 : QStringLiteral(":/res/video_record_icon_normal.png"),
       actions.toggleRecording},
      {saveCsvText(), QStringLiteral(":/res/save_csv_file_icon.png"), actions.saveCsv},
  };
}

QAction *RightButtonMenu::findAction(QMenu *menu, const QString &text) {
  if (!menu)
    return nullptr;
  const QList<QAction *> actions = menu->actions();
  for (QAction *action : actions) {
    if (action->text() == text)
      return action;
  }
  return nullptr;
}

void RightButtonMenu::setActionEnabled(QMenu *menu, const QString &text, bool enabled) {
  if (QAction *action = findAction(menu, text))
    action->setEnabled(enabled);
}
