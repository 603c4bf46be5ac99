#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Read-only facts about the running build and a wall-clock text refreshed ten
// times a second, for QML (published as "systemInfo"). All properties share
// statusChanged, so bindings on any of them follow the clock.
class ConfigService : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString version READ version NOTIFY statusChanged)
  Q_PROPERTY(QString commitid READ commitId NOTIFY statusChanged)
  Q_PROPERTY(QString compileTime READ compileTime NOTIFY statusChanged)
  Q_PROPERTY(QString currentTime READ currentTime NOTIFY statusChanged)
public:
  static constexpr int kClockIntervalMs = 100;

  static ConfigService *instance();

  QString version() const;
  QString commitId() const;
  QString compileTime() const;
  QString currentTime() const;
  // Stores the text and emits statusChanged, even when it is unchanged.
  void setCurrentTime(const QString &text);

signals:
  void statusChanged();

private:
  explicit ConfigService(QObject *parent = nullptr);
  void onClockTick();

  static ConfigService *m_instance;
  QTimer m_clockTimer;
  QString m_currentTime;
};
