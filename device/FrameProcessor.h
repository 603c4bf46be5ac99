#pragma once

#include "FrameCodec.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantList>
#include <condition_variable>
#include <mutex>
#include <thread>

class SerialPortModel;

// The scan protocol engine: turns scan requests into command groups for the
// analyser, paces sweeps with timers and the busy flag, cuts result frames
// out of the byte stream on a reader thread and decodes them on a decoder
// thread, and announces each decoded sweep.
class FrameProcessor : public QObject {
  Q_OBJECT
public:
  enum Command : int { VBAT = 0, SWEEP = 1, VERSION = 2 };

  static constexpr int kScanTickMs = 200;
  static constexpr int kContinuousTickMs = 500;
  static constexpr int kBusyTimeoutMs = 5000;
  static constexpr int kSingleScanTimeoutMs = 10000;
  static constexpr int kThreadStartDelayMs = 100;
  static constexpr int kScanPoints = 1000;
  static constexpr int kMinPublishedPoints = 11;

  static FrameProcessor *instance();
  ~FrameProcessor() override;

  void initialize();
  void shutdown();
  void appendScanCommands();
  QByteArray getCommandBytes(Command command) const;
  bool isRunning() const;

  // The command group of one sweep, or empty when the range is not valid.
  static QStringList buildScanCommands(const QString &startMhz, const QString &stopMhz);

  // Timer access for tests that drive the pacing by hand.
  QTimer *continuousTimer() { return &m_continuousTimer; }
  QTimer *busyWatchdog() { return &m_busyWatchdog; }
  QTimer *singleScanTimer() { return &m_singleScanTimer; }
  int pendingGroups() const { return m_commandQueue.size(); }
  QStringList pendingGroup() const { return m_commandQueue.isEmpty() ? QStringList() : m_commandQueue.last(); }

public slots:
  void handleSerialData(const QByteArray &data);
  void onScanTimeout();

signals:
  void scanSuccessed(QVariantList pointList);

private:
  FrameProcessor();

  void onSingleScan();
  void onContinuousScan();
  void onStopScan();
  void onContinuousTick();
  void onSingleScanDeadline();
  void onScanCompleted();
  void onRangeChanged();
  void startThreads();
  void readerLoop();
  void decoderLoop();

  SerialPortModel *m_serialModel = nullptr;
  QTimer m_scanTimer;
  QTimer m_continuousTimer;
  QTimer m_busyWatchdog;
  QTimer m_singleScanTimer;
  QMap<int, QByteArray> m_commandTable;
  QList<QStringList> m_commandQueue;  // a stack: only the top group is sent
  bool m_initialized = false;

  // Shared with the reader and decoder threads, under m_lock.
  mutable std::mutex m_lock;
  std::condition_variable m_dataAvailable;
  std::condition_variable m_frameAvailable;
  QList<QByteArray> m_rawQueue;
  QList<QByteArray> m_frameQueue;
  FrameCodec::CutState m_cutState;
  bool m_running = false;
  std::thread m_readerThread;
  std::thread m_decoderThread;
};
