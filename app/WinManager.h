#pragma once

#include <QSize>
#include <QVariant>
#include <QWidget>

class DeclarativeWindow;
class SlidingStackedWidget;
class Window;

// The application's one top-level window: frameless, holding the pages in a
// sliding stack, and offering QML what a frameless window needs.
class WinManager : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int winHeight READ winHeight NOTIFY statusChanged)
  Q_PROPERTY(int winWidth READ winWidth NOTIFY statusChanged)
  Q_PROPERTY(int fontSize READ fontSize NOTIFY statusChanged)
  Q_PROPERTY(double scaleFactor READ scaleFactor NOTIFY statusChanged)
  Q_PROPERTY(bool fullWinFlag READ fullWinFlag NOTIFY statusChanged)
public:
  enum PopupMessageType { SUCCEEDED_TYPE = 0, NORMAL_TYPE = 1, WARNING_TYPE = 2, ERROR_TYPE = 3 };
  Q_ENUM(PopupMessageType)

  static constexpr int kSlideSpeedMs = 250;
  static constexpr int kToastFontSize = 18;

  static WinManager *instance();

  void addWin(DeclarativeWindow *window);
  // Deletes every page (at shut-down, before the models go).
  void deletePages();
  Window *getCurrentWin() const;
  QRect getWindowArea() const;
  SlidingStackedWidget *stack() const { return m_stack; }

  int winHeight() const { return m_winHeight; }
  int winWidth() const { return m_winWidth; }
  int fontSize() const { return m_fontSize; }
  double scaleFactor() const { return m_scaleFactor; }
  bool fullWinFlag() const { return m_fullWinFlag; }

  void setWinHeight(int height);
  void setWinWidth(int width);
  void setFontSize(int size);
  void setScaleFactor(double factor);
  void setFullWinFlag(bool flag);

  Q_INVOKABLE void gotoWin(const QString &name);
  Q_INVOKABLE void gotoWinWithArgs(const QString &name, QVariant args);
  Q_INVOKABLE void gotoWinWithArgs(int winIndex, QVariant args);
  Q_INVOKABLE void back();
  Q_INVOKABLE void showPopupMessage(const QString &text, WinManager::PopupMessageType type = NORMAL_TYPE,
                                    int duringSec = 2);
  Q_INVOKABLE void customShowMinimized();
  Q_INVOKABLE void winMove(int x, int y);
  Q_INVOKABLE void resizeWindowFromTopDrag(int globalX, int globalY);
  Q_INVOKABLE void resizeWindowFromBottomDrag(int globalX, int globalY);
  Q_INVOKABLE void resizeWindowFromLeftDrag(int globalX, int globalY);
  Q_INVOKABLE void resizeWindowFromRightDrag(int globalX, int globalY);
  Q_INVOKABLE void initWindowGeometry();
  Q_INVOKABLE void closeWin();
  Q_INVOKABLE int screenGeometryWidth() const;
  Q_INVOKABLE int screenGeometryHeght() const;

signals:
  void statusChanged();
  void sizeChanged(QSize size);

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  WinManager();
  Window *findWin(const QString &name) const;

  SlidingStackedWidget *m_stack = nullptr;
  int m_winHeight = 960;
  int m_winWidth = 1280;
  int m_fontSize = 12;
  bool m_fullWinFlag = false;
  // Nothing in the application scales the toast; 1.0 keeps its font at the default size.
  double m_scaleFactor = 1.0;
};
