#include "DataReceiver.h"

#include "LineSplitter.h"
#include "LoggerService.h"
#include "ThreadHandoff.h"

#include <QSerialPort>

DataReceiver::DataReceiver(QSerialPort *port, QObject *parent) : QObject(parent), m_port(port) {}

DataReceiver::~DataReceiver() { stop(); }

void DataReceiver::start() {
  if (m_running)
    return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stopRequested = false;
  }
  m_running = true;
  m_worker = std::thread(&DataReceiver::workerLoop, this);
  if (m_port)
    connect(m_port, &QSerialPort::readyRead, this, &DataReceiver::onReadyRead);
  LOG_INFO(QStringLiteral("Data receiver started"));
}

void DataReceiver::stop() {
  if (!m_running)
    return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stopRequested = true;
  }
  m_dataAvailable.notify_all();
  if (m_port)
    disconnect(m_port, &QSerialPort::readyRead, this, &DataReceiver::onReadyRead);
  // The worker only ever waits on the condition or splits one chunk: it ends promptly.
  if (m_worker.joinable())
    m_worker.join();
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pendingBytes.clear();
    m_lineBuffer.clear();
  }
  m_running = false;
  qDebug("Data receiver stopped");
}

void DataReceiver::onReadyRead() {
  if (!m_port || !m_port->isOpen())
    return;
  const QByteArray data = m_port->readAll();
  if (data.isEmpty())
    return;
  emit dataReceived(data);
  {
    std::lock_guard<std::mutex> guard(m_lock);
    // A copy of the bytes, not a share of the buffer the main thread goes on using.
    m_pendingBytes.append(data.constData(), data.size());
  }
  m_dataAvailable.notify_one();
}

void DataReceiver::workerLoop() {
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    m_dataAvailable.wait(lock, [this] { return m_stopRequested || !m_pendingBytes.isEmpty(); });
    if (m_stopRequested)
      return;
    QByteArray chunk;
    chunk.swap(m_pendingBytes);
    int dropped = 0;
    const QList<QByteArray> lines = LineSplitter::splitLines(m_lineBuffer, chunk, &dropped);
    lock.unlock();
    if (dropped > 0)
      LOG_INFO(QStringLiteral("Line buffer too long without line feed, dropped %1 bytes").arg(dropped));
    for (const QByteArray &line : lines) {
      ThreadHandoff::release();
      emit lineReceived(line);
    }
    lock.lock();
  }
}
