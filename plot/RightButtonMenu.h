#pragma once

#include "CustomMenu.h"

#include <QList>
#include <QString>
#include <functional>

class QAction;

// The spectrum chart's context menu: set the clicked frequency as start or
// stop, the clicked level as top or bottom of the scale, add or delete a
// monitoring point there, save the chart or the sweep, start or stop the
// screen recording. Built for one press and destroyed after it.
class RightButtonMenu : public CustomMenu {
  Q_OBJECT
public:
  struct MenuActions {
    Callback setStart;
    Callback setStop;
    Callback setScaleBottom;
    Callback setScaleTop;
    Callback addMonitorPoint;
    Callback deleteMonitorPoint;
    Callback savePicture;
    Callback saveCsv;
    Callback toggleRecording;
  };

  enum class VideoRecordState { Idle, Recording };

  struct MenuItem {
    QString text;
    QString iconPath;
    Callback callback;
  };

  static QString separatorText() { return QStringLiteral("separator"); }
  static QString setStartText() { return QStringLiteral("将当前设置为开始频率"); }
  static QString setStopText() { return QStringLiteral("将当前设置为结束频率"); }
  static QString setScaleTopText() { return QStringLiteral("将当前频率设置为最高刻度"); }
  static QString setScaleBottomText() { return QStringLiteral("将当前频率设置为最低刻度"); }
  static QString addMonitorPointText() { return QStringLiteral("添加当前为监测点"); }
  static QString deleteMonitorPointText() { return QStringLiteral("删除当前监测点"); }
  static QString savePictureText() { return QStringLiteral("保存图片"); }
  static QString startRecordingText() { return QStringLiteral("開始录像"); }
  static QString stopRecordingText() { return QStringLiteral("停止录像"); }
  static QString saveCsvText() { return QStringLiteral("保存为CSV"); }

  RightButtonMenu(MenuActions actions, VideoRecordState state, QWidget *parent = nullptr);
  ~RightButtonMenu() override;

  // The twelve entries in menu order, separators included.
  static QList<MenuItem> menuItems(const MenuActions &actions, VideoRecordState state);

  // The first action whose text is exactly `text`, or null.
  static QAction *findAction(QMenu *menu, const QString &text);
  static void setActionEnabled(QMenu *menu, const QString &text, bool enabled);

  VideoRecordState videoRecordState() const { return m_state; }

private:
  MenuActions m_actions;
  VideoRecordState m_state;
};
