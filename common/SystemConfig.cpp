#include "SystemConfig.h"

#include "FileReadWrite.h"
#include "LoggerService.h"

#include <QDir>
#include <QFile>

SystemConfig *SystemConfig::m_instance = nullptr;

SystemConfig::SystemConfig(QObject *parent) : QObject(parent) {}

SystemConfig *SystemConfig::instance() {
  if (!m_instance) m_instance = new SystemConfig;
  return m_instance;
}

void SystemConfig::init() {
  QString errorMessage;
  if (!QDir(FileReadWrite::DEAFULT_DIR_PATH).exists() &&
      !FileReadWrite::createDir(FileReadWrite::DEAFULT_DIR_PATH, errorMessage))
    LOG_INFO(errorMessage);

  const QString &path = FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH;
  if (QFile::exists(path)) {
    LOG_INFO(QStringLiteral("Config file already exists at: %1").arg(path));
    return;
  }
  if (FileReadWrite::writeJsonFile(path, QJsonObject(), errorMessage))
    LOG_INFO(QStringLiteral("Success To Create Default Conifg"));
  else
    LOG_INFO(errorMessage);
}

QJsonObject SystemConfig::readConfigInfo() {
  QJsonObject object;
  QString errorMessage;
  if (!FileReadWrite::readJsonFile(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH, object, errorMessage)) {
    LOG_INFO(errorMessage);
    return QJsonObject();
  }
  return object;
}

bool SystemConfig::writeConfigToFile(const QJsonObject &object) {
  QString errorMessage;
  if (!FileReadWrite::writeJsonFile(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH, object, errorMessage)) {
    LOG_INFO(errorMessage);
    return false;
  }
  return true;
}
