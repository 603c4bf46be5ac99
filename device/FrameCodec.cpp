#include "FrameCodec.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cstring>

namespace FrameCodec {

namespace {

// A full sweep; reserving it when a frame starts saves regrowing it chunk by chunk.
constexpr int kUsualFrameBytes = frameBytesForPoints(1000);

// Position of the next byte within its record, counted from the frame's "{":
// 0 is record position (a marker or the end), 1 and 2 are the value bytes.
int recordPhase(const QByteArray &partialFrame) {
  return (partialFrame.size() - 1) % kRecordBytes;
}

int completeRecordsOf(const QByteArray &partialFrame) {
  return (partialFrame.size() - 1) / kRecordBytes;
}

DroppedFrame takeDropped(CutState &state, DropReason reason, int offendingByte) {
  DroppedFrame dropped;
  dropped.reason = reason;
  dropped.completeRecords = completeRecordsOf(state.partialFrame);
  dropped.offendingByte = offendingByte;
  dropped.bytes = std::move(state.partialFrame);
  state.partialFrame.clear();
  return dropped;
}

}  // namespace

CutResult cutFrames(CutState &state, const QByteArray &chunk) {
  CutResult result;
  const char *const data = chunk.constData();
  const int size = chunk.size();
  int pos = 0;
  while (pos < size) {
    QByteArray &frame = state.partialFrame;
    if (frame.isEmpty()) {
      const void *start = std::memchr(data + pos, kFrameStart, static_cast<size_t>(size - pos));
      if (!start) {
        result.skippedBytes += size - pos;
        break;
      }
      const int startPos = static_cast<int>(static_cast<const char *>(start) - data);
      result.skippedBytes += startPos - pos;
      frame.reserve(kUsualFrameBytes);
      frame.append(kFrameStart);
      pos = startPos + 1;
      continue;
    }

    const int phase = recordPhase(frame);
    if (phase != 0) {
      // The rest of a record split across chunks: value bytes, taken as they are.
      const int take = std::min(kRecordBytes - phase, size - pos);
      frame.append(data + pos, take);
      pos += take;
    } else if (data[pos] == kPointMarker) {
      // Take a run of records at once; only their markers need checking. The
      // run stops short of the size limit so that it is checked below.
      const int roomBytes = kMaxFrameBytes - frame.size();
      int end = pos;
      while (end < size && end - pos < roomBytes && data[end] == kPointMarker) end = std::min(end + kRecordBytes, size);
      end = std::min(end, pos + roomBytes);
      frame.append(data + pos, end - pos);
      pos = end;
    } else if (data[pos] == kFrameEnd) {
      frame.append(kFrameEnd);
      ++pos;
      result.frames.append(frame);
      frame.clear();
      continue;
    } else {
      // Not consumed: the offending byte may be the "{" of the next frame.
      result.dropped.append(takeDropped(state, DropReason::BrokenRecord, static_cast<unsigned char>(data[pos])));
      continue;
    }

    // Even the end byte would not fit any more.
    if (state.partialFrame.size() >= kMaxFrameBytes) result.dropped.append(takeDropped(state, DropReason::TooLong, -1));
  }
  return result;
}

DecodedFrame decodeFrame(const QByteArray &frame, int expectedPoints) {
  DecodedFrame decoded;
  const int size = frame.size();
  if (size < 2 || frame.at(0) != kFrameStart || frame.at(size - 1) != kFrameEnd || (size - 2) % kRecordBytes != 0)
    return decoded;
  const int records = (size - 2) / kRecordBytes;
  const auto *bytes = reinterpret_cast<const unsigned char *>(frame.constData());
  for (int i = 0; i < records; ++i) {
    if (bytes[1 + kRecordBytes * i] != static_cast<unsigned char>(kPointMarker)) return decoded;
  }
  decoded.recordCount = records;
  decoded.levelsDbm.resize(records);
  int *levels = decoded.levelsDbm.data();
  for (int i = 0; i < records; ++i) {
    const unsigned char *record = bytes + 1 + kRecordBytes * i;
    levels[i] = rawToDbm(static_cast<quint16>(record[1] | (record[2] << 8)));
  }
  decoded.status = records == expectedPoints ? DecodeStatus::Ok : DecodeStatus::PointCountMismatch;
  return decoded;
}

QVariantList toLevelList(const QVector<int> &levelsDbm) {
  QVariantList list;
  list.reserve(levelsDbm.size());
  for (int level : levelsDbm) list.append(level);
  return list;
}

bool matchesBanner(const QByteArray &line) {
  static const QRegularExpression banner(QStringLiteral("tinySA_v[\\d\\.]+-\\d+-g[\\da-f]+"));
  const int length = static_cast<int>(qstrnlen(line.constData(), static_cast<uint>(line.size())));
  return banner.match(QString::fromLatin1(line.constData(), length)).hasMatch();
}

}  // namespace FrameCodec
