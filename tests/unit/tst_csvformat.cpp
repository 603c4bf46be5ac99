// The CSV export: the exact layout of a table, the time-stamped names, and
// ResModel's save flow through Qt's own dialog (answered by the test).

#include "CsvFormat.h"
#include "FileDialogAnswer.h"
#include "LogRecorder.h"
#include "ResModel.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

using orvik::test::FileDialogAnswer;
using orvik::test::LogRecorder;

namespace {

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QVector<QPointF> kSweep = {{450.0, -92.0}, {450.025, -91.5}, {433.925, -70.0}};

}  // namespace

class TestCsvFormat : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();
  void cleanup();

  void formatLine_fixedThreeDecimals_data();
  void formatLine_fixedThreeDecimals();
  void formatLine_ignoresTheLocale();
  void formatPoints_oneLinePerPointEachEnded();
  void defaultFileName_timeStamp_data();
  void defaultFileName_timeStamp();

  void saveCsv_noPoints_logsAndShowsNoDialog();
  void saveCsv_cancelled_writesNothing();
  void saveCsv_chosenFile_holdsTheTable();
  void saveCsv_maxHoldName_isProposed();
  void saveCsv_existingFile_isReplaced();
  void saveCsv_unwritableTarget_logsFailure();
  void savePng_isARequestSignal();

private:
  std::unique_ptr<LogRecorder> m_log;
  std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCsvFormat::initTestCase() {
  m_log = std::make_unique<LogRecorder>();
}

void TestCsvFormat::init() {
  m_dir = std::make_unique<QTemporaryDir>(orvik::test::homePath() + QStringLiteral("/csv-XXXXXX"));
  QVERIFY(m_dir->isValid());
  m_log->take();
}

void TestCsvFormat::cleanup() {
  QLocale::setDefault(QLocale::c());
  m_dir.reset();
}

void TestCsvFormat::formatLine_fixedThreeDecimals_data() {
  QTest::addColumn<double>("frequency");
  QTest::addColumn<double>("level");
  QTest::addColumn<QString>("line");
  QTest::newRow("typical carrier") << 433.925 << -70.0 << "433.925,-70.000";
  QTest::newRow("band start") << 450.0 << -92.0 << "450.000,-92.000";
  QTest::newRow("zero level") << 950.0 << 0.0 << "950.000,0.000";
  QTest::newRow("positive level") << 600.5 << 3.25 << "600.500,3.250";
  QTest::newRow("rounded to three decimals") << 470.0254 << -100.1236 << "470.025,-100.124";
  QTest::newRow("no thousands separator") << 12345.678 << -1234.5 << "12345.678,-1234.500";
  QTest::newRow("negative frequency") << -1.0 << -110.0 << "-1.000,-110.000";
}

void TestCsvFormat::formatLine_fixedThreeDecimals() {
  QFETCH(double, frequency);
  QFETCH(double, level);
  QFETCH(QString, line);
  QCOMPARE(CsvFormat::formatLine(QPointF(frequency, level)), line);
}

void TestCsvFormat::formatLine_ignoresTheLocale() {
  // A comma-decimal locale must not turn the table into "433,925,-70,000".
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  QCOMPARE(CsvFormat::formatLine(QPointF(1433.925, -70.0)), QStringLiteral("1433.925,-70.000"));
}

void TestCsvFormat::formatPoints_oneLinePerPointEachEnded() {
  QCOMPARE(CsvFormat::formatPoints({}), QString());
  QCOMPARE(CsvFormat::formatPoints(kSweep), QStringLiteral("450.000,-92.000\n450.025,-91.500\n433.925,-70.000\n"));
  // A full sweep: as many lines as points, in the given order.
  QVector<QPointF> sweep;
  for (int i = 0; i < 1000; ++i) sweep.append(QPointF(450.0 + i * 0.5, -100.0 + (i % 7)));
  const QStringList lines = CsvFormat::formatPoints(sweep).split(QLatin1Char('\n'));
  QCOMPARE(lines.size(), 1001);
  QVERIFY(lines.last().isEmpty());
  QCOMPARE(lines.first(), QStringLiteral("450.000,-100.000"));
  QCOMPARE(lines.at(999), QStringLiteral("949.500,-95.000"));
}

void TestCsvFormat::defaultFileName_timeStamp_data() {
  QTest::addColumn<QString>("pattern");
  QTest::addColumn<QString>("name");
  QTest::newRow("sweep") << "Veltro_%1.csv"
                         << "Veltro_2025-03-03_14-05-09.csv";
  QTest::newRow("max-hold") << "Veltro_%1.csv.max"
                            << "Veltro_2025-03-03_14-05-09.csv.max";
  QTest::newRow("picture") << "Veltro_%1.png"
                           << "Veltro_2025-03-03_14-05-09.png";
  QTest::newRow("recording") << "Veltro_%1.mp4"
                             << "Veltro_2025-03-03_14-05-09.mp4";
}

void TestCsvFormat::defaultFileName_timeStamp() {
  QFETCH(QString, pattern);
  QFETCH(QString, name);
  const QDateTime time(QDate(2025, 3, 3), QTime(14, 5, 9));
  QCOMPARE(CsvFormat::defaultFileName(pattern, time), name);
}

void TestCsvFormat::saveCsv_noPoints_logsAndShowsNoDialog() {
  FileDialogAnswer answer(m_dir->filePath(QStringLiteral("never.csv")));
  ResModel::instance()->saveCsv(QStringLiteral("Veltro_%1.csv"), {});
  QCoreApplication::processEvents();
  QVERIFY(!answer.answered());
  QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("never.csv"))));
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("没有频谱图数据可供保存")), 1);
}

void TestCsvFormat::saveCsv_cancelled_writesNothing() {
  FileDialogAnswer answer{QString()};
  ResModel::instance()->saveCsv(QStringLiteral("Veltro_%1.csv"), kSweep);
  QVERIFY(answer.answered());
  QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
  const QStringList lines = m_log->take();
  QCOMPARE(LogRecorder::count(lines, QStringLiteral("取消保存频谱图数据")), 1);
  QCOMPARE(LogRecorder::countFrom(lines, QStringLiteral("saveCsv")), 1);
}

void TestCsvFormat::saveCsv_chosenFile_holdsTheTable() {
  const QString path = m_dir->filePath(QStringLiteral("survey.csv"));
  FileDialogAnswer answer(path);
  ResModel::instance()->saveCsv(QStringLiteral("Veltro_%1.csv"), kSweep);

  QVERIFY(answer.answered());
  QVERIFY(answer.usedQtDialog());
  QCOMPARE(answer.acceptMode(), QFileDialog::AcceptSave);
  QCOMPARE(answer.caption(), QStringLiteral("保存 CSV"));
  QCOMPARE(answer.nameFilters(), QStringList({QStringLiteral("CSV 文件 (*.csv)"), QStringLiteral("所有文件 (*)")}));
  QVERIFY2(QRegularExpression(QStringLiteral("^Veltro_\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2}\\.csv$"))
               .match(answer.proposedName())
               .hasMatch(),
           qPrintable(answer.proposedName()));

  QCOMPARE(readAll(path), QByteArray("450.000,-92.000\n450.025,-91.500\n433.925,-70.000\n"));
  const QStringList lines = m_log->take();
  QCOMPARE(LogRecorder::count(lines, QStringLiteral("保存频谱图数据成功")), 1);
}

void TestCsvFormat::saveCsv_maxHoldName_isProposed() {
  const QString path = m_dir->filePath(QStringLiteral("peak.csv.max"));
  FileDialogAnswer answer(path);
  ResModel::instance()->saveCsv(QStringLiteral("Veltro_%1.csv.max"), {{500.0, -40.0}});
  QVERIFY(answer.proposedName().startsWith(QStringLiteral("Veltro_")));
  QVERIFY(answer.proposedName().endsWith(QStringLiteral(".csv.max")));
  QCOMPARE(readAll(path), QByteArray("500.000,-40.000\n"));
}

void TestCsvFormat::saveCsv_existingFile_isReplaced() {
  // The confirmation belongs to the dialog; after it the file is replaced as a whole.
  const QString path = m_dir->filePath(QStringLiteral("old.csv"));
  {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
  }
  FileDialogAnswer answer(path);
  // Qt's dialog asks before replacing: answer its question with yes.
  QTimer confirm;
  confirm.setInterval(10);
  connect(&confirm, &QTimer::timeout, [&confirm]() {
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
      confirm.stop();
      box->button(QMessageBox::Yes)->click();
    }
  });
  confirm.start();
  ResModel::instance()->saveCsv(QStringLiteral("Veltro_%1.csv"), {{433.925, -70.0}});
  QVERIFY(!confirm.isActive());
  QCOMPARE(readAll(path), QByteArray("433.925,-70.000\n"));
}

void TestCsvFormat::saveCsv_unwritableTarget_logsFailure() {
  const QString path = m_dir->filePath(QStringLiteral("missing-dir/survey.csv"));
  FileDialogAnswer answer(path);
  ResModel::instance()->saveCsv(QStringLiteral("Veltro_%1.csv"), kSweep);
  QVERIFY(answer.answered());
  QVERIFY(!QFile::exists(path));
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("保存频谱图数据失败，无法创建文件")), 1);
}

void TestCsvFormat::savePng_isARequestSignal() {
  // Only the spectrum view owns the plot: the model relays the request and shows no dialog.
  FileDialogAnswer answer(m_dir->filePath(QStringLiteral("chart.png")));
  QSignalSpy requested(ResModel::instance(), &ResModel::savePng);
  QVERIFY(QMetaObject::invokeMethod(ResModel::instance(), "savePng"));
  QCOMPARE(requested.count(), 1);
  QCoreApplication::processEvents();
  QVERIFY(!answer.answered());
}

ORVIK_TEST_MAIN(TestCsvFormat)
#include "tst_csvformat.moc"
