#include "FileReadWrite.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>
#include <QStandardPaths>

namespace FileReadWrite {
namespace {

QString appDataDirPath() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Veltro-Orvik");
}

}  // namespace

// Defined in dependency order: within one translation unit they are initialised top to bottom.
const QString CONFIG_DIR = QStringLiteral("config");
const QString PRESET_DIR = QStringLiteral("preset");
const QString DEAFULT_SYSTEM_CONFIG_NAME = QStringLiteral("Veltro_Orvik.dov");
const QString DEAFULT_USER_CONFIG_NAME = QStringLiteral("Veltro_User.dov");
const QString DEAFULT_DIR_PATH = appDataDirPath() + QLatin1Char('/') + CONFIG_DIR;
const QString DEAFULT_SYSTEM_CONFIG_PATH = DEAFULT_DIR_PATH + QLatin1Char('/') + DEAFULT_SYSTEM_CONFIG_NAME;
const QString DEAFULT_USER_CONFIG_PATH = DEAFULT_DIR_PATH + QLatin1Char('/') + DEAFULT_USER_CONFIG_NAME;
const QString DEAFULT_PRESET_DIR_PATH = appDataDirPath() + QLatin1Char('/') + PRESET_DIR;

bool writeJsonFile(const QString &path, const QJsonObject &object, QString &errorMessage) {
  return writeFile(path, QJsonDocument(object).toJson(QJsonDocument::Indented), errorMessage);
}

bool readJsonFile(const QString &path, QJsonObject &object, QString &errorMessage) {
  QByteArray bytes;
  if (!readFile(path, bytes, errorMessage)) return false;
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
  if (document.isNull()) {
    errorMessage = parseError.errorString();
    return false;
  }
  object = document.object();
  return true;
}

bool createDir(const QString &path, QString &errorMessage) {
  if (QDir(path).exists()) {
    errorMessage = QStringLiteral("%1 is exit").arg(path);
    return true;
  }
  if (!QDir().mkpath(path)) {
    errorMessage = QStringLiteral("Failed to create directory: %1").arg(path);
    return false;
  }
  return true;
}

bool readFile(const QString &path, QByteArray &bytes, QString &errorMessage) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    errorMessage = file.errorString();
    return false;
  }
  bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    errorMessage = file.errorString();
    return false;
  }
  return true;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString &errorMessage) {
  // The new content goes to a temporary file that replaces the old one only
  // when it is complete: a crash, a full disk or a short write keeps the old file.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    errorMessage = file.errorString();
    return false;
  }
  if (file.write(bytes) != bytes.size()) {
    errorMessage = file.errorString();
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    errorMessage = file.errorString();
    return false;
  }
  return true;
}

}  // namespace FileReadWrite
