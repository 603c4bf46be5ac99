#pragma once

// The simulator's command line.

#include "SimShell.h"

#include <QString>
#include <QStringList>

namespace tinysasim {

struct SimOptions {
  DeviceConfig device;
  QString name = QStringLiteral("tinySA-sim");
  QString devicesDir;  // where the link goes; empty = <Documents>/Veltro-Orvik/devices
  QString logPath;     // one line per frame; empty = no log
  QString timingLogPath;  // one line per complete frame once its last byte is written; empty = none
  // --print-scene
  quint64 sceneSweep = 0;
  qint64 sceneStartHz = 450000000;
  qint64 sceneStopHz = 950000000;
  int scenePoints = 1000;
};

enum class ParseOutcome {
  Run,         // start the device
  PrintScene,  // print the scene table and exit
  Help,        // print the message (help text) and exit 0
  Error,       // print the message and exit 2
};

ParseOutcome parseSimOptions(const QStringList &arguments, SimOptions *options, QString *message);

// The default place of the virtual ports: <Documents>/Veltro-Orvik/devices.
QString defaultDevicesDir();

}  // namespace tinysasim
