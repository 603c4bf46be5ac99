#pragma once

#include "BaseApplication.h"

#include <QTimer>

class EmtApplication : public BaseApplication {
  Q_OBJECT
public:
  static constexpr int kMainWindowDelayMs = 2000;
  static constexpr int kMainWindowWidth = 1280;
  static constexpr int kMainWindowHeight = 750;
  static constexpr int kMaxPoolThreads = 20;

  EmtApplication(int &argc, char **argv);

  // Loads the main page and shows the window (what the start-up timer does).
  void showMainWindow();

  void createWindows() override;
  void registerQmlTypes() override;
  void setApplicationContext() override;

private:
  QTimer m_startTimer;
};
