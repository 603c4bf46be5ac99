#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>

// Keeps the list of serial ports present on the machine up to date: the
// operating system's ports, then the virtual ports (links to character
// devices in the application's "devices" directory, where the analyser
// simulator announces itself). Announces the list only when it changed.
class SerialPortScanner : public QObject {
  Q_OBJECT
public:
  explicit SerialPortScanner(QObject *parent = nullptr);
  ~SerialPortScanner() override;

  void startScanning(int periodMs);
  void stopScanning();
  bool isScanning() const;

  QVariantList getAvailablePorts() const;
  QVariantMap findPortByName(const QString &name) const;
  int findPortIndexByName(const QString &name) const;

  // The list as one scan sees it now.
  static QVariantList scanSerialPorts();

  // Asking the operating system for its serial ports is the expensive part of
  // a tick (on Linux udev walks every tty device: about 14 ms). The scanner
  // asks only when the names in the device directory changed (a port came or
  // went), when it has no answer yet, and at least every kSystemScanEveryTicks
  // ticks (a new port's description may come a moment after its node). The
  // virtual ports are read at every tick.
  static constexpr int kSystemScanEveryTicks = 10;
  static bool systemScanDue(bool haveSystemPorts, const QStringList &lastNodes, const QStringList &nodes,
                            int ticksSinceSystemScan);
  // The names in the device directory ("/dev"), sorted.
  static QStringList deviceNodes();
  // The directory whose links to character devices are listed as ports.
  static QString virtualPortsDir();
  static QVariantMap makePortRecord(const QString &portName, int position, const QString &description,
                                    const QString &manufacturer, const QString &serialNumber,
                                    const QString &systemLocation, int vendorId, int productId);

public slots:
  void onScanTimeout();

signals:
  void portsListUpdated(const QVariantList &portList);

private:
  struct SystemPorts {
    QVariantList records;  // ports with a description, as makePortRecord gives them
    int count = 0;         // every port the system listed (the aliases count them all)
  };
  static SystemPorts systemPorts();
  static void appendVirtualPorts(QVariantList &list, int position);

  QTimer m_scanTimer;
  QVariantList m_currentList;
  bool m_haveSystemPorts = false;
  SystemPorts m_systemPorts;
  QStringList m_deviceNodes;
  int m_ticksSinceSystemScan = 0;
};
