#include "ConfigService.h"

#include <QDateTime>

namespace {

// Build constants of this release.
constexpr const char *kVersion = "1.0.7";
constexpr const char *kCommitId = "6685a19";
// Two-digit year, month, day, hour, minute.
constexpr const char *kCompileTime = "2510281502";

}  // namespace

ConfigService *ConfigService::m_instance = nullptr;

ConfigService *ConfigService::instance() {
  if (!m_instance) m_instance = new ConfigService;
  return m_instance;
}

ConfigService::ConfigService(QObject *parent) : QObject(parent) {
  connect(&m_clockTimer, &QTimer::timeout, this, &ConfigService::onClockTick);
  m_clockTimer.start(kClockIntervalMs);
}

QString ConfigService::version() const {
  return QString::fromLatin1(kVersion);
}

QString ConfigService::commitId() const {
  return QString::fromLatin1(kCommitId);
}

QString ConfigService::compileTime() const {
  return QString::fromLatin1(kCompileTime);
}

QString ConfigService::currentTime() const {
  return m_currentTime;
}

void ConfigService::setCurrentTime(const QString &text) {
  m_currentTime = text;
  emit statusChanged();
}

void ConfigService::onClockTick() {
  setCurrentTime(QDateTime::currentDateTime().toString(QStringLiteral("yy-MM-dd HH:mm:ss")));
}
