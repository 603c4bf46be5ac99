#include "PtyDevice.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kReadBytes = 4096;
constexpr size_t kMaxBacklogBytes = 1 << 20;  // a client that never reads must not grow us without bound
constexpr int kDrainPollMs = 5;
constexpr int kDrainSettleMs = 100;

QString systemError(const QString &what) {
  return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

PtyDevice::~PtyDevice() {
  close();
}

bool PtyDevice::open(QString *error) {
  m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (m_master < 0) {
    *error = systemError(QStringLiteral("posix_openpt"));
    return false;
  }
  char name[128] = {};
  if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::ptsname_r(m_master, name, sizeof(name)) != 0) {
    *error = systemError(QStringLiteral("grantpt/unlockpt/ptsname"));
    close();
    return false;
  }
  m_slavePath = QString::fromLocal8Bit(name);
  m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (m_slave < 0) {
    *error = systemError(QStringLiteral("open ") + m_slavePath);
    close();
    return false;
  }
  setRawMode();
  // Watching starts after our own open, so every event belongs to a client.
  m_notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (m_notify < 0 || ::inotify_add_watch(m_notify, name, IN_OPEN | IN_CLOSE) < 0) {
    *error = systemError(QStringLiteral("inotify on ") + m_slavePath);
    close();
    return false;
  }
  return true;
}

void PtyDevice::close() {
  for (int *fd : {&m_notify, &m_slave, &m_master}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  m_backlog.clear();
  m_clients = 0;
}

void PtyDevice::setRawMode() {
  termios settings{};
  if (::tcgetattr(m_slave, &settings) != 0) return;
  ::cfmakeraw(&settings);
  ::cfsetispeed(&settings, B115200);
  ::cfsetospeed(&settings, B115200);
  ::tcsetattr(m_slave, TCSANOW, &settings);
}

PtyDevice::ClientEvents PtyDevice::updateClients() {
  ClientEvents events;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t count = ::read(m_notify, buffer, sizeof(buffer));
    if (count <= 0) break;
    for (ssize_t offset = 0; offset < count;) {
      const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
      if (event->mask & IN_OPEN) {
        ++m_clients;
        events.opened = true;
      }
      if (event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
        m_clients = m_clients > 0 ? m_clients - 1 : 0;
        events.closed = true;
      }
      offset += ssize_t(sizeof(inotify_event) + event->len);
    }
  }
  return events;
}

QByteArray PtyDevice::readAvailable() {
  QByteArray bytes;
  char buffer[kReadBytes];
  for (;;) {
    const ssize_t count = ::read(m_master, buffer, sizeof(buffer));
    if (count > 0) {
      bytes.append(buffer, int(count));
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    break;
  }
  return bytes;
}

void PtyDevice::write(const QByteArray &bytes) {
  if (m_backlog.size() + size_t(bytes.size()) > kMaxBacklogBytes) return;
  m_backlog.append(bytes.constData(), size_t(bytes.size()));
  flush();
}

void PtyDevice::flush() {
  while (!m_backlog.empty() && m_master >= 0) {
    const ssize_t count = ::write(m_master, m_backlog.data(), m_backlog.size());
    if (count > 0) {
      m_backlog.erase(0, size_t(count));
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    break;  // EAGAIN: the terminal is full
  }
}

void PtyDevice::resetLine() {
  m_backlog.clear();
  ::tcflush(m_slave, TCIFLUSH);
  ::ioctl(m_slave, TIOCNXCL);
  setRawMode();
}

void PtyDevice::waitUntilRead(int timeoutMs) {
  // The count of unread bytes leaves out what the kernel has not yet moved into the
  // reader's queue, so it must stay at zero for a while before the client is done.
  int settledMs = 0;
  for (int waitedMs = 0; waitedMs < timeoutMs && settledMs < kDrainSettleMs; waitedMs += kDrainPollMs) {
    flush();
    int unread = 0;
    const bool empty = m_backlog.empty() && ::ioctl(m_slave, FIONREAD, &unread) == 0 && unread == 0;
    settledMs = empty ? settledMs + kDrainPollMs : 0;
    const timespec pause{0, kDrainPollMs * 1000000L};
    ::nanosleep(&pause, nullptr);
  }
}
