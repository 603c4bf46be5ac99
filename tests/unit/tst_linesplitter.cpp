#include "LineSplitter.h"
#include "TestSupport.h"

namespace {

struct Split {
  QByteArrayList lines;
  QByteArray rest;
};

Split feed(const QByteArrayList &chunks) {
  Split split;
  for (const QByteArray &chunk : chunks) split.lines += LineSplitter::splitLines(split.rest, chunk);
  return split;
}

// The ways one stream may arrive: whole, cut in two at every position, byte by byte.
QList<QByteArrayList> chunkings(const QByteArray &stream) {
  QList<QByteArrayList> all{{stream}};
  for (int cut = 1; cut < stream.size(); ++cut) all.append({stream.left(cut), stream.mid(cut)});
  QByteArrayList bytes;
  for (char c : stream) bytes << QByteArray(1, c);
  all.append(bytes);
  return all;
}

}  // namespace

class TestLineSplitter : public QObject {
  Q_OBJECT

private slots:
  void split_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArray>("rest");

    const QByteArray banner("tinySA_v1.4-105-g090fcb8");
    QTest::newRow("banner with CRLF") << banner + "\r\n" << QByteArrayList{banner} << QByteArray();
    QTest::newRow("CRLF line, empty CRLF line, LF line")
        << QByteArray("first\r\n\r\nsecond\n") << QByteArrayList{"first", "second"} << QByteArray();
    QTest::newRow("no line feed waits") << QByteArray("partial") << QByteArrayList{} << QByteArray("partial");
    QTest::newRow("unfinished line after a complete one")
        << QByteArray("ch> version\r\ntinySA_v1.4") << QByteArrayList{"ch> version"} << QByteArray("tinySA_v1.4");
    QTest::newRow("bare CR does not end a line") << QByteArray("a\rb\n") << QByteArrayList{"a\rb"} << QByteArray();
    QTest::newRow("only one CR is dropped") << QByteArray("a\r\r\n") << QByteArrayList{"a\r"} << QByteArray();
    QTest::newRow("a line of two CRs keeps one") << QByteArray("\r\r\n") << QByteArrayList{"\r"} << QByteArray();
    QTest::newRow("trailing CR without LF is kept") << QByteArray("abc\r") << QByteArrayList{} << QByteArray("abc\r");
    QTest::newRow("LF CR is a line end then text")
        << QByteArray("abc\n\rdef") << QByteArrayList{"abc"} << QByteArray("\rdef");
    QTest::newRow("empty lines are not reported") << QByteArray("\n\n\r\n\n") << QByteArrayList{} << QByteArray();
    QTest::newRow("prompt after output stays")
        << QByteArray("version\r\n") + banner + "\r\nch> " << QByteArrayList{"version", banner} << QByteArray("ch> ");
    QTest::newRow("binary bytes split the same way")
        << QByteArray("{x\x00\x0a\x78\x0d\x0a}", 8) << QByteArrayList{QByteArray("{x\x00", 3), QByteArray("x")}
        << QByteArray("}");
  }

  void split() {
    QFETCH(QByteArray, stream);
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArray, rest);
    for (const QByteArrayList &chunks : chunkings(stream)) {
      const Split split = feed(chunks);
      QCOMPARE(split.lines, lines);
      QCOMPARE(split.rest, rest);
    }
  }

  void banner_splitInTheVersionNumber_isOneLine() {
    const Split split = feed({"tinySA_v1.4-10", "5-g090fcb8\r\n"});
    QCOMPARE(split.lines, QByteArrayList{"tinySA_v1.4-105-g090fcb8"});
    QVERIFY(split.rest.isEmpty());
  }

  void overlongUnfinishedLine_keepsItsNewestBytes() {
    constexpr int kOverBytes = 1000;
    QByteArray buffer;
    int dropped = 0;
    QByteArray noise(LineSplitter::kMaxLineBufferBytes + kOverBytes, 'z');
    noise[kOverBytes] = 'A';  // the first byte that survives
    QVERIFY(LineSplitter::splitLines(buffer, noise, &dropped).isEmpty());
    QCOMPARE(dropped, kOverBytes);
    QCOMPARE(buffer.size(), LineSplitter::kMaxLineBufferBytes);

    const QByteArrayList lines = LineSplitter::splitLines(buffer, "tinySA_v1.4-105-g090fcb8\r\n", &dropped);
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().startsWith('A'));
    QVERIFY(lines.first().endsWith("tinySA_v1.4-105-g090fcb8"));
    QCOMPARE(dropped, kOverBytes);
    QVERIFY(buffer.isEmpty());
  }
};

ORVIK_TEST_MAIN(TestLineSplitter)
#include "tst_linesplitter.moc"
