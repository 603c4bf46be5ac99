#pragma once

#include <QApplication>
#include <QCommandLineParser>
#include <QObject>

// The process's composition root: the Qt application, the command line and
// the window geometry. Subclasses create the windows, register the QML types
// and publish the models.
class BaseApplication : public QObject {
  Q_OBJECT
public:
  static constexpr int kDefaultWidth = 1280;
  static constexpr int kDefaultHeight = 720;

  BaseApplication(int &argc, char **argv);
  ~BaseApplication() override;

  int run();
  void initWindowGeometry();
  static int getWindowX(int width);
  static int getWindowY(int height);

  bool fullScreenOption() const;
  QApplication &application() { return m_application; }

  virtual void createWindows() = 0;
  virtual void registerQmlTypes() = 0;
  virtual void setApplicationContext() = 0;

private:
  QCommandLineParser m_parser;
  QApplication m_application;
};
