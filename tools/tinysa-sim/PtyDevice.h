#pragma once

// The master side of the simulator's pseudo-terminal. Whether a client has the
// port open is read from the master: with no slave descriptor open anywhere,
// the master reports a hang-up.

#include <QByteArray>
#include <QString>
#include <string>

class PtyDevice {
public:
  PtyDevice() = default;
  ~PtyDevice();
  PtyDevice(const PtyDevice &) = delete;
  PtyDevice &operator=(const PtyDevice &) = delete;

  // Creates the pseudo-terminal in raw mode; false with a message on failure.
  bool open(QString *error);
  void close();

  int masterFd() const { return m_master; }
  QString slavePath() const { return m_slavePath; }

  // Whether some process has the slave side open.
  bool clientPresent() const;
  // Reads what the client sent; sets *hungUp when the client has gone.
  QByteArray readAvailable(bool *hungUp);
  // Queues bytes and writes as much as the terminal takes now.
  void write(const QByteArray &bytes);
  // Writes queued bytes; call when the master is writable.
  void flush();
  bool hasBacklog() const { return !m_backlog.empty(); }
  // Drops what a departed client left unread and what is queued for it,
  // so the next client starts with a clean line.
  void discardStale();
  // Waits (at most timeoutMs) until the client has read everything sent.
  void waitUntilRead(int timeoutMs);

private:
  int m_master = -1;
  QString m_slavePath;
  std::string m_backlog;  // bytes the terminal did not take yet
};
