#pragma once

#include <QMap>
#include <QObject>
#include <QString>

// The registry of objects that every declarative window publishes to QML as
// context properties. Entries are not owned.
class ApplicationContext {
public:
  static ApplicationContext *instance();

  void setContext(const QString &name, QObject *object);
  QObject *getContextObject(const QString &name) const;
  QMap<QString, QObject *> getContextMap() const;

private:
  ApplicationContext() = default;
  QMap<QString, QObject *> m_objects;
};
