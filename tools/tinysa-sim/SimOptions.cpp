#include "SimOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStandardPaths>
#include <limits>

namespace tinysasim {
namespace {

constexpr int kMaxSweepMs = 600000;
constexpr int kMaxBannerDelayMs = 600000;

bool parseInt(const QString &text, int low, int high, int *out) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < low || value > high) return false;
  *out = value;
  return true;
}

QString faultHelp() {
  QString text = QStringLiteral("\nFaults (--fault NAME or NAME:N, N = only every Nth frame; repeatable):\n");
  for (const FaultInfo &info : faultTable())
    text +=
        QStringLiteral("  %1%2\n").arg(QString::fromLatin1(info.name), -18).arg(QString::fromLatin1(info.description));
  return text;
}

}  // namespace

QString defaultDevicesDir() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Veltro-Orvik/devices");
}

ParseOutcome parseSimOptions(const QStringList &arguments, SimOptions *options, QString *message) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Simulated tinySA spectrum analyser on a pseudo-terminal.\n"
                     "Prints \"link: <path>\" and \"pty: <path>\" at start, then \"client: open\" and\n"
                     "\"client: closed\" as clients come and go. SIGINT/SIGTERM stop it cleanly."));
  const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
  const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the RF scene (default 1)."),
                                      QStringLiteral("N"), QStringLiteral("1"));
  const QCommandLineOption nameOption(QStringLiteral("name"),
                                      QStringLiteral("Name of the link in the devices directory (default tinySA-sim)."),
                                      QStringLiteral("NAME"), QStringLiteral("tinySA-sim"));
  const QCommandLineOption dirOption(
      QStringLiteral("devices-dir"),
      QStringLiteral("Directory of the link (default <Documents>/Veltro-Orvik/devices)."), QStringLiteral("DIR"));
  const QCommandLineOption sweepMsOption(
      QStringLiteral("sweep-ms"),
      QStringLiteral("Time of a 1000-point sweep in ms, scaled by the points (default 1000; 0 = at once)."),
      QStringLiteral("MS"), QString::number(kDefaultSweepMs));
  const QCommandLineOption bannerOption(QStringLiteral("banner"),
                                        QStringLiteral("Answer to \"version\": basic, ultra, wrong, late or none "
                                                       "(default basic)."),
                                        QStringLiteral("KIND"), QStringLiteral("basic"));
  const QCommandLineOption bannerDelayOption(QStringLiteral("banner-delay-ms"),
                                             QStringLiteral("Delay of a late banner in ms (default 1500)."),
                                             QStringLiteral("MS"), QString::number(kDefaultBannerDelayMs));
  const QCommandLineOption bytesOption(QStringLiteral("special-bytes"),
                                       QStringLiteral("Bytes 0x78 0x7B 0x7D 0x0A in raw values: natural, force or "
                                                      "avoid (default natural)."),
                                       QStringLiteral("MODE"), QStringLiteral("natural"));
  const QCommandLineOption faultOption(QStringLiteral("fault"), QStringLiteral("Play a fault (list below)."),
                                       QStringLiteral("NAME[:N]"));
  const QCommandLineOption exitAfterOption(QStringLiteral("exit-after"),
                                           QStringLiteral("Unplug after N frames (same as --fault unplug:N)."),
                                           QStringLiteral("N"));
  const QCommandLineOption logOption(QStringLiteral("log"),
                                     QStringLiteral("Write one line per frame: sweep, range, points, fault, bytes."),
                                     QStringLiteral("FILE"));
  const QCommandLineOption timingLogOption(
      QStringLiteral("timing-log"),
      QStringLiteral("Write \"<sweep> <ns>\" once a complete frame's last byte is written (CLOCK_MONOTONIC)."),
      QStringLiteral("FILE"));
  const QCommandLineOption printOption(QStringLiteral("print-scene"),
                                       QStringLiteral("Print the levels of one sweep and exit: lines of "
                                                      "\"<index> <Hz> <raw> <dBm>\"."));
  const QCommandLineOption sweepOption(QStringLiteral("sweep"),
                                       QStringLiteral("--print-scene: sweep index (default 0 = first frame)."),
                                       QStringLiteral("K"), QStringLiteral("0"));
  const QCommandLineOption startOption(QStringLiteral("start"),
                                       QStringLiteral("--print-scene: start in Hz (default 450000000)."),
                                       QStringLiteral("HZ"), QStringLiteral("450000000"));
  const QCommandLineOption stopOption(QStringLiteral("stop"),
                                      QStringLiteral("--print-scene: stop in Hz (default 950000000)."),
                                      QStringLiteral("HZ"), QStringLiteral("950000000"));
  const QCommandLineOption pointsOption(QStringLiteral("points"),
                                        QStringLiteral("--print-scene: number of points (default 1000)."),
                                        QStringLiteral("N"), QStringLiteral("1000"));
  parser.addOptions({helpOption, seedOption, nameOption, dirOption, sweepMsOption, bannerOption, bannerDelayOption,
                     bytesOption, faultOption, exitAfterOption, logOption, timingLogOption, printOption, sweepOption, startOption,
                     stopOption, pointsOption});

  if (!parser.parse(arguments)) {
    *message = parser.errorText();
    return ParseOutcome::Error;
  }
  if (parser.isSet(helpOption)) {
    *message = parser.helpText() + faultHelp();
    return ParseOutcome::Help;
  }
  if (!parser.positionalArguments().isEmpty()) {
    *message = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first());
    return ParseOutcome::Error;
  }

  DeviceConfig &device = options->device;
  bool ok = false;
  device.scene.seed = parser.value(seedOption).toULongLong(&ok);
  if (!ok) {
    *message = QStringLiteral("--seed: '%1' is not a whole number").arg(parser.value(seedOption));
    return ParseOutcome::Error;
  }
  options->name = parser.value(nameOption);
  if (options->name.isEmpty() || options->name.contains(QLatin1Char('/')) || options->name == QLatin1String(".") ||
      options->name == QLatin1String("..")) {
    *message = QStringLiteral("--name: '%1' is not a file name").arg(options->name);
    return ParseOutcome::Error;
  }
  options->devicesDir = parser.value(dirOption);
  options->logPath = parser.value(logOption);
  options->timingLogPath = parser.value(timingLogOption);
  if (!parseInt(parser.value(sweepMsOption), 0, kMaxSweepMs, &device.sweepMs)) {
    *message =
        QStringLiteral("--sweep-ms: '%1' is not between 0 and %2").arg(parser.value(sweepMsOption)).arg(kMaxSweepMs);
    return ParseOutcome::Error;
  }
  if (!parseInt(parser.value(bannerDelayOption), 0, kMaxBannerDelayMs, &device.bannerDelayMs)) {
    *message = QStringLiteral("--banner-delay-ms: '%1' is not between 0 and %2")
                   .arg(parser.value(bannerDelayOption))
                   .arg(kMaxBannerDelayMs);
    return ParseOutcome::Error;
  }
  if (!parseSpecialBytes(parser.value(bytesOption), &device.scene.specialBytes)) {
    *message = QStringLiteral("--special-bytes: '%1' is not natural, force or avoid").arg(parser.value(bytesOption));
    return ParseOutcome::Error;
  }

  const QString banner = parser.value(bannerOption);
  if (banner == QLatin1String("basic")) {
    device.model = Model::Basic;
  } else if (banner == QLatin1String("ultra")) {
    device.model = Model::Ultra;
  } else if (banner == QLatin1String("wrong")) {
    device.faults.append(FaultPlan{Fault::WrongBanner, 1});
  } else if (banner == QLatin1String("late")) {
    device.faults.append(FaultPlan{Fault::LateBanner, 1});
  } else if (banner == QLatin1String("none")) {
    device.faults.append(FaultPlan{Fault::NoBanner, 1});
  } else {
    *message = QStringLiteral("--banner: '%1' is not basic, ultra, wrong, late or none").arg(banner);
    return ParseOutcome::Error;
  }
  for (const QString &text : parser.values(faultOption)) {
    FaultPlan plan;
    QString error;
    if (!parseFaultPlan(text, &plan, &error)) {
      *message = QStringLiteral("--fault: ") + error;
      return ParseOutcome::Error;
    }
    device.faults.append(plan);
  }
  if (parser.isSet(exitAfterOption)) {
    int frames = 0;
    if (!parseInt(parser.value(exitAfterOption), 1, std::numeric_limits<int>::max(), &frames)) {
      *message =
          QStringLiteral("--exit-after: '%1' is not a whole number of at least 1").arg(parser.value(exitAfterOption));
      return ParseOutcome::Error;
    }
    device.faults.append(FaultPlan{Fault::Unplug, frames});
  }

  if (!parser.isSet(printOption)) return ParseOutcome::Run;
  options->sceneSweep = parser.value(sweepOption).toULongLong(&ok);
  if (!ok) {
    *message = QStringLiteral("--sweep: '%1' is not a whole number").arg(parser.value(sweepOption));
    return ParseOutcome::Error;
  }
  if (!parseFrequencyHz(parser.value(startOption).toLatin1(), &options->sceneStartHz) ||
      !parseFrequencyHz(parser.value(stopOption).toLatin1(), &options->sceneStopHz)) {
    *message = QStringLiteral("--start/--stop: not a frequency in Hz");
    return ParseOutcome::Error;
  }
  if (options->sceneStartHz > options->sceneStopHz) {
    *message = QStringLiteral("--start is above --stop");
    return ParseOutcome::Error;
  }
  if (!parseInt(parser.value(pointsOption), 1, kMaxPoints, &options->scenePoints)) {
    *message = QStringLiteral("--points: '%1' is not between 1 and %2").arg(parser.value(pointsOption)).arg(kMaxPoints);
    return ParseOutcome::Error;
  }
  return ParseOutcome::PrintScene;
}

}  // namespace tinysasim
