// The presets panel and the media panel of the menu strip, on the real main
// page with the real models: every dialog, refusal and text, the save dialog
// with the location from a local HTTP server, the library list, and the media
// menus. File dialogs are Qt's own, answered by the test.

#include "DeclarativeWindow.h"
#include "FileDialogAnswer.h"
#include "FreqScanSetModel.h"
#include "LogRecorder.h"
#include "MonitorModel.h"
#include "PresetModel.h"
#include "ResModel.h"
#include "SystemConfig.h"
#include "TestSupport.h"
#include "VideoModel.h"

#include <QFile>
#include <QJsonObject>
#include <QNetworkProxy>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <memory>

using orvik::test::FileDialogAnswer;
using orvik::test::LogRecorder;

namespace {

const char *const kMainWinUrl = "qrc:/Orvik/MainWin/MainWin.qml";
constexpr int kStripHeightPx = 30;
const QString kLocation = QStringLiteral("中国广东省深圳市南山区");
const QString kRecordNormal = QStringLiteral("qrc:/res/video_record_icon_normal.png");
const QString kRecordPressed = QStringLiteral("qrc:/res/video_record_icon_pressed.png");
const QVector<QPointF> kSweep = {{450.0, -92.0}, {450.025, -91.5}, {450.05, -90.0}};

// The location service: every request gets the same good reply.
class LocationServer : public QTcpServer {
public:
  int requests = 0;

  LocationServer() {
    connect(this, &QTcpServer::newConnection, this, [this]() {
      while (QTcpSocket *socket = nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket]() {
          if (!socket->readAll().contains("\r\n\r\n")) return;
          ++requests;
          const QByteArray body =
              QStringLiteral(R"({"status":0,"message":"query ok","result":{"ad_info":)"
                             R"({"nation":"中国","province":"广东省","city":"深圳市","district":"南山区"}}})")
                  .toUtf8();
          socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
          socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }
};

QQuickItem *findVisual(QQuickItem *root, const QString &objectName) {
  if (!root) return nullptr;
  if (root->objectName() == objectName) return root;
  for (QQuickItem *child : root->childItems()) {
    if (QQuickItem *found = findVisual(child, objectName)) return found;
  }
  return nullptr;
}

// The visible button with this text below root.
QQuickItem *findButton(QQuickItem *root, const QString &text) {
  if (!root) return nullptr;
  if (root->inherits("QQuickAbstractButton") && root->isVisible() && root->property("text").toString() == text)
    return root;
  for (QQuickItem *child : root->childItems()) {
    if (QQuickItem *found = findButton(child, text)) return found;
  }
  return nullptr;
}

}  // namespace

class TestPresetsBox : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();
  void cleanup();
  void cleanupTestCase();

  void load_panelsSizedByTheStripWithTheirTexts();
  void library_refusals_data();
  void library_refusals();
  void saveCurrent_withoutSweep_warns_data();
  void saveCurrent_withoutSweep_warns();
  void saveDialog_showsRangesAndLocation_andNeedsNameAndRemark();
  void saveDialog_savesWithLocation_thenRefusesTheSameName();
  void library_listsPresets_selectAndLoad();
  void library_deleteAsksFirst();

  void saveAsMenu_entriesUnfold_andCsvWithoutSweepShowsNoDialog();
  void saveAsMenu_csvAndMaxHold_writeTheirPoints();
  void saveAsMenu_picture_requestsThePng();
  void saveAsMenu_escapeClosesWithoutAction();
  void uploadMenu_entriesOnlyShowTheNotice_data();
  void uploadMenu_entriesOnlyShowTheNotice();
  void recordButton_blinksExactlyWhileRunning();
  void recordButton_cancelledDialog_staysIdle();

private:
  QQuickWidget *view() const { return m_page->getView(); }
  QQuickItem *item(const QString &objectName) const;
  QObject *popup(const QString &objectName) const;
  QQuickItem *contentOf(const QString &popupName) const;
  bool isOpen(const QString &popupName) const { return popup(popupName)->property("visible").toBool(); }
  void click(QQuickItem *target) const;
  void clickButton(const QString &popupName, const QString &text) const;
  QString warningText() const;
  QObject *presetItems() const { return PresetModel::instance()->items(); }
  int presetCount() const;

  std::unique_ptr<LogRecorder> m_log;
  std::unique_ptr<DeclarativeWindow> m_page;
  std::unique_ptr<QTemporaryDir> m_dir;
  LocationServer m_location;
};

void TestPresetsBox::initTestCase() {
  qRegisterMetaType<QVector<QPointF>>("QVector<QPointF>");
  QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
  m_log = std::make_unique<LogRecorder>();
  QVERIFY(m_location.listen(QHostAddress::LocalHost));
  SystemConfig::instance()->init();
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.insert(QStringLiteral("locationHost"), QStringLiteral("http://127.0.0.1:%1").arg(m_location.serverPort()));
  QVERIFY(SystemConfig::instance()->writeConfigToFile(config));

  m_page.reset(orvik::test::loadQmlPage(QString::fromLatin1(kMainWinUrl)));
  QCOMPARE(view()->status(), QQuickWidget::Ready);
  // Escape reaches a popup only through the active window's shortcuts.
  m_page->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
  // The save dialog asks for the location once while the page is built.
  QCOMPARE(m_location.requests, 1);
}

void TestPresetsBox::init() {
  m_dir = std::make_unique<QTemporaryDir>(orvik::test::homePath() + QStringLiteral("/panel-XXXXXX"));
  QVERIFY(m_dir->isValid());
  m_log->take();
}

void TestPresetsBox::cleanup() {
  for (const char *name : {"presetPopup", "presetSaveDialog", "presetWarningDialog", "presetConfirmDialog",
                           "saveAsMenu", "uploadMenu", "uploadNoticeDialog"})
    QMetaObject::invokeMethod(popup(QString::fromLatin1(name)), "close");
  MonitorModel::instance()->setLatestPoints({});
  VideoModel::instance()->setRunning(false);
  m_dir.reset();
  ORVIK_VERIFY_NO_QML_WARNINGS();
}

void TestPresetsBox::cleanupTestCase() {
  m_page.reset();
}

QQuickItem *TestPresetsBox::item(const QString &objectName) const {
  QQuickItem *found = findVisual(view()->quickWindow()->contentItem(), objectName);
  if (!found) qWarning("no item named %s", qPrintable(objectName));
  return found;
}

QObject *TestPresetsBox::popup(const QString &objectName) const {
  QObject *found = view()->rootObject()->findChild<QObject *>(objectName);
  if (!found) qFatal("no popup named %s", qPrintable(objectName));
  return found;
}

QQuickItem *TestPresetsBox::contentOf(const QString &popupName) const {
  return popup(popupName)->property("contentItem").value<QQuickItem *>();
}

void TestPresetsBox::click(QQuickItem *target) const {
  QVERIFY(target);
  // A popup that has just opened is laid out when the next frame is drawn: draw it now.
  view()->grabFramebuffer();
  const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
  QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void TestPresetsBox::clickButton(const QString &popupName, const QString &text) const {
  QQuickItem *button = findButton(contentOf(popupName), text);
  QVERIFY2(button, qPrintable(QStringLiteral("no button %1 in %2").arg(text, popupName)));
  click(button);
}

QString TestPresetsBox::warningText() const {
  return findVisual(contentOf(QStringLiteral("presetWarningDialog")), QStringLiteral("presetWarningText"))
      ->property("text")
      .toString();
}

int TestPresetsBox::presetCount() const {
  int count = 0;
  QMetaObject::invokeMethod(presetItems(), "count", Q_RETURN_ARG(int, count));
  return count;
}

void TestPresetsBox::load_panelsSizedByTheStripWithTheirTexts() {
  QQuickItem *presets = item(QStringLiteral("presetsBox"));
  QQuickItem *media = item(QStringLiteral("mediaBox"));
  QCOMPARE(presets->height(), qreal(kStripHeightPx));
  QCOMPARE(presets->width(), qreal(13 * kStripHeightPx));
  QCOMPARE(media->width(), qreal(3 * 2.5 * kStripHeightPx));
  QCOMPARE(item(QStringLiteral("presetLibraryButton"))->property("text").toString(), QStringLiteral("预存库"));
  QCOMPARE(item(QStringLiteral("presetLibraryButton"))->width(), qreal(4 * kStripHeightPx));
  QCOMPARE(item(QStringLiteral("presetNameBox"))->width(), qreal(5 * kStripHeightPx));
  QCOMPARE(item(QStringLiteral("presetSaveCurrentButton"))->property("text").toString(),
           QStringLiteral("将当前存入库"));
  QCOMPARE(item(QStringLiteral("recordButton"))->property("text").toString(), QStringLiteral("录制视频"));
  QCOMPARE(item(QStringLiteral("saveAsButton"))->property("text").toString(), QStringLiteral("另存为"));
  QCOMPARE(item(QStringLiteral("uploadButton"))->property("text").toString(), QStringLiteral("在线上传"));
  QCOMPARE(item(QStringLiteral("recordButton"))->property("imageUrl").toString(), kRecordNormal);
}

void TestPresetsBox::library_refusals_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("warning");
  QTest::newRow("export all of nothing") << "保存库"
                                         << "当前无预存数据，无法导出 !";
  QTest::newRow("delete without choice") << "删除预存"
                                         << "请选择需要删除的预存 !";
  QTest::newRow("load without choice") << "载入预存"
                                       << "请选择需要载入的预存 !";
  QTest::newRow("export without choice") << "保存文件"
                                         << "请选择需要导出的预存 !";
  QTest::newRow("online upload") << "在线上传"
                                 << "该功能权限不对外开放，敬请期待";
}

void TestPresetsBox::library_refusals() {
  QFETCH(QString, button);
  QFETCH(QString, warning);
  QCOMPARE(presetCount(), 0);
  click(item(QStringLiteral("presetLibraryButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("presetPopup")));
  // The panel lies right below the presets panel, as wide as it and square.
  QQuickItem *panel = findVisual(contentOf(QStringLiteral("presetPopup")), QStringLiteral("presetPanel"));
  QQuickItem *box = item(QStringLiteral("presetsBox"));
  QCOMPARE(panel->mapToScene(QPointF(0, 0)), box->mapToScene(QPointF(0, box->height())));
  QCOMPARE(panel->width(), box->width());
  QCOMPARE(panel->height(), box->width());

  clickButton(QStringLiteral("presetPopup"), button);

  QTRY_VERIFY(isOpen(QStringLiteral("presetWarningDialog")));
  QCOMPARE(warningText(), warning);
  clickButton(QStringLiteral("presetWarningDialog"), QStringLiteral("关闭"));
  QTRY_VERIFY(!isOpen(QStringLiteral("presetWarningDialog")));
  QVERIFY(isOpen(QStringLiteral("presetPopup")));
}

void TestPresetsBox::saveCurrent_withoutSweep_warns_data() {
  QTest::addColumn<bool>("fromLibrary");
  QTest::newRow("strip button") << false;
  QTest::newRow("library button") << true;
}

void TestPresetsBox::saveCurrent_withoutSweep_warns() {
  QFETCH(bool, fromLibrary);
  if (fromLibrary) {
    click(item(QStringLiteral("presetLibraryButton")));
    QTRY_VERIFY(isOpen(QStringLiteral("presetPopup")));
    clickButton(QStringLiteral("presetPopup"), QStringLiteral("添加预存"));
  } else {
    click(item(QStringLiteral("presetSaveCurrentButton")));
  }
  QTRY_VERIFY(isOpen(QStringLiteral("presetWarningDialog")));
  QCOMPARE(warningText(), QStringLiteral("未检查到频谱数据，无法存入预存库 !"));
  QVERIFY(!isOpen(QStringLiteral("presetSaveDialog")));
  QVERIFY(!isOpen(QStringLiteral("presetPopup")));
}

void TestPresetsBox::saveDialog_showsRangesAndLocation_andNeedsNameAndRemark() {
  MonitorModel::instance()->setLatestPoints(kSweep);
  const int requests = m_location.requests;
  click(item(QStringLiteral("presetSaveCurrentButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("presetSaveDialog")));

  // The location is asked again at every opening.
  QCOMPARE(m_location.requests, requests + 1);
  QQuickItem *dialog = contentOf(QStringLiteral("presetSaveDialog"));
  QCOMPARE(findVisual(dialog, QStringLiteral("presetLocationField"))->property("text").toString(), kLocation);
  FreqScanSetModel *settings = FreqScanSetModel::instance();
  QCOMPARE(findVisual(dialog, QStringLiteral("presetFreqRangeField"))->property("text").toString(),
           QStringLiteral("%1 ~ %2").arg(settings->property("startFreqStr").toString(),
                                         settings->property("stopFreqStr").toString()));
  QCOMPARE(findVisual(dialog, QStringLiteral("presetLevelRangeField"))->property("text").toString(),
           QStringLiteral("%1 ~ %2").arg(settings->property("lowerDbmStr").toString(),
                                         settings->property("upperDbmStr").toString()));
  QVERIFY(findVisual(dialog, QStringLiteral("presetLocationField"))->property("readOnly").toBool());
  QVERIFY(!findVisual(dialog, QStringLiteral("presetNameField"))->property("readOnly").toBool());

  // A name without a remark: nothing happens.
  findVisual(dialog, QStringLiteral("presetNameField"))->setProperty("text", QStringLiteral("Stage left"));
  clickButton(QStringLiteral("presetSaveDialog"), QStringLiteral("确认"));
  QVERIFY(isOpen(QStringLiteral("presetSaveDialog")));
  QVERIFY(!isOpen(QStringLiteral("presetWarningDialog")));
  QCOMPARE(presetCount(), 0);

  // No: closed, and the typed name is gone.
  clickButton(QStringLiteral("presetSaveDialog"), QStringLiteral("关闭"));
  QTRY_VERIFY(!isOpen(QStringLiteral("presetSaveDialog")));
  QCOMPARE(findVisual(dialog, QStringLiteral("presetNameField"))->property("text").toString(), QString());
}

void TestPresetsBox::saveDialog_savesWithLocation_thenRefusesTheSameName() {
  MonitorModel::instance()->setLatestPoints(kSweep);
  QQuickItem *dialog = contentOf(QStringLiteral("presetSaveDialog"));
  const QStringList outcomes = {QStringLiteral("预存保存成功 !"), QStringLiteral("预存保存失败, 名称已被使用 !")};
  for (const QString &outcome : outcomes) {
    click(item(QStringLiteral("presetSaveCurrentButton")));
    QTRY_VERIFY(isOpen(QStringLiteral("presetSaveDialog")));
    findVisual(dialog, QStringLiteral("presetNameField"))->setProperty("text", QStringLiteral("Stage left"));
    findVisual(dialog, QStringLiteral("presetRemarkField"))->setProperty("text", QStringLiteral("rehearsal"));
    clickButton(QStringLiteral("presetSaveDialog"), QStringLiteral("确认"));

    QTRY_VERIFY(!isOpen(QStringLiteral("presetSaveDialog")));
    QTRY_VERIFY(isOpen(QStringLiteral("presetWarningDialog")));
    QCOMPARE(warningText(), outcome);
    QCOMPARE(findVisual(dialog, QStringLiteral("presetNameField"))->property("text").toString(), QString());
    QCOMPARE(findVisual(dialog, QStringLiteral("presetRemarkField"))->property("text").toString(), QString());
    clickButton(QStringLiteral("presetWarningDialog"), QStringLiteral("关闭"));
    QTRY_VERIFY(!isOpen(QStringLiteral("presetWarningDialog")));
  }
  QCOMPARE(presetCount(), 1);
  QVariant entry;
  QMetaObject::invokeMethod(presetItems(), "at", Q_RETURN_ARG(QVariant, entry), Q_ARG(int, 0));
  const QJsonObject saved = entry.toJsonObject();
  QCOMPARE(saved.value(QStringLiteral("name")).toString(), QStringLiteral("Stage left"));
  QCOMPARE(saved.value(QStringLiteral("remark")).toString(), QStringLiteral("rehearsal"));
  QCOMPARE(saved.value(QStringLiteral("location")).toString(), kLocation);
}

void TestPresetsBox::library_listsPresets_selectAndLoad() {
  MonitorModel::instance()->setLatestPoints(kSweep);
  QCOMPARE(PresetModel::instance()->save(QStringLiteral("Hall"), QStringLiteral("evening"), QStringLiteral("Berlin"),
                                         QStringLiteral("470.000"), QStringLiteral("790.000"), QStringLiteral("-100"),
                                         QStringLiteral("-10"), kSweep),
           PresetModel::NO_ERROR);
  click(item(QStringLiteral("presetLibraryButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("presetPopup")));
  QQuickItem *list = findVisual(contentOf(QStringLiteral("presetPopup")), QStringLiteral("presetList"));
  QCOMPARE(list->property("count").toInt(), presetCount());

  // The second row shows its entry in the four columns.
  QTRY_VERIFY(list->property("contentItem").value<QQuickItem *>()->childItems().size() >= 2);
  QQuickItem *row = nullptr;
  for (QQuickItem *candidate : list->property("contentItem").value<QQuickItem *>()->childItems()) {
    if (qFuzzyCompare(candidate->y() + 1, 40.0 + 1)) row = candidate;
  }
  QVERIFY(row);
  QStringList texts;
  const QList<QQuickItem *> cells = row->childItems().first()->childItems();
  for (QQuickItem *cell : cells) {
    if (cell->property("text").isValid()) texts << cell->property("text").toString();
  }
  QCOMPARE(texts, QStringList({"Hall", "evening", "Berlin", "470.000 - 790.000"}));

  click(row);
  QCOMPARE(popup(QStringLiteral("presetPopup"))->property("currentRow").toInt(), 1);
  QCOMPARE(row->property("border").value<QObject *>()->property("color").value<QColor>(), QColor("deepskyblue"));

  QSignalSpy loaded(PresetModel::instance(), &PresetModel::pointsChanged);
  clickButton(QStringLiteral("presetPopup"), QStringLiteral("载入预存"));
  QCOMPARE(loaded.count(), 1);
  QCOMPARE(loaded.at(0).at(0).value<QVector<QPointF>>(), kSweep);
  QTRY_VERIFY(!isOpen(QStringLiteral("presetPopup")));
}

void TestPresetsBox::library_deleteAsksFirst() {
  QVERIFY(presetCount() >= 1);
  const int count = presetCount();
  click(item(QStringLiteral("presetLibraryButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("presetPopup")));
  popup(QStringLiteral("presetPopup"))->setProperty("currentRow", 0);

  for (const QString &answer : {QStringLiteral("关闭"), QStringLiteral("确定")}) {
    clickButton(QStringLiteral("presetPopup"), QStringLiteral("删除预存"));
    QTRY_VERIFY(isOpen(QStringLiteral("presetConfirmDialog")));
    QCOMPARE(findVisual(contentOf(QStringLiteral("presetConfirmDialog")), QStringLiteral("presetConfirmText"))
                 ->property("text")
                 .toString(),
             QStringLiteral("是否删除预存: Stage left ? 删除预存无法恢复 !"));
    clickButton(QStringLiteral("presetConfirmDialog"), answer);
    QTRY_VERIFY(!isOpen(QStringLiteral("presetConfirmDialog")));
  }
  QCOMPARE(presetCount(), count - 1);
  // The removed row is not handed on to its neighbour.
  QCOMPARE(popup(QStringLiteral("presetPopup"))->property("currentRow").toInt(), -1);
}

void TestPresetsBox::saveAsMenu_entriesUnfold_andCsvWithoutSweepShowsNoDialog() {
  click(item(QStringLiteral("saveAsButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("saveAsMenu")));
  QObject *menu = popup(QStringLiteral("saveAsMenu"));
  QCOMPARE(menu->property("width").toReal(), 5.5 * kStripHeightPx + 200);
  QCOMPARE(menu->property("leftPadding").toReal(), 100.0);
  QCOMPARE(menu->property("topPadding").toReal(), 35.0);
  QQuickItem *content = findVisual(contentOf(QStringLiteral("saveAsMenu")), QStringLiteral("saveAsMenuContent"));
  QTRY_COMPARE(content->height(), 5.0 * kStripHeightPx);
  QCOMPARE(content->width(), 5.5 * kStripHeightPx);
  for (const char *entry : {"图片", "CSV", "CSV(最大值)"})
    QVERIFY(findVisual(content, QStringLiteral("mediaMenuEntry_") + QString::fromUtf8(entry)));

  FileDialogAnswer answer(m_dir->filePath(QStringLiteral("never.csv")));
  click(findVisual(content, QStringLiteral("mediaMenuEntry_CSV")));
  QTRY_VERIFY(!isOpen(QStringLiteral("saveAsMenu")));
  QCoreApplication::processEvents();
  QVERIFY(!answer.answered());
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("没有频谱图数据可供保存")), 1);
}

void TestPresetsBox::saveAsMenu_csvAndMaxHold_writeTheirPoints() {
  MonitorModel::instance()->setLatestPoints(kSweep);
  MonitorModel::instance()->setPeakPoints({{433.925, -70.0}});
  const struct {
    const char *entry;
    const char *file;
    QByteArray content;
  } cases[] = {{"CSV", "sweep.csv", "450.000,-92.000\n450.025,-91.500\n450.050,-90.000\n"},
               {"CSV(最大值)", "peak.csv.max", "433.925,-70.000\n"}};
  for (const auto &c : cases) {
    click(item(QStringLiteral("saveAsButton")));
    QTRY_VERIFY(isOpen(QStringLiteral("saveAsMenu")));
    QQuickItem *content = findVisual(contentOf(QStringLiteral("saveAsMenu")), QStringLiteral("saveAsMenuContent"));
    QTRY_COMPARE(content->height(), 5.0 * kStripHeightPx);
    const QString path = m_dir->filePath(QString::fromLatin1(c.file));
    FileDialogAnswer answer(path);
    click(findVisual(content, QStringLiteral("mediaMenuEntry_") + QString::fromUtf8(c.entry)));
    QTRY_VERIFY(answer.answered());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), c.content);
  }
  // The list keeps its current entry between openings.
  QQuickItem *content = findVisual(contentOf(QStringLiteral("saveAsMenu")), QStringLiteral("saveAsMenuContent"));
  QCOMPARE(content->property("currentIndex").toInt(), 2);
}

void TestPresetsBox::saveAsMenu_picture_requestsThePng() {
  QSignalSpy requested(ResModel::instance(), &ResModel::savePng);
  click(item(QStringLiteral("saveAsButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("saveAsMenu")));
  QQuickItem *content = findVisual(contentOf(QStringLiteral("saveAsMenu")), QStringLiteral("saveAsMenuContent"));
  QTRY_COMPARE(content->height(), 5.0 * kStripHeightPx);
  // The chart answers the request with its save dialog; cancel it.
  FileDialogAnswer answer{QString()};
  click(findVisual(content, QStringLiteral("mediaMenuEntry_图片")));
  QCOMPARE(requested.count(), 1);
  QTRY_VERIFY(!isOpen(QStringLiteral("saveAsMenu")));
}

void TestPresetsBox::saveAsMenu_escapeClosesWithoutAction() {
  QSignalSpy requested(ResModel::instance(), &ResModel::savePng);
  click(item(QStringLiteral("saveAsButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("saveAsMenu")));
  // The file dialogs of earlier tests took the activation away.
  m_page->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
  QTest::keyClick(m_page->windowHandle(), Qt::Key_Escape);
  QTRY_VERIFY(!isOpen(QStringLiteral("saveAsMenu")));
  // A click beside the content closes it too.
  click(item(QStringLiteral("uploadButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("uploadMenu")));
  QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, QPoint(view()->width() - 20, view()->height() - 20));
  QTRY_VERIFY(!isOpen(QStringLiteral("uploadMenu")));
  QCOMPARE(requested.count(), 0);
  QVERIFY(!isOpen(QStringLiteral("uploadNoticeDialog")));
  QCOMPARE(LogRecorder::countFrom(m_log->take(), QStringLiteral("saveCsv")), 0);
}

void TestPresetsBox::uploadMenu_entriesOnlyShowTheNotice_data() {
  QTest::addColumn<QString>("entry");
  QTest::newRow("current scan") << "当前扫描";
  QTest::newRow("all presets") << "所有预存";
}

void TestPresetsBox::uploadMenu_entriesOnlyShowTheNotice() {
  QFETCH(QString, entry);
  click(item(QStringLiteral("uploadButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("uploadMenu")));
  QCOMPARE(popup(QStringLiteral("uploadMenu"))->property("leftPadding").toReal(), 185.0);
  QQuickItem *content = findVisual(contentOf(QStringLiteral("uploadMenu")), QStringLiteral("uploadMenuContent"));
  QTRY_COMPARE(content->height(), 3.5 * kStripHeightPx);
  click(findVisual(content, QStringLiteral("mediaMenuEntry_") + entry));

  QTRY_VERIFY(!isOpen(QStringLiteral("uploadMenu")));
  QTRY_VERIFY(isOpen(QStringLiteral("uploadNoticeDialog")));
  QCOMPARE(findVisual(contentOf(QStringLiteral("uploadNoticeDialog")), QStringLiteral("uploadNoticeText"))
               ->property("text")
               .toString(),
           QStringLiteral("该功能权限不对外开放，敬请期待 !"));
  clickButton(QStringLiteral("uploadNoticeDialog"), QStringLiteral("关闭"));
  QTRY_VERIFY(!isOpen(QStringLiteral("uploadNoticeDialog")));
}

void TestPresetsBox::recordButton_blinksExactlyWhileRunning() {
  QQuickItem *button = item(QStringLiteral("recordButton"));
  VideoModel::instance()->setRunning(true);
  QTRY_COMPARE_WITH_TIMEOUT(button->property("imageUrl").toString(), kRecordPressed, 3000);
  QTRY_COMPARE_WITH_TIMEOUT(button->property("imageUrl").toString(), kRecordNormal, 3000);
  QTRY_COMPARE_WITH_TIMEOUT(button->property("imageUrl").toString(), kRecordPressed, 3000);
  VideoModel::instance()->setRunning(false);
  QCOMPARE(button->property("imageUrl").toString(), kRecordNormal);
}

void TestPresetsBox::recordButton_cancelledDialog_staysIdle() {
  FileDialogAnswer answer{QString()};
  click(item(QStringLiteral("recordButton")));
  QTRY_VERIFY(answer.answered());
  QVERIFY(!VideoModel::instance()->running());
  QCOMPARE(item(QStringLiteral("recordButton"))->property("imageUrl").toString(), kRecordNormal);
  QCOMPARE(LogRecorder::count(m_log->take(), QStringLiteral("VideoModel started !")), 1);
}

ORVIK_TEST_MAIN(TestPresetsBox)
#include "tst_presetsbox.moc"
