// The system panel with the real update model behind it and a small update
// server on 127.0.0.1: its status texts, the about box, the download page,
// and how it leads the user through an update and its end.

#include "DeclarativeWindow.h"
#include "SystemConfig.h"
#include "TestSupport.h"
#include "UpdatePlatform.h"
#include "UpgradeModel.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWidget>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThreadPool>
#include <functional>
#include <memory>

namespace {

constexpr int kBarHeightPx = 30;
constexpr int kRightMarginPx = 10;
const char *const kDownloadPage = "https://downloads.example.test/veltro-orvik";

// Answers the manifest with a fixed version; the installer either never
// answers (the update stays in DOWNLOADING) or is missing (404).
class UpdateServer : public QObject {
public:
  QString version = QStringLiteral("1.0.8");
  bool installerHangs = false;

  bool listen() {
    connect(&m_server, &QTcpServer::newConnection, this, [this]() {
      while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { answer(socket); });
      }
    });
    return m_server.listen(QHostAddress::LocalHost, 0);
  }
  QString root() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }

private:
  void answer(QTcpSocket *socket) {
    const QByteArray request = socket->readAll();
    const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
    if (path.endsWith("/update.json")) {
      const QByteArray body = QJsonDocument(QJsonObject{{QStringLiteral("version"), version}}).toJson();
      socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                    "\r\nConnection: close\r\n\r\n" + body);
      socket->disconnectFromHost();
    } else if (!installerHangs) {
      socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
      socket->disconnectFromHost();
    }
  }

  QTcpServer m_server;
};

QRectF sceneRect(const QQuickItem *item) {
  return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

// The first visual descendant (depth first) for which the predicate holds.
QQuickItem *findDescendant(QQuickItem *root, const std::function<bool(QQuickItem *)> &predicate) {
  if (!root) return nullptr;
  for (QQuickItem *child : root->childItems()) {
    if (predicate(child)) return child;
    if (QQuickItem *found = findDescendant(child, predicate)) return found;
  }
  return nullptr;
}

QQuickItem *findByText(QQuickItem *root, const QString &text) {
  return findDescendant(
      root, [&text](QQuickItem *item) { return item->isVisible() && item->property("text").toString() == text; });
}

QQuickItem *findByName(QQuickItem *root, const QString &name) {
  return findDescendant(root, [&name](QQuickItem *item) { return item->objectName() == name; });
}

// Receives what Qt.openUrlExternally hands to the desktop services.
class UrlRecorder : public QObject {
  Q_OBJECT
public:
  QList<QUrl> urls;
public slots:
  void open(const QUrl &url) { urls.append(url); }
};

}  // namespace

class TestSystemManagerBox : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init();
  void cleanup();

  void load_showsTheButtonsAtTheRightOfTheStrip();
  void check_noUpdate_showsLatestForThreeSecondsThenTheButton();
  void about_showsTheBuildAndClosesByItsIcon();
  void downloadCenter_opensTheConfiguredPage();
  void update_confirmLater_resetsTheModel();
  void update_confirmNow_showsProgressThatHoldsAt95_thenCompletesAndRestarts();
  void update_failure_showsTheMessageAndResets();
  void progressTitle_followsTheState_data();
  void progressTitle_followsTheState();

private:
  QQuickItem *item(const QString &name) const;
  QObject *popup(const QString &name) const;
  QQuickItem *popupContent(const QString &name) const;
  bool isOpen(const QString &popupName) const;
  void click(QQuickItem *target);
  void clickText(const QString &popupName, const QString &text);
  void checkForUpdate();
  QString statusText() const { return item(QStringLiteral("upgradeStatusLabel"))->property("text").toString(); }

  UpgradeModel *m_model = nullptr;
  std::unique_ptr<UpdateServer> m_server;
  std::unique_ptr<DeclarativeWindow> m_page;
  QString m_hostUrl;
  QString m_scratch;
  UrlRecorder m_urls;
};

void TestSystemManagerBox::initTestCase() {
  // The box as the menu strip holds it: at the right end, one strip high.
  const QString host = orvik::test::homePath() + QStringLiteral("/host/SystemManagerBoxHost.qml");
  QDir().mkpath(QFileInfo(host).absolutePath());
  QFile file(host);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(
      "import QtQuick 2.15\n"
      "import Corlakit.Common 1.0\n"
      "import Orvik.MainWin.Components 1.0\n"
      "Window {\n"
      "    objectName: \"host\"\n"
      "    width: _window.screenWidth\n"
      "    height: _window.screenHeight\n"
      "    color: \"#333333\"\n"
      "    SystemManagerBox {\n"
      "        objectName: \"systemManagerBox\"\n"
      "        anchors.right: parent.right\n"
      "        anchors.rightMargin: 10\n"
      "        y: 50\n"
      "        height: 30\n"
      "    }\n"
      "}\n");
  file.close();
  m_hostUrl = QUrl::fromLocalFile(host).toString();
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_urls, "open");
  m_model = UpgradeModel::instance();
}

void TestSystemManagerBox::init() {
  m_server = std::make_unique<UpdateServer>();
  QVERIFY(m_server->listen());
  m_page.reset(orvik::test::loadQmlPage(m_hostUrl));
  QCOMPARE(m_page->getView()->status(), QQuickWidget::Ready);
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.insert(QStringLiteral("updateServerRoot"), m_server->root());
  config.insert(QStringLiteral("downloadPage"), QString::fromLatin1(kDownloadPage));
  QVERIFY(SystemConfig::instance()->writeConfigToFile(config));
  m_scratch = orvik::test::homePath() + QStringLiteral("/scratch");
  QDir(m_scratch).removeRecursively();
  QVERIFY(QDir().mkpath(m_scratch));
  m_urls.urls.clear();
}

void TestSystemManagerBox::cleanup() {
  // The page goes first, so that the end of anything still running meets no panel.
  m_page.reset();
  m_server.reset();
  QTRY_VERIFY_WITH_TIMEOUT(!m_model->downloadState()->inProgress, 10000);
  QTRY_COMPARE_WITH_TIMEOUT(QThreadPool::globalInstance()->activeThreadCount(), 0, 10000);
  QCoreApplication::processEvents();
  m_model->setScriptDirectory(QCoreApplication::applicationDirPath());
  m_model->resetStatus();
  ORVIK_VERIFY_NO_QML_WARNINGS();
}

QQuickItem *TestSystemManagerBox::item(const QString &name) const {
  QQuickItem *found = orvik::test::findItem(m_page->getView(), name);
  if (!found) qWarning("no item named %s", qPrintable(name));
  return found;
}

QObject *TestSystemManagerBox::popup(const QString &name) const {
  QObject *found = m_page->getView()->rootObject()->findChild<QObject *>(name);
  if (!found) qWarning("no popup named %s", qPrintable(name));
  return found;
}

QQuickItem *TestSystemManagerBox::popupContent(const QString &name) const {
  QObject *dialog = popup(name);
  return dialog ? dialog->property("contentItem").value<QQuickItem *>() : nullptr;
}

bool TestSystemManagerBox::isOpen(const QString &popupName) const {
  QObject *dialog = popup(popupName);
  return dialog && dialog->property("visible").toBool();
}

void TestSystemManagerBox::click(QQuickItem *target) {
  QVERIFY(target);
  QVERIFY(target->isVisible());
  // Positioners lay out their children when a frame is prepared: a popup that
  // has just opened has its final geometry only after one has been drawn.
  orvik::test::renderView(m_page->getView());
  const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
  QTest::mouseClick(m_page->getView(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void TestSystemManagerBox::clickText(const QString &popupName, const QString &text) {
  QQuickItem *button = findByText(popupContent(popupName), text);
  QVERIFY2(button, qPrintable(text));
  click(button);
}

// Presses "升级" and returns when the check is done (it runs inside the click).
void TestSystemManagerBox::checkForUpdate() {
  QSignalSpy need(m_model, &UpgradeModel::needToUpdate);
  click(item(QStringLiteral("upgradeButton")));
  QTRY_COMPARE(need.count(), 1);
}

void TestSystemManagerBox::load_showsTheButtonsAtTheRightOfTheStrip() {
  QQuickItem *box = item(QStringLiteral("systemManagerBox"));
  QVERIFY(box);
  QCOMPARE(box->implicitWidth(), 8.5 * kBarHeightPx);
  QCOMPARE(sceneRect(box).right(), 1280.0 - kRightMarginPx);

  const struct {
    const char *name;
    const char *text;
  } buttons[] = {{"upgradeButton", "升级"}, {"downloadCenterButton", "下载中心"}, {"aboutButton", "关于"}};
  qreal left = -1;
  for (const auto &button : buttons) {
    QQuickItem *found = item(QString::fromLatin1(button.name));
    QVERIFY(found);
    QVERIFY(found->isVisible());
    QCOMPARE(found->property("text").toString(), QString::fromUtf8(button.text));
    QCOMPARE(sceneRect(found).size(), QSizeF(3 * kBarHeightPx, kBarHeightPx));
    QVERIFY(sceneRect(found).left() > left);
    left = sceneRect(found).left();
  }
  QVERIFY(sceneRect(item(QStringLiteral("aboutButton"))).right() <= sceneRect(box).right() + 0.5);
  QVERIFY(!item(QStringLiteral("upgradeStatusLabel"))->isVisible());
  for (const char *dialog : {"updateConfirmDialog", "upgradeProgressDialog", "upgradeMessageDialog", "aboutDialog"})
    QVERIFY2(!isOpen(QString::fromLatin1(dialog)), dialog);
}

void TestSystemManagerBox::check_noUpdate_showsLatestForThreeSecondsThenTheButton() {
  m_server->version = QStringLiteral("1.0.7");
  QQuickItem *button = item(QStringLiteral("upgradeButton"));
  QQuickItem *label = item(QStringLiteral("upgradeStatusLabel"));
  // What the panel shows at each state change during the check.
  QStringList shown;
  const QMetaObject::Connection watch = connect(m_model, &UpgradeModel::upgradeStateChanged, this, [&]() {
    if (m_model->upgradeState() == UpgradeModel::CHECKING)
      shown << (label->isVisible() && !button->isVisible() ? statusText() : QStringLiteral("(button)"));
  });

  checkForUpdate();
  disconnect(watch);
  QElapsedTimer elapsed;
  elapsed.start();

  QVERIFY(!shown.isEmpty());
  QCOMPARE(shown.first(), QStringLiteral("正在检查更新..."));
  QCOMPARE(m_model->upgradeState(), UpgradeModel::CHECKED);
  QVERIFY(label->isVisible());
  QVERIFY(!button->isVisible());
  QCOMPARE(statusText(), QStringLiteral("当前版本是最新的"));
  QVERIFY(!isOpen(QStringLiteral("updateConfirmDialog")));
  QCOMPARE(m_page->getView()
               ->rootObject()
               ->findChild<QObject *>(QStringLiteral("latestTimer"))
               ->property("interval")
               .toInt(),
           3000);

  QTRY_VERIFY_WITH_TIMEOUT(button->isVisible(), 6000);
  QVERIFY2(elapsed.elapsed() >= 2800, qPrintable(QString::number(elapsed.elapsed())));
  QVERIFY(!label->isVisible());
  QCOMPARE(m_model->upgradeState(), UpgradeModel::IDLE);
}

void TestSystemManagerBox::about_showsTheBuildAndClosesByItsIcon() {
  click(item(QStringLiteral("aboutButton")));
  QTRY_VERIFY(isOpen(QStringLiteral("aboutDialog")));
  QQuickItem *content = popupContent(QStringLiteral("aboutDialog"));
  QCOMPARE(findByName(content, QStringLiteral("aboutDateText"))->property("text").toString(),
           QStringLiteral("日期: 2510281502"));
  QCOMPARE(findByName(content, QStringLiteral("aboutVersionText"))->property("text").toString(),
           QStringLiteral("版本: 1.0.7"));
  QCOMPARE(findByName(content, QStringLiteral("aboutCommitText"))->property("text").toString(),
           QStringLiteral("提交: 6685a19"));
  // The box is a quarter of the window wide.
  QCOMPARE(findByName(content, QStringLiteral("aboutDateText"))->parentItem()->parentItem()->width(), 1280 * 0.25);

  QQuickItem *closeIcon = findDescendant(content, [](QQuickItem *candidate) {
    return candidate->isVisible() &&
           candidate->property("source").toUrl() == QUrl(QStringLiteral("qrc:/res/close.png"));
  });
  click(closeIcon);
  QTRY_VERIFY(!isOpen(QStringLiteral("aboutDialog")));
}

void TestSystemManagerBox::downloadCenter_opensTheConfiguredPage() {
  click(item(QStringLiteral("downloadCenterButton")));
  QTRY_COMPARE(m_urls.urls.size(), 1);
  QCOMPARE(m_urls.urls.first(), QUrl(QString::fromLatin1(kDownloadPage)));
}

void TestSystemManagerBox::update_confirmLater_resetsTheModel() {
  checkForUpdate();
  QTRY_VERIFY(isOpen(QStringLiteral("updateConfirmDialog")));
  QCOMPARE(statusText(), QStringLiteral("有新版本可用"));
  QVERIFY(findByText(popupContent(QStringLiteral("updateConfirmDialog")), QStringLiteral("有新版本可升级 !")));
  // Only its answers close it.
  QTest::keyClick(m_page->getView(), Qt::Key_Escape);
  QCoreApplication::processEvents();
  QVERIFY(isOpen(QStringLiteral("updateConfirmDialog")));

  clickText(QStringLiteral("updateConfirmDialog"), QStringLiteral("稍后升级"));

  QTRY_VERIFY(!isOpen(QStringLiteral("updateConfirmDialog")));
  QCOMPARE(m_model->upgradeState(), UpgradeModel::IDLE);
  QCOMPARE(m_model->versionStatus(), UpgradeModel::CHECKING_PASSED);
  QVERIFY(item(QStringLiteral("upgradeButton"))->isVisible());
  QVERIFY(!isOpen(QStringLiteral("upgradeProgressDialog")));
}

void TestSystemManagerBox::update_confirmNow_showsProgressThatHoldsAt95_thenCompletesAndRestarts() {
  m_server->installerHangs = true;
  QQuickItem *box = item(QStringLiteral("systemManagerBox"));
  QObject *progressTimer = m_page->getView()->rootObject()->findChild<QObject *>(QStringLiteral("progressTimer"));
  QCOMPARE(progressTimer->property("interval").toInt(), 800);
  // Faster steps, so that the hold at 95 is reached within the test.
  box->setProperty("progressStepMs", 5);
  const QString restarted = m_scratch + QStringLiteral("/restarted");
  {
    QDir().mkpath(m_scratch + QStringLiteral("/bin"));
    QFile script(m_scratch + QStringLiteral("/bin/restart.sh"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$1\" > '" + restarted.toUtf8() + "'\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
  }
  m_model->setScriptDirectory(m_scratch);
  checkForUpdate();
  QTRY_VERIFY(isOpen(QStringLiteral("updateConfirmDialog")));

  clickText(QStringLiteral("updateConfirmDialog"), QStringLiteral("立即升级"));

  QTRY_VERIFY(isOpen(QStringLiteral("upgradeProgressDialog")));
  QVERIFY(!isOpen(QStringLiteral("updateConfirmDialog")));
  QCOMPARE(m_model->upgradeState(), UpgradeModel::DOWNLOADING);
  QQuickItem *progressContent = popupContent(QStringLiteral("upgradeProgressDialog"));
  QCOMPARE(findByName(progressContent, QStringLiteral("upgradeProgressTitle"))->property("text").toString(),
           QStringLiteral("正在下载软件......"));
  QQuickItem *progressBar = findByName(progressContent, QStringLiteral("upgradeProgressBar"));
  QVERIFY(progressBar);
  QVERIFY(progressBar->property("successFlag").toBool());
  QCOMPARE(box->property("progressColor").value<QColor>(), QColor(QStringLiteral("#46fa32")));

  // Time-based progress: it climbs to 95 and holds there while the state lasts.
  QTRY_COMPARE_WITH_TIMEOUT(progressBar->property("progress").toReal(), 95.0, 10000);
  QSignalSpy ticks(progressTimer, SIGNAL(triggered()));
  QTRY_VERIFY(ticks.count() >= 10);
  QCOMPARE(progressBar->property("progress").toReal(), 95.0);
  QCOMPARE(m_model->upgradeState(), UpgradeModel::DOWNLOADING);

  // The installation ends well: 100 at once, and two seconds later the restart prompt.
  QObject *promptTimer = m_page->getView()->rootObject()->findChild<QObject *>(QStringLiteral("restartPromptTimer"));
  QCOMPARE(promptTimer->property("interval").toInt(), 2000);
  emit m_model->startNextState(UpgradeModel::COMPLETED, UpgradeModel::NO_ERROR);
  QTRY_COMPARE(m_model->upgradeState(), UpgradeModel::COMPLETED);
  QElapsedTimer elapsed;
  elapsed.start();
  QCOMPARE(progressBar->property("progress").toReal(), 100.0);
  QVERIFY(progressBar->property("successFlag").toBool());
  QCOMPARE(findByName(progressContent, QStringLiteral("upgradeProgressTitle"))->property("text").toString(),
           QStringLiteral("软件升级完成!"));
  QVERIFY(isOpen(QStringLiteral("upgradeProgressDialog")));
  QTRY_VERIFY_WITH_TIMEOUT(isOpen(QStringLiteral("upgradeMessageDialog")), 5000);
  QVERIFY2(elapsed.elapsed() >= 1900, qPrintable(QString::number(elapsed.elapsed())));
  QTRY_VERIFY(!isOpen(QStringLiteral("upgradeProgressDialog")));
  QCOMPARE(findByName(popupContent(QStringLiteral("upgradeMessageDialog")), QStringLiteral("upgradeMessageText"))
               ->property("text")
               .toString(),
           QStringLiteral("点击确认后将开始重启软件 !"));

  clickText(QStringLiteral("upgradeMessageDialog"), QStringLiteral("确认"));

  QTRY_VERIFY(QFile::exists(restarted));
  QFile marker(restarted);
  QVERIFY(marker.open(QIODevice::ReadOnly));
  QCOMPARE(marker.readAll().trimmed(), QByteArray::number(QCoreApplication::applicationPid()));
  QTRY_VERIFY(!isOpen(QStringLiteral("upgradeMessageDialog")));
}

void TestSystemManagerBox::update_failure_showsTheMessageAndResets() {
  // The installer is missing on the server: the download fails.
  checkForUpdate();
  QTRY_VERIFY(isOpen(QStringLiteral("updateConfirmDialog")));

  clickText(QStringLiteral("updateConfirmDialog"), QStringLiteral("立即升级"));

  QTRY_COMPARE_WITH_TIMEOUT(m_model->upgradeState(), UpgradeModel::ERROR, 10000);
  QTRY_VERIFY(isOpen(QStringLiteral("upgradeMessageDialog")));
  QTRY_VERIFY(!isOpen(QStringLiteral("upgradeProgressDialog")));
  QQuickItem *box = item(QStringLiteral("systemManagerBox"));
  QCOMPARE(box->property("progress").toReal(), 100.0);
  QCOMPARE(box->property("progressSuccess").toBool(), false);
  QCOMPARE(box->property("progressColor").value<QColor>(), QColor(QStringLiteral("#ff0000")));
  QCOMPARE(findByName(popupContent(QStringLiteral("upgradeMessageDialog")), QStringLiteral("upgradeMessageText"))
               ->property("text")
               .toString(),
           QStringLiteral("软件升级失败，请重新点击升级功能 !"));
  // The message waits for its confirmation.
  QTest::keyClick(m_page->getView(), Qt::Key_Escape);
  QCoreApplication::processEvents();
  QVERIFY(isOpen(QStringLiteral("upgradeMessageDialog")));

  clickText(QStringLiteral("upgradeMessageDialog"), QStringLiteral("确认"));

  QTRY_COMPARE(m_model->upgradeState(), UpgradeModel::IDLE);
  QTRY_VERIFY(!isOpen(QStringLiteral("upgradeMessageDialog")));
  QVERIFY(item(QStringLiteral("upgradeButton"))->isVisible());
}

void TestSystemManagerBox::progressTitle_followsTheState_data() {
  QTest::addColumn<int>("state");
  QTest::addColumn<QString>("title");
  QTest::newRow("DOWNLOADING") << int(UpgradeModel::DOWNLOADING) << "正在下载软件......";
  QTest::newRow("MD5_VERIFYING") << int(UpgradeModel::MD5_VERIFYING) << "正在校验软件......";
  QTest::newRow("INSTALLING") << int(UpgradeModel::INSTALLING) << "正在安装软件......";
  QTest::newRow("COMPLETED") << int(UpgradeModel::COMPLETED) << "软件升级完成!";
  QTest::newRow("ERROR") << int(UpgradeModel::ERROR) << "软件升级失败!";
  QTest::newRow("CHECKED") << int(UpgradeModel::CHECKED) << "";
}

void TestSystemManagerBox::progressTitle_followsTheState() {
  QFETCH(int, state);
  QFETCH(QString, title);
  QQuickItem *box = item(QStringLiteral("systemManagerBox"));
  box->setProperty("progress", 40);
  // With the flow at rest no step is registered for these states, so only the state changes.
  emit m_model->startNextState(UpgradeModel::UpgradeState(state), UpgradeModel::NO_ERROR);
  QTRY_COMPARE(int(m_model->upgradeState()), state);
  QCOMPARE(findByName(popupContent(QStringLiteral("upgradeProgressDialog")), QStringLiteral("upgradeProgressTitle"))
               ->property("text")
               .toString(),
           title);
  // Entering a working state starts the progress again from zero.
  const bool working =
      state == UpgradeModel::DOWNLOADING || state == UpgradeModel::MD5_VERIFYING || state == UpgradeModel::INSTALLING;
  if (working) QCOMPARE(box->property("progress").toReal(), 0.0);
}

ORVIK_TEST_MAIN(TestSystemManagerBox)
#include "tst_systemmanagerbox.moc"
