#include "SystemConfig.h"

#include "FileReadWrite.h"

SystemConfig *SystemConfig::m_instance = nullptr;

SystemConfig::SystemConfig() : ConfigFile(FileReadWrite::DEAFULT_SYSTEM_CONFIG_PATH, nullptr) {}

SystemConfig *SystemConfig::instance() {
  if (!m_instance)
    m_instance = new SystemConfig;
  return m_instance;
}
