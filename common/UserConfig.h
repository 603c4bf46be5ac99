#pragma once

#include <QJsonObject>
#include <QObject>

// Owner of the user configuration file (the index of saved presets). It keeps no copy of the content: every read goes
// to the file, and every change is a read-modify-write of the whole document on the main thread.
class UserConfig : public QObject {
  Q_OBJECT
public:
  static UserConfig *instance();

  // Makes sure the configuration directory and the file exist (an empty object when new).
  void init();
  // The file's top-level object; empty when it cannot be read or parsed.
  QJsonObject readConfigInfo();
  // Replaces the file's content atomically; false (and the old file kept) on failure.
  bool writeConfigToFile(const QJsonObject &object);

private:
  explicit UserConfig(QObject *parent = nullptr);

  static UserConfig *m_instance;
};
