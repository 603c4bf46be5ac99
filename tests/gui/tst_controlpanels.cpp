// The device and scan panels of the main page, driven by clicks, with the real
// models behind them and the analyser simulator on a pseudo-terminal.

#include "DeclarativeWindow.h"
#include "FrameSeqModel.h"
#include "FreqScanSetModel.h"
#include "SerialPortModel.h"
#include "SystemConfig.h"
#include "SimulatorProcess.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWidget>
#include <QSignalSpy>
#include <memory>

namespace {

using orvik::test::findVisual;

// The simulator every test of this file talks to.
const QStringList kSimulatorArgs = {"--seed", "3", "--sweep-ms", "150", "--name", "panel-sim"};

int indexOfPort(const QString &portName) {
  return orvik::test::indexOfPort(SerialPortModel::instance()->portList(), portName);
}

const char *const kMainWinUrl = "qrc:/Orvik/MainWin/MainWin.qml";
const QString kLampOn = QStringLiteral("qrc:/res/connected_icon.png");
const QString kLampOff = QStringLiteral("qrc:/res/disconnect_icon.png");
const QString kContinuousPressedIcon = QStringLiteral("qrc:/res/continue_scan_btn_icon_pressed_1.png");
const QString kContinuousNormalIcon = QStringLiteral("qrc:/res/continue_scan_btn_icon_normal_1.png");




QQuickItem *firstButton(QQuickItem *root) {
  for (QQuickItem *child : root->childItems()) {
    if (child->inherits("QQuickAbstractButton")) return child;
  }
  return nullptr;
}

}  // namespace

class TestControlPanels : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void cleanup();
  void cleanupTestCase();

  void connectButton_withoutPort_doesNothingAndScanPanelStaysDisabled();
  void deviceCombox_secondEntry_snapsBackAndOpensNotice();
  void portCombox_listsSimulatorAlias_andClickSelectsIt();
  void connectButton_connectsOnce_blocksSelection_andLampBlinks();
  void scanButtons_sendRequest_andShowPressedByStatus_data();
  void scanButtons_sendRequest_andShowPressedByStatus();
  void scanButtons_duringOneClickScan_ignoreClicksAndContinuousFlashes();
  void connectButton_whenConnected_disconnects_andLampGoesDarkAfterDelay();

private:
  QQuickItem *item(const QString &objectName) const;
  QObject *popupOf(const QString &comboName) const;
  void click(QQuickItem *target) const;
  void clickComboEntry(const QString &comboName, int index) const;
  QString statusText() const { return item("connectStatusText")->property("text").toString(); }
  QString lampSource() const { return item("connectLamp")->property("source").toUrl().toString(); }
  // A MouseArea's own "enabled" decides whether it takes the mouse.
  bool blocking(const QString &area) const { return item(area)->property("enabled").toBool(); }
  bool shownPressed(const QString &button) const { return item(button)->property("pressed").toBool(); }

  orvik::test::SimulatorProcess m_sim;
  SerialPortModel *m_model = nullptr;
  FreqScanSetModel *m_scanSettings = nullptr;
  std::unique_ptr<DeclarativeWindow> m_page;
};

void TestControlPanels::initTestCase() {
  // The models read the configuration when they are created.
  SystemConfig::instance()->init();
  QVERIFY(m_sim.start(kSimulatorArgs));
  m_model = SerialPortModel::instance();
  m_scanSettings = FreqScanSetModel::instance();
  FrameSeqModel::instance();
  QTRY_VERIFY_WITH_TIMEOUT(indexOfPort(m_sim.link()) >= 0, 5000);

  // Registers the native types and publishes every model, as the application does.
  m_page.reset(orvik::test::loadQmlPage(QString::fromLatin1(kMainWinUrl)));
  QCOMPARE(m_page->getView()->status(), QQuickWidget::Ready);
}

void TestControlPanels::cleanup() {
  ORVIK_VERIFY_NO_QML_WARNINGS();
}

void TestControlPanels::cleanupTestCase() {
  emit m_scanSettings->stopScan();
  m_model->closeSerialPort();
  m_page.reset();
  m_sim.stop();
}

QQuickItem *TestControlPanels::item(const QString &objectName) const {
  QQuickItem *found = orvik::test::findItem(m_page->getView(), objectName);
  if (!found) qFatal("no item named %s", qPrintable(objectName));
  return found;
}

QObject *TestControlPanels::popupOf(const QString &comboName) const {
  return item(comboName)->property("popup").value<QObject *>();
}

void TestControlPanels::click(QQuickItem *target) const {
  const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
  QTest::mouseClick(m_page->getView(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

// Clicks an entry of an open combo box list.
void TestControlPanels::clickComboEntry(const QString &comboName, int index) const {
  auto *list = popupOf(comboName)->property("contentItem").value<QQuickItem *>();
  QVERIFY(list);
  // The list lays out its entries on the next frames after opening.
  const auto entryAt = [list, index]() {
    QQuickItem *entry = nullptr;
    QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, index));
    return entry;
  };
  QTRY_VERIFY2(entryAt() && entryAt()->isVisible(),
               qPrintable(QStringLiteral("no entry %1 in %2").arg(index).arg(comboName)));
  click(entryAt());
}

void TestControlPanels::connectButton_withoutPort_doesNothingAndScanPanelStaysDisabled() {
  // A fresh installation remembers no port, and none is chosen yet.
  QCOMPARE(m_model->currentPortName(), QString());
  QCOMPARE(item("portCombox")->property("displayText").toString(), QString());
  QCOMPARE(statusText(), QStringLiteral("未连接"));
  QCOMPARE(lampSource(), kLampOff);

  QSignalSpy status(m_model, &SerialPortModel::statusChanged);
  click(item("connectButton"));
  QCOMPARE(m_model->connectState(), SerialPortModel::DISCONNECTED);
  QCOMPARE(status.count(), 0);

  QVERIFY(!item("scanControlBox")->isEnabled());
  QSignalSpy single(m_scanSettings, &FreqScanSetModel::singleScan);
  click(item("singleScanButton"));
  QCOMPARE(single.count(), 0);
  QCOMPARE(item("singleScanButton")->findChild<QQuickItem *>("icon")->property("source").toUrl().toString(),
           QStringLiteral("qrc:/res/single_scan_btn_icon_normal_1.png"));
}

void TestControlPanels::deviceCombox_secondEntry_snapsBackAndOpensNotice() {
  QObject *dialog = item("deviceSelection")->findChild<QObject *>("deviceNoticeDialog");
  QVERIFY(dialog);
  QCOMPARE(item("deviceCombox")->property("displayText").toString(), QStringLiteral("tinySA"));

  click(item("deviceSelectButton"));
  QTRY_VERIFY(popupOf("deviceCombox")->property("visible").toBool());
  clickComboEntry("deviceCombox", 1);
  QTRY_VERIFY(dialog->property("visible").toBool());
  QCOMPARE(item("deviceCombox")->property("currentIndex").toInt(), 0);
  QCOMPARE(item("deviceCombox")->property("displayText").toString(), QStringLiteral("tinySA"));

  auto *content = dialog->property("contentItem").value<QQuickItem *>();
  QQuickItem *text = findVisual(content, "deviceNoticeText");
  QVERIFY(text && text->isVisible());
  QCOMPARE(text->property("text").toString(), QStringLiteral("该功能权限不对外开放，敬请期待 !"));
  QQuickItem *closeButton = firstButton(findVisual(content, "deviceNoticeOkArea"));
  QVERIFY(closeButton);
  QCOMPARE(closeButton->property("text").toString(), QStringLiteral("关闭"));
  click(closeButton);
  QTRY_VERIFY(!dialog->property("visible").toBool());
}

void TestControlPanels::portCombox_listsSimulatorAlias_andClickSelectsIt() {
  const int index = indexOfPort(m_sim.link());
  QVERIFY(index >= 0);
  const QString alias = m_model->portList().at(index).toMap().value("aliasName").toString();
  QVERIFY(!alias.isEmpty());

  click(item("portSelectButton"));
  QTRY_VERIFY(popupOf("portCombox")->property("visible").toBool());
  QString shown;
  QMetaObject::invokeMethod(item("portCombox"), "textAt", Q_RETURN_ARG(QString, shown), Q_ARG(int, index));
  QCOMPARE(shown, alias);

  QSignalSpy indexChanged(m_model, &SerialPortModel::currentIndexChanged);
  clickComboEntry("portCombox", index);
  QCOMPARE(indexChanged.count(), 1);
  QCOMPARE(m_model->currentIndex(), index);
  QCOMPARE(m_model->currentPortName(), m_sim.link());
  QCOMPARE(item("portCombox")->property("displayText").toString(), alias);
  QTRY_VERIFY(!popupOf("portCombox")->property("visible").toBool());
}

void TestControlPanels::connectButton_connectsOnce_blocksSelection_andLampBlinks() {
  QVERIFY(!m_model->currentPortName().isEmpty());
  click(item("connectButton"));
  QCOMPARE(m_model->connectState(), SerialPortModel::CONNECTING);
  QCOMPARE(statusText(), QStringLiteral("连接中..."));
  QVERIFY(!item("deviceSelectButton")->isEnabled());
  QVERIFY(!item("portSelectButton")->isEnabled());
  // Only a connection blocks the lists, the handshake does not.
  QVERIFY(!blocking("portComboxBlocker"));
  QCOMPARE(item("scanControlBox")->isEnabled(), m_model->connected());

  // A second press within the handshake second is ignored.
  click(item("connectButton"));
  QCOMPARE(m_model->connectState(), SerialPortModel::CONNECTING);

  QTRY_COMPARE_WITH_TIMEOUT(m_model->connectState(), SerialPortModel::CONNECTED, 3000);
  QCOMPARE(statusText(), QStringLiteral("已连接"));
  QVERIFY(item("scanControlBox")->isEnabled());
  QVERIFY(!item("deviceSelectButton")->isEnabled());
  QVERIFY(!item("portSelectButton")->isEnabled());
  QVERIFY(blocking("deviceComboxBlocker"));
  QVERIFY(blocking("portComboxBlocker"));

  // A click on the port list during the connection does not open it.
  click(item("portCombox"));
  QVERIFY(!popupOf("portCombox")->property("visible").toBool());

  QTRY_COMPARE_WITH_TIMEOUT(lampSource(), kLampOn, 2500);
  QTRY_COMPARE_WITH_TIMEOUT(lampSource(), kLampOff, 2500);
  QTRY_COMPARE_WITH_TIMEOUT(lampSource(), kLampOn, 2500);
  QCOMPARE(m_model->connectState(), SerialPortModel::CONNECTED);
}

void TestControlPanels::scanButtons_sendRequest_andShowPressedByStatus_data() {
  QTest::addColumn<bool>("sweepingBefore");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("statusAfter");
  QTest::newRow("single") << false << "singleScanButton"
                          << "single";
  QTest::newRow("continuous") << false << "continuousScanButton"
                              << "continuous";
  QTest::newRow("stop while sweeping") << true << "stopScanButton"
                                       << "stop";
}

void TestControlPanels::scanButtons_sendRequest_andShowPressedByStatus() {
  QFETCH(bool, sweepingBefore);
  QFETCH(QString, button);
  QFETCH(QString, statusAfter);
  QTRY_COMPARE(m_scanSettings->scanStatus(), QStringLiteral("stop"));
  if (sweepingBefore) {
    emit m_scanSettings->continuousScan();
    QVERIFY(shownPressed("continuousScanButton"));
  }

  QSignalSpy single(m_scanSettings, &FreqScanSetModel::singleScan);
  QSignalSpy continuous(m_scanSettings, &FreqScanSetModel::continuousScan);
  QSignalSpy stop(m_scanSettings, &FreqScanSetModel::stopScan);
  click(item(button));
  QCOMPARE(single.count(), int(button == "singleScanButton"));
  QCOMPARE(continuous.count(), int(button == "continuousScanButton"));
  QCOMPARE(stop.count(), int(button == "stopScanButton"));
  QCOMPARE(m_scanSettings->scanStatus(), statusAfter);
  QCOMPARE(shownPressed("singleScanButton"), statusAfter == "single");
  QCOMPARE(shownPressed("stopScanButton"), statusAfter == "stop");
  QCOMPARE(shownPressed("continuousScanButton"), statusAfter == "continuous");
  QCOMPARE(item(button)->findChild<QQuickItem *>("highlight")->isVisible(), true);

  if (statusAfter == "single") {
    // The sweep completes and the engine returns to rest.
    QTRY_COMPARE_WITH_TIMEOUT(m_scanSettings->scanStatus(), QStringLiteral("stop"), 5000);
    QVERIFY(shownPressed("stopScanButton"));
  } else if (statusAfter == "continuous") {
    QQuickItem *icon = item(button)->findChild<QQuickItem *>("icon");
    QTRY_COMPARE_WITH_TIMEOUT(icon->property("source").toUrl().toString(), kContinuousPressedIcon, 2500);
    QTRY_COMPARE_WITH_TIMEOUT(icon->property("source").toUrl().toString(), kContinuousNormalIcon, 2500);
    emit m_scanSettings->stopScan();
  }
}

void TestControlPanels::scanButtons_duringOneClickScan_ignoreClicksAndContinuousFlashes() {
  QCOMPARE(m_scanSettings->scanStatus(), QStringLiteral("stop"));
  QObject *flashTimer = item("scanControlBox")->findChild<QObject *>("continuousFlashTimer");
  QVERIFY(flashTimer);
  QVERIFY(!flashTimer->property("running").toBool());

  m_scanSettings->setAutoMonitor(true);
  QVERIFY(flashTimer->property("running").toBool());
  QSignalSpy single(m_scanSettings, &FreqScanSetModel::singleScan);
  QSignalSpy continuous(m_scanSettings, &FreqScanSetModel::continuousScan);
  QSignalSpy stop(m_scanSettings, &FreqScanSetModel::stopScan);
  for (const char *button : {"singleScanButton", "continuousScanButton", "stopScanButton"}) click(item(button));
  m_scanSettings->setAutoMonitor(false);
  QCOMPARE(single.count() + continuous.count() + stop.count(), 0);
  QCOMPARE(m_scanSettings->scanStatus(), QStringLiteral("stop"));
  QVERIFY(!flashTimer->property("running").toBool());
  QCOMPARE(item("scanControlBox")->property("flashOn").toBool(), false);
}

void TestControlPanels::connectButton_whenConnected_disconnects_andLampGoesDarkAfterDelay() {
  emit m_scanSettings->continuousScan();
  QTRY_COMPARE_WITH_TIMEOUT(lampSource(), kLampOn, 2500);

  click(item("connectButton"));
  QCOMPARE(m_model->connectState(), SerialPortModel::DISCONNECTED);
  QCOMPARE(statusText(), QStringLiteral("未连接"));
  QCOMPARE(lampSource(), kLampOn);  // goes dark a moment later
  QVERIFY(!item("scanControlBox")->isEnabled());
  QCOMPARE(m_scanSettings->scanStatus(), QStringLiteral("stop"));
  QVERIFY(shownPressed("stopScanButton"));
  QVERIFY(item("deviceSelectButton")->isEnabled());
  QVERIFY(item("portSelectButton")->isEnabled());
  QVERIFY(!blocking("portComboxBlocker"));
  QTRY_COMPARE_WITH_TIMEOUT(lampSource(), kLampOff, 1500);
}

ORVIK_TEST_MAIN(TestControlPanels)
#include "tst_controlpanels.moc"
