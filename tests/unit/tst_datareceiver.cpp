#include "DataReceiver.h"
#include "TestSupport.h"
#include "ThreadHandoff.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A real pseudo-terminal: the test writes on the master side, the receiver
// reads the slave through a QSerialPort, as it reads the analyser.
class TestDataReceiver : public QObject {
  Q_OBJECT

  int m_master = -1;
  QSerialPort *m_port = nullptr;
  DataReceiver *m_receiver = nullptr;

  void writeMaster(const QByteArray &bytes) {
    QCOMPARE(::write(m_master, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
  }

  // Lines come from the worker thread; like the application, the test takes
  // them queued on the main thread.
  QList<QByteArray> m_lines;

private slots:
  void init() {
    int slave = -1;
    char name[256] = {};
    QVERIFY(::openpty(&m_master, &slave, name, nullptr, nullptr) == 0);
    termios raw {};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    m_port = new QSerialPort(QString::fromLocal8Bit(name));
    QVERIFY(m_port->open(QIODevice::ReadWrite));
    ::close(slave);
    m_receiver = new DataReceiver(m_port, nullptr);
    m_lines.clear();
    connect(m_receiver, &DataReceiver::lineReceived, this, [this](const QByteArray &line) {
      ThreadHandoff::acquire();
      m_lines << line;
    }, Qt::QueuedConnection);
    m_receiver->start();
  }

  void cleanup() {
    delete m_receiver;
    delete m_port;
    ::close(m_master);
  }

  void bannerSplitOverTwoChunksArrivesWhole() {
    QSignalSpy raw(m_receiver, &DataReceiver::dataReceived);
    writeMaster("tinySA_v1.4-1");
    QVERIFY(raw.wait(2000));
    writeMaster("05-g090fcb8\r\n");
    QTRY_COMPARE(m_lines.size(), 1);
    QCOMPARE(m_lines, QList<QByteArray>{"tinySA_v1.4-105-g090fcb8"});
    QByteArray all;
    for (const QList<QVariant> &args : raw)
      all += args.first().toByteArray();
    QTRY_COMPARE(raw.count() >= 2 ? all : QByteArray(), QByteArray("tinySA_v1.4-105-g090fcb8\r\n"));
  }

  void lineEndsAndEmptyLines() {
    writeMaster("first\r\n\r\nsecond\nrest");
    QTRY_COMPARE(m_lines.size(), 2);
    QCOMPARE(m_lines, (QList<QByteArray>{"first", "second"}));
    // "rest" waits for its line feed; a second chunk completes it.
    writeMaster("ed\r\r\n");
    QTRY_COMPARE(m_lines.size(), 3);
    QCOMPARE(m_lines.at(2), QByteArray("rested\r"));
  }

  void stopDropsPendingTextAndStartBeginsClean() {
    QSignalSpy raw(m_receiver, &DataReceiver::dataReceived);
    writeMaster("half a line");
    QVERIFY(raw.wait(2000));
    m_receiver->stop();
    m_receiver->stop();  // harmless
    QVERIFY(!m_receiver->isRunning());
    m_receiver->start();
    m_receiver->start();  // one worker
    QVERIFY(m_receiver->isRunning());
    writeMaster("\nnext\n");
    QTRY_COMPARE(m_lines.size(), 1);
    QCOMPARE(m_lines.first(), QByteArray("next"));
  }

  void closedPortReadsNothing() {
    QSignalSpy raw(m_receiver, &DataReceiver::dataReceived);
    m_port->close();
    m_receiver->onReadyRead();
    QCOMPARE(raw.count(), 0);
  }
};

ORVIK_TEST_MAIN(TestDataReceiver)
#include "tst_datareceiver.moc"
