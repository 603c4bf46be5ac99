#include "SerialPortScanner.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

// The operating system's ports are whatever this machine has; the virtual
// ports directory is ours, so the tests steer the list through it.
class TestSerialPortScanner : public QObject {
  Q_OBJECT

  QString m_dir;

  QString addLink(const QString &name, const QString &target) {
    const QString path = m_dir + "/" + name;
    QFile::remove(path);
    return QFile::link(target, path) ? path : QString();
  }

  static QVariantList virtualPorts(const QVariantList &list) {
    QVariantList out;
    for (const QVariant &v : list) {
      if (v.toMap().value("portName").toString().contains("/Veltro-Orvik/devices/"))
        out << v;
    }
    return out;
  }

private slots:
  void init() {
    m_dir = SerialPortScanner::virtualPortsDir();
    QDir(m_dir).removeRecursively();
    QVERIFY(QDir().mkpath(m_dir));
  }

  void virtualLinksAreListedAfterTheSystemPorts() {
    const int systemCount = SerialPortScanner::scanSerialPorts().size();
    const QString a = addLink("a-sim", "/dev/null");
    const QString b = addLink("b-sim", "/dev/zero");
    addLink("dangling", m_dir + "/nowhere");
    QFile regular(m_dir + "/plain-file");
    QVERIFY(regular.open(QIODevice::WriteOnly));
    regular.close();
    addLink("to-regular", regular.fileName());

    const QVariantList list = SerialPortScanner::scanSerialPorts();
    const QVariantList ports = virtualPorts(list);
    QCOMPARE(ports.size(), 2);
    QCOMPARE(list.size(), systemCount + 2);
    const QVariantMap first = ports.at(0).toMap();
    QCOMPARE(first.value("portName").toString(), a);
    QCOMPARE(first.value("description").toString(), QStringLiteral("a-sim"));
    QCOMPARE(first.value("manufacturer").toString(), QString());
    QCOMPARE(first.value("systemLocation").toString(), QString());
    QCOMPARE(first.value("vendorIdentifier").toInt(), 0);
    QCOMPARE(first.keys(), (QStringList{"aliasName", "description", "manufacturer", "portName", "productIdentifier",
                                        "serialNumber", "systemLocation", "vendorIdentifier"}));
    QCOMPARE(ports.at(1).toMap().value("portName").toString(), b);
    // The alias continues the position count after every system port, listed or not.
    const int firstAlias = first.value("aliasName").toString().mid(3).toInt();
    QVERIFY(firstAlias >= systemCount);
    QCOMPARE(ports.at(1).toMap().value("aliasName").toString(), QStringLiteral("COM%1").arg(firstAlias + 1));
  }

  void oneAnnouncementPerChange() {
    SerialPortScanner scanner;
    QSignalSpy updated(&scanner, &SerialPortScanner::portsListUpdated);
    scanner.onScanTimeout();
    const int baseline = updated.count();  // 1 when the machine has ports, else 0
    scanner.onScanTimeout();
    QCOMPARE(updated.count(), baseline);

    const QString link = addLink("tinySA-sim", "/dev/null");
    scanner.onScanTimeout();
    QCOMPARE(updated.count(), baseline + 1);
    QCOMPARE(scanner.findPortIndexByName(link), scanner.getAvailablePorts().size() - 1);
    QCOMPARE(scanner.findPortByName(link).value("description").toString(), QStringLiteral("tinySA-sim"));
    scanner.onScanTimeout();
    QCOMPARE(updated.count(), baseline + 1);

    QVERIFY(QFile::remove(link));  // unplugged
    scanner.onScanTimeout();
    QCOMPARE(updated.count(), baseline + 2);
    QCOMPARE(scanner.findPortIndexByName(link), -1);
    QVERIFY(scanner.findPortByName(link).isEmpty());
  }

  void startScanningScansAtOnceAndKeepsItsPeriod() {
    SerialPortScanner scanner;
    addLink("tinySA-sim", "/dev/null");
    QSignalSpy updated(&scanner, &SerialPortScanner::portsListUpdated);
    scanner.startScanning(500);
    QVERIFY(scanner.isScanning());
    scanner.startScanning(10);  // already running: the period stays
    QVERIFY(updated.wait(300));  // the first scan comes on the next turn of the event loop
    const QVariantList before = scanner.getAvailablePorts();
    scanner.stopScanning();
    QVERIFY(!scanner.isScanning());
    QCOMPARE(scanner.getAvailablePorts(), before);
  }

  void systemScanDue_data() {
    QTest::addColumn<bool>("haveSystemPorts");
    QTest::addColumn<QStringList>("lastNodes");
    QTest::addColumn<QStringList>("nodes");
    QTest::addColumn<int>("ticksSince");
    QTest::addColumn<bool>("due");
    const QStringList before{"null", "tty0", "ttyS0"};
    QTest::newRow("first tick") << false << QStringList() << before << 1 << true;
    QTest::newRow("nothing changed") << true << before << before << 1 << false;
    QTest::newRow("nothing changed, one tick short of the limit")
        << true << before << before << SerialPortScanner::kSystemScanEveryTicks - 1 << false;
    QTest::newRow("nothing changed, limit reached")
        << true << before << before << SerialPortScanner::kSystemScanEveryTicks << true;
    QTest::newRow("a port came") << true << before << QStringList{"null", "tty0", "ttyACM0", "ttyS0"} << 1 << true;
    QTest::newRow("a port went") << true << before << QStringList{"null", "tty0"} << 1 << true;
    QTest::newRow("a port renamed") << true << before << QStringList{"null", "tty0", "ttyS1"} << 1 << true;
  }

  void systemScanDue() {
    QFETCH(bool, haveSystemPorts);
    QFETCH(QStringList, lastNodes);
    QFETCH(QStringList, nodes);
    QFETCH(int, ticksSince);
    QFETCH(bool, due);
    QCOMPARE(SerialPortScanner::systemScanDue(haveSystemPorts, lastNodes, nodes, ticksSince), due);
  }

  // Between the system's answers a tick still lists exactly what a full scan does.
  void tickBetweenSystemScans_listsWhatAFullScanLists() {
    QVERIFY(SerialPortScanner::deviceNodes().contains(QStringLiteral("null")));
    SerialPortScanner scanner;
    scanner.onScanTimeout();
    addLink("tinySA-sim", "/dev/null");
    for (int tick = 0; tick < SerialPortScanner::kSystemScanEveryTicks + 1; ++tick) {
      scanner.onScanTimeout();
      QCOMPARE(scanner.getAvailablePorts(), SerialPortScanner::scanSerialPorts());
    }
  }
};

ORVIK_TEST_MAIN(TestSerialPortScanner)
#include "tst_serialportscanner.moc"
