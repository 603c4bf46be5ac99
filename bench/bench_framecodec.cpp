// The per-sweep work of the device link on its worker threads: cutting and
// decoding one full 1000-point result frame as it arrives from the port, and
// splitting the same traffic into text lines.

#include "FrameCodec.h"
#include "LineSplitter.h"

#include <benchmark/benchmark.h>

#include <QByteArrayList>

namespace {

constexpr int kSweepPoints = 1000;
constexpr int kChunkBytes = 64;  // the analyser writes its output in pieces of at most this size

// One sweep's raw values; they include the delimiter bytes the cutter must not trip over.
QByteArray sweepFrame() {
  QByteArray frame("{");
  for (int i = 0; i < kSweepPoints; ++i) {
    const int raw = (i % 7 == 0) ? 0x7B7D : (i % 5 == 0) ? 0x0A78 : (i * 977 + 13) % 65536;
    frame.append('x');
    frame.append(char(raw & 0xFF));
    frame.append(char(raw >> 8));
  }
  frame.append('}');
  return frame;
}

QByteArrayList chunksOf(const QByteArray &stream) {
  QByteArrayList chunks;
  for (int pos = 0; pos < stream.size(); pos += kChunkBytes) chunks << stream.mid(pos, kChunkBytes);
  return chunks;
}

// The port's traffic for one sweep: the echoed commands, the frame, the prompt.
QByteArray sweepTraffic() {
  return QByteArray("sweep start 450000000\r\nch> sweep stop 950000000\r\nch> scanraw 450000000 950000000 1000\r\n") +
         sweepFrame() + "ch> ";
}

void BM_CutAndDecode_1000points(benchmark::State &state) {
  const QByteArrayList chunks = chunksOf(sweepFrame());
  for (auto _ : state) {
    FrameCodec::CutState cutState;
    for (const QByteArray &chunk : chunks) {
      const FrameCodec::CutResult cut = FrameCodec::cutFrames(cutState, chunk);
      for (const QByteArray &frame : cut.frames) {
        FrameCodec::DecodedFrame decoded = FrameCodec::decodeFrame(frame, kSweepPoints);
        benchmark::DoNotOptimize(decoded.levelsDbm.data());
      }
    }
  }
  state.SetBytesProcessed(state.iterations() * FrameCodec::frameBytesForPoints(kSweepPoints));
}
BENCHMARK(BM_CutAndDecode_1000points);

// Turning the decoded levels into the published level list (one QVariant per point).
void BM_ToLevelList_1000points(benchmark::State &state) {
  const FrameCodec::DecodedFrame decoded = FrameCodec::decodeFrame(sweepFrame(), kSweepPoints);
  for (auto _ : state) {
    QVariantList list = FrameCodec::toLevelList(decoded.levelsDbm);
    benchmark::DoNotOptimize(list.constBegin());
  }
}
BENCHMARK(BM_ToLevelList_1000points);

void BM_SplitLines(benchmark::State &state) {
  const QByteArray traffic = sweepTraffic();
  const QByteArrayList chunks = chunksOf(traffic);
  for (auto _ : state) {
    QByteArray lineBuffer;
    for (const QByteArray &chunk : chunks) {
      QList<QByteArray> lines = LineSplitter::splitLines(lineBuffer, chunk);
      benchmark::DoNotOptimize(lines.constBegin());
    }
  }
  state.SetBytesProcessed(state.iterations() * traffic.size());
}
BENCHMARK(BM_SplitLines);

}  // namespace

BENCHMARK_MAIN();
