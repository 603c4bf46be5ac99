#pragma once

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QPair>
#include <QString>
#include <functional>

class CustomIconStyle;

// A pop-up menu in the house style: dark, rounded, large icons, and a grey
// header bar above the entries.
class CustomMenu : public QMenu {
  Q_OBJECT
public:
  using Callback = std::function<void()>;
  // (text, (icon, callback)); a text containing "separator" is a separator line.
  using Items = QList<QPair<QString, QPair<QIcon, Callback>>>;

  static constexpr int kIconSizePx = 30;
  static constexpr int kHeaderWidthPx = 240;
  static constexpr int kHeaderHeightPx = 28;

  explicit CustomMenu(QWidget *parent = nullptr);
  ~CustomMenu() override;

  // Adds the items in order; each action calls its callback, with `receiver`
  // as the connection's context.
  void setupMenu(QObject *receiver, const Items &items);

private:
  CustomIconStyle *m_iconStyle;
};
