#include "UserConfig.h"

#include "FileReadWrite.h"
#include "LoggerService.h"

UserConfig *UserConfig::m_instance = nullptr;

UserConfig::UserConfig() : ConfigFile(FileReadWrite::DEAFULT_USER_CONFIG_PATH, nullptr) {}

UserConfig *UserConfig::instance() {
  if (!m_instance)
    m_instance = new UserConfig;
  return m_instance;
}

void UserConfig::writeSucceeded() {
  LOG_INFO(QStringLiteral("Success To Write User Config"));
  LOG_INFO(QStringLiteral("User Config File Path: ") + path());
}
