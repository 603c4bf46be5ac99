#include "FrameCodec.h"
#include "TestSupport.h"

#include <cmath>

namespace {

using FrameCodec::DecodeStatus;
using FrameCodec::DropReason;

QByteArray frameOf(const QVector<int> &raws, bool withEnd = true) {
  QByteArray frame("{");
  for (int raw : raws) {
    frame.append('x');
    frame.append(char(raw & 0xFF));
    frame.append(char((raw >> 8) & 0xFF));
  }
  if (withEnd) frame.append('}');
  return frame;
}

QVector<int> rampOf(int points) {
  QVector<int> raws;
  for (int i = 0; i < points; ++i) raws << (i * 977 + 13) % 65536;
  return raws;
}

// What the cutter reported over a whole stream, in a comparable form.
struct Cut {
  QByteArrayList frames;
  QStringList drops;  // "broken 63 after 5" (offending byte, complete records) or "too long after 3333"
  int skipped = 0;
  QByteArray left;
};

Cut cutAll(const QByteArrayList &chunks) {
  Cut cut;
  FrameCodec::CutState state;
  for (const QByteArray &chunk : chunks) {
    const FrameCodec::CutResult result = FrameCodec::cutFrames(state, chunk);
    cut.frames += result.frames;
    cut.skipped += result.skippedBytes;
    for (const FrameCodec::DroppedFrame &dropped : result.dropped) {
      if (dropped.reason == DropReason::BrokenRecord)
        cut.drops << QStringLiteral("broken %1 after %2").arg(dropped.offendingByte).arg(dropped.completeRecords);
      else
        cut.drops << QStringLiteral("too long after %1").arg(dropped.completeRecords);
      if (!dropped.bytes.startsWith('{') || (dropped.bytes.size() - 1) / 3 != dropped.completeRecords)
        cut.drops << QStringLiteral("inconsistent drop");
    }
  }
  cut.left = state.partialFrame;
  return cut;
}

QByteArrayList chunksOf(const QByteArray &stream, int chunkBytes) {
  QByteArrayList chunks;
  for (int pos = 0; pos < stream.size(); pos += chunkBytes) chunks << stream.mid(pos, chunkBytes);
  return chunks;
}

const QByteArray kPrompt("ch> ");
const QByteArray kEcho("scanraw 450000000 950000000 1000\r\n");

}  // namespace

class TestFrameCodec : public QObject {
  Q_OBJECT

private slots:
  void cut_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QStringList>("drops");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QByteArray>("left");

    const QByteArray small = frameOf({896, 672});
    const QByteArray other = frameOf({100, 200, 300});
    // Every value byte one of the delimiters the stream also uses.
    const QByteArray delimiters = frameOf({0x7878, 0x7B7D, 0x7D7B, 0x0A0A, 0x787D, 0x7D78, 0x7B78, 0x0A7D, 0x7D0A});
    const QByteArray full = frameOf(rampOf(1000));

    QTest::newRow("whole frame") << small << QByteArrayList{small} << QStringList{} << 0 << QByteArray();
    QTest::newRow("full sweep with echo and prompt") << kEcho + full + kPrompt << QByteArrayList{full} << QStringList{}
                                                     << kEcho.size() + kPrompt.size() << QByteArray();
    QTest::newRow("delimiter bytes inside values")
        << delimiters << QByteArrayList{delimiters} << QStringList{} << 0 << QByteArray();
    QTest::newRow("value bytes { and } only, prompt after")
        << frameOf({0x7B7B, 0x7D7D, 0x7B7D}) + kPrompt << QByteArrayList{frameOf({0x7B7B, 0x7D7D, 0x7B7D})}
        << QStringList{} << kPrompt.size() << QByteArray();
    QTest::newRow("garbage and stray braces before the frame")
        << QByteArray("\x00\xff}}x\r\n", 7) + small << QByteArrayList{small} << QStringList{} << 7 << QByteArray();
    QTest::newRow("two frames in one chunk")
        << small + kPrompt + kEcho + other + kPrompt << QByteArrayList{small, other} << QStringList{}
        << 2 * kPrompt.size() + kEcho.size() << QByteArray();
    QTest::newRow("frames back to back") << small + other << QByteArrayList{small, other} << QStringList{} << 0
                                         << QByteArray();
    QTest::newRow("empty frame") << QByteArray("{}") + kPrompt << QByteArrayList{"{}"} << QStringList{}
                                 << kPrompt.size() << QByteArray();
    QTest::newRow("short frame without prompt")
        << kEcho + frameOf({1, 2, 3, 4, 5}) << QByteArrayList{frameOf({1, 2, 3, 4, 5})} << QStringList{} << kEcho.size()
        << QByteArray();
    QTest::newRow("lost frame end, then a good frame")
        << frameOf(rampOf(20), false) + kPrompt + kEcho + other + kPrompt << QByteArrayList{other}
        << QStringList{"broken 99 after 20"} << 2 * kPrompt.size() + kEcho.size() << QByteArray();
    QTest::newRow("lost frame end, next frame right after")
        << frameOf(rampOf(20), false) + other << QByteArrayList{other} << QStringList{"broken 123 after 20"} << 0
        << QByteArray();
    {
      QByteArray corrupted = frameOf({1, 2, 3, 4, 5});
      corrupted[1 + 3 * 2] = 'y';  // the third marker
      QTest::newRow("corrupted marker drops the frame")
          << corrupted + kPrompt + other << QByteArrayList{other} << QStringList{"broken 121 after 2"}
          << corrupted.size() - 1 - 3 * 2 + kPrompt.size() << QByteArray();
    }
    {
      // After the break, a "{" that was a high byte lines up with the real
      // markers: the rest of the frame comes out as a short frame.
      QByteArray corrupted = frameOf({1, 0x7B00, 3, 4});
      corrupted[1] = 'X';
      QTest::newRow("corruption before a { value byte yields a short frame")
          << corrupted << QByteArrayList{frameOf({3, 4})} << QStringList{"broken 88 after 0"} << 5 << QByteArray();
    }
    QTest::newRow("frame still open at the end waits")
        << kEcho + frameOf({1, 2}, false) + "x\x05" << QByteArrayList{} << QStringList{} << kEcho.size()
        << frameOf({1, 2}, false) + "x\x05";
    {
      constexpr int kTooManyPoints = 3400;
      QTest::newRow("frame without end beyond the size limit")
          << frameOf(QVector<int>(kTooManyPoints, 0x1111), false) + other << QByteArrayList{other}
          << QStringList{"too long after 3333"} << 3 * (kTooManyPoints - 3333) << QByteArray();
    }
    {
      const QByteArray largest = frameOf(QVector<int>(3332, 0x1111));
      QTest::newRow("largest frame within the limit")
          << largest << QByteArrayList{largest} << QStringList{} << 0 << QByteArray();
    }
  }

  // Each stream is fed whole, cut in two at every byte, in 64-byte chunks and byte by byte.
  void cut() {
    QFETCH(QByteArray, stream);
    QFETCH(QByteArrayList, frames);
    QFETCH(QStringList, drops);
    QFETCH(int, skipped);
    QFETCH(QByteArray, left);

    const auto check = [&](const QByteArrayList &chunks, const QString &how) {
      const Cut cut = cutAll(chunks);
      QVERIFY2(cut.frames == frames, qPrintable(how + ": frames differ"));
      QVERIFY2(cut.drops == drops, qPrintable(how + ": drops " + cut.drops.join(", ")));
      QVERIFY2(cut.skipped == skipped, qPrintable(how + QStringLiteral(": skipped %1").arg(cut.skipped)));
      QVERIFY2(cut.left == left, qPrintable(how + ": partial frame differs"));
    };
    check({stream}, "whole");
    for (int at = 0; at <= stream.size() && !QTest::currentTestFailed(); ++at)
      check({stream.left(at), stream.mid(at)}, QStringLiteral("split at %1").arg(at));
    check(chunksOf(stream, 64), "64-byte chunks");
    check(chunksOf(stream, 1), "byte by byte");
  }

  void cut_emptyChunk_changesNothing() {
    FrameCodec::CutState state;
    state.partialFrame = "{x\x01";
    const FrameCodec::CutResult result = FrameCodec::cutFrames(state, QByteArray());
    QVERIFY(result.frames.isEmpty());
    QVERIFY(result.dropped.isEmpty());
    QCOMPARE(state.partialFrame, QByteArray("{x\x01"));
  }

  void decode_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("expectedPoints");
    QTest::addColumn<int>("status");
    QTest::addColumn<QVector<int>>("levels");

    const int ok = int(DecodeStatus::Ok);
    const int mismatch = int(DecodeStatus::PointCountMismatch);
    const int malformed = int(DecodeStatus::Malformed);
    QTest::newRow("two points") << QByteArray("\x7B\x78\x80\x03\x78\xA0\x02\x7D") << 2 << ok
                                << QVector<int>{-100, -107};
    QTest::newRow("extremes") << frameOf({0, 65535}) << 2 << ok << QVector<int>{-128, 1919};
    QTest::newRow("fractions are dropped downwards")
        << frameOf({31, 32, 880, 881, 4095, 4096, 4127}) << 7 << ok << QVector<int>{-128, -127, -101, -101, -1, 0, 0};
    QTest::newRow("delimiter bytes as values")
        << frameOf({0x7878, 0x7B7D, 0x7D7B, 0x0A0A}) << 4 << ok
        << QVector<int>{0x7878 / 32 - 128, 0x7B7D / 32 - 128, 0x7D7B / 32 - 128, 0x0A0A / 32 - 128};
    QTest::newRow("short frame is reported with its levels")
        << frameOf({896, 672, 0}) << 1000 << mismatch << QVector<int>{-100, -107, -128};
    QTest::newRow("more records than asked") << frameOf({896, 672}) << 1 << mismatch << QVector<int>{-100, -107};
    QTest::newRow("empty frame") << QByteArray("{}") << 1000 << mismatch << QVector<int>{};
    QTest::newRow("nothing") << QByteArray() << 0 << malformed << QVector<int>{};
    QTest::newRow("start only") << QByteArray("{") << 0 << malformed << QVector<int>{};
    QTest::newRow("end only") << QByteArray("}") << 0 << malformed << QVector<int>{};
    QTest::newRow("partial record") << QByteArray("{x\x01}") << 1 << malformed << QVector<int>{};
    QTest::newRow("record without its end") << frameOf({1}, false) << 1 << malformed << QVector<int>{};
    QTest::newRow("wrong marker") << QByteArray("{y\x01\x02}") << 1 << malformed << QVector<int>{};
    QTest::newRow("text after the end") << frameOf({1}) + kPrompt << 1 << malformed << QVector<int>{};
    QTest::newRow("text before the start") << kPrompt + frameOf({1}) << 1 << malformed << QVector<int>{};
  }

  void decode() {
    QFETCH(QByteArray, frame);
    QFETCH(int, expectedPoints);
    QFETCH(int, status);
    QFETCH(QVector<int>, levels);
    const FrameCodec::DecodedFrame decoded = FrameCodec::decodeFrame(frame, expectedPoints);
    QCOMPARE(int(decoded.status), status);
    QCOMPARE(decoded.levelsDbm, levels);
    QCOMPARE(decoded.recordCount, levels.size());
  }

  // Every raw value, in 1000-point sweeps cut from 64-byte chunks, against the
  // level written as a real number rounded down.
  void decode_everyRawValue_isTheLevelRoundedDown() {
    constexpr int kPoints = 1000;
    constexpr int kRawValues = 65536;
    FrameCodec::CutState state;
    for (int first = 0; first < kRawValues; first += kPoints) {
      QVector<int> raws;
      for (int i = 0; i < kPoints; ++i) raws << (first + i) % kRawValues;
      QByteArrayList frames;
      for (const QByteArray &chunk : chunksOf(kEcho + frameOf(raws) + kPrompt, 64))
        frames += FrameCodec::cutFrames(state, chunk).frames;
      QCOMPARE(frames.size(), 1);
      const FrameCodec::DecodedFrame decoded = FrameCodec::decodeFrame(frames.first(), kPoints);
      QCOMPARE(decoded.status, DecodeStatus::Ok);
      for (int i = 0; i < kPoints; ++i) {
        const int expected = int(std::floor(raws.at(i) / 32.0 - 128.0));
        if (decoded.levelsDbm.at(i) != expected)
          QFAIL(qPrintable(QStringLiteral("raw %1: %2 dBm, expected %3")
                               .arg(raws.at(i))
                               .arg(decoded.levelsDbm.at(i))
                               .arg(expected)));
      }
    }
  }

  void toLevelList_holdsInts() {
    const QVariantList list = FrameCodec::toLevelList({-100, -107});
    QCOMPARE(list, (QVariantList{-100, -107}));
    QCOMPARE(list.first().userType(), int(QMetaType::Int));
  }

  void frameBytesForPoints_fullSweep() { QCOMPARE(FrameCodec::frameBytesForPoints(1000), 3002); }

  void banner_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("matches");
    QTest::newRow("basic") << QByteArray("tinySA_v1.4-105-g090fcb8") << true;
    QTest::newRow("inside other text") << QByteArray("ch> version tinySA_v1.4-105-g090fcb8 extra") << true;
    QTest::newRow("after Latin-1 bytes") << QByteArray("\xff\xfe tinySA_v1.4-105-g090fcb8") << true;
    QTest::newRow("zero byte after the banner") << QByteArray("tinySA_v1.4-105-g090fcb8\0junk", 29) << true;
    QTest::newRow("zero byte before the banner") << QByteArray("ch>\0tinySA_v1.4-105-g090fcb8", 28) << false;
    QTest::newRow("without the commit") << QByteArray("tinySA_v1.4-105") << false;
    QTest::newRow("empty commit") << QByteArray("tinySA_v1.4-105-g") << false;
    QTest::newRow("upper-case commit") << QByteArray("tinySA_v1.4-105-gABC") << false;
    QTest::newRow("wrong case of the name") << QByteArray("TinySA_v1.4-105-g090fcb8") << false;
    QTest::newRow("other model name") << QByteArray("tinySA4_v1.4-143-g864bb27") << false;
    QTest::newRow("unknown command") << QByteArray("version?") << false;
    QTest::newRow("empty") << QByteArray() << false;
  }

  void banner() {
    QFETCH(QByteArray, line);
    QFETCH(bool, matches);
    QCOMPARE(FrameCodec::matchesBanner(line), matches);
  }
};

ORVIK_TEST_MAIN(TestFrameCodec)
#include "tst_framecodec.moc"
