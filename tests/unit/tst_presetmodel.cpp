// The preset store: files and index written together, names kept as given
// while their file names can never leave the preset directory or meet, and
// import, export and removal with their refusals. File dialogs are Qt's own,
// answered by the test.

#include "FileDialogAnswer.h"
#include "FileReadWrite.h"
#include "LogRecorder.h"
#include "PresetFileName.h"
#include "PresetModel.h"
#include "TestSupport.h"
#include "UserConfig.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSignalSpy>
#include <memory>

using orvik::test::FileDialogAnswer;
using orvik::test::LogRecorder;

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {

const QVector<QPointF> kPoints = {{433.925, -70.0}, {450.025, -91.53125}, {0.1 + 0.2, -1e-9}};

QString presetDir() {
  return QDir(FileReadWrite::DEAFULT_PRESET_DIR_PATH).absolutePath();
}

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeAll(const QString &path, const QByteArray &bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QJsonObject readObject(const QString &path) {
  return QJsonDocument::fromJson(readAll(path)).object();
}

QJsonArray indexEntries() {
  return UserConfig::instance()->readConfigInfo().value(QStringLiteral("presets")).toArray();
}

// Every file below HOME, so a test sees each file that an operation created.
QSet<QString> homeFiles() {
  QSet<QString> files;
  QDirIterator it(orvik::test::homePath(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) files.insert(QFileInfo(it.next()).absoluteFilePath());
  return files;
}

bool isDirectlyInPresetDir(const QString &path) {
  const QFileInfo info(path);
  return info.absolutePath() == presetDir() && info.fileName().startsWith(QStringLiteral("Veltro_")) &&
         info.fileName().endsWith(QStringLiteral(".dov"));
}

QVector<QPointF> pointsOf(const QSignalSpy &spy, int emission) {
  return spy.at(emission).at(0).value<QVector<QPointF>>();
}

QString nameWithNul() {
  QString name = QStringLiteral("nul");
  name += QChar(0);
  name += QStringLiteral("x");
  return name;
}

}  // namespace

class TestPresetModel : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();
  void cleanup();

  void construction_loadsIndexInOrder();

  void save_writesFileAndIndex();
  void save_sameName_isRefusedAndWritesNothing();
  void save_namesDifferingInCase_areDifferentPresets();
  void save_hostileName_staysInPresetDir_data();
  void save_hostileName_staysInPresetDir();
  void save_manyHostileNames_neverShareAFile();
  void save_existingFileWithoutEntry_isNotOverwritten();
  void save_presetDirBlocked_failsAndKeepsIndex();
  void save_indexNotWritable_undoesTheFile();
  void save_zeroPoints_loadsAsEmptyList();
  void generalBlands_wholeHertz_data();
  void generalBlands_wholeHertz();

  void fileName_escaping_data();
  void fileName_escaping();
  void fileName_longNames_stayWithinLimitAndApart();

  void loadData_elementsWithoutLevel_skippedButImportKeepsThem();
  void loadData_outsideIndex_fails_data();
  void loadData_outsideIndex_fails();
  void openFile_withoutValues_isRejected();
  void openFile_usedName_failsAndEmitsNothing();
  void openFile_cancelled_returnsFalse();
  void openFile_invalidJson_isRejected();
  void openFile_hostileName_staysInPresetDir();

  void remove_outsideList_returnsFalseSilently_data();
  void remove_outsideList_returnsFalseSilently();
  void remove_deletesFileAndEntry();
  void remove_missingFile_keepsEntry();

  void saveFile_cancelled_createsNothing();
  void saveFile_appendsDovAndCopies_data();
  void saveFile_appendsDovAndCopies();
  void saveFile_existingTarget_isNotOverwritten();
  void saveFile_invalidIndex_fails();
  void saveFiles_twiceIntoOneDirectory();
  void saveFiles_cancelledOrEmpty();

private:
  PresetModel *model() const { return PresetModel::instance(); }
  PresetModel::ERROR_CODE savePreset(const QString &name, const QVector<QPointF> &points = kPoints);
  int itemCount() const;
  QJsonObject item(int index) const;
  void removeAllPresets();

  std::unique_ptr<LogRecorder> m_log;
  QString m_scratch;
};

void TestPresetModel::initTestCase() {
  qRegisterMetaType<QVector<QPointF>>("QVector<QPointF>");
  m_log = std::make_unique<LogRecorder>();
  UserConfig::instance()->init();
  m_scratch = orvik::test::homePath() + QStringLiteral("/scratch");

  // An index from an earlier run, read when the store is created.
  QJsonArray presets;
  for (const QString &name : {QStringLiteral("second"), QStringLiteral("first")}) {
    const QString path = presetDir() + QStringLiteral("/Veltro_") + name + QStringLiteral(".dov");
    QVERIFY(writeAll(path, "{\"Values\":[]}"));
    presets.append(QJsonObject{{"name", name},
                               {"path", path},
                               {"freqRange", "450 - 950"},
                               {"levelRange", "-110 - 0"},
                               {"remark", "r"},
                               {"location", "here"}});
  }
  QVERIFY(UserConfig::instance()->writeConfigToFile(QJsonObject{{"presets", presets}}));
}

void TestPresetModel::init() {
  QDir().mkpath(m_scratch);
  m_log->take();
}

void TestPresetModel::cleanup() {
  removeAllPresets();
  QDir(m_scratch).removeRecursively();
  QDir(presetDir()).removeRecursively();
  QFile::remove(presetDir());
}

PresetModel::ERROR_CODE TestPresetModel::savePreset(const QString &name, const QVector<QPointF> &points) {
  return model()->save(name, QStringLiteral("remark"), QStringLiteral("中国广东省深圳市南山区"),
                       QStringLiteral("450.000"), QStringLiteral("950.000"), QStringLiteral("-110"),
                       QStringLiteral("0"), points);
}

int TestPresetModel::itemCount() const {
  return qobject_cast<VariantListModel *>(model()->items())->count();
}

QJsonObject TestPresetModel::item(int index) const {
  return qobject_cast<VariantListModel *>(model()->items())->at(index).toJsonObject();
}

void TestPresetModel::removeAllPresets() {
  // Through the store itself, so the index and the list stay one; an entry
  // whose file a test deleted gets an empty stand-in first.
  while (itemCount() > 0) {
    const QString path = item(0).value(QStringLiteral("path")).toString();
    if (!QFile::exists(path) && path.startsWith(orvik::test::homePath())) writeAll(path, "{}");
    if (!model()->remove(0)) {
      QFAIL(qPrintable(QStringLiteral("cannot remove preset at %1").arg(path)));
      return;
    }
  }
  UserConfig::instance()->writeConfigToFile(QJsonObject());
}

void TestPresetModel::construction_loadsIndexInOrder() {
  QCOMPARE(itemCount(), 2);
  QCOMPARE(item(0).value(QStringLiteral("name")).toString(), QStringLiteral("second"));
  QCOMPARE(item(1).value(QStringLiteral("name")).toString(), QStringLiteral("first"));
  QCOMPARE(item(1).value(QStringLiteral("location")).toString(), QStringLiteral("here"));
  // Only items is a property; QML reads the list through it.
  QCOMPARE(model()->property("items").value<QObject *>(), model()->items());
}

void TestPresetModel::save_writesFileAndIndex() {
  QSignalSpy changed(model(), &PresetModel::itemChanged);
  QCOMPARE(savePreset(QStringLiteral("Site A")), PresetModel::NO_ERROR);
  QCOMPARE(changed.count(), 1);

  const QString path = presetDir() + QStringLiteral("/Veltro_Site A.dov");
  const QJsonObject file = readObject(path);
  QCOMPARE(file.value(QStringLiteral("Name")).toString(), QStringLiteral("Site A"));
  QCOMPARE(file.value(QStringLiteral("Remark")).toString(), QStringLiteral("remark"));
  QCOMPARE(file.value(QStringLiteral("Location")).toString(), QStringLiteral("中国广东省深圳市南山区"));
  QCOMPARE(file.value(QStringLiteral("FreqStart")).toString(), QStringLiteral("450.000"));
  QCOMPARE(file.value(QStringLiteral("FreqStop")).toString(), QStringLiteral("950.000"));
  QCOMPARE(file.value(QStringLiteral("LevelMin")).toString(), QStringLiteral("-110"));
  QCOMPARE(file.value(QStringLiteral("LevelMax")).toString(), QStringLiteral("0"));
  QVERIFY(file.value(QStringLiteral("Frequencys")).isArray());
  QVERIFY(file.value(QStringLiteral("Frequencys")).toArray().isEmpty());
  QCOMPARE(file.value(QStringLiteral("Blands")).toArray(),
           QJsonArray({QJsonObject{{"Key", 450000000}, {"Value", 950000000}}}));
  const QJsonArray values = file.value(QStringLiteral("Values")).toArray();
  QCOMPARE(values.size(), kPoints.size());
  for (int i = 0; i < kPoints.size(); ++i) {
    // Numbers read back as exactly the values that were saved.
    QCOMPARE(values.at(i).toObject().value(QStringLiteral("Hz")).toDouble(), kPoints.at(i).x());
    QCOMPARE(values.at(i).toObject().value(QStringLiteral("Level")).toDouble(), kPoints.at(i).y());
  }

  const QJsonArray index = indexEntries();
  QCOMPARE(index.size(), itemCount());
  const QJsonObject entry = index.last().toObject();
  QCOMPARE(entry, (QJsonObject{{"name", "Site A"},
                               {"path", path},
                               {"freqRange", "450.000 - 950.000"},
                               {"levelRange", "-110 - 0"},
                               {"remark", "remark"},
                               {"location", "中国广东省深圳市南山区"}}));
  QCOMPARE(item(itemCount() - 1), entry);
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Preset saved to: ") + path), 1);
}

void TestPresetModel::save_sameName_isRefusedAndWritesNothing() {
  QCOMPARE(savePreset(QStringLiteral("dup")), PresetModel::NO_ERROR);
  const QSet<QString> before = homeFiles();
  const QByteArray index = readAll(FileReadWrite::DEAFULT_USER_CONFIG_PATH);
  m_log->take();
  QSignalSpy changed(model(), &PresetModel::itemChanged);

  QCOMPARE(savePreset(QStringLiteral("dup"), {{1.0, 2.0}}), PresetModel::NAME_IS_USED);

  QCOMPARE(changed.count(), 0);
  QCOMPARE(homeFiles(), before);
  QCOMPARE(readAll(FileReadWrite::DEAFULT_USER_CONFIG_PATH), index);
  QCOMPARE(readObject(presetDir() + QStringLiteral("/Veltro_dup.dov")).value(QStringLiteral("Values")).toArray().size(),
           kPoints.size());
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Preset name dup is used!")), 1);
}

void TestPresetModel::save_namesDifferingInCase_areDifferentPresets() {
  QCOMPARE(savePreset(QStringLiteral("Stage")), PresetModel::NO_ERROR);
  QCOMPARE(savePreset(QStringLiteral("stage")), PresetModel::NO_ERROR);
  QCOMPARE(savePreset(QStringLiteral("STAGE")), PresetModel::NO_ERROR);
  QSet<QString> paths;
  for (int i = itemCount() - 3; i < itemCount(); ++i) paths.insert(item(i).value(QStringLiteral("path")).toString());
  QCOMPARE(paths.size(), 3);
  for (const QString &path : paths) QVERIFY(QFile::exists(path));
}

void TestPresetModel::save_hostileName_staysInPresetDir_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("parent of parent") << "../../x";
  QTest::newRow("parent") << "../x";
  QTest::newRow("subdirectory") << "a/b";
  QTest::newRow("absolute path") << "/etc/passwd";
  QTest::newRow("dot dot") << "..";
  QTest::newRow("dot") << ".";
  QTest::newRow("empty") << "";
  QTest::newRow("escaped slash") << "%2F";
  QTest::newRow("backslash") << "a\\b";
  QTest::newRow("NUL") << nameWithNul();
  QTest::newRow("line break") << "line\nbreak";
  QTest::newRow("leading dash") << "-rf";
  QTest::newRow("tilde") << "~";
  QTest::newRow("long ASCII") << QString(300, QLatin1Char('x'));
  QTest::newRow("long Chinese") << QString(120, QChar(0x9891));
  QTest::newRow("long with slashes") << QStringLiteral("../").repeated(100);
  QTest::newRow("very long") << QString(100000, QLatin1Char('y'));
}

void TestPresetModel::save_hostileName_staysInPresetDir() {
  QFETCH(QString, name);
  const QSet<QString> before = homeFiles();

  QCOMPARE(savePreset(name), PresetModel::NO_ERROR);

  const QJsonObject entry = item(itemCount() - 1);
  QCOMPARE(entry.value(QStringLiteral("name")).toString(), name);
  const QString path = entry.value(QStringLiteral("path")).toString();
  QVERIFY2(isDirectlyInPresetDir(path), qPrintable(path));
  QVERIFY(QFileInfo(path).fileName().toUtf8().size() <= 255);
  QCOMPARE(readObject(path).value(QStringLiteral("Name")).toString(), name);
  QCOMPARE(indexEntries().last().toObject().value(QStringLiteral("name")).toString(), name);
  // The only new file is the preset's own.
  const QSet<QString> created = homeFiles() - before;
  QCOMPARE(created, QSet<QString>{QFileInfo(path).absoluteFilePath()});

  QSignalSpy loaded(model(), &PresetModel::pointsChanged);
  QVERIFY(model()->loadData(itemCount() - 1));
  QCOMPARE(pointsOf(loaded, 0), kPoints);
}

void TestPresetModel::save_manyHostileNames_neverShareAFile() {
  const QString longName = QString(300, QLatin1Char('x'));
  QString shortenedForm = PresetFileName::fileNameFor(longName + QLatin1Char('1'));
  shortenedForm = shortenedForm.mid(7, shortenedForm.size() - 7 - 4);
  // Pairs that a naive mapping (replace, drop or truncate) would merge.
  const QStringList names = {
      QStringLiteral("a/b"),   QStringLiteral("a%2Fb"),   QStringLiteral("a%252Fb"),   QStringLiteral("a\\b"),
      QStringLiteral("a%5Cb"), QStringLiteral("a_b"),     QStringLiteral("."),         QStringLiteral("%2E"),
      QStringLiteral(".."),    QStringLiteral("x~2"),     QStringLiteral("x"),         QStringLiteral(""),
      nameWithNul(),           QStringLiteral("nul%00x"), longName + QLatin1Char('1'), longName + QLatin1Char('2'),
      shortenedForm,           QStringLiteral("Abc"),     QStringLiteral("abc")};
  const int first = itemCount();
  for (const QString &name : names) QCOMPARE(savePreset(name), PresetModel::NO_ERROR);

  QSet<QString> paths;
  for (int i = first; i < itemCount(); ++i) {
    const QString path = item(i).value(QStringLiteral("path")).toString();
    QVERIFY2(isDirectlyInPresetDir(path), qPrintable(path));
    QCOMPARE(readObject(path).value(QStringLiteral("Name")).toString(), names.at(i - first));
    paths.insert(path);
  }
  QCOMPARE(paths.size(), names.size());
  QCOMPARE(QDir(presetDir()).entryList(QDir::Files).size(), first + names.size());
}

void TestPresetModel::save_existingFileWithoutEntry_isNotOverwritten() {
  // A file left without index entry (an earlier crash, a copy by hand) keeps its content.
  const QString orphan = presetDir() + QStringLiteral("/Veltro_orphan.dov");
  QVERIFY(writeAll(orphan, "{\"Name\":\"someone else\",\"Values\":[]}"));

  QCOMPARE(savePreset(QStringLiteral("orphan")), PresetModel::NO_ERROR);

  const QString path = item(itemCount() - 1).value(QStringLiteral("path")).toString();
  QVERIFY(path != orphan);
  QVERIFY(isDirectlyInPresetDir(path));
  QCOMPARE(readAll(orphan), QByteArray("{\"Name\":\"someone else\",\"Values\":[]}"));
  QCOMPARE(readObject(path).value(QStringLiteral("Name")).toString(), QStringLiteral("orphan"));
}

void TestPresetModel::save_presetDirBlocked_failsAndKeepsIndex() {
  QDir(presetDir()).removeRecursively();
  QVERIFY(writeAll(presetDir(), "not a directory"));
  const QByteArray index = readAll(FileReadWrite::DEAFULT_USER_CONFIG_PATH);
  const int count = itemCount();
  m_log->take();

  QCOMPARE(savePreset(QStringLiteral("blocked")), PresetModel::SAVE_FAILED);

  QCOMPARE(itemCount(), count);
  QCOMPARE(readAll(FileReadWrite::DEAFULT_USER_CONFIG_PATH), index);
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Failed to create directory: ") + presetDir()), 1);
}

void TestPresetModel::save_indexNotWritable_undoesTheFile() {
  // A directory in the place of the user configuration: the preset file can be
  // written, the index cannot.
  const QString config = FileReadWrite::DEAFULT_USER_CONFIG_PATH;
  const QByteArray saved = readAll(config);
  QVERIFY(QFile::remove(config));
  QVERIFY(QDir().mkpath(config));
  const int count = itemCount();

  const PresetModel::ERROR_CODE result = savePreset(QStringLiteral("unindexed"));

  QDir(config).removeRecursively();
  QVERIFY(writeAll(config, saved));
  QCOMPARE(result, PresetModel::SAVE_FAILED);
  QCOMPARE(itemCount(), count);
  QVERIFY(!QFile::exists(presetDir() + QStringLiteral("/Veltro_unindexed.dov")));
  // The name is still free.
  QCOMPARE(savePreset(QStringLiteral("unindexed")), PresetModel::NO_ERROR);
}

void TestPresetModel::save_zeroPoints_loadsAsEmptyList() {
  QCOMPARE(savePreset(QStringLiteral("empty"), {}), PresetModel::NO_ERROR);
  const QString path = item(itemCount() - 1).value(QStringLiteral("path")).toString();
  const QJsonValue values = readObject(path).value(QStringLiteral("Values"));
  QVERIFY(values.isArray());
  QVERIFY(values.toArray().isEmpty());

  QSignalSpy loaded(model(), &PresetModel::pointsChanged);
  QVERIFY(model()->loadData(itemCount() - 1));
  QCOMPARE(loaded.count(), 1);
  QVERIFY(pointsOf(loaded, 0).isEmpty());
}

void TestPresetModel::generalBlands_wholeHertz_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("stop");
  QTest::addColumn<int>("startHz");
  QTest::addColumn<int>("stopHz");
  QTest::newRow("band") << "450"
                        << "950" << 450000000 << 950000000;
  QTest::newRow("three decimals") << "433.925"
                                  << "470.025" << 433925000 << 470025000;
  QTest::newRow("truncated toward zero") << "0.0000019"
                                         << "-0.0000019" << 1 << -1;
  QTest::newRow("not numbers") << "abc"
                               << "" << 0 << 0;
  QTest::newRow("largest 32-bit value") << "2147.483647"
                                        << "-2147.483648" << 2147483647 << int(-2147483648LL);
  QTest::newRow("beyond 32 bits is held at the limit") << "2147.483648"
                                                       << "-5000" << 2147483647 << int(-2147483648LL);
}

void TestPresetModel::generalBlands_wholeHertz() {
  QFETCH(QString, start);
  QFETCH(QString, stop);
  QFETCH(int, startHz);
  QFETCH(int, stopHz);
  const QJsonArray bands = PresetModel::generalBlands(start, stop);
  QCOMPARE(bands.size(), 1);
  QCOMPARE(bands.at(0).toObject(), (QJsonObject{{"Key", startHz}, {"Value", stopHz}}));
}

void TestPresetModel::fileName_escaping_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("fileName");
  QTest::newRow("plain") << "Site A"
                         << "Veltro_Site A.dov";
  QTest::newRow("Chinese") << "南山"
                           << "Veltro_南山.dov";
  QTest::newRow("slash") << "../../x"
                         << "Veltro_..%2F..%2Fx.dov";
  QTest::newRow("backslash") << "a\\b"
                             << "Veltro_a%5Cb.dov";
  QTest::newRow("percent") << "%2F"
                           << "Veltro_%252F.dov";
  QTest::newRow("tilde") << "x~2"
                         << "Veltro_x%7E2.dov";
  QTest::newRow("NUL") << nameWithNul() << "Veltro_nul%00x.dov";
  QTest::newRow("control") << "a\tb\x7f"
                           << "Veltro_a%09b%7F.dov";
  QTest::newRow("dots are plain inside the prefix") << ".."
                                                    << "Veltro_...dov";
  QTest::newRow("empty") << ""
                         << "Veltro_.dov";
  QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << "Veltro_%uD800.dov";
  QTest::newRow("surrogate pair kept") << QString::fromUcs4(U"\U0001F3A4") << QStringLiteral("Veltro_\U0001F3A4.dov");
}

void TestPresetModel::fileName_escaping() {
  QFETCH(QString, name);
  QFETCH(QString, fileName);
  QCOMPARE(PresetFileName::fileNameFor(name), fileName);
  QCOMPARE(PresetFileName::fileNameFor(name, 1), fileName);
  QVERIFY(!PresetFileName::fileNameFor(name).contains(QLatin1Char('/')));
}

void TestPresetModel::fileName_longNames_stayWithinLimitAndApart() {
  const QStringList names = {QString(201, QLatin1Char('a')), QString(201, QLatin1Char('a')) + QLatin1Char('b'),
                             QString(300, QChar(0x9891)), QStringLiteral("/").repeated(1000),
                             QString(100000, QLatin1Char('z'))};
  QSet<QString> fileNames;
  for (const QString &name : names) {
    for (int variant : {1, 2, 99999}) {
      const QString fileName = PresetFileName::fileNameFor(name, variant);
      QVERIFY2(fileName.toUtf8().size() <= 255, qPrintable(fileName));
      fileNames.insert(fileName);
    }
  }
  QCOMPARE(fileNames.size(), names.size() * 3);
  // A name that fits is never shortened.
  QCOMPARE(PresetFileName::fileNameFor(QString(200, QLatin1Char('a'))),
           QStringLiteral("Veltro_") + QString(200, QLatin1Char('a')) + QStringLiteral(".dov"));
}

void TestPresetModel::loadData_elementsWithoutLevel_skippedButImportKeepsThem() {
  QCOMPARE(savePreset(QStringLiteral("partial")), PresetModel::NO_ERROR);
  const QString path = item(itemCount() - 1).value(QStringLiteral("path")).toString();
  const QByteArray content = R"({"Name": "partial-import", "Remark": "r", "Location": "l",
      "FreqStart": "470", "FreqStop": "790", "LevelMin": "-100", "LevelMax": "-10",
      "Frequencys": [1, 2], "Blands": [{"Key": 1, "Value": 2}],
      "Values": [{"Hz": 470.0, "Level": -50.5}, {"Hz": 480.0}, {"Level": -3}, {"Hz": 490.0, "Level": -40}]})";
  QVERIFY(writeAll(path, content));
  QSignalSpy loaded(model(), &PresetModel::pointsChanged);

  QVERIFY(model()->loadData(itemCount() - 1));
  QCOMPARE(pointsOf(loaded, 0), (QVector<QPointF>{{470.0, -50.5}, {490.0, -40.0}}));
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Load preset file: ") + path), 1);

  FileDialogAnswer answer(path);
  QVERIFY(model()->openFile());
  QCOMPARE(answer.caption(), QStringLiteral("打开 dov"));
  QCOMPARE(answer.nameFilters(), QStringList{QStringLiteral("DOV Files(*.dov)")});
  QCOMPARE(loaded.count(), 2);
  const QVector<QPointF> imported = {{470.0, -50.5}, {480.0, 0.0}, {0.0, -3.0}, {490.0, -40.0}};
  QCOMPARE(pointsOf(loaded, 1), imported);
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Import preset file %1 result: Success").arg(path)), 1);

  // The import is a new preset in the canonical form.
  const QJsonObject entry = item(itemCount() - 1);
  QCOMPARE(entry.value(QStringLiteral("name")).toString(), QStringLiteral("partial-import"));
  QCOMPARE(entry.value(QStringLiteral("freqRange")).toString(), QStringLiteral("470 - 790"));
  const QJsonObject stored = readObject(entry.value(QStringLiteral("path")).toString());
  QVERIFY(stored.value(QStringLiteral("Frequencys")).toArray().isEmpty());
  QCOMPARE(stored.value(QStringLiteral("Blands")).toArray(),
           QJsonArray({QJsonObject{{"Key", 470000000}, {"Value", 790000000}}}));
  QCOMPARE(stored.value(QStringLiteral("Values")).toArray().size(), 4);
}

void TestPresetModel::loadData_outsideIndex_fails_data() {
  QTest::addColumn<int>("offset");
  QTest::newRow("before the first") << -1;
  QTest::newRow("after the last") << 0;
}

void TestPresetModel::loadData_outsideIndex_fails() {
  QFETCH(int, offset);
  QCOMPARE(savePreset(QStringLiteral("only")), PresetModel::NO_ERROR);
  QSignalSpy loaded(model(), &PresetModel::pointsChanged);
  QVERIFY(!model()->loadData(offset < 0 ? offset : itemCount() + offset));
  QCOMPARE(loaded.count(), 0);
}

void TestPresetModel::openFile_withoutValues_isRejected() {
  const QString path = m_scratch + QStringLiteral("/novalues.dov");
  QVERIFY(writeAll(path, R"({"Name": "no values", "FreqStart": "450"})"));
  const int count = itemCount();
  const QByteArray index = readAll(FileReadWrite::DEAFULT_USER_CONFIG_PATH);
  QSignalSpy loaded(model(), &PresetModel::pointsChanged);

  FileDialogAnswer answer(path);
  QVERIFY(!model()->openFile());

  QCOMPARE(itemCount(), count);
  QCOMPARE(readAll(FileReadWrite::DEAFULT_USER_CONFIG_PATH), index);
  QCOMPARE(loaded.count(), 0);
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Preset file %1 format error!").arg(path)), 1);
}

void TestPresetModel::openFile_usedName_failsAndEmitsNothing() {
  QCOMPARE(savePreset(QStringLiteral("taken")), PresetModel::NO_ERROR);
  const QString path = m_scratch + QStringLiteral("/taken.dov");
  QVERIFY(writeAll(path, R"({"Name": "taken", "Values": [{"Hz": 1, "Level": 2}]})"));
  const int count = itemCount();
  QSignalSpy loaded(model(), &PresetModel::pointsChanged);

  FileDialogAnswer answer(path);
  QVERIFY(!model()->openFile());

  QCOMPARE(itemCount(), count);
  QCOMPARE(loaded.count(), 0);
  const QStringList lines = m_log->take();
  QCOMPARE(LogRecorder::count(lines, QStringLiteral("Preset name taken is used!")), 1);
  QCOMPARE(LogRecorder::count(lines, QStringLiteral("Import preset file %1 result: Failed").arg(path)), 1);
}

void TestPresetModel::openFile_cancelled_returnsFalse() {
  FileDialogAnswer answer{QString()};
  QVERIFY(!model()->openFile());
  QVERIFY(answer.answered());
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("No file selected.")), 1);
}

void TestPresetModel::openFile_invalidJson_isRejected() {
  const QString path = m_scratch + QStringLiteral("/broken.dov");
  QVERIFY(writeAll(path, "{\"Name\": \"broken\", \"Values\": ["));
  const int count = itemCount();
  FileDialogAnswer answer(path);
  QVERIFY(!model()->openFile());
  QCOMPARE(itemCount(), count);
  QVERIFY(!m_log->take().isEmpty());
}

void TestPresetModel::openFile_hostileName_staysInPresetDir() {
  const QString path = m_scratch + QStringLiteral("/hostile.dov");
  QVERIFY(writeAll(path, R"({"Name": "../../../escaped", "Values": [{"Hz": 1, "Level": 2}]})"));
  const QSet<QString> before = homeFiles();

  FileDialogAnswer answer(path);
  QVERIFY(model()->openFile());

  const QJsonObject entry = item(itemCount() - 1);
  QCOMPARE(entry.value(QStringLiteral("name")).toString(), QStringLiteral("../../../escaped"));
  const QString stored = entry.value(QStringLiteral("path")).toString();
  QVERIFY2(isDirectlyInPresetDir(stored), qPrintable(stored));
  QCOMPARE(homeFiles() - before, QSet<QString>{stored});
}

void TestPresetModel::remove_outsideList_returnsFalseSilently_data() {
  QTest::addColumn<int>("offset");
  QTest::newRow("negative") << -1;
  QTest::newRow("count") << 0;
  QTest::newRow("beyond") << 5;
}

void TestPresetModel::remove_outsideList_returnsFalseSilently() {
  QFETCH(int, offset);
  QCOMPARE(savePreset(QStringLiteral("kept")), PresetModel::NO_ERROR);
  m_log->take();
  QSignalSpy changed(model(), &PresetModel::itemChanged);
  QVERIFY(!model()->remove(offset < 0 ? offset : itemCount() + offset));
  QCOMPARE(changed.count(), 0);
  QVERIFY(m_log->take().isEmpty());
  QVERIFY(QFile::exists(item(itemCount() - 1).value(QStringLiteral("path")).toString()));
}

void TestPresetModel::remove_deletesFileAndEntry() {
  QCOMPARE(savePreset(QStringLiteral("one")), PresetModel::NO_ERROR);
  QCOMPARE(savePreset(QStringLiteral("two")), PresetModel::NO_ERROR);
  const int count = itemCount();
  const QString path = item(count - 2).value(QStringLiteral("path")).toString();
  QSignalSpy changed(model(), &PresetModel::itemChanged);

  QVERIFY(model()->remove(count - 2));

  QCOMPARE(changed.count(), 1);
  QVERIFY(!QFile::exists(path));
  QCOMPARE(itemCount(), count - 1);
  QCOMPARE(item(count - 2).value(QStringLiteral("name")).toString(), QStringLiteral("two"));
  const QJsonArray index = indexEntries();
  QCOMPARE(index.size(), count - 1);
  QCOMPARE(index.last().toObject().value(QStringLiteral("name")).toString(), QStringLiteral("two"));
}

void TestPresetModel::remove_missingFile_keepsEntry() {
  QCOMPARE(savePreset(QStringLiteral("vanished")), PresetModel::NO_ERROR);
  const int count = itemCount();
  const QString path = item(count - 1).value(QStringLiteral("path")).toString();
  QVERIFY(QFile::remove(path));
  m_log->take();

  QVERIFY(!model()->remove(count - 1));

  QCOMPARE(itemCount(), count);
  QCOMPARE(indexEntries().size(), count);
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("File does not exist: ") + path), 1);
}

void TestPresetModel::saveFile_cancelled_createsNothing() {
  QCOMPARE(savePreset(QStringLiteral("export")), PresetModel::NO_ERROR);
  const QSet<QString> before = homeFiles();
  m_log->take();
  FileDialogAnswer answer{QString()};
  QVERIFY(!model()->saveFile(itemCount() - 1));
  QVERIFY(answer.answered());
  QCOMPARE(homeFiles(), before);
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("No file selected.")), 1);
}

void TestPresetModel::saveFile_appendsDovAndCopies_data() {
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("written");
  QTest::newRow("plain name") << "survey"
                              << "survey.dov";
  QTest::newRow("name with the extension") << "survey.dov"
                                           << "survey.dov.dov";
}

void TestPresetModel::saveFile_appendsDovAndCopies() {
  QFETCH(QString, chosen);
  QFETCH(QString, written);
  QCOMPARE(savePreset(QStringLiteral("export")), PresetModel::NO_ERROR);
  const QString source = item(itemCount() - 1).value(QStringLiteral("path")).toString();
  const QString target = m_scratch + QLatin1Char('/') + written;
  m_log->take();

  FileDialogAnswer answer(m_scratch + QLatin1Char('/') + chosen);
  QVERIFY(model()->saveFile(itemCount() - 1));

  QCOMPARE(answer.caption(), QStringLiteral("保存 dov"));
  QCOMPARE(answer.acceptMode(), QFileDialog::AcceptSave);
  QCOMPARE(readAll(target), readAll(source));
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Preset file saved to: ") + target), 1);
}

void TestPresetModel::saveFile_existingTarget_isNotOverwritten() {
  QCOMPARE(savePreset(QStringLiteral("export")), PresetModel::NO_ERROR);
  const QString target = m_scratch + QStringLiteral("/mine.dov");
  QVERIFY(writeAll(target, "keep me"));
  m_log->take();

  FileDialogAnswer answer(m_scratch + QStringLiteral("/mine"));
  QVERIFY(!model()->saveFile(itemCount() - 1));

  QCOMPARE(readAll(target), QByteArray("keep me"));
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Failed to copy preset file %1!").arg(target)), 1);
}

void TestPresetModel::saveFile_invalidIndex_fails() {
  FileDialogAnswer answer(m_scratch + QStringLiteral("/nothing"));
  QVERIFY(!model()->saveFile(itemCount()));
  QVERIFY(!QFile::exists(m_scratch + QStringLiteral("/nothing.dov")));
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("Invalid index.")), 1);
}

void TestPresetModel::saveFiles_twiceIntoOneDirectory() {
  QCOMPARE(savePreset(QStringLiteral("north")), PresetModel::NO_ERROR);
  QCOMPARE(savePreset(QStringLiteral("a/b")), PresetModel::NO_ERROR);
  const QString target = m_scratch + QStringLiteral("/Veltro-Orvik");
  m_log->take();

  {
    FileDialogAnswer answer(m_scratch);
    QVERIFY(model()->saveFiles());
    QVERIFY(answer.showsDirsOnly());
  }
  for (int i = 0; i < itemCount(); ++i) {
    const QString source = item(i).value(QStringLiteral("path")).toString();
    QCOMPARE(readAll(target + QLatin1Char('/') + QFileInfo(source).fileName()), readAll(source));
  }
  QCOMPARE(QDir(target).entryList(QDir::Files).size(), itemCount());
  QStringList lines = m_log->take();
  QCOMPARE(LogRecorder::count(lines, QStringLiteral("All preset files saved to: ") + target), 1);

  {
    FileDialogAnswer answer(m_scratch);
    QVERIFY(model()->saveFiles());
  }
  lines = m_log->take();
  for (int i = 0; i < itemCount(); ++i) {
    const QString source = item(i).value(QStringLiteral("path")).toString();
    QCOMPARE(LogRecorder::count(lines, QStringLiteral("Failed to copy preset file %1!").arg(source)), 1);
  }
  QCOMPARE(LogRecorder::count(lines, QStringLiteral("All preset files saved to: ") + target), 1);
}

void TestPresetModel::saveFiles_cancelledOrEmpty() {
  {
    FileDialogAnswer answer{QString()};
    QVERIFY(!model()->saveFiles());
    QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("No directory selected.")), 1);
  }
  removeAllPresets();
  m_log->take();
  {
    FileDialogAnswer answer(m_scratch);
    QVERIFY(!model()->saveFiles());
    QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("No preset to save.")), 1);
  }
  QVERIFY(!QFileInfo::exists(m_scratch + QStringLiteral("/Veltro-Orvik")));
}

ORVIK_TEST_MAIN(TestPresetModel)
#include "tst_presetmodel.moc"
