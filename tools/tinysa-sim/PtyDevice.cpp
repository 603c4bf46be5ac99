#include "PtyDevice.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int kReadBytes = 4096;
constexpr size_t kMaxBacklogBytes = 1 << 20;  // a client that never reads must not grow us without bound
constexpr int kDrainPollMs = 5;
constexpr int kDrainSettleMs = 100;

}  // namespace

PtyDevice::~PtyDevice() { close(); }

bool PtyDevice::open(QString *error) {
  m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (m_master < 0) {
    *error = QStringLiteral("posix_openpt: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    return false;
  }
  if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
    *error = QStringLiteral("grantpt/unlockpt: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    close();
    return false;
  }
  char name[128] = {};
  if (::ptsname_r(m_master, name, sizeof(name)) != 0) {
    *error = QStringLiteral("ptsname: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    close();
    return false;
  }
  m_slavePath = QString::fromLocal8Bit(name);
  // Raw mode on the slave side (it stays with the terminal across client opens);
  // opening and closing the slave once also puts the master into its hang-up
  // state, which is how a client's arrival becomes visible.
  const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave < 0) {
    *error = QStringLiteral("open %1: %2").arg(m_slavePath, QString::fromLocal8Bit(std::strerror(errno)));
    close();
    return false;
  }
  termios settings {};
  if (::tcgetattr(slave, &settings) == 0) {
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    ::tcsetattr(slave, TCSANOW, &settings);
  }
  ::close(slave);
  return true;
}

void PtyDevice::close() {
  if (m_master >= 0)
    ::close(m_master);
  m_master = -1;
  m_backlog.clear();
}

bool PtyDevice::clientPresent() const {
  if (m_master < 0)
    return false;
  pollfd entry {m_master, POLLIN, 0};
  if (::poll(&entry, 1, 0) < 0)
    return false;
  return (entry.revents & POLLHUP) == 0;
}

QByteArray PtyDevice::readAvailable(bool *hungUp) {
  *hungUp = false;
  QByteArray bytes;
  char buffer[kReadBytes];
  for (;;) {
    const ssize_t count = ::read(m_master, buffer, sizeof(buffer));
    if (count > 0) {
      bytes.append(buffer, int(count));
      continue;
    }
    if (count < 0 && errno == EINTR)
      continue;
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
      break;
    *hungUp = true;  // EIO (or end of file): no slave is open any more
    break;
  }
  return bytes;
}

void PtyDevice::write(const QByteArray &bytes) {
  if (m_backlog.size() + size_t(bytes.size()) > kMaxBacklogBytes)
    return;
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
    if (count < 0 && errno == EINTR)
      continue;
    break;  // EAGAIN: the terminal is full; EIO: the client is gone
  }
}

void PtyDevice::discardStale() {
  m_backlog.clear();
  const QByteArray name = m_slavePath.toLocal8Bit();
  const int slave = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave < 0)
    return;
  ::tcflush(slave, TCIFLUSH);
  ::close(slave);
}

void PtyDevice::waitUntilRead(int timeoutMs) {
  const QByteArray name = m_slavePath.toLocal8Bit();
  const int slave = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave < 0)
    return;
  // The count of unread bytes leaves out what the kernel has not yet moved into the
  // reader's queue, so it must stay at zero for a while before the client is done.
  int settledMs = 0;
  for (int waitedMs = 0; waitedMs < timeoutMs && settledMs < kDrainSettleMs; waitedMs += kDrainPollMs) {
    flush();
    int unread = 0;
    const bool empty = m_backlog.empty() && ::ioctl(slave, FIONREAD, &unread) == 0 && unread == 0;
    settledMs = empty ? settledMs + kDrainPollMs : 0;
    const timespec pause {0, kDrainPollMs * 1000000L};
    ::nanosleep(&pause, nullptr);
  }
  ::close(slave);
}
