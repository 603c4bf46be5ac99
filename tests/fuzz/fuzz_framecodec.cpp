// libFuzzer harness for the device link's byte-stream codec: arbitrary bytes,
// cut into arbitrary chunks, through cutFrames/decodeFrame (and the line
// splitter, which sees the same traffic). Input: the first byte seeds the
// chunk sizes, the rest is the stream.
//
// Invariants: every cut frame is well-formed and decodes without being called
// malformed, one level per record, each within the raw range; every dropped
// frame is accounted for; no byte is lost or counted twice; and the result
// does not depend on how the stream was chunked.

#include "FrameCodec.h"
#include "LineSplitter.h"

#include <QByteArrayList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kExpectedPoints = 1000;
constexpr int kMaxChunkBytes = 200;
constexpr int kMinLevelDbm = FrameCodec::rawToDbm(0);
constexpr int kMaxLevelDbm = FrameCodec::rawToDbm(65535);

void require(bool condition, const char *what) {
  if (!condition) {
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::abort();
  }
}

bool wellFormed(const QByteArray &frame) {
  if (frame.size() < 2 || frame.front() != '{' || frame.back() != '}' || (frame.size() - 2) % 3 != 0) return false;
  for (int pos = 1; pos < frame.size() - 1; pos += 3) {
    if (frame.at(pos) != 'x') return false;
  }
  return true;
}

struct Outcome {
  QByteArrayList frames;
  QList<FrameCodec::DroppedFrame> dropped;
  int skippedBytes = 0;
  QByteArray partialFrame;
  QByteArrayList lines;
  QByteArray lineBuffer;
};

Outcome run(const QByteArrayList &chunks) {
  Outcome outcome;
  FrameCodec::CutState state;
  for (const QByteArray &chunk : chunks) {
    FrameCodec::CutResult result = FrameCodec::cutFrames(state, chunk);
    outcome.frames += result.frames;
    outcome.dropped += result.dropped;
    outcome.skippedBytes += result.skippedBytes;
    outcome.lines += LineSplitter::splitLines(outcome.lineBuffer, chunk);
  }
  outcome.partialFrame = state.partialFrame;
  return outcome;
}

void checkFrame(const QByteArray &frame) {
  require(wellFormed(frame), "cut frame is well-formed");
  require(frame.size() <= FrameCodec::kMaxFrameBytes, "cut frame within the size limit");
  const FrameCodec::DecodedFrame decoded = FrameCodec::decodeFrame(frame, kExpectedPoints);
  require(decoded.status != FrameCodec::DecodeStatus::Malformed, "cut frame decodes");
  require(decoded.recordCount == (frame.size() - 2) / 3, "record count");
  require(decoded.levelsDbm.size() == decoded.recordCount, "one level per record");
  require((decoded.status == FrameCodec::DecodeStatus::Ok) == (decoded.recordCount == kExpectedPoints),
          "count mismatch reported");
  for (int level : decoded.levelsDbm)
    require(level >= kMinLevelDbm && level <= kMaxLevelDbm, "level within the raw range");
}

void checkDropped(const FrameCodec::DroppedFrame &dropped) {
  require(dropped.bytes.startsWith('{'), "dropped frame starts with {");
  require(dropped.completeRecords == (dropped.bytes.size() - 1) / 3, "dropped record count");
  for (int pos = 1; pos < dropped.bytes.size(); pos += 3)
    require(dropped.bytes.at(pos) == 'x', "dropped frame was well-formed up to the break");
  if (dropped.reason == FrameCodec::DropReason::BrokenRecord) {
    require((dropped.bytes.size() - 1) % 3 == 0, "broken at a record position");
    require(dropped.offendingByte >= 0 && dropped.offendingByte <= 255 && dropped.offendingByte != 'x' &&
                dropped.offendingByte != '}',
            "offending byte is neither marker nor end");
  } else {
    require(dropped.bytes.size() >= FrameCodec::kMaxFrameBytes, "too long only at the limit");
    require(dropped.offendingByte == -1, "no offending byte for too long");
  }
}

bool sameDrops(const QList<FrameCodec::DroppedFrame> &a, const QList<FrameCodec::DroppedFrame> &b) {
  if (a.size() != b.size()) return false;
  for (int i = 0; i < a.size(); ++i) {
    if (a[i].reason != b[i].reason || a[i].bytes != b[i].bytes || a[i].offendingByte != b[i].offendingByte)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  uint32_t seed = data[0] * 2654435761u + 1;
  const QByteArray stream(reinterpret_cast<const char *>(data + 1), static_cast<int>(size - 1));

  QByteArrayList chunks;
  for (int pos = 0; pos < stream.size();) {
    seed = seed * 1103515245u + 12345u;
    const int length = 1 + static_cast<int>((seed >> 16) % kMaxChunkBytes);
    chunks << stream.mid(pos, length);
    pos += length;
  }

  const Outcome chunked = run(chunks);
  for (const QByteArray &frame : chunked.frames) checkFrame(frame);
  for (const FrameCodec::DroppedFrame &dropped : chunked.dropped) checkDropped(dropped);
  require(chunked.partialFrame.isEmpty() ||
              (chunked.partialFrame.startsWith('{') && chunked.partialFrame.size() < FrameCodec::kMaxFrameBytes),
          "partial frame");

  int accounted = chunked.skippedBytes + chunked.partialFrame.size();
  for (const QByteArray &frame : chunked.frames) accounted += frame.size();
  for (const FrameCodec::DroppedFrame &dropped : chunked.dropped) accounted += dropped.bytes.size();
  require(accounted == stream.size(), "every byte accounted for once");

  const Outcome whole = run({stream});
  require(whole.frames == chunked.frames, "frames independent of chunking");
  require(sameDrops(whole.dropped, chunked.dropped), "drops independent of chunking");
  require(whole.skippedBytes == chunked.skippedBytes, "skipped bytes independent of chunking");
  require(whole.partialFrame == chunked.partialFrame, "partial frame independent of chunking");
  require(whole.lines == chunked.lines && whole.lineBuffer == chunked.lineBuffer, "lines independent of chunking");
  for (const QByteArray &line : chunked.lines)
    require(!line.isEmpty() && !line.contains('\n'), "lines are non-empty and hold no line feed");

  // Arbitrary bytes handed straight to the decoder: never read past them, and
  // only well-formed frames are accepted.
  const FrameCodec::DecodedFrame direct = FrameCodec::decodeFrame(stream, kExpectedPoints);
  require((direct.status != FrameCodec::DecodeStatus::Malformed) == wellFormed(stream), "decoder accepts frames only");
  FrameCodec::matchesBanner(stream);
  return 0;
}
