#include "FrameProcessor.h"

#include "FreqScanSetModel.h"
#include "LoggerService.h"
#include "SerialPortModel.h"
#include "ThreadHandoff.h"

#include <limits>

namespace {

// MHz text to hertz; a value that does not fit in 32 bits counts as not positive.
qint32 mhzTextToHz(const QString &text) {
  const double hz = text.toDouble() * 1000000.0;
  if (!(hz < double(std::numeric_limits<qint32>::max()) + 1.0) || hz <= -2147483649.0)
    return 0;
  return qint32(hz);
}

}  // namespace

FrameProcessor *FrameProcessor::instance() {
  static FrameProcessor s_instance;
  return &s_instance;
}

FrameProcessor::FrameProcessor() : QObject(nullptr) {
  m_commandTable.insert(VBAT, QByteArrayLiteral("vbat\r\n"));
  m_commandTable.insert(SWEEP, QByteArrayLiteral("sweep\r\n"));
  m_commandTable.insert(VERSION, QByteArrayLiteral("version\r\n"));
  m_busyWatchdog.setSingleShot(true);
  m_singleScanTimer.setSingleShot(true);
  m_singleScanTimer.setInterval(kSingleScanTimeoutMs);
  m_continuousTimer.setInterval(kContinuousTickMs);
}

FrameProcessor::~FrameProcessor() { shutdown(); }

QByteArray FrameProcessor::getCommandBytes(Command command) const { return m_commandTable.value(command); }

bool FrameProcessor::isRunning() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_running;
}

void FrameProcessor::initialize() {
  if (m_initialized)
    return;
  m_initialized = true;
  m_serialModel = SerialPortModel::instance();
  connect(m_serialModel, &SerialPortModel::rawDataReady, this, &FrameProcessor::handleSerialData);

  FreqScanSetModel *settings = FreqScanSetModel::instance();
  connect(settings, &FreqScanSetModel::stopScan, this, &FrameProcessor::onStopScan);
  connect(settings, &FreqScanSetModel::singleScan, this, &FrameProcessor::onSingleScan);
  connect(settings, &FreqScanSetModel::continuousScan, this, &FrameProcessor::onContinuousScan);
  connect(settings, &FreqScanSetModel::startFreqStrChanged, this, &FrameProcessor::onRangeChanged);
  connect(settings, &FreqScanSetModel::stopFreqStrChanged, this, &FrameProcessor::onRangeChanged);

  connect(&m_busyWatchdog, &QTimer::timeout, this, [this] { m_serialModel->setBusy(false); });
  connect(&m_continuousTimer, &QTimer::timeout, this, &FrameProcessor::onContinuousTick);

  connect(this, &FrameProcessor::scanSuccessed, this, &FrameProcessor::onScanCompleted, Qt::QueuedConnection);
  connect(m_serialModel, &SerialPortModel::closeConnect, this, [] { emit FreqScanSetModel::instance()->stopScan(); });

  m_scanTimer.setInterval(kScanTickMs);
  connect(&m_scanTimer, &QTimer::timeout, this, &FrameProcessor::onScanTimeout);
  connect(&m_singleScanTimer, &QTimer::timeout, this, &FrameProcessor::onSingleScanDeadline);

  QTimer::singleShot(kThreadStartDelayMs, this, &FrameProcessor::startThreads);
  m_scanTimer.start();
}

void FrameProcessor::startThreads() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_running || m_readerThread.joinable())
      return;
    m_running = true;
  }
  m_readerThread = std::thread(&FrameProcessor::readerLoop, this);
  m_decoderThread = std::thread(&FrameProcessor::decoderLoop, this);
}

void FrameProcessor::shutdown() {
  // Cooperative: the workers see running = false after their wake-up and end;
  // neither can be holding the lock when it is joined.
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_running = false;
  }
  m_dataAvailable.notify_all();
  m_frameAvailable.notify_all();
  if (m_readerThread.joinable())
    m_readerThread.join();
  if (m_decoderThread.joinable())
    m_decoderThread.join();
  m_scanTimer.stop();
  m_continuousTimer.stop();
  m_busyWatchdog.stop();
  m_singleScanTimer.stop();
}

QStringList FrameProcessor::buildScanCommands(const QString &startMhz, const QString &stopMhz) {
  const qint32 start = mhzTextToHz(startMhz);
  const qint32 stop = mhzTextToHz(stopMhz);
  if (start > 0 && stop > 0 && start < stop) {
    return {QStringLiteral("sweep start %1\r\n").arg(start), QStringLiteral("sweep stop %1\r\n").arg(stop),
            QStringLiteral("scanraw %1 %2 %3\r\n").arg(start).arg(stop).arg(kScanPoints)};
  }
  return {};
}

void FrameProcessor::appendScanCommands() {
  if (m_serialModel && m_serialModel->busy())
    return;
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  const QStringList group = buildScanCommands(settings->startFreqStr(), settings->stopFreqStr());
  if (group.isEmpty()) {
    LOG_INFO(QStringLiteral("Invalid frequency range for scan commands."));
    return;
  }
  m_commandQueue.append(group);
  LOG_INFO(QStringLiteral("Scan commands added: %1").arg(group.last()));
}

void FrameProcessor::onRangeChanged() {
  // A group that is still waiting must sweep the range as it is now: the
  // one-click scan asks for sweeps first and sets its range right after, and
  // the sweep is drawn over the current range.
  if (m_commandQueue.isEmpty())
    return;
  m_commandQueue.clear();
  appendScanCommands();
}

void FrameProcessor::onScanTimeout() {
  if (!m_serialModel || m_serialModel->busy() || m_commandQueue.isEmpty())
    return;
  const QStringList group = m_commandQueue.last();
  for (const QString &command : group) {
    m_serialModel->send(command.toUtf8());
    LOG_INFO(QStringLiteral("Send command: %1").arg(command));
  }
  m_serialModel->setBusy(true);
  m_commandQueue.clear();
}

void FrameProcessor::onSingleScan() {
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  settings->setScanStatus(QStringLiteral("single"));
  settings->setMarkPriorityFreq(false);
  m_commandQueue.clear();
  appendScanCommands();
  m_singleScanTimer.start(kSingleScanTimeoutMs);
  m_continuousTimer.stop();
}

void FrameProcessor::onContinuousScan() {
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  settings->setScanStatus(QStringLiteral("continuous"));
  if (!settings->autoMonitor())
    settings->setMarkPriorityFreq(false);
  m_commandQueue.clear();
  appendScanCommands();
  m_continuousTimer.start(kContinuousTickMs);
}

void FrameProcessor::onStopScan() {
  FreqScanSetModel::instance()->setScanStatus(QStringLiteral("stop"));
  m_commandQueue.clear();
  if (m_serialModel)
    m_serialModel->setBusy(false);
  m_continuousTimer.stop();
  m_singleScanTimer.stop();
}

void FrameProcessor::onContinuousTick() {
  if (!m_serialModel->busy()) {
    m_busyWatchdog.stop();
    appendScanCommands();
  } else if (!m_busyWatchdog.isActive()) {
    m_busyWatchdog.start(kBusyTimeoutMs);
  }
}

void FrameProcessor::onSingleScanDeadline() {
  if (FreqScanSetModel::instance()->scanStatus() != QLatin1String("single"))
    return;
  LOG_INFO(QStringLiteral("Single scan timeout after 10s, clearing queue and retrying"));
  m_commandQueue.clear();
  m_serialModel->setBusy(false);
  m_singleScanTimer.stop();
  appendScanCommands();
  m_singleScanTimer.start(kSingleScanTimeoutMs);
}

void FrameProcessor::onScanCompleted() {
  ThreadHandoff::acquire();
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  if (settings->scanStatus() == QLatin1String("single"))
    settings->setScanStatus(QStringLiteral("stop"));
  m_serialModel->setBusy(false);
}

void FrameProcessor::handleSerialData(const QByteArray &data) {
  if (data.isEmpty())
    return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    // The reader gets its own copy of the bytes, not a share of the main thread's buffer.
    m_rawQueue.append(QByteArray(data.constData(), data.size()));
  }
  m_dataAvailable.notify_one();
}

void FrameProcessor::readerLoop() {
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    m_dataAvailable.wait(lock, [this] { return !m_running || !m_rawQueue.isEmpty(); });
    if (!m_running)
      return;
    const QByteArray chunk = m_rawQueue.takeFirst();
    const FrameCodec::CutResult result = FrameCodec::cutFrames(m_cutState, chunk);
    for (const QByteArray &frame : result.frames)
      m_frameQueue.append(frame);
    lock.unlock();
    for (const FrameCodec::DroppedFrame &dropped : result.dropped) {
      if (dropped.reason == FrameCodec::DropReason::TooLong) {
        LOG_INFO(QStringLiteral("Buffer too large without closing brace, clearing"));
      } else {
        LOG_INFO(QStringLiteral("Broken frame dropped: byte 0x%1 after %2 points, %3 bytes")
                     .arg(dropped.offendingByte, 2, 16, QLatin1Char('0'))
                     .arg(dropped.completeRecords)
                     .arg(dropped.bytes.size()));
      }
    }
    for (const QByteArray &frame : result.frames)
      LOG_INFO(QStringLiteral("Success to Get Points! Data length: %1").arg(frame.size()));
    if (!result.frames.isEmpty())
      m_frameAvailable.notify_one();
    lock.lock();
  }
}

void FrameProcessor::decoderLoop() {
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    m_frameAvailable.wait(lock, [this] { return !m_running || !m_frameQueue.isEmpty(); });
    if (!m_running)
      return;
    const QByteArray frame = m_frameQueue.takeFirst();
    lock.unlock();
    const FrameCodec::DecodedFrame decoded = FrameCodec::decodeFrame(frame, kScanPoints);
    if (decoded.status == FrameCodec::DecodeStatus::Malformed) {
      LOG_INFO(QStringLiteral("Malformed frame dropped (%1 bytes)").arg(frame.size()));
    } else if (decoded.recordCount > kScanPoints) {
      LOG_INFO(QStringLiteral("Frame with %1 points dropped, %2 were asked for")
                   .arg(decoded.recordCount)
                   .arg(kScanPoints));
    } else if (decoded.levelsDbm.size() >= kMinPublishedPoints) {
      const QVariantList pointList = FrameCodec::toLevelList(decoded.levelsDbm);
      // Everything written for this sweep happens before the hand-over mark.
      ThreadHandoff::release();
      emit scanSuccessed(pointList);
    }
    lock.lock();
  }
}
