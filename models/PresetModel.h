#pragma once

#include "VariantListModel.h"

#include <QJsonArray>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QVariantMap>
#include <QVector>

// The preset store: every preset is one JSON file (".dov") in the preset
// directory, and the user configuration keeps their index ("presets"), which
// the list shows without opening the files. Loading or importing a preset
// publishes its points for the spectrum view.
//
// A preset's name stays as given in the file and the index; its file name is
// escaped (PresetFileName), so no name can place a file outside the preset
// directory and no two names share a file. Files and the index are replaced
// atomically.
class PresetModel : public QObject {
  Q_OBJECT
  Q_PROPERTY(QObject *items READ items NOTIFY itemChanged)
public:
  enum ERROR_CODE {
    NO_ERROR = 0,      // preset file written and index updated
    NAME_IS_USED = 1,  // the name is in the index; nothing written
    SAVE_FAILED = 2,   // directory, file or index could not be written; nothing changed
  };
  Q_ENUM(ERROR_CODE)

  // The location fields of an IP-location reply; missing levels read as empty.
  struct LocationInfo {
    explicit LocationInfo(const QVariantMap &reply);

    QString nation;
    QString province;
    QString city;
    QString district;
  };

  // The longest wait for the location service.
  static constexpr int kLocationTimeoutMs = 5000;

  static PresetModel *instance();

  QObject *items();

  bool isNameUsed(const QString &name) const;
  static QJsonArray generalBlands(const QString &startFre, const QString &stopFre);
  static QJsonArray getPoints(const QVector<QPointF> &points);

signals:
  void itemChanged();
  void pointsChanged(QVector<QPointF> points);

public:
  Q_INVOKABLE QString queryLocation();
  Q_INVOKABLE PresetModel::ERROR_CODE save(const QString &name, const QString &remark, const QString &location,
                                           const QString &startFre, const QString &stopFre, const QString &levelMin,
                                           const QString &levelMax, const QVector<QPointF> &points);
  Q_INVOKABLE bool remove(int index);
  Q_INVOKABLE bool loadData(int index);
  Q_INVOKABLE bool openFile();
  Q_INVOKABLE bool saveFile(int index);
  Q_INVOKABLE bool saveFiles();

private:
  explicit PresetModel(QObject *parent = nullptr);

  void init();
  // A path in the preset directory for the name that no existing file occupies.
  static QString freePresetPath(const QString &name);
  // A preset file's object, when it can be read and holds "Values" (else a log line and false).
  static bool readPresetFile(const QString &path, QJsonObject &preset);
  // The points of a preset's "Values"; loading skips points without "Level", importing keeps them.
  static QVector<QPointF> presetPoints(const QJsonObject &preset, bool skipPointsWithoutLevel);

  static PresetModel *m_instance;
  VariantListModel m_items;
};
