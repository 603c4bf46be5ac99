#include "UserConfig.h"

#include "FileReadWrite.h"
#include "LoggerService.h"

#include <QDir>
#include <QFile>

UserConfig *UserConfig::m_instance = nullptr;

UserConfig::UserConfig(QObject *parent) : QObject(parent) {}

UserConfig *UserConfig::instance() {
  if (!m_instance) m_instance = new UserConfig;
  return m_instance;
}

void UserConfig::init() {
  QString errorMessage;
  if (!QDir(FileReadWrite::DEAFULT_DIR_PATH).exists() &&
      !FileReadWrite::createDir(FileReadWrite::DEAFULT_DIR_PATH, errorMessage))
    LOG_INFO(errorMessage);

  const QString &path = FileReadWrite::DEAFULT_USER_CONFIG_PATH;
  if (QFile::exists(path)) {
    LOG_INFO(QStringLiteral("Config file already exists at: %1").arg(path));
    return;
  }
  if (FileReadWrite::writeJsonFile(path, QJsonObject(), errorMessage))
    LOG_INFO(QStringLiteral("Success To Create Default Conifg"));
  else
    LOG_INFO(errorMessage);
}

QJsonObject UserConfig::readConfigInfo() {
  QJsonObject object;
  QString errorMessage;
  if (!FileReadWrite::readJsonFile(FileReadWrite::DEAFULT_USER_CONFIG_PATH, object, errorMessage)) {
    LOG_INFO(errorMessage);
    return QJsonObject();
  }
  return object;
}

bool UserConfig::writeConfigToFile(const QJsonObject &object) {
  QString errorMessage;
  if (!FileReadWrite::writeJsonFile(FileReadWrite::DEAFULT_USER_CONFIG_PATH, object, errorMessage)) {
    LOG_INFO(errorMessage);
    return false;
  }
  LOG_INFO(QStringLiteral("Success To Write User Config"));
  LOG_INFO(QStringLiteral("User Config File Path: ") + FileReadWrite::DEAFULT_USER_CONFIG_PATH);
  return true;
}
