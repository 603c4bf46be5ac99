#pragma once

#include <QByteArray>
#include <QList>
#include <QVariantList>
#include <QVector>

// The analyser's answer to "scanraw" is one binary result frame inside its
// text output:
//
//   "{"  then, per point, "x" lo hi  (the raw value, unsigned 16-bit little-endian)  then "}"
//
// Raw values are arbitrary, so the bytes 0x78 "x", 0x7B "{", 0x7D "}" and 0x0A
// turn up inside lo/hi all the time. A frame is therefore cut by its structure,
// never by searching for delimiters:
//
// - Outside a frame every byte up to the next "{" is text (echo, prompt,
//   messages) and is skipped.
// - Inside a frame the bytes come in fixed 3-byte records. Only the first byte
//   of a record (the record position) is examined: "x" starts another record
//   whose two value bytes are taken as they are, whatever they hold; "}" ends
//   the frame. A "}" or "{" in a value byte means nothing.
// - Any other byte in record position means the structure is broken (a lost
//   frame end, a corrupted marker, the device restarting its output). The frame
//   being cut is dropped and reported, and cutting resumes at that very byte,
//   which may itself be the "{" of the next frame.
// - A frame that reaches kMaxFrameBytes without its end is dropped and reported.
// - The cutter keeps its state (the frame cut so far) in a CutState the caller
//   owns, so a frame may arrive split at any byte over any number of chunks.
// - None of these functions logs: dropped frames come back with their reason
//   and the caller decides what to log.
//
// Decoding takes one cut frame and yields one level per record, in sweep order:
// level in dBm = raw / 32 - 128 with integer division, so fractions are dropped
// towards minus infinity (-100.5 dBm becomes -101) and the levels run from
// -128 (raw 0) to 1919 (raw 65535). A frame whose record count differs from the
// points requested is reported as such, with its levels, and the caller
// decides; decoding never reads past the frame and rejects bytes that are not a
// well-formed frame.
namespace FrameCodec {

constexpr char kFrameStart = '{';
constexpr char kPointMarker = 'x';
constexpr char kFrameEnd = '}';
constexpr int kRecordBytes = 3;
// A frame ("{" ... "}" inclusive) longer than this is given up; a full
// 1000-point sweep is 3002 bytes.
constexpr int kMaxFrameBytes = 10000;
constexpr int kRawUnitsPerDb = 32;
constexpr int kRawOffsetDbm = -128;

// The byte length of a well-formed frame holding `points` records.
constexpr int frameBytesForPoints(int points) {
  return 2 + kRecordBytes * points;
}

// What the cutter keeps between chunks. Empty outside a frame; otherwise the
// frame cut so far, starting with "{".
struct CutState {
  QByteArray partialFrame;
};

enum class DropReason {
  BrokenRecord,  // a byte other than "x" or "}" stood where a record had to start
  TooLong,       // the frame reached kMaxFrameBytes without its end
};

struct DroppedFrame {
  DropReason reason = DropReason::BrokenRecord;
  QByteArray bytes;  // the frame as cut until it was given up, starting with "{"
  int completeRecords = 0;
  int offendingByte = -1;  // 0..255 for BrokenRecord, -1 for TooLong
};

struct CutResult {
  QList<QByteArray> frames;     // complete frames, "{" to "}" inclusive, in stream order
  QList<DroppedFrame> dropped;  // frames given up, in stream order
  int skippedBytes = 0;         // text outside frames that was passed over
};

// Feeds one chunk of the byte stream to the cutter.
CutResult cutFrames(CutState &state, const QByteArray &chunk);

enum class DecodeStatus {
  Ok,                  // well-formed, as many records as expected
  PointCountMismatch,  // well-formed, but a different number of records (levels still decoded)
  Malformed,           // not a frame as cutFrames() produces them; no levels
};

struct DecodedFrame {
  DecodeStatus status = DecodeStatus::Malformed;
  int recordCount = 0;
  QVector<int> levelsDbm;
};

// The level of one raw point value.
constexpr int rawToDbm(quint16 raw) {
  return static_cast<int>(raw) / kRawUnitsPerDb + kRawOffsetDbm;
}

// Decodes one frame; `expectedPoints` is the number of points the scan asked for.
DecodedFrame decodeFrame(const QByteArray &frame, int expectedPoints);

// The levels as the level list that is published for one sweep (ints in a QVariantList).
QVariantList toLevelList(const QVector<int> &levelsDbm);

// True when the line holds a tinySA firmware version banner anywhere in it.
// The line is read as Latin-1 up to its first zero byte.
bool matchesBanner(const QByteArray &line);

}  // namespace FrameCodec
