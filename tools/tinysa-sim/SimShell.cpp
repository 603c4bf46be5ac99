#include "SimShell.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace tinysasim {
namespace {

constexpr qint64 kBasicDefaultStopHz = 350000000;
constexpr int kBasicDefaultPoints = 290;
constexpr qint64 kUltraDefaultStopHz = 800000000;
constexpr int kUltraDefaultPoints = 450;
constexpr char kBatteryAnswer[] = "4151 mV\r\n";
constexpr char kHelpAnswer[] = "Commands: help version vbat sweep scanraw\r\n";
constexpr char kSweepUsage[] =
    "usage: sweep {start(Hz)} [stop(Hz)] [points]\r\n\tsweep {start|stop|center|span|cw} {freq(Hz)}\r\n";
constexpr char kScanrawUsage[] = "usage: scanraw {start(Hz)} {stop(Hz)} [points]\r\n";
constexpr char kBackspaceEcho[] = "\b \b";

bool parsePoints(const QByteArray &text, int *points) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < 1 || value > kMaxPoints) return false;
  *points = value;
  return true;
}

}  // namespace

bool parseFrequencyHz(const QByteArray &text, qint64 *hz) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d{1,12})(\\.\\d{1,9})?([kMG]?)$"));
  const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(text));
  if (!match.hasMatch()) return false;
  const QString suffix = match.captured(3);
  const double scale = suffix == QLatin1String("k")   ? 1e3
                       : suffix == QLatin1String("M") ? 1e6
                       : suffix == QLatin1String("G") ? 1e9
                                                      : 1.0;
  const double value = (match.captured(1) + match.captured(2)).toDouble() * scale;
  if (value > double(kMaxFrequencyHz)) return false;
  *hz = qint64(std::llround(value));
  return true;
}

SimShell::SimShell(const DeviceConfig &config) : m_config(config) {
  m_runFaults = runFaults(config.faults);
  for (const FaultPlan &plan : config.faults) {
    if (plan.fault == Fault::Unplug && (m_unplugAfterSweeps == 0 || quint64(plan.every) < m_unplugAfterSweeps))
      m_unplugAfterSweeps = quint64(plan.every);
  }
  m_stopHz = config.model == Model::Ultra ? kUltraDefaultStopHz : kBasicDefaultStopHz;
  m_points = config.model == Model::Ultra ? kUltraDefaultPoints : kBasicDefaultPoints;
}

void SimShell::clientOpened(qint64 nowMs) {
  clientClosed();
  if (hasFault(m_runFaults, Fault::Mute)) return;
  enqueue(nowMs, QByteArray(kShellBanner) + kPrompt);
}

void SimShell::clientClosed() {
  m_input.clear();
  m_line.clear();
  m_output.clear();
  m_busyUntilMs = 0;
}

void SimShell::receive(const QByteArray &bytes, qint64 nowMs) {
  if (hasFault(m_runFaults, Fault::Mute)) return;
  m_input += bytes;
  process(nowMs);
}

QList<QByteArray> SimShell::takeDue(qint64 nowMs) {
  process(nowMs);
  QList<QByteArray> due;
  while (!m_output.isEmpty() && m_output.first().atMs <= nowMs) {
    const Pending pending = m_output.takeFirst();
    if (pending.frameEndOfSweep >= 0) m_frameEnds.append(quint64(pending.frameEndOfSweep));
    due.append(pending.bytes);
  }
  return due;
}

qint64 SimShell::nextEventMs(qint64 nowMs) const {
  qint64 next = -1;
  if (!m_output.isEmpty()) next = m_output.first().atMs;
  // The end of a running command matters when input waits for it or an unplug follows it.
  if (m_busyUntilMs > nowMs && (next < 0 || m_busyUntilMs < next)) next = m_busyUntilMs;
  return next;
}

QVector<FrameRecord> SimShell::takeFrameRecords() {
  QVector<FrameRecord> records;
  records.swap(m_records);
  return records;
}

QVector<quint64> SimShell::takeFrameEnds() {
  QVector<quint64> ends;
  ends.swap(m_frameEnds);
  return ends;
}

bool SimShell::unplugDue(qint64 nowMs) const {
  return m_unplugAfterSweeps > 0 && m_sweepIndex >= m_unplugAfterSweeps && m_output.isEmpty() && nowMs >= m_busyUntilMs;
}

bool SimShell::inputBlocked(qint64 nowMs) const {
  return nowMs < m_busyUntilMs || (m_unplugAfterSweeps > 0 && m_sweepIndex >= m_unplugAfterSweeps);
}

void SimShell::enqueue(qint64 atMs, const QByteArray &bytes, bool sealed, qint64 frameEndOfSweep) {
  if (bytes.isEmpty()) return;
  if (!m_output.isEmpty()) {
    Pending &last = m_output.last();
    atMs = std::max(atMs, last.atMs);
    if (!sealed && !last.sealed && last.atMs == atMs && last.bytes.size() + bytes.size() <= kUsbPacketBytes) {
      last.bytes += bytes;
      return;
    }
  }
  m_output.append(Pending{atMs, bytes, sealed, frameEndOfSweep});
}

void SimShell::process(qint64 nowMs) {
  while (!m_input.isEmpty() && !inputBlocked(nowMs)) {
    const char byte = m_input.at(0);
    m_input.remove(0, 1);
    handleByte(byte, nowMs);
  }
}

void SimShell::handleByte(char byte, qint64 nowMs) {
  const quint8 code = quint8(byte);
  if (byte == '\r') {
    enqueue(nowMs, "\r\n");
    const QByteArray line = m_line;
    m_line.clear();
    execute(line, nowMs);
  } else if (code == 0x08 || code == 0x7F) {
    if (!m_line.isEmpty()) {
      m_line.chop(1);
      enqueue(nowMs, kBackspaceEcho);
    }
  } else if (code < 0x20) {
    // Line feeds and other control characters are ignored, as the firmware's line reader does.
  } else if (m_line.size() < kMaxLineBytes) {
    m_line.append(byte);
    enqueue(nowMs, QByteArray(1, byte));
  }
}

void SimShell::execute(const QByteArray &line, qint64 nowMs) {
  QList<QByteArray> words = line.split(' ');
  words.removeAll(QByteArray());
  if (words.isEmpty()) {
    enqueue(nowMs, kPrompt);
    return;
  }
  const QByteArray &name = words.first();
  if (name == "version") {
    version(nowMs);
    return;
  }
  if (name == "scanraw") {
    scanraw(words, nowMs);
    return;
  }
  if (name == "sweep")
    sweep(words, nowMs);
  else if (name == "vbat")
    enqueue(nowMs, kBatteryAnswer);
  else if (name == "help")
    enqueue(nowMs, kHelpAnswer);
  else
    enqueue(nowMs, name + "?\r\n");
  enqueue(nowMs, kPrompt);
}

void SimShell::version(qint64 nowMs) {
  QByteArray text;
  if (hasFault(m_runFaults, Fault::NoBanner))
    text.clear();
  else if (hasFault(m_runFaults, Fault::WrongBanner))
    text = kWrongVersion;
  else
    text = m_config.model == Model::Ultra ? kUltraVersion : kBasicVersion;
  text += kPrompt;
  qint64 atMs = nowMs;
  if (hasFault(m_runFaults, Fault::LateBanner)) {
    atMs = nowMs + m_config.bannerDelayMs;
    m_busyUntilMs = atMs;
  }
  enqueue(atMs, text);
}

void SimShell::sweep(const QList<QByteArray> &words, qint64 nowMs) {
  if (words.size() == 1) {
    enqueue(nowMs, QByteArray::number(m_startHz) + ' ' + QByteArray::number(m_stopHz) + ' ' +
                       QByteArray::number(m_points) + "\r\n");
    return;
  }
  const QByteArray &what = words.at(1);
  qint64 hz = 0;
  if (words.size() == 3 && parseFrequencyHz(words.at(2), &hz)) {
    const qint64 centerHz = (m_startHz + m_stopHz) / 2;
    const qint64 spanHz = m_stopHz - m_startHz;
    if (what == "start") {
      m_startHz = hz;
      return;
    }
    if (what == "stop") {
      m_stopHz = hz;
      return;
    }
    if (what == "center") {
      m_startHz = std::max<qint64>(0, hz - spanHz / 2);
      m_stopHz = hz + spanHz / 2;
      return;
    }
    if (what == "span") {
      m_startHz = std::max<qint64>(0, centerHz - hz / 2);
      m_stopHz = centerHz + hz / 2;
      return;
    }
    if (what == "cw") {
      m_startHz = hz;
      m_stopHz = hz;
      return;
    }
  }
  // The numeric form: sweep <start> [stop] [points].
  qint64 startHz = 0;
  qint64 stopHz = m_stopHz;
  int points = m_points;
  if (words.size() <= 4 && parseFrequencyHz(words.at(1), &startHz) &&
      (words.size() < 3 || parseFrequencyHz(words.at(2), &stopHz)) &&
      (words.size() < 4 || parsePoints(words.at(3), &points))) {
    m_startHz = startHz;
    m_stopHz = stopHz;
    m_points = points;
    return;
  }
  enqueue(nowMs, kSweepUsage);
}

void SimShell::scanraw(const QList<QByteArray> &words, qint64 nowMs) {
  ScanRequest request;
  request.points = m_points;
  if (words.size() < 3 || words.size() > 4 || !parseFrequencyHz(words.at(1), &request.startHz) ||
      !parseFrequencyHz(words.at(2), &request.stopHz) ||
      (words.size() == 4 && !parsePoints(words.at(3), &request.points))) {
    enqueue(nowMs, QByteArray(kScanrawUsage) + kPrompt);
    return;
  }
  if (request.startHz > request.stopHz) {
    enqueue(nowMs, QByteArray(kInvalidRange) + kPrompt);
    return;
  }
  request.sweepIndex = m_sweepIndex++;
  const ScanAnswer answer = buildScanAnswer(m_config.scene, m_config.faults, m_config.sweepMs, request);
  // A frame is complete unless it broke off or never came; its "}" precedes the prompt, if any.
  const bool complete = !hasFault(answer.faults, Fault::DropFrameEnd) && !hasFault(answer.faults, Fault::LostAnswer);
  const int endIndex = answer.bytes.size() - 1 - (answer.prompt ? int(sizeof(kPrompt)) - 1 : 0);
  int chunkEnd = 0;
  for (const TimedChunk &chunk : answer.chunks) {
    const int chunkStart = chunkEnd;
    chunkEnd += chunk.bytes.size();
    const bool carriesEnd = complete && endIndex >= chunkStart && endIndex < chunkEnd;
    enqueue(nowMs + chunk.atMs, chunk.bytes, true, carriesEnd ? qint64(request.sweepIndex) : -1);
  }
  m_busyUntilMs = nowMs + answer.durationMs;

  FrameRecord record;
  record.sweepIndex = request.sweepIndex;
  record.startHz = request.startHz;
  record.stopHz = request.stopHz;
  record.points = request.points;
  record.faults = answer.faults;
  record.bytes = answer.bytes.size();
  m_records.append(record);
}

}  // namespace tinysasim
