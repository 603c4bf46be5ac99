#pragma once

#include "ConfigFile.h"

// Owner of the system configuration file (scan settings, switches, last serial port).
class SystemConfig : public ConfigFile {
  Q_OBJECT
public:
  static SystemConfig *instance();

private:
  SystemConfig();

  static SystemConfig *m_instance;
};
