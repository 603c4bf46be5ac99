#include "ApplicationContext.h"

#include <QtGlobal>

ApplicationContext *ApplicationContext::instance() {
  static ApplicationContext *const s_instance = new ApplicationContext();
  return s_instance;
}

void ApplicationContext::setContext(const QString &name, QObject *object) {
  m_objects.remove(name);
  m_objects.insert(name, object);
}

QObject *ApplicationContext::getContextObject(const QString &name) const {
  const auto it = m_objects.constFind(name);
  if (it == m_objects.constEnd()) {
    qDebug("ERROR: [ApplicationContext] no such object in context: %s", name.toLocal8Bit().constData());
    return nullptr;
  }
  return it.value();
}

QMap<QString, QObject *> ApplicationContext::getContextMap() const { return m_objects; }
