#include "SimFaults.h"

namespace tinysasim {

const QVector<FaultInfo> &faultTable() {
  static const QVector<FaultInfo> table = {
      {Fault::RandomChunks, "random-chunks", "answer in random chunk sizes (1...256 bytes)", true},
      {Fault::DropFrameEnd, "drop-frame-end", "frame breaks off part-way: no \"}\", no prompt", true},
      {Fault::CorruptBytes, "corrupt-bytes", "a few bytes of the frame body changed", true},
      {Fault::ShortScan, "short-scan", "fewer points, \"}\" and no prompt", true},
      {Fault::LostAnswer, "lost-answer", "scanraw echoed, no frame and no prompt", true},
      {Fault::Mute, "mute", "never send a byte (no banner, no echo, no answers)", false},
      {Fault::WrongBanner, "wrong-banner", "version answers \"tinySA_v1.4-105\" (same as --banner wrong)", false},
      {Fault::LateBanner, "late-banner", "version answers after the banner delay (same as --banner late)", false},
      {Fault::NoBanner, "no-banner", "version answers only the prompt (same as --banner none)", false},
      {Fault::Unplug, "unplug", "unplug:N goes away after N frames (same as --exit-after N)", true},
  };
  return table;
}

QString faultName(Fault fault) {
  for (const FaultInfo &info : faultTable()) {
    if (info.fault == fault) return QString::fromLatin1(info.name);
  }
  return QString();
}

bool faultFromName(const QString &name, Fault *out) {
  for (const FaultInfo &info : faultTable()) {
    if (name == QLatin1String(info.name)) {
      *out = info.fault;
      return true;
    }
  }
  return false;
}

bool parseFaultPlan(const QString &text, FaultPlan *out, QString *error) {
  const int colon = text.indexOf(QLatin1Char(':'));
  const QString name = colon < 0 ? text : text.left(colon);
  Fault fault;
  if (!faultFromName(name, &fault)) {
    *error = QStringLiteral("unknown fault '%1'").arg(name);
    return false;
  }
  const FaultInfo *info = nullptr;
  for (const FaultInfo &entry : faultTable()) {
    if (entry.fault == fault) info = &entry;
  }
  int every = 1;
  if (colon >= 0) {
    if (!info->takesCount) {
      *error = QStringLiteral("fault '%1' takes no ':N'").arg(name);
      return false;
    }
    bool ok = false;
    every = text.mid(colon + 1).toInt(&ok);
    if (!ok || every < 1) {
      *error = QStringLiteral("fault '%1': N must be a whole number of at least 1").arg(name);
      return false;
    }
  } else if (fault == Fault::Unplug) {
    *error = QStringLiteral("fault 'unplug' needs ':N' (frames before unplugging)");
    return false;
  }
  out->fault = fault;
  out->every = every;
  return true;
}

FaultSet sweepFaults(const QVector<FaultPlan> &plans, quint64 sweepIndex) {
  FaultSet set = 0;
  for (const FaultPlan &plan : plans) {
    if (!isSweepFault(plan.fault)) continue;
    if ((sweepIndex + 1) % quint64(plan.every) == 0) set |= faultBit(plan.fault);
  }
  return set;
}

FaultSet runFaults(const QVector<FaultPlan> &plans) {
  FaultSet set = 0;
  for (const FaultPlan &plan : plans) {
    if (!isSweepFault(plan.fault)) set |= faultBit(plan.fault);
  }
  return set;
}

QString faultSetNames(FaultSet set) {
  QStringList names;
  for (int i = 0; i < kFaultCount; ++i) {
    if (hasFault(set, Fault(i))) names.append(faultName(Fault(i)));
  }
  return names.isEmpty() ? QStringLiteral("none") : names.join(QLatin1Char(','));
}

}  // namespace tinysasim
