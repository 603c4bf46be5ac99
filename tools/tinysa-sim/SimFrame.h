#pragma once

// The scanraw answer: the binary frame, its faults and the way it leaves the
// device (chunks of at most one USB packet, spread over the sweep time).

#include "SimFaults.h"
#include "SimScene.h"

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

namespace tinysasim {

constexpr int kUsbPacketBytes = 64;
constexpr int kRandomChunkMaxBytes = 256;
constexpr int kDefaultSweepMs = 1000;  // time of a 1000-point sweep
constexpr char kPrompt[] = "ch> ";

// "{", then per value "x" + low byte + high byte, then "}".
QByteArray encodeFrame(const QVector<quint16> &raws);

struct TimedChunk {
  qint64 atMs = 0;  // relative to the start of the command
  QByteArray bytes;
};

enum class ChunkSizing {
  UsbPackets,  // full 64-byte packets, the last one shorter
  Random,      // sizes drawn from 1...kRandomChunkMaxBytes
};

// Splits `bytes` into chunks. Chunk j is due when its last byte has been measured:
// at durationMs * (end offset of the chunk) / timeBaseBytes, so a cut-off answer
// keeps the pace of the full one (timeBaseBytes = length of the full answer;
// values below bytes.size() count as bytes.size()). `randomSeed` drives Random sizes.
QVector<TimedChunk> scheduleChunks(const QByteArray &bytes, int durationMs, int timeBaseBytes, ChunkSizing sizing,
                                   quint64 randomSeed = 0);

// Time of a sweep of `points` points when 1000 points take `sweepMs`.
int sweepDurationMs(int sweepMs, int points);

struct ScanRequest {
  quint64 sweepIndex = 0;
  qint64 startHz = 0;
  qint64 stopHz = 0;
  int points = 0;
};

struct ScanAnswer {
  FaultSet faults = 0;         // the sweep faults that were applied
  QVector<quint16> raws;       // the scene's values of every requested point
  QByteArray cleanFrame;       // the frame a healthy device sends
  QByteArray bytes;            // what follows the echoed command line: the frame as sent, then the prompt if any
  QVector<TimedChunk> chunks;  // `bytes`, split and timed
  int durationMs = 0;          // how long the shell is busy with the command
  int pointsSent = 0;          // points whose three bytes all went out
  bool prompt = true;          // "ch> " follows the frame
};

// Everything about the answer to "scanraw" number `request.sweepIndex`.
ScanAnswer buildScanAnswer(const SceneConfig &scene, const QVector<FaultPlan> &faults, int sweepMs,
                           const ScanRequest &request);

}  // namespace tinysasim
