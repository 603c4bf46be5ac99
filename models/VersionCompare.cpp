#include "VersionCompare.h"

#include <QRegularExpression>

namespace VersionCompare {

Version parseVersion(const QString &text) {
  static const QRegularExpression pattern(QStringLiteral("(\\d+)\\.(\\d+)\\.(\\d+)(?:-(\\w+)\\.(\\d+))?"));
  Version version;
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch()) return version;
  version.major = match.captured(1).toInt();
  version.minor = match.captured(2).toInt();
  version.patch = match.captured(3).toInt();
  version.preReleaseTag = match.captured(4);
  version.preReleaseNumber = match.captured(5).toInt();
  return version;
}

bool isOlder(const Version &current, const Version &latest) {
  if (current.major != latest.major) return current.major < latest.major;
  if (current.minor != latest.minor) return current.minor < latest.minor;
  if (current.patch != latest.patch) return current.patch < latest.patch;
  return current.preReleaseNumber < latest.preReleaseNumber;
}

bool isLatestVersion(const QString &current, const QString &latest) {
  return !isOlder(parseVersion(current), parseVersion(latest));
}

}  // namespace VersionCompare
