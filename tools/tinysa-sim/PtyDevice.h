#pragma once

// The simulator's pseudo-terminal. The simulator keeps a descriptor of the
// slave side itself: with it, it can drop what a departed client left unread,
// see whether the client has read everything, and undo a client's exclusive
// lock. Clients coming and going are seen as open and close events on the
// slave's device node.

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
  // Readable when a client opened or closed the port; then call updateClients().
  int notifyFd() const { return m_notify; }
  QString slavePath() const { return m_slavePath; }

  struct ClientEvents {
    bool opened = false;
    bool closed = false;
  };
  // Takes in the open and close events since the last call.
  ClientEvents updateClients();
  // At least one client has the port open.
  bool clientPresent() const { return m_clients > 0; }
  // What the client sent.
  QByteArray readAvailable();
  // Queues bytes and writes as much as the terminal takes now.
  void write(const QByteArray &bytes);
  // Writes queued bytes; call when the master is writable.
  void flush();
  bool hasBacklog() const { return !m_backlog.empty(); }
  // After a client left: drops what it did not read, lifts its exclusive lock and
  // puts the line back into raw mode, so the next client starts clean.
  void resetLine();
  // Waits (at most timeoutMs) until the client has read everything sent.
  void waitUntilRead(int timeoutMs);

private:
  void setRawMode();

  int m_master = -1;
  int m_slave = -1;
  int m_notify = -1;
  int m_clients = 0;
  QString m_slavePath;
  std::string m_backlog;  // bytes the terminal did not take yet
};
