#pragma once

#include "Fsm.h"
#include "SerialPortScanner.h"

#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <QVariantList>

class DataReceiver;

// The analyser's serial port and everything about being connected to it:
// the port list, the remembered port, opening with fixed settings, the
// version handshake with its one-second deadline, and the bytes both ways.
class SerialPortModel : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool connected READ connected NOTIFY statusChanged)
  Q_PROPERTY(QVariantList portList READ portList NOTIFY portListChanged)
  Q_PROPERTY(QString currentPortName READ currentPortName NOTIFY portNameChanged)
  Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)
  Q_PROPERTY(ConnectState connectState READ connectState NOTIFY statusChanged)
public:
  enum ConnectState { DISCONNECTED = 0, CONNECTING = 1, CONNECTED = 2, DISCONNECTING = 3, ERROR_CONNECTING = 4 };
  Q_ENUM(ConnectState)

  static constexpr int kScanPeriodMs = 500;
  static constexpr int kHandshakeTimeoutMs = 1000;
  static constexpr qint32 kBaudRate = 115200;

  static SerialPortModel *instance();

  bool connected() const { return m_connected; }
  QVariantList portList() const { return m_portList; }
  QString currentPortName() const { return m_currentPortName; }
  int currentIndex() const { return m_currentIndex; }
  ConnectState connectState() const { return m_connectState; }

  bool busy() const { return m_busy; }
  void setBusy(bool busy) { m_busy = busy; }
  void send(const QByteArray &data);

  Q_INVOKABLE void openSerialPort();
  Q_INVOKABLE void closeSerialPort();
  Q_INVOKABLE void setCurrentIndex(int index);

  SerialPortScanner *scanner() { return &m_scanner; }

signals:
  void statusChanged();
  void portListChanged();
  void currentIndexChanged();
  void portNameChanged();
  void portFound(QVariantMap portInfo, int index);
  void portNotFound(QString portName);
  void dataReady(QByteArray data);
  void rawDataReady(QByteArray data);
  void closeConnect();

private:
  enum FsmState { StateDisconnected = 0, StateConnecting = 1, StateConnected = 2 };

  SerialPortModel();
  void checkBanner(const QByteArray &line);
  void followIndex();
  void onPortsListUpdated(const QVariantList &list);
  void onHandshakeTimeout();
  void connectingTransition();
  void connectedTransition();
  void disconnectingTransition();
  void setConnectState(ConnectState state);
  void loadConfig();
  void saveConfig();

  QSerialPort m_port;
  bool m_connected = false;
  bool m_busy = false;
  QTimer m_handshakeTimer;
  QVariantList m_portList;
  QString m_currentPortName;
  int m_currentIndex = -1;
  ConnectState m_connectState = DISCONNECTED;
  Fsm::stack m_stack{Fsm::state(Fsm::kNull)};
  SerialPortScanner m_scanner;
  DataReceiver *m_receiver = nullptr;
};
