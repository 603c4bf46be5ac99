#include "PerfProbe.h"

#include "LoggerService.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QQuickWidget>
#include <QTimer>
#include <time.h>

namespace {

constexpr int kHeartbeatMs = 10;
constexpr qint64 kReportedGapMs = 25;

qint64 monotonicNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class Probe : public QObject {
public:
  explicit Probe(const QString &path) : QObject(QCoreApplication::instance()), m_file(path) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
      LOG_WARNING(QStringLiteral("Performance probe: cannot write %1: %2").arg(path, m_file.errorString()));
      return;
    }
    QCoreApplication::instance()->installEventFilter(this);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, &Probe::onIdle);
    m_heartbeat.setTimerType(Qt::PreciseTimer);
    m_heartbeat.setInterval(kHeartbeatMs);
    connect(&m_heartbeat, &QTimer::timeout, this, &Probe::onHeartbeat);
    m_heartbeat.start();
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
      write("heartbeats " + QByteArray::number(m_heartbeats) + " max-gap " + QByteArray::number(m_maxGapMs));
    });
    write("started " + QByteArray::number(monotonicNs()));
    LOG_INFO(QStringLiteral("Performance probe writes to %1").arg(path));
  }

  ~Probe() override;

  bool isOpen() const { return m_file.isOpen(); }

  void mark(const char *what) { write(QByteArray(what) + ' ' + QByteArray::number(monotonicNs())); }

  void sweepTaken() {
    write("sweep " + QByteArray::number(m_taken) + " taken " + QByteArray::number(monotonicNs()));
    ++m_taken;
  }

  void sweepPainted() {
    if (m_painted == m_taken) return;
    const QByteArray now = QByteArray::number(monotonicNs());
    for (qint64 sweep = m_painted; sweep < m_taken; ++sweep)
      write("sweep " + QByteArray::number(sweep) + " painted " + now);
    m_painted = m_taken;
  }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Paint && qobject_cast<QQuickWidget *>(watched)) m_windowPainted = true;
    return false;
  }

private:
  void onIdle() {
    if (!m_windowPainted) return;
    m_windowPainted = false;
    const QByteArray now = QByteArray::number(monotonicNs());
    if (!m_shown) {
      m_shown = true;
      write("shown " + now);
    }
    for (qint64 sweep = m_presented; sweep < m_painted; ++sweep)
      write("sweep " + QByteArray::number(sweep) + " presented " + now);
    m_presented = m_painted;
  }

  void onHeartbeat() {
    const qint64 now = monotonicNs();
    ++m_heartbeats;
    if (m_lastBeatNs > 0) {
      const qint64 gapMs = (now - m_lastBeatNs) / 1000000;
      m_maxGapMs = qMax(m_maxGapMs, gapMs);
      if (gapMs > kReportedGapMs) write("gap " + QByteArray::number(gapMs) + " at " + QByteArray::number(now));
    }
    m_lastBeatNs = now;
  }

  void write(const QByteArray &line) { m_file.write(line + '\n'); }

  QFile m_file;
  QTimer m_heartbeat;
  qint64 m_taken = 0;
  qint64 m_painted = 0;
  qint64 m_presented = 0;
  bool m_windowPainted = false;
  bool m_shown = false;
  qint64 m_lastBeatNs = 0;
  qint64 m_maxGapMs = 0;
  qint64 m_heartbeats = 0;
};

Probe *g_probe = nullptr;

Probe::~Probe() {
  if (g_probe == this) g_probe = nullptr;
}

}  // namespace

namespace PerfProbe {

void install() {
  if (g_probe) return;
  const QString path = QString::fromLocal8Bit(qgetenv("ORVIK_PERF_LOG"));
  if (path.isEmpty()) return;
  auto *probe = new Probe(path);
  if (probe->isOpen())
    g_probe = probe;
  else
    delete probe;
}

bool enabled() { return g_probe != nullptr; }

void mark(const char *what) {
  if (g_probe) g_probe->mark(what);
}

void sweepTaken() {
  if (g_probe) g_probe->sweepTaken();
}

void sweepPainted() {
  if (g_probe) g_probe->sweepPainted();
}

}  // namespace PerfProbe
