// tinysa-sim: a tinySA analyser on a pseudo-terminal, for development and tests.

#include "DeviceLink.h"
#include "PtyDevice.h"
#include "SimOptions.h"
#include "SimScene.h"
#include "SimShell.h"

#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>

using namespace tinysasim;

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;
constexpr int kUnplugDrainMs = 2000;  // the last frame gets this long to be read before the port goes
constexpr int kMaxPollMs = 1000;

int g_signalPipe[2] = {-1, -1};

void onSignal(int signalNumber) {
  const int savedErrno = errno;
  const char byte = char(signalNumber);
  [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
  errno = savedErrno;
}

bool installSignalHandlers() {
  if (::pipe2(g_signalPipe, O_NONBLOCK | O_CLOEXEC) != 0) return false;
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    if (::sigaction(signalNumber, &action, nullptr) != 0) return false;
  }
  std::signal(SIGPIPE, SIG_IGN);
  return true;
}

qint64 monotonicNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

qint64 monotonicMs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void printLine(const QString &text) {
  std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
  std::fflush(stdout);
}

void printError(const QString &text) {
  std::fputs(qPrintable(QStringLiteral("tinysa-sim: ") + text + QLatin1Char('\n')), stderr);
}

QByteArray logLine(const FrameRecord &record) {
  return "sweep=" + QByteArray::number(record.sweepIndex) + " start=" + QByteArray::number(record.startHz) +
         " stop=" + QByteArray::number(record.stopHz) + " points=" + QByteArray::number(record.points) +
         " fault=" + faultSetNames(record.faults).toLatin1() + " bytes=" + QByteArray::number(record.bytes) + '\n';
}

// The device's life: greet clients, answer them, until a signal or the unplug point.
void run(const SimOptions &options, PtyDevice &pty, DeviceLink &link, QFile *log, QFile *timingLog) {
  SimShell shell(options.device);
  bool present = false;
  QVector<quint64> framesEnding;  // complete frames whose last byte is written but may still wait in the backlog
  // A frame has left once nothing of it waits in our backlog any more.
  const auto noteFramesLeft = [&] {
    if (!timingLog || framesEnding.isEmpty() || pty.hasBacklog()) return;
    const QByteArray now = QByteArray::number(monotonicNs());
    for (quint64 sweep : qAsConst(framesEnding)) timingLog->write(QByteArray::number(sweep) + ' ' + now + '\n');
    timingLog->flush();
    framesEnding.clear();
  };
  for (;;) {
    const qint64 nowMs = monotonicMs();
    // A close seen together with a new open (a quick reconnect) still ends the old session.
    const PtyDevice::ClientEvents events = pty.updateClients();
    if (present && events.closed) {
      present = false;
      shell.clientClosed();
      pty.resetLine();
      printLine(QStringLiteral("client: closed"));
    }
    if (!present && pty.clientPresent()) {
      present = true;
      printLine(QStringLiteral("client: open"));
      shell.clientOpened(nowMs);
    }
    // Bytes arriving while nobody has the port open are left-overs of a departed client.
    const QByteArray input = pty.readAvailable();
    if (present && !input.isEmpty()) shell.receive(input, nowMs);

    const QList<QByteArray> due = shell.takeDue(nowMs);
    // The log line of a frame is out before the frame, so whoever has read a frame can read its line.
    if (log) {
      for (const FrameRecord &record : shell.takeFrameRecords()) {
        log->write(logLine(record));
        log->flush();
      }
    }
    if (present) {
      for (const QByteArray &chunk : due) pty.write(chunk);
      framesEnding += shell.takeFrameEnds();
    } else {
      shell.takeFrameEnds();
      framesEnding.clear();
    }
    noteFramesLeft();
    if (shell.unplugDue(nowMs)) {
      // Unplugging: the port leaves the devices directory at once; the terminal hangs up
      // once the client has read the last frame, so a test sees every frame before the end.
      link.remove();
      if (present) pty.waitUntilRead(kUnplugDrainMs);
      return;
    }

    int timeoutMs = -1;
    const qint64 nextMs = shell.nextEventMs(nowMs);
    if (nextMs >= 0) timeoutMs = int(std::clamp<qint64>(nextMs - nowMs, 0, kMaxPollMs));
    pollfd entries[3] = {{g_signalPipe[0], POLLIN, 0}, {pty.notifyFd(), POLLIN, 0}, {pty.masterFd(), POLLIN, 0}};
    if (pty.hasBacklog()) entries[2].events |= POLLOUT;
    const int count = ::poll(entries, 3, timeoutMs);
    if (count < 0 && errno != EINTR) return;
    if (entries[0].revents & POLLIN) return;
    if (entries[2].revents & POLLOUT) pty.flush();
    noteFramesLeft();
  }
}

}  // namespace

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tinysa-sim"));

  SimOptions options;
  QString message;
  switch (parseSimOptions(QCoreApplication::arguments(), &options, &message)) {
    case ParseOutcome::Help:
      std::fputs(qPrintable(message), stdout);
      return 0;
    case ParseOutcome::Error:
      printError(message);
      std::fputs("Try 'tinysa-sim --help'.\n", stderr);
      return kExitUsage;
    case ParseOutcome::PrintScene: {
      const QByteArray table = sceneTable(options.device.scene, options.sceneSweep, options.sceneStartHz,
                                          options.sceneStopHz, options.scenePoints);
      std::fwrite(table.constData(), 1, size_t(table.size()), stdout);
      return 0;
    }
    case ParseOutcome::Run:
      break;
  }

  QFile log(options.logPath);
  if (!options.logPath.isEmpty() && !log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    printError(QStringLiteral("--log: cannot write %1: %2").arg(options.logPath, log.errorString()));
    return kExitUsage;
  }
  QFile timingLog(options.timingLogPath);
  if (!options.timingLogPath.isEmpty() && !timingLog.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    printError(QStringLiteral("--timing-log: cannot write %1: %2").arg(options.timingLogPath, timingLog.errorString()));
    return kExitUsage;
  }
  if (!installSignalHandlers()) {
    printError(QStringLiteral("cannot install signal handlers"));
    return kExitFailure;
  }
  PtyDevice pty;
  QString error;
  if (!pty.open(&error)) {
    printError(error);
    return kExitFailure;
  }
  DeviceLink link;
  const QString devicesDir = options.devicesDir.isEmpty() ? defaultDevicesDir() : options.devicesDir;
  if (!link.create(devicesDir, options.name, pty.slavePath(), &error)) {
    printError(error);
    return kExitFailure;
  }
  printLine(QStringLiteral("link: ") + link.path());
  printLine(QStringLiteral("pty: ") + pty.slavePath());

  run(options, pty, link, options.logPath.isEmpty() ? nullptr : &log,
      options.timingLogPath.isEmpty() ? nullptr : &timingLog);

  link.remove();
  pty.close();
  return 0;
}
