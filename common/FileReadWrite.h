#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// Paths of the application data directory and the file helpers used by the
// configuration store and the presets. Every helper reports failure through its
// boolean result and, in the cases stated, an error text.
//
// Writes replace a file atomically (a temporary file renamed over the old one),
// so a failed or interrupted write always leaves the previous content intact.
//
// The path constants are set up during static initialisation from the Documents
// location of that moment; do not use them in other static initialisers.
namespace FileReadWrite {

extern const QString CONFIG_DIR;
extern const QString PRESET_DIR;
extern const QString DEAFULT_SYSTEM_CONFIG_NAME;
extern const QString DEAFULT_USER_CONFIG_NAME;
extern const QString DEAFULT_DIR_PATH;
extern const QString DEAFULT_SYSTEM_CONFIG_PATH;
extern const QString DEAFULT_USER_CONFIG_PATH;
extern const QString DEAFULT_PRESET_DIR_PATH;

// Writes the object as an indented JSON document; on failure errorMessage holds the file's error text.
bool writeJsonFile(const QString &path, const QJsonObject &object, QString &errorMessage);
// Reads the top-level object (empty for a top-level array); on failure errorMessage
// holds the file's or the parser's error text.
bool readJsonFile(const QString &path, QJsonObject &object, QString &errorMessage);
// An existing directory sets "<path> is exit" and succeeds; otherwise the
// directory is created with its parents ("Failed to create directory: <path>" on failure).
bool createDir(const QString &path, QString &errorMessage);
bool readFile(const QString &path, QByteArray &bytes, QString &errorMessage);
bool writeFile(const QString &path, const QByteArray &bytes, QString &errorMessage);

}  // namespace FileReadWrite
