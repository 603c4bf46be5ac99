#pragma once

#include <QByteArray>
#include <QObject>
#include <condition_variable>
#include <mutex>
#include <thread>

class QSerialPort;

// Hands every byte read from the analyser's port on twice: as the raw chunk
// (on the main thread, where the port lives) and cut into text lines (on a
// worker thread of its own, fed through a mutex and a condition variable).
class DataReceiver : public QObject {
  Q_OBJECT
public:
  DataReceiver(QSerialPort *port, QObject *parent);
  ~DataReceiver() override;

  void start();
  void stop();
  bool isRunning() const { return m_running; }

public slots:
  void onReadyRead();

signals:
  void dataReceived(QByteArray data);
  void lineReceived(QByteArray line);

private:
  void workerLoop();

  QSerialPort *m_port = nullptr;
  std::thread m_worker;
  std::mutex m_lock;
  std::condition_variable m_dataAvailable;
  QByteArray m_pendingBytes;  // guarded by m_lock
  QByteArray m_lineBuffer;    // guarded by m_lock
  bool m_stopRequested = false;  // guarded by m_lock
  bool m_running = false;        // main thread only
};
