#include "DeviceLink.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

DeviceLink::~DeviceLink() {
  remove();
}

bool DeviceLink::create(const QString &dir, const QString &name, const QString &target, QString *error) {
  if (!QDir().mkpath(dir)) {
    *error = QStringLiteral("cannot create directory %1").arg(dir);
    return false;
  }
  const QString path = QDir(dir).absoluteFilePath(name);
  const QFileInfo existing(path);
  if (existing.exists() && !existing.isSymLink()) {
    *error = QStringLiteral("%1 exists and is not a link").arg(path);
    return false;
  }
  // Link under a temporary name, then rename over the final one, so a port scan
  // never sees a half-made or missing link when an old one is replaced.
  const QString temporary = path + QStringLiteral(".%1.tmp").arg(::getpid());
  const QByteArray temporaryBytes = QFile::encodeName(temporary);
  ::unlink(temporaryBytes.constData());
  if (::symlink(QFile::encodeName(target).constData(), temporaryBytes.constData()) != 0) {
    *error = QStringLiteral("symlink %1: %2").arg(temporary, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
  }
  if (::rename(temporaryBytes.constData(), QFile::encodeName(path).constData()) != 0) {
    *error = QStringLiteral("rename to %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    ::unlink(temporaryBytes.constData());
    return false;
  }
  m_path = path;
  m_target = target;
  return true;
}

void DeviceLink::remove() {
  if (m_path.isEmpty()) return;
  const QByteArray path = QFile::encodeName(m_path);
  char target[4096];
  const ssize_t length = ::readlink(path.constData(), target, sizeof(target) - 1);
  if (length > 0 && QByteArray(target, int(length)) == QFile::encodeName(m_target)) ::unlink(path.constData());
  m_path.clear();
}
