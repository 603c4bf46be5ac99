#pragma once

// The analyser's USB shell as a pure state machine: bytes in, timed bytes out.
// It knows nothing of file descriptors or clocks; the caller passes the time
// (milliseconds of a monotonic clock) and writes out what falls due. Like the
// firmware, it reads no input while a command is still running, so commands
// sent in one go are answered one after the other.

#include "SimFaults.h"
#include "SimFrame.h"
#include "SimScene.h"

#include <QByteArray>
#include <QList>
#include <QVector>
#include <QtGlobal>

namespace tinysasim {

enum class Model {
  Basic,  // tinySA, version "tinySA_v1.4-105-g090fcb8"
  Ultra,  // tinySA Ultra, version "tinySA4_v1.4-143-g864bb27" plus a hardware line
};

constexpr int kDefaultBannerDelayMs = 1500;

struct DeviceConfig {
  SceneConfig scene;
  QVector<FaultPlan> faults;
  Model model = Model::Basic;
  int sweepMs = kDefaultSweepMs;
  int bannerDelayMs = kDefaultBannerDelayMs;
};

// One scanraw answer, for the log.
struct FrameRecord {
  quint64 sweepIndex = 0;
  qint64 startHz = 0;
  qint64 stopHz = 0;
  int points = 0;
  FaultSet faults = 0;
  int bytes = 0;  // frame and prompt bytes as sent
};

// The exact texts of the shell.
constexpr char kShellBanner[] = "\r\ntinySA Shell\r\n";
constexpr char kBasicVersion[] = "tinySA_v1.4-105-g090fcb8\r\n";
constexpr char kUltraVersion[] = "tinySA4_v1.4-143-g864bb27\r\nHW Version:V0.4.5.1.1 \r\n";
constexpr char kWrongVersion[] = "tinySA_v1.4-105\r\n";
constexpr char kInvalidRange[] = "frequency range is invalid\r\n";
constexpr int kMaxLineBytes = 127;

class SimShell {
public:
  explicit SimShell(const DeviceConfig &config);

  // A client opened the port: the shell greets it.
  void clientOpened(qint64 nowMs);
  // The client went away: half-typed lines and pending output are forgotten.
  void clientClosed();
  // Bytes from the client; they are read (echoed, executed) when the shell is idle.
  void receive(const QByteArray &bytes, qint64 nowMs);
  // Runs the shell up to nowMs and hands out the chunks that are due, in order;
  // each is meant for one write.
  QList<QByteArray> takeDue(qint64 nowMs);
  // The next time something happens without new input, or -1.
  qint64 nextEventMs(qint64 nowMs) const;

  // Frames begun since the last call.
  QVector<FrameRecord> takeFrameRecords();
  // Sweeps whose complete frame ended in the chunks handed out by takeDue since the last call.
  QVector<quint64> takeFrameEnds();
  // Frames begun so far (= index of the next sweep).
  quint64 sweepCount() const { return m_sweepIndex; }
  // The run's unplug point is reached and its last frame is out.
  bool unplugDue(qint64 nowMs) const;

  qint64 sweepStartHz() const { return m_startHz; }
  qint64 sweepStopHz() const { return m_stopHz; }
  int sweepPoints() const { return m_points; }

private:
  struct Pending {
    qint64 atMs;
    QByteArray bytes;
    bool sealed;  // a chunk of a frame: sent as it is, never merged with text
    qint64 frameEndOfSweep = -1;  // the chunk carries the final "}" of this sweep's complete frame
  };

  void enqueue(qint64 atMs, const QByteArray &bytes, bool sealed = false, qint64 frameEndOfSweep = -1);
  void process(qint64 nowMs);
  void handleByte(char byte, qint64 nowMs);
  void execute(const QByteArray &line, qint64 nowMs);
  void version(qint64 nowMs);
  void sweep(const QList<QByteArray> &words, qint64 nowMs);
  void scanraw(const QList<QByteArray> &words, qint64 nowMs);
  bool inputBlocked(qint64 nowMs) const;

  DeviceConfig m_config;
  FaultSet m_runFaults = 0;
  quint64 m_unplugAfterSweeps = 0;  // 0 = never
  QByteArray m_input;
  QByteArray m_line;
  QList<Pending> m_output;
  qint64 m_busyUntilMs = 0;
  quint64 m_sweepIndex = 0;
  QVector<FrameRecord> m_records;
  QVector<quint64> m_frameEnds;
  qint64 m_startHz = 0;
  qint64 m_stopHz = 0;
  int m_points = 0;
};

// Parses a frequency as the firmware does: digits, optionally a fraction and a
// suffix k, M or G ("450000000", "450M", "1.2G"). False when it is not one or
// exceeds the firmware's range.
bool parseFrequencyHz(const QByteArray &text, qint64 *hz);

}  // namespace tinysasim
