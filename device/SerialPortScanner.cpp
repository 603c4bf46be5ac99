#include "SerialPortScanner.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>
#include <sys/stat.h>

SerialPortScanner::SerialPortScanner(QObject *parent) : QObject(parent) {
  m_scanTimer.setSingleShot(false);
  connect(&m_scanTimer, &QTimer::timeout, this, &SerialPortScanner::onScanTimeout);
}

SerialPortScanner::~SerialPortScanner() { m_scanTimer.stop(); }

void SerialPortScanner::startScanning(int periodMs) {
  if (m_scanTimer.isActive())
    return;
  m_scanTimer.start(periodMs);
  QTimer::singleShot(0, this, &SerialPortScanner::onScanTimeout);
}

void SerialPortScanner::stopScanning() { m_scanTimer.stop(); }

bool SerialPortScanner::isScanning() const { return m_scanTimer.isActive(); }

QVariantList SerialPortScanner::getAvailablePorts() const { return m_currentList; }

QVariantMap SerialPortScanner::findPortByName(const QString &name) const {
  const int index = findPortIndexByName(name);
  return index < 0 ? QVariantMap() : m_currentList.at(index).toMap();
}

int SerialPortScanner::findPortIndexByName(const QString &name) const {
  for (int i = 0; i < m_currentList.size(); ++i) {
    if (m_currentList.at(i).toMap().value(QStringLiteral("portName")).toString() == name)
      return i;
  }
  return -1;
}

QString SerialPortScanner::virtualPortsDir() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Veltro-Orvik/devices");
}

QVariantMap SerialPortScanner::makePortRecord(const QString &portName, int position, const QString &description,
                                              const QString &manufacturer, const QString &serialNumber,
                                              const QString &systemLocation, int vendorId, int productId) {
  QVariantMap record;
  record.insert(QStringLiteral("portName"), portName);
  record.insert(QStringLiteral("aliasName"), QStringLiteral("COM%1").arg(position));
  record.insert(QStringLiteral("description"), description);
  record.insert(QStringLiteral("manufacturer"), manufacturer);
  record.insert(QStringLiteral("serialNumber"), serialNumber);
  record.insert(QStringLiteral("systemLocation"), systemLocation);
  record.insert(QStringLiteral("vendorIdentifier"), vendorId);
  record.insert(QStringLiteral("productIdentifier"), productId);
  return record;
}

SerialPortScanner::SystemPorts SerialPortScanner::systemPorts() {
  SystemPorts ports;
  const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
  for (const QSerialPortInfo &info : infos) {
    if (!info.description().isEmpty()) {
      ports.records.append(makePortRecord(info.portName(), ports.count, info.description(), info.manufacturer(),
                                          info.serialNumber(), info.systemLocation(), info.vendorIdentifier(),
                                          info.productIdentifier()));
    }
    ++ports.count;
  }
  return ports;
}

void SerialPortScanner::appendVirtualPorts(QVariantList &list, int position) {
  // Virtual ports: links (sorted by name) that lead to a character device.
  const QDir dir(virtualPortsDir());
  const QFileInfoList links = dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo &link : links) {
    if (!link.isSymLink())
      continue;
    struct stat target {};
    if (::stat(QFile::encodeName(link.absoluteFilePath()).constData(), &target) != 0 || !S_ISCHR(target.st_mode))
      continue;
    list.append(makePortRecord(link.absoluteFilePath(), position, link.fileName(), QString(), QString(), QString(),
                               0, 0));
    ++position;
  }
}

QVariantList SerialPortScanner::scanSerialPorts() {
  const SystemPorts system = systemPorts();
  QVariantList list = system.records;
  appendVirtualPorts(list, system.count);
  return list;
}

bool SerialPortScanner::systemScanDue(bool haveSystemPorts, const QStringList &lastNodes, const QStringList &nodes,
                                      int ticksSinceSystemScan) {
  return !haveSystemPorts || nodes != lastNodes || ticksSinceSystemScan >= kSystemScanEveryTicks;
}

QStringList SerialPortScanner::deviceNodes() {
  return QDir(QStringLiteral("/dev"))
      .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void SerialPortScanner::onScanTimeout() {
  const QStringList nodes = deviceNodes();
  ++m_ticksSinceSystemScan;
  if (systemScanDue(m_haveSystemPorts, m_deviceNodes, nodes, m_ticksSinceSystemScan)) {
    m_systemPorts = systemPorts();
    m_haveSystemPorts = true;
    m_deviceNodes = nodes;
    m_ticksSinceSystemScan = 0;
  }
  QVariantList newList = m_systemPorts.records;
  appendVirtualPorts(newList, m_systemPorts.count);
  if (newList == m_currentList)
    return;
  m_currentList = newList;
  emit portsListUpdated(m_currentList);
}
