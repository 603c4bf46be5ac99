#pragma once

#include <QObject>
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
  QTimer m_scanTimer;
  QVariantList m_currentList;
};
