#pragma once

// The symbolic link that makes the simulator discoverable as a virtual port.

#include <QString>

class DeviceLink {
public:
  DeviceLink() = default;
  ~DeviceLink();
  DeviceLink(const DeviceLink &) = delete;
  DeviceLink &operator=(const DeviceLink &) = delete;

  // Places <dir>/<name> -> target (creating dir). A stale link of the same name is
  // replaced; anything else of that name is an error.
  bool create(const QString &dir, const QString &name, const QString &target, QString *error);
  // Removes the link if it is still ours (another simulator may have taken the name since).
  void remove();

  QString path() const { return m_path; }

private:
  QString m_path;
  QString m_target;
};
