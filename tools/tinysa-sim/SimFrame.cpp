#include "SimFrame.h"

#include "SimRandom.h"

#include <algorithm>
#include <cmath>

namespace tinysasim {
namespace {

enum Salt : quint64 {
  kSaltChunks = 101,
  kSaltShortScan,
  kSaltDropEnd,
  kSaltCorrupt,
};

constexpr int kPointsPerCorruptByte = 250;

// Changes `count` distinct bytes in [first, last] of `bytes`.
void corrupt(QByteArray *bytes, int first, int last, int count, quint64 seed) {
  rnd::Sequence sequence(seed);
  QVector<int> used;
  const int span = last - first + 1;
  count = std::min(count, span);
  while (used.size() < count) {
    const int position = int(sequence.between(first, last));
    if (used.contains(position)) continue;
    used.append(position);
    (*bytes)[position] = char(quint8((*bytes)[position]) ^ quint8(sequence.between(1, 255)));
  }
}

}  // namespace

QByteArray encodeFrame(const QVector<quint16> &raws) {
  QByteArray frame;
  frame.reserve(raws.size() * 3 + 2);
  frame.append('{');
  for (quint16 raw : raws) {
    frame.append('x');
    frame.append(char(raw & 0xFF));
    frame.append(char(raw >> 8));
  }
  frame.append('}');
  return frame;
}

QVector<TimedChunk> scheduleChunks(const QByteArray &bytes, int durationMs, int timeBaseBytes, ChunkSizing sizing,
                                   quint64 randomSeed) {
  QVector<TimedChunk> chunks;
  const qint64 timeBase = std::max<qint64>(timeBaseBytes, bytes.size());
  rnd::Sequence sequence(randomSeed);
  int offset = 0;
  while (offset < bytes.size()) {
    const int size = sizing == ChunkSizing::Random ? int(sequence.between(1, kRandomChunkMaxBytes)) : kUsbPacketBytes;
    const int end = std::min<int>(bytes.size(), offset + size);
    TimedChunk chunk;
    chunk.atMs = qint64(durationMs) * end / timeBase;
    chunk.bytes = bytes.mid(offset, end - offset);
    chunks.append(chunk);
    offset = end;
  }
  return chunks;
}

int sweepDurationMs(int sweepMs, int points) {
  return int(std::llround(double(sweepMs) * points / 1000.0));
}

ScanAnswer buildScanAnswer(const SceneConfig &scene, const QVector<FaultPlan> &faults, int sweepMs,
                           const ScanRequest &request) {
  ScanAnswer answer;
  const quint64 seed = scene.seed;
  const quint64 sweep = request.sweepIndex;
  const FaultSet wanted = sweepFaults(faults, sweep);
  answer.raws = sceneRawValues(scene, sweep, request.startHz, request.stopHz, request.points);
  answer.cleanFrame = encodeFrame(answer.raws);
  answer.durationMs = sweepDurationMs(sweepMs, request.points);
  const int fullLength = answer.cleanFrame.size() + int(sizeof(kPrompt)) - 1;

  // One way of losing the end at most; the harshest one wins.
  QByteArray frame = answer.cleanFrame;
  int bodyFirst = 1;
  int bodyLast = frame.size() - 2;  // the byte before "}"
  answer.pointsSent = request.points;
  if (hasFault(wanted, Fault::LostAnswer)) {
    answer.faults |= faultBit(Fault::LostAnswer);
    frame.clear();
    answer.pointsSent = 0;
    answer.prompt = false;
  } else if (hasFault(wanted, Fault::DropFrameEnd)) {
    answer.faults |= faultBit(Fault::DropFrameEnd);
    const int cut = int(rnd::between(rnd::hash(seed, kSaltDropEnd, sweep), frame.size() / 4,
                                     std::max(frame.size() / 4, 3 * frame.size() / 4)));
    frame.truncate(std::max(1, cut));
    bodyLast = frame.size() - 1;
    answer.pointsSent = (frame.size() - 1) / 3;
    answer.prompt = false;
  } else if (hasFault(wanted, Fault::ShortScan) && request.points > 0) {
    answer.faults |= faultBit(Fault::ShortScan);
    const int points = int(rnd::between(rnd::hash(seed, kSaltShortScan, sweep), request.points / 4,
                                        std::max(request.points / 4, 3 * request.points / 4)));
    frame = encodeFrame(answer.raws.mid(0, std::min(points, request.points - 1)));
    bodyLast = frame.size() - 2;
    answer.pointsSent = (frame.size() - 2) / 3;
    answer.prompt = false;
  }

  if (hasFault(wanted, Fault::CorruptBytes) && bodyLast >= bodyFirst && !frame.isEmpty()) {
    answer.faults |= faultBit(Fault::CorruptBytes);
    corrupt(&frame, bodyFirst, bodyLast, 1 + request.points / kPointsPerCorruptByte,
            rnd::hash(seed, kSaltCorrupt, sweep));
  }

  answer.bytes = frame;
  if (answer.prompt) answer.bytes += kPrompt;
  ChunkSizing sizing = ChunkSizing::UsbPackets;
  if (hasFault(wanted, Fault::RandomChunks) && !answer.bytes.isEmpty()) {
    answer.faults |= faultBit(Fault::RandomChunks);
    sizing = ChunkSizing::Random;
  }
  answer.chunks =
      scheduleChunks(answer.bytes, answer.durationMs, fullLength, sizing, rnd::hash(seed, kSaltChunks, sweep));
  return answer;
}

}  // namespace tinysasim
