#pragma once

#include <QString>

// Reading and ordering the dotted version texts of the update manifest:
// "major.minor.patch", optionally followed by "-tag.number" for a pre-release.
namespace VersionCompare {

// The parsed form of a version text; every field is zero or empty when the
// text holds no version.
struct Version {
  int major = 0;
  int minor = 0;
  int patch = 0;
  QString preReleaseTag;
  int preReleaseNumber = 0;
};

// Takes the first version found anywhere in the text (the pattern is searched,
// not anchored), so "v1.0.8 release" reads as 1.0.8.
Version parseVersion(const QString &text);

// Decided by the first of major, minor and patch that differs; with all three
// equal, by the pre-release numbers. The tag text is never compared, so a
// release counts as older than a pre-release of the same numbers.
bool isOlder(const Version &current, const Version &latest);

// True unless `current` is older than `latest`. An unreadable or empty latest
// text parses as 0.0.0 and therefore never asks for an update.
bool isLatestVersion(const QString &current, const QString &latest);

}  // namespace VersionCompare
