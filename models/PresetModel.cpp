#include "PresetModel.h"

#include "FileReadWrite.h"
#include "LocationQuery.h"
#include "LoggerService.h"
#include "PresetFileName.h"
#include "UserConfig.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <limits>

namespace {

const QString kPresetsKey = QStringLiteral("presets");
const QString kDovFilter = QStringLiteral("DOV Files(*.dov)");
const QString kNoNetworkText = QStringLiteral("请检查网络是否连接!!!");
constexpr double kHzPerMHz = 1000000.0;
// Enough alternatives for any case-folding file system; the loop only ends early.
constexpr int kMaxFileNameVariants = 10000;

// MHz text to whole hertz, truncated toward zero and held within 32 bits (the
// file's "Key" and "Value" are 32-bit integers).
int megahertzTextToHz(const QString &text) {
  const double hz = text.toDouble() * kHzPerMHz;
  if (std::isnan(hz)) return 0;
  if (hz >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (hz <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return int(std::trunc(hz));
}

QJsonObject entryAt(const VariantListModel &items, int index) {
  return items.at(index).toJsonObject();
}

}  // namespace

PresetModel *PresetModel::m_instance = nullptr;

PresetModel::LocationInfo::LocationInfo(const QVariantMap &reply) {
  const QVariantMap adInfo = reply.value(QStringLiteral("result")).toMap().value(QStringLiteral("ad_info")).toMap();
  nation = adInfo.value(QStringLiteral("nation")).toString();
  province = adInfo.value(QStringLiteral("province")).toString();
  city = adInfo.value(QStringLiteral("city")).toString();
  district = adInfo.value(QStringLiteral("district")).toString();
}

PresetModel *PresetModel::instance() {
  if (!m_instance) m_instance = new PresetModel();
  return m_instance;
}

PresetModel::PresetModel(QObject *parent) : QObject(parent) {
  qRegisterMetaType<QVector<QPointF>>("QVector<QPointF>");
  init();
}

void PresetModel::init() {
  const QJsonArray presets = UserConfig::instance()->readConfigInfo().value(kPresetsKey).toArray();
  for (const QJsonValue &entry : presets) m_items.append(QVariant(entry.toObject()));
}

QObject *PresetModel::items() {
  return &m_items;
}

bool PresetModel::isNameUsed(const QString &name) const {
  for (int i = 0; i < m_items.count(); ++i) {
    if (entryAt(m_items, i).value(QStringLiteral("name")).toString() == name) return true;
  }
  return false;
}

QJsonArray PresetModel::generalBlands(const QString &startFre, const QString &stopFre) {
  QJsonObject band;
  band.insert(QStringLiteral("Key"), megahertzTextToHz(startFre));
  band.insert(QStringLiteral("Value"), megahertzTextToHz(stopFre));
  return QJsonArray{band};
}

QJsonArray PresetModel::getPoints(const QVector<QPointF> &points) {
  QJsonArray values;
  for (const QPointF &point : points) {
    QJsonObject value;
    value.insert(QStringLiteral("Hz"), point.x());
    value.insert(QStringLiteral("Level"), point.y());
    values.append(value);
  }
  return values;
}

QString PresetModel::freePresetPath(const QString &name) {
  const QDir dir(FileReadWrite::DEAFULT_PRESET_DIR_PATH);
  // The escaped name is unique as a string; an existing file of that name (left
  // without index entry, or a different name on a file system that ignores
  // letter case) is never overwritten, the next alternative is taken instead.
  for (int variant = 1; variant <= kMaxFileNameVariants; ++variant) {
    const QString path = dir.filePath(PresetFileName::fileNameFor(name, variant));
    if (!QFileInfo::exists(path)) return path;
  }
  return QString();
}

QString PresetModel::queryLocation() {
  QNetworkAccessManager manager;
  QNetworkRequest request(QUrl(LocationQuery::currentRequestUrl(), QUrl::TolerantMode));
  QNetworkReply *reply = manager.get(request);

  QTimer timer;
  timer.setSingleShot(true);
  // A coarse timer may fire up to 5 % early or late; the limit is meant exactly.
  timer.setTimerType(Qt::PreciseTimer);
  QEventLoop loop;
  connect(&timer, &QTimer::timeout, &loop, [&loop]() { loop.quit(); });
  connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  timer.start(kLocationTimeoutMs);
  if (!reply->isFinished()) loop.exec();

  if (!timer.isActive()) {
    reply->abort();
    reply->deleteLater();
    LOG_INFO(QStringLiteral("Error: %1").arg(reply->errorString()));
    return kNoNetworkText;
  }
  timer.stop();
  if (reply->error() != QNetworkReply::NoError) {
    LOG_INFO(QStringLiteral("Error: %1").arg(reply->errorString()));
    reply->deleteLater();
    return kNoNetworkText;
  }
  const QByteArray body = reply->readAll();
  reply->deleteLater();
  const QVariantMap map = QJsonDocument::fromJson(body).toVariant().toMap();
  const LocationInfo info(map);
  const int status = map.value(QStringLiteral("status")).toInt();
  if (status != 0) return map.value(QStringLiteral("message")).toString();
  const QString location = info.nation + info.province + info.city + info.district;
  LOG_INFO(QStringLiteral("Location: %1").arg(location));
  return location;
}

PresetModel::ERROR_CODE PresetModel::save(const QString &name, const QString &remark, const QString &location,
                                          const QString &startFre, const QString &stopFre, const QString &levelMin,
                                          const QString &levelMax, const QVector<QPointF> &points) {
  if (isNameUsed(name)) {
    LOG_INFO(QStringLiteral("Preset name %1 is used!").arg(name));
    return NAME_IS_USED;
  }

  QJsonObject preset;
  preset.insert(QStringLiteral("Name"), name);
  preset.insert(QStringLiteral("Remark"), remark);
  preset.insert(QStringLiteral("Location"), location);
  preset.insert(QStringLiteral("FreqStart"), startFre);
  preset.insert(QStringLiteral("FreqStop"), stopFre);
  preset.insert(QStringLiteral("LevelMin"), levelMin);
  preset.insert(QStringLiteral("LevelMax"), levelMax);
  preset.insert(QStringLiteral("Frequencys"), QJsonArray());
  preset.insert(QStringLiteral("Blands"), generalBlands(startFre, stopFre));
  preset.insert(QStringLiteral("Values"), getPoints(points));

  QString errorMessage;
  if (!FileReadWrite::createDir(FileReadWrite::DEAFULT_PRESET_DIR_PATH, errorMessage)) {
    LOG_INFO(errorMessage);
    return SAVE_FAILED;
  }
  const QString path = freePresetPath(name);
  if (path.isEmpty()) {
    LOG_INFO(QStringLiteral("No free file name for preset %1.").arg(name));
    return SAVE_FAILED;
  }
  if (!FileReadWrite::writeJsonFile(path, preset, errorMessage)) {
    LOG_INFO(errorMessage);
    return SAVE_FAILED;
  }
  LOG_INFO(QStringLiteral("Preset saved to: %1").arg(path));

  QJsonObject entry;
  entry.insert(QStringLiteral("name"), name);
  entry.insert(QStringLiteral("path"), path);
  entry.insert(QStringLiteral("freqRange"), QStringLiteral("%1 - %2").arg(startFre, stopFre));
  entry.insert(QStringLiteral("levelRange"), QStringLiteral("%1 - %2").arg(levelMin, levelMax));
  entry.insert(QStringLiteral("remark"), remark);
  entry.insert(QStringLiteral("location"), location);

  QJsonObject config = UserConfig::instance()->readConfigInfo();
  QJsonArray presets = config.value(kPresetsKey).toArray();
  presets.append(entry);
  config.insert(kPresetsKey, presets);
  if (!UserConfig::instance()->writeConfigToFile(config)) {
    // A file that no index entry names would be invisible and would hold its
    // name's file forever: the save is undone and reported as failed.
    QFile::remove(path);
    LOG_INFO(QStringLiteral("Preset index not written, preset %1 not saved.").arg(name));
    return SAVE_FAILED;
  }

  m_items.append(QVariant(entry));
  emit itemChanged();
  return NO_ERROR;
}

bool PresetModel::remove(int index) {
  if (index < 0 || index >= m_items.count()) return false;
  const QJsonObject entry = entryAt(m_items, index);
  const QString path = entry.value(QStringLiteral("path")).toString();
  if (!QFile::exists(path)) {
    LOG_INFO(QStringLiteral("File does not exist: %1").arg(path));
    return false;
  }

  // The index is updated first and restored if the file stays, so the index
  // never names a preset whose file is already gone.
  const QJsonObject oldConfig = UserConfig::instance()->readConfigInfo();
  QJsonObject config = oldConfig;
  QJsonArray presets = config.value(kPresetsKey).toArray();
  const QString name = entry.value(QStringLiteral("name")).toString();
  for (int i = 0; i < presets.size(); ++i) {
    if (presets.at(i).toObject().value(QStringLiteral("name")).toString() == name) {
      presets.removeAt(i);
      break;
    }
  }
  config.insert(kPresetsKey, presets);
  if (!UserConfig::instance()->writeConfigToFile(config)) {
    LOG_INFO(QStringLiteral("Preset index not written, preset %1 kept.").arg(name));
    return false;
  }
  if (!QFile::remove(path)) {
    LOG_INFO(QStringLiteral("Failed to remove file: %1").arg(path));
    UserConfig::instance()->writeConfigToFile(oldConfig);
    return false;
  }

  m_items.remove(index);
  emit itemChanged();
  return true;
}

bool PresetModel::readPresetFile(const QString &path, QJsonObject &preset) {
  QString errorMessage;
  if (!FileReadWrite::readJsonFile(path, preset, errorMessage)) {
    LOG_INFO(errorMessage);
    return false;
  }
  if (!preset.contains(QStringLiteral("Values"))) {
    LOG_INFO(QStringLiteral("Preset file %1 format error!").arg(path));
    return false;
  }
  return true;
}

QVector<QPointF> PresetModel::presetPoints(const QJsonObject &preset, bool skipPointsWithoutLevel) {
  QVector<QPointF> points;
  const QJsonArray values = preset.value(QStringLiteral("Values")).toArray();
  points.reserve(values.size());
  for (const QJsonValue &element : values) {
    const QJsonObject value = element.toObject();
    if (skipPointsWithoutLevel && !(value.contains(QStringLiteral("Hz")) && value.contains(QStringLiteral("Level"))))
      continue;
    points.append(
        QPointF(value.value(QStringLiteral("Hz")).toDouble(), value.value(QStringLiteral("Level")).toDouble()));
  }
  return points;
}

bool PresetModel::loadData(int index) {
  const QJsonObject config = UserConfig::instance()->readConfigInfo();
  if (!config.contains(kPresetsKey)) return false;
  const QJsonArray presets = config.value(kPresetsKey).toArray();
  if (index < 0 || index >= presets.size()) return false;
  const QString path = presets.at(index).toObject().value(QStringLiteral("path")).toString();
  LOG_INFO(QStringLiteral("Load preset file: %1").arg(path));

  QJsonObject preset;
  if (!readPresetFile(path, preset))
    return false;
  emit pointsChanged(presetPoints(preset, true));
  return true;
}

bool PresetModel::openFile() {
  const QString path =
      QFileDialog::getOpenFileName(nullptr, tr("打开 %1").arg(QStringLiteral("dov")), QString(), kDovFilter);
  if (path.isEmpty()) {
    LOG_INFO(QStringLiteral("No file selected."));
    return false;
  }
  QJsonObject preset;
  if (!readPresetFile(path, preset))
    return false;
  const QVector<QPointF> points = presetPoints(preset, false);
  const auto text = [&preset](const char *key) { return preset.value(QLatin1String(key)).toString(); };
  const ERROR_CODE result = save(text("Name"), text("Remark"), text("Location"), text("FreqStart"), text("FreqStop"),
                                 text("LevelMin"), text("LevelMax"), points);
  LOG_INFO(QStringLiteral("Import preset file %1 result: %2")
               .arg(path, result == NO_ERROR ? QStringLiteral("Success") : QStringLiteral("Failed")));
  if (result != NO_ERROR) return false;
  emit pointsChanged(points);
  return true;
}

bool PresetModel::saveFile(int index) {
  const QString chosen =
      QFileDialog::getSaveFileName(nullptr, tr("保存 %1").arg(QStringLiteral("dov")), QString(), kDovFilter);
  if (chosen.isEmpty()) {
    LOG_INFO(QStringLiteral("No file selected."));
    return false;
  }
  const QString target = chosen + QStringLiteral(".dov");
  if (index < 0 || index >= m_items.count()) {
    LOG_INFO(QStringLiteral("Invalid index."));
    return false;
  }
  const QString source = entryAt(m_items, index).value(QStringLiteral("path")).toString();
  if (source.isEmpty()) {
    LOG_INFO(QStringLiteral("Invalid file path."));
    return false;
  }
  if (!QFile::exists(source)) {
    LOG_INFO(QStringLiteral("Preset file %1 does not exist!").arg(source));
    return false;
  }
  // QFile::copy never replaces an existing target.
  if (!QFile::copy(source, target)) {
    LOG_INFO(QStringLiteral("Failed to copy preset file %1!").arg(target));
    return false;
  }
  LOG_INFO(QStringLiteral("Preset file saved to: %1").arg(target));
  return true;
}

bool PresetModel::saveFiles() {
  const QString chosen = QFileDialog::getExistingDirectory(nullptr, QString(), QString(), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) {
    LOG_INFO(QStringLiteral("No directory selected."));
    return false;
  }
  if (m_items.count() == 0) {
    LOG_INFO(QStringLiteral("No preset to save."));
    return false;
  }
  if (!QDir(chosen).exists()) {
    LOG_INFO(QStringLiteral("Directory %1 does not exist.").arg(chosen));
    return false;
  }
  const QString targetDir = chosen + QStringLiteral("/Veltro-Orvik");
  QString errorMessage;
  if (!FileReadWrite::createDir(targetDir, errorMessage)) {
    LOG_INFO(QStringLiteral("Failed to create directory %1.").arg(targetDir));
    return false;
  }
  for (int i = 0; i < m_items.count(); ++i) {
    const QString path = entryAt(m_items, i).value(QStringLiteral("path")).toString();
    if (path.isEmpty()) {
      LOG_INFO(QStringLiteral("Invalid file path."));
      continue;
    }
    if (!QFile::copy(path, targetDir + QLatin1Char('/') + QFileInfo(path).fileName()))
      LOG_INFO(QStringLiteral("Failed to copy preset file %1!").arg(path));
  }
  LOG_INFO(QStringLiteral("All preset files saved to: %1").arg(targetDir));
  return true;
}
