#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

// One JSON configuration file. It keeps no copy of the content: every read
// goes to the file, and every change is a read-modify-write of the whole
// document on the main thread.
class ConfigFile : public QObject {
  Q_OBJECT
public:
  // Makes sure the configuration directory and the file exist (an empty object when new).
  void init();
  // The file's top-level object; empty when it cannot be read or parsed.
  QJsonObject readConfigInfo();
  // Replaces the file's content atomically; false (and the old file kept) on failure.
  bool writeConfigToFile(const QJsonObject &object);

  QString path() const { return m_path; }

protected:
  ConfigFile(const QString &path, QObject *parent);
  // Said after every successful write (the user configuration reports its writes).
  virtual void writeSucceeded() {}

private:
  QString m_path;
};
