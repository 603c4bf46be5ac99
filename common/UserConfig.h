#pragma once

#include "ConfigFile.h"

// Owner of the user configuration file (the index of saved presets).
class UserConfig : public ConfigFile {
  Q_OBJECT
public:
  static UserConfig *instance();

protected:
  void writeSucceeded() override;

private:
  UserConfig();

  static UserConfig *m_instance;
};
