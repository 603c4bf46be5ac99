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
  ~EmtApplication() override;

  // The native types of the QML module "MyModel" 1.0 (once per process).
  static void registerNativeTypes();
  // Creates the model singletons and publishes them in the application context.
  static void publishModels();

  // Loads the main page and shows the window (what the start-up timer does).
  void showMainWindow();

  void createWindows() override;
  void registerQmlTypes() override;
  void setApplicationContext() override;

private:
  QTimer m_startTimer;
};
