#pragma once

// The faults the simulator can play, each a named value. Sweep faults hit
// every Nth frame (N = 1: every frame), so a test knows which frames were
// damaged; the others hold for the whole run.

#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

namespace tinysasim {

enum class Fault {
  // Sweep faults (NAME or NAME:N on the command line).
  RandomChunks,  // the answer leaves in random chunk sizes (1...256 bytes) instead of 64-byte USB packets
  DropFrameEnd,  // the frame breaks off part-way: no "}", no prompt, the rest is lost
  CorruptBytes,  // a few bytes inside the frame body are changed; length and "}ch> " stay
  ShortScan,     // the scan stops early: fewer points, then "}" and no prompt
  LostAnswer,    // the scanraw line is echoed, but neither frame nor prompt ever comes
  // Run faults.
  Mute,         // the device never sends a byte: no shell banner, no echo, no answers
  WrongBanner,  // "version" answers "tinySA_v1.4-105", which lacks the "-g<hash>" part
  LateBanner,   // "version" answers only after the banner delay (default 1500 ms)
  NoBanner,     // "version" answers only the prompt
  Unplug,       // after N frames the device goes away: link removed, pseudo-terminal closed
};

constexpr int kFaultCount = int(Fault::Unplug) + 1;

// The sweep faults come first in the enumeration.
constexpr bool isSweepFault(Fault fault) {
  return fault <= Fault::LostAnswer;
}

struct FaultInfo {
  Fault fault;
  const char *name;
  const char *description;
  bool takesCount;  // takes ":N" (every Nth sweep; for unplug the frame count)
};

// Every fault with its command-line name and a one-line description.
const QVector<FaultInfo> &faultTable();
QString faultName(Fault fault);
bool faultFromName(const QString &name, Fault *out);

// A fault chosen for a run. For sweep faults it hits sweep k when (k + 1) % every == 0,
// i.e. the every-th, 2*every-th ... frame; for Unplug `every` is the number of frames
// after which the device goes away.
struct FaultPlan {
  Fault fault = Fault::RandomChunks;
  int every = 1;
};

// Parses "NAME" or "NAME:N". False with a message for an unknown name, a bad N or
// an N on a fault that takes none.
bool parseFaultPlan(const QString &text, FaultPlan *out, QString *error);

// Bit set of faults, bit = 1 << int(fault).
using FaultSet = quint32;
constexpr FaultSet faultBit(Fault fault) {
  return FaultSet(1) << int(fault);
}
constexpr bool hasFault(FaultSet set, Fault fault) {
  return (set & faultBit(fault)) != 0;
}

// The sweep faults that hit sweep `sweepIndex` under these plans (run faults ignored).
FaultSet sweepFaults(const QVector<FaultPlan> &plans, quint64 sweepIndex);
// The run faults among the plans.
FaultSet runFaults(const QVector<FaultPlan> &plans);
// "none" or the names joined by ",", in enumeration order.
QString faultSetNames(FaultSet set);

}  // namespace tinysasim
