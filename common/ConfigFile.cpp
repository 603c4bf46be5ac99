#include "ConfigFile.h"

#include "FileReadWrite.h"
#include "LoggerService.h"

#include <QDir>
#include <QFile>

ConfigFile::ConfigFile(const QString &path, QObject *parent) : QObject(parent), m_path(path) {}

void ConfigFile::init() {
  QString errorMessage;
  if (!QDir(FileReadWrite::DEAFULT_DIR_PATH).exists() &&
      !FileReadWrite::createDir(FileReadWrite::DEAFULT_DIR_PATH, errorMessage))
    LOG_INFO(errorMessage);

  if (QFile::exists(m_path)) {
    LOG_INFO(QStringLiteral("Config file already exists at: %1").arg(m_path));
    return;
  }
  if (FileReadWrite::writeJsonFile(m_path, QJsonObject(), errorMessage))
    LOG_INFO(QStringLiteral("Success To Create Default Conifg"));
  else
    LOG_INFO(errorMessage);
}

QJsonObject ConfigFile::readConfigInfo() {
  QJsonObject object;
  QString errorMessage;
  if (!FileReadWrite::readJsonFile(m_path, object, errorMessage)) {
    LOG_INFO(errorMessage);
    return QJsonObject();
  }
  return object;
}

bool ConfigFile::writeConfigToFile(const QJsonObject &object) {
  QString errorMessage;
  if (!FileReadWrite::writeJsonFile(m_path, object, errorMessage)) {
    LOG_INFO(errorMessage);
    return false;
  }
  writeSucceeded();
  return true;
}
