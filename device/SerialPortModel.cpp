#include "SerialPortModel.h"

#include "DataReceiver.h"
#include "FrameCodec.h"
#include "LoggerService.h"
#include "SystemConfig.h"
#include "ThreadHandoff.h"

#include <QJsonObject>

namespace {
const QByteArray kVersionCommand = QByteArrayLiteral("version\r\n");
}

SerialPortModel *SerialPortModel::instance() {
  static SerialPortModel *const s_instance = new SerialPortModel();
  return s_instance;
}

SerialPortModel::SerialPortModel() : QObject(nullptr) {
  connect(this, &SerialPortModel::dataReady, this, &SerialPortModel::checkBanner, Qt::DirectConnection);
  connect(this, &SerialPortModel::currentIndexChanged, this, &SerialPortModel::followIndex, Qt::DirectConnection);

  m_stack.addTransition(StateDisconnected, StateConnecting, [this](const QByteArray &) { connectingTransition(); });
  m_stack.addTransition(StateConnecting, StateConnected, [this](const QByteArray &) { connectedTransition(); });
  m_stack.addTransition(StateConnected, StateDisconnected,
                        [this](const QByteArray &) { disconnectingTransition(); });
  m_stack.setCurrentState(StateDisconnected);
  setConnectState(DISCONNECTED);

  m_handshakeTimer.setSingleShot(true);
  m_handshakeTimer.setInterval(kHandshakeTimeoutMs);
  connect(&m_handshakeTimer, &QTimer::timeout, this, &SerialPortModel::onHandshakeTimeout);

  connect(&m_scanner, &SerialPortScanner::portsListUpdated, this, &SerialPortModel::onPortsListUpdated);
  m_scanner.startScanning(kScanPeriodMs);

  m_receiver = new DataReceiver(&m_port, this);
  connect(m_receiver, &DataReceiver::lineReceived, this, [this](QByteArray line) {
    ThreadHandoff::acquire();
    emit dataReady(line);
  });
  connect(m_receiver, &DataReceiver::dataReceived, this, [this](QByteArray data) { emit rawDataReady(data); });
  m_receiver->start();

  loadConfig();
}

void SerialPortModel::loadConfig() {
  const QJsonObject config = SystemConfig::instance()->readConfigInfo();
  const QString name =
      config.value(QStringLiteral("serialPort")).toObject().value(QStringLiteral("portName")).toString();
  if (name != m_currentPortName) {
    m_currentPortName = name;
    emit portNameChanged();
  }
}

void SerialPortModel::saveConfig() {
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  QJsonObject serialPort = config.value(QStringLiteral("serialPort")).toObject();
  serialPort.insert(QStringLiteral("portName"), m_currentPortName);
  config.insert(QStringLiteral("serialPort"), serialPort);
  SystemConfig::instance()->writeConfigToFile(config);
}

void SerialPortModel::checkBanner(const QByteArray &line) {
  if (FrameCodec::matchesBanner(line)) {
    m_connected = true;
    emit statusChanged();
  }
}

void SerialPortModel::followIndex() {
  if (m_currentIndex >= 0 && m_currentIndex < m_portList.size()) {
    const QString name = m_portList.at(m_currentIndex).toMap().value(QStringLiteral("portName")).toString();
    if (name != m_currentPortName) {
      m_currentPortName = name;
      emit portNameChanged();
    }
    saveConfig();
  } else if (!m_currentPortName.isEmpty()) {
    m_currentPortName.clear();
    emit portNameChanged();
  }
}

void SerialPortModel::onPortsListUpdated(const QVariantList &list) {
  m_portList = list;
  emit portListChanged();
  LOG_INFO(QStringLiteral("Available serial ports updated:"));
  if (m_currentPortName.isEmpty())
    return;
  const int index = m_scanner.findPortIndexByName(m_currentPortName);
  if (index < 0) {
    if (m_currentIndex != -1) {
      m_currentIndex = -1;
      emit currentIndexChanged();
    }
    emit portNotFound(m_currentPortName);
    m_stack.command(StateDisconnected);
    return;
  }
  const QVariantMap record = m_scanner.findPortByName(m_currentPortName);
  const QString name = record.value(QStringLiteral("portName")).toString();
  if (name != m_currentPortName) {
    m_currentPortName = name;
    emit portNameChanged();
  }
  if (index != m_currentIndex) {
    m_currentIndex = index;
    emit currentIndexChanged();
  }
  emit portFound(record, index);
}

void SerialPortModel::setCurrentIndex(int index) {
  if (index == m_currentIndex)
    return;
  m_currentIndex = index;
  emit currentIndexChanged();
}

void SerialPortModel::send(const QByteArray &data) {
  if (!m_port.isOpen())
    return;
  m_port.write(data);
}

void SerialPortModel::openSerialPort() {
  if (m_currentPortName.isEmpty())
    return;
  LOG_INFO(QStringLiteral("Open serial Port: ") + m_currentPortName);
  m_port.setPortName(m_currentPortName);
  m_port.setBaudRate(kBaudRate, QSerialPort::AllDirections);
  m_port.setDataBits(QSerialPort::Data8);
  m_port.setStopBits(QSerialPort::OneStop);
  m_port.setParity(QSerialPort::NoParity);
  m_port.setFlowControl(QSerialPort::NoFlowControl);
  LOG_INFO(QStringLiteral("Try to open serial Port: ") + m_currentPortName);
  if (m_port.isOpen()) {
    // Only the connecting state holds the port open here; the handshake decides.
    m_stack.command(StateConnecting);
    return;
  }
  if (m_port.open(QIODevice::ReadWrite)) {
    m_stack.command(StateConnecting);
  } else {
    LOG_INFO(QStringLiteral("%1 %2").arg(QStringLiteral("Failed to open device port: "), m_currentPortName));
    LOG_INFO(QStringLiteral("SerialPortError %1").arg(int(m_port.error())));
    m_stack.command(StateDisconnected);
  }
}

void SerialPortModel::closeSerialPort() { m_stack.command(StateDisconnected); }

void SerialPortModel::setConnectState(ConnectState state) {
  if (state == m_connectState)
    return;
  m_connectState = state;
  emit statusChanged();
}

void SerialPortModel::connectingTransition() {
  LOG_INFO(QStringLiteral("Serial port is connecting..."));
  setConnectState(CONNECTING);
  m_port.write(kVersionCommand);
  m_stack.setCurrentState(StateConnecting);
  m_handshakeTimer.start();
}

void SerialPortModel::onHandshakeTimeout() {
  if (m_connected) {
    LOG_INFO(QStringLiteral("Serial port connection succeeded."));
    m_stack.setCurrentState(StateConnecting);
    m_stack.command(StateConnected);
  } else {
    LOG_INFO(QStringLiteral("Serial port connection timed out."));
    m_stack.setCurrentState(StateConnected);
    m_stack.command(StateDisconnected);
  }
}

void SerialPortModel::connectedTransition() {
  LOG_INFO(QStringLiteral("Serial port is connected."));
  setConnectState(CONNECTED);
  m_busy = false;
  m_stack.setCurrentState(StateConnected);
}

void SerialPortModel::disconnectingTransition() {
  LOG_INFO(QStringLiteral("Serial port is disconnecting..."));
  setConnectState(DISCONNECTED);
  m_connected = false;
  emit statusChanged();
  m_busy = false;
  m_port.close();
  m_stack.setCurrentState(StateDisconnected);
  emit closeConnect();
}
