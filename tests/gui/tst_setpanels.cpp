// The frequency, tracking, plot and monitoring panels of the control column
// and the mark panel above the chart, driven by clicks and typing on the main
// page with the real models behind them. The one-click scan needs a connected
// analyser, which the simulator provides on a pseudo-terminal.

#include "DeclarativeWindow.h"
#include "FrameSeqModel.h"
#include "FreqScanSetModel.h"
#include "MarkModel.h"
#include "MonitorModel.h"
#include "SerialPortModel.h"
#include "SystemConfig.h"
#include "SimulatorProcess.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWidget>
#include <QSignalSpy>
#include <memory>

namespace {

using orvik::test::findVisual;

// The simulator every test of this file talks to.
const QStringList kSimulatorArgs = {"--seed", "5", "--sweep-ms", "150", "--name", "setpanels-sim"};

int indexOfPort(const QString &portName) {
  return orvik::test::indexOfPort(SerialPortModel::instance()->portList(), portName);
}

const char *const kMainWinUrl = "qrc:/Orvik/MainWin/MainWin.qml";
constexpr int kOneClickScanS = 300;
constexpr int kCountdownParkedMs = 3600 * 1000;




QQuickItem *firstButton(QQuickItem *root) {
  if (!root) return nullptr;
  for (QQuickItem *child : root->childItems()) {
    if (child->inherits("QQuickAbstractButton")) return child;
  }
  return nullptr;
}

QString textOf(const QObject *object) {
  return object ? object->property("text").toString() : QString();
}

QVector<QPointF> quietSweep() {
  // Quiet points at both band edges and in the middle, loud ones between.
  return {{450.0, -100.0}, {520.0, -61.0}, {600.0, -99.6}, {680.0, -58.0}, {760.0, -99.2}, {950.0, -99.8}};
}

}  // namespace

class TestSetPanels : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void cleanup();
  void cleanupTestCase();

  void freInput_extractValue_data();
  void freInput_extractValue();
  void freInput_typing_filtersByPattern_writesModel_andShowsModelText_data();
  void freInput_typing_filtersByPattern_writesModel_andShowsModelText();
  void freInput_leavingField_appliesValue_andFollowsModel();
  void toggleSwitch_click_writesMarkSwitch_andThumbFollows();
  void peakButtons_toggleInvertsPeakSwitch_clearEmptiesPeakCurve();
  void monitorModeCombox_writesMonitorStatus_fromShownEntry();
  void oneClickStart_withoutDevice_doesNothing_withDevice_opensNotice();
  void oneClickCount_formatsTypedCount_data();
  void oneClickCount_formatsTypedCount();
  void oneClickFlow_writesSettingsInOrder_andCountdownEndsScan();
  void oneClickStop_endsScan_andCountdownStartsOverFromFullTime();
  void autoList_rowsFromModel_selectAll_selectClick_menuDelete_clear();
  void assignButton_dialogSaysWhetherAnythingIsSelected();
  void manualList_rowsFromModel_menuDelete_clear();
  void markIcons_sendMarkUpdated_withToggledType_data();
  void markIcons_sendMarkUpdated_withToggledType();
  void markFrequency_editMakesFixedMark_andSlotsShowLevelAndColour();

private:
  QQuickWidget *view() const { return m_page->getView(); }
  QQuickItem *item(const QString &objectName) const;
  QObject *child(const QString &parentName, const QString &objectName) const;
  QQuickItem *popupContent(QObject *popup) const { return popup->property("contentItem").value<QQuickItem *>(); }
  QQuickItem *inPopup(QObject *popup, const QString &objectName) const;
  bool isOpen(QObject *popup) const { return popup->property("visible").toBool(); }
  void click(QQuickItem *target, Qt::MouseButton button = Qt::LeftButton) const;
  // A list row away from its check box in the middle.
  void clickRow(QQuickItem *row, Qt::MouseButton button = Qt::LeftButton) const;
  void typeInto(QQuickItem *field, const QString &text) const;
  void pressEnter() const { QTest::keyClick(view(), Qt::Key_Return); }
  QQuickItem *listRow(const QString &listName, int row) const;
  QString rowText(const QString &listName, int row, const char *part) const;
  void openSetDialog();
  void tickCountdown(int ticks) const;
  QString countdownText() const { return textOf(item("countdownLabel")); }
  QQuickItem *markBox(int slot) const;

  orvik::test::SimulatorProcess m_sim;
  FreqScanSetModel *m_settings = nullptr;
  MonitorModel *m_monitor = nullptr;
  MarkModel *m_marks = nullptr;
  std::unique_ptr<DeclarativeWindow> m_page;
};

void TestSetPanels::initTestCase() {
  SystemConfig::instance()->init();
  QVERIFY(m_sim.start(kSimulatorArgs));
  m_settings = FreqScanSetModel::instance();
  m_monitor = MonitorModel::instance();
  m_marks = MarkModel::instance();
  FrameSeqModel::instance();
  QTRY_VERIFY_WITH_TIMEOUT(indexOfPort(m_sim.link()) >= 0, 5000);

  m_page.reset(orvik::test::loadQmlPage(QString::fromLatin1(kMainWinUrl)));
  QCOMPARE(view()->status(), QQuickWidget::Ready);
  // Typed keys reach the fields through the active window.
  m_page->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(m_page.get()));

  // The countdown ticks every second; the tests drive its handler instead,
  // so a slow run cannot slip in a real tick.
  QObject *countdown = child("plotSetBox", "countdownTimer");
  QVERIFY(countdown);
  QCOMPARE(countdown->property("interval").toInt(), 1000);
  QVERIFY(countdown->property("repeat").toBool());
  countdown->setProperty("interval", kCountdownParkedMs);
}

void TestSetPanels::cleanup() {
  for (const QString &name : {QStringLiteral("tipsDialog"), QStringLiteral("setDialog")}) {
    QObject *dialog = child("plotSetBox", name);
    if (dialog && isOpen(dialog)) QMetaObject::invokeMethod(dialog, "close");
  }
  if (QObject *dialog = child("monitorSetBox", "assignDialog"); dialog && isOpen(dialog))
    QMetaObject::invokeMethod(dialog, "close");
  ORVIK_VERIFY_NO_QML_WARNINGS();
}

void TestSetPanels::cleanupTestCase() {
  m_settings->setAutoMonitor(false);
  emit m_settings->stopScan();
  SerialPortModel::instance()->closeSerialPort();
  m_page.reset();
  m_sim.stop();
}

QQuickItem *TestSetPanels::item(const QString &objectName) const {
  QQuickItem *found = orvik::test::findItem(view(), objectName);
  if (!found) qFatal("no item named %s", qPrintable(objectName));
  return found;
}

QObject *TestSetPanels::child(const QString &parentName, const QString &objectName) const {
  return item(parentName)->findChild<QObject *>(objectName);
}

QQuickItem *TestSetPanels::inPopup(QObject *popup, const QString &objectName) const {
  QQuickItem *found = findVisual(popupContent(popup), objectName);
  if (!found) qFatal("no item named %s in the popup", qPrintable(objectName));
  return found;
}

void TestSetPanels::click(QQuickItem *target, Qt::MouseButton button) const {
  QVERIFY(target);
  const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
  QTest::mouseClick(view(), button, Qt::NoModifier, centre.toPoint());
}

void TestSetPanels::clickRow(QQuickItem *row, Qt::MouseButton button) const {
  QVERIFY(row);
  const QPointF point = row->mapToScene(QPointF(row->width() * 0.2, row->height() / 2));
  QTest::mouseClick(view(), button, Qt::NoModifier, point.toPoint());
}

// The first click on a field selects its whole text, so typing replaces it.
void TestSetPanels::typeInto(QQuickItem *field, const QString &text) const {
  click(field);
  auto *input = field->property("inputItem").value<QQuickItem *>();
  QVERIFY(input);
  QTRY_VERIFY(input->hasActiveFocus());
  QCOMPARE(input->property("selectedText").toString(), input->property("text").toString());
  QTest::keyClicks(view(), text);
}

QQuickItem *TestSetPanels::listRow(const QString &listName, int row) const {
  QQuickItem *list = item(listName);
  QQuickItem *found = nullptr;
  QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, found), Q_ARG(int, row));
  return found;
}

QString TestSetPanels::rowText(const QString &listName, int row, const char *part) const {
  QQuickItem *found = listRow(listName, row);
  return found ? textOf(found->findChild<QQuickItem *>(QString::fromLatin1(part))) : QStringLiteral("<no row>");
}

// Through the start button and the notice, as the user does.
void TestSetPanels::openSetDialog() {
  QObject *tips = child("plotSetBox", "tipsDialog");
  QObject *setDialog = child("plotSetBox", "setDialog");
  click(item("oneClickStartButton"));
  QTRY_VERIFY(isOpen(tips));
  click(firstButton(inPopup(tips, "tipsOkArea")));
  QTRY_VERIFY(!isOpen(tips));
  QTRY_VERIFY(isOpen(setDialog));
}

// Drives the one-second countdown without waiting for it.
void TestSetPanels::tickCountdown(int ticks) const {
  QObject *timer = child("plotSetBox", "countdownTimer");
  QVERIFY(timer);
  for (int i = 0; i < ticks; ++i) QVERIFY(QMetaObject::invokeMethod(timer, "triggered"));
}

QQuickItem *TestSetPanels::markBox(int slot) const {
  QQuickItem *row = listRow("markList", slot);
  return row ? row->findChild<QQuickItem *>(QStringLiteral("markSetBox%1").arg(slot)) : nullptr;
}

// ---- frequency panel ---------------------------------------------------------

void TestSetPanels::freInput_extractValue_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QVariant>("value");
  QTest::newRow("decimal") << "612.5" << QVariant("612.500");
  QTest::newRow("leading point") << ".5" << QVariant("0.500");
  QTest::newRow("negative integer") << "-3" << QVariant("-3.000");
  QTest::newRow("plus sign and trailing text") << "+7.25x" << QVariant("7.250");
  QTest::newRow("first number of several, rounded") << "f 12.3456 MHz 99" << QVariant("12.346");
  QTest::newRow("no number") << "abc" << QVariant();
  QTest::newRow("empty") << "" << QVariant();
}

void TestSetPanels::freInput_extractValue() {
  QFETCH(QString, text);
  QFETCH(QVariant, value);
  QVariant result;
  QVERIFY(QMetaObject::invokeMethod(item("startFreInput"), "extractValue", Q_RETURN_ARG(QVariant, result),
                                    Q_ARG(QVariant, text)));
  if (value.isValid())
    QCOMPARE(result.toString(), value.toString());
  else
    QVERIFY2(!result.isValid() || result.isNull(), qPrintable(result.toString()));
}

void TestSetPanels::freInput_typing_filtersByPattern_writesModel_andShowsModelText_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("startBefore");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shownWhileTyping");
  QTest::addColumn<QString>("startAfter");
  QTest::addColumn<QString>("stopAfter");
  QTest::newRow("start 612.5") << "startFreInput"
                               << "500.000"
                               << "612.5"
                               << "612.5"
                               << "612.500"
                               << "950.000";
  QTest::newRow("fourth integer digit refused") << "startFreInput"
                                                << "500.000"
                                                << "6123"
                                                << "612"
                                                << "612.000"
                                                << "950.000";
  QTest::newRow("fourth decimal refused, snapped down") << "startFreInput"
                                                        << "500.000"
                                                        << "700.1239"
                                                        << "700.123"
                                                        << "700.100"
                                                        << "950.000";
  QTest::newRow("letters refused, text kept") << "startFreInput"
                                              << "500.000"
                                              << "abc"
                                              << "500.000"
                                              << "500.000"
                                              << "950.000";
  QTest::newRow("negative, band edge") << "startFreInput"
                                       << "500.000"
                                       << "-45"
                                       << "-45"
                                       << "450.000"
                                       << "950.000";
  QTest::newRow("below the band") << "startFreInput"
                                  << "500.000"
                                  << "300"
                                  << "300"
                                  << "450.000"
                                  << "950.000";
  // The model keeps its text and sends nothing; the field shows it anyway.
  QTest::newRow("same value, model text shown") << "startFreInput"
                                                << "450.000"
                                                << "450"
                                                << "450"
                                                << "450.000"
                                                << "950.000";
  QTest::newRow("stop snapped up") << "stopFreInput"
                                   << "450.000"
                                   << "600.01"
                                   << "600.01"
                                   << "450.000"
                                   << "600.025";
}

void TestSetPanels::freInput_typing_filtersByPattern_writesModel_andShowsModelText() {
  QFETCH(QString, field);
  QFETCH(QString, startBefore);
  QFETCH(QString, typed);
  QFETCH(QString, shownWhileTyping);
  QFETCH(QString, startAfter);
  QFETCH(QString, stopAfter);
  m_settings->setStartFreqStr(startBefore);
  m_settings->setStopFreqStr(QStringLiteral("950.000"));
  QQuickItem *input = item(field);
  QCOMPARE(textOf(input), field == "startFreInput" ? startBefore : QStringLiteral("950.000"));

  typeInto(input, typed);
  QCOMPARE(textOf(input), shownWhileTyping);
  QCOMPARE(m_settings->startFreqStr(), startBefore);  // nothing is applied while typing

  pressEnter();
  QCOMPARE(m_settings->startFreqStr(), startAfter);
  QCOMPARE(m_settings->stopFreqStr(), stopAfter);
  QCOMPARE(textOf(item("startFreInput")), startAfter);
  QCOMPARE(textOf(item("stopFreInput")), stopAfter);
  QVERIFY(!input->property("inputItem").value<QQuickItem *>()->hasActiveFocus());
}

void TestSetPanels::freInput_leavingField_appliesValue_andFollowsModel() {
  m_settings->setStartFreqStr(QStringLiteral("500.000"));
  m_settings->setStopFreqStr(QStringLiteral("950.000"));
  typeInto(item("startFreInput"), QStringLiteral("612.5"));
  // Clicking the other field takes the focus away from the first one.
  click(item("stopFreInput"));
  QCOMPARE(m_settings->startFreqStr(), QStringLiteral("612.500"));
  QCOMPARE(textOf(item("startFreInput")), QStringLiteral("612.500"));
  pressEnter();
  QCOMPARE(m_settings->stopFreqStr(), QStringLiteral("950.000"));

  // A change from elsewhere (a zoom of the chart) shows at once.
  m_settings->setStartFreqStr(QStringLiteral("512.3"));
  QCOMPARE(textOf(item("startFreInput")), QStringLiteral("512.300"));
  m_settings->setStartFreqStr(QStringLiteral("450.000"));
}

// ---- tracking switch and peak curve ------------------------------------------------

void TestSetPanels::toggleSwitch_click_writesMarkSwitch_andThumbFollows() {
  QVERIFY(!m_settings->markSwitch());
  QQuickItem *toggle = item("markToggleSwitch");
  QQuickItem *thumb = toggle->findChild<QQuickItem *>("thumb");
  QVERIFY(thumb);
  QCOMPARE(thumb->x(), 0.0);
  QSignalSpy changed(m_settings, &FreqScanSetModel::markSwitchChanged);

  click(toggle);
  QCOMPARE(changed.count(), 1);
  QVERIFY(m_settings->markSwitch());
  QVERIFY(toggle->property("checked").toBool());
  QTRY_COMPARE(thumb->x(), toggle->width() - thumb->width());

  click(toggle);
  QCOMPARE(changed.count(), 2);
  QVERIFY(!m_settings->markSwitch());
  QTRY_COMPARE(thumb->x(), 0.0);
}

void TestSetPanels::peakButtons_toggleInvertsPeakSwitch_clearEmptiesPeakCurve() {
  QVERIFY(!m_settings->peakSwitch());
  QQuickItem *toggle = item("peakToggleButton");
  QCOMPARE(textOf(item("peakCurveCombox")->property("contentItem").value<QQuickItem *>()), QStringLiteral("峰值曲线"));
  QVERIFY(!toggle->property("shownPressed").toBool());
  click(toggle);
  QVERIFY(m_settings->peakSwitch());
  QVERIFY(toggle->property("shownPressed").toBool());
  click(toggle);
  QVERIFY(!m_settings->peakSwitch());
  QVERIFY(!toggle->property("shownPressed").toBool());

  m_monitor->setPeakPoints(quietSweep());
  QSignalSpy clear(m_settings, &FreqScanSetModel::clearPeakPoints);
  click(item("peakClearButton"));
  QCOMPARE(clear.count(), 1);
  QVERIFY(m_monitor->peakPoints().isEmpty());
  QVERIFY(!m_settings->peakSwitch());
}

// ---- monitoring mode ----------------------------------------------------------

void TestSetPanels::monitorModeCombox_writesMonitorStatus_fromShownEntry() {
  QQuickItem *combo = item("monitorModeCombox");
  auto *popup = combo->property("popup").value<QObject *>();
  QCOMPARE(m_settings->monitorStatus(), QStringLiteral("auto"));
  QCOMPARE(combo->property("displayText").toString(), QStringLiteral("一键扫描"));
  QVERIFY(item("oneClickStartButton")->isVisible());
  QVERIFY(item("autoMonitorArea")->isVisible());

  const auto chooseEntry = [&](int index) {
    click(combo);
    QTRY_VERIFY(isOpen(popup));
    auto *list = popup->property("contentItem").value<QQuickItem *>();
    const auto entryAt = [list, index]() {
      QQuickItem *entry = nullptr;
      QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, index));
      return entry;
    };
    QTRY_VERIFY(entryAt() && entryAt()->isVisible());
    click(entryAt());
    QTRY_VERIFY(!isOpen(popup));
  };

  chooseEntry(0);
  QCOMPARE(combo->property("displayText").toString(), QStringLiteral("手动监控"));
  QCOMPARE(m_settings->monitorStatus(), QStringLiteral("manual"));
  QVERIFY(!item("oneClickStartButton")->isVisible());
  QVERIFY(!item("autoMonitorArea")->isVisible());
  QVERIFY(item("manualMonitorList")->isVisible());
  QVERIFY(!item("selectAllCheck")->isVisible());

  // Pressing the box writes the mode it shows, whoever changed the setting.
  m_settings->setMonitorStatus(QStringLiteral("auto"));
  QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier,
                    combo->mapToScene(QPointF(combo->width() / 2, combo->height() / 2)).toPoint());
  QCOMPARE(m_settings->monitorStatus(), QStringLiteral("manual"));
  QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier,
                      combo->mapToScene(QPointF(combo->width() / 2, combo->height() / 2)).toPoint());
  QTRY_VERIFY(isOpen(popup));
  QMetaObject::invokeMethod(popup, "close");
  QTRY_VERIFY(!isOpen(popup));

  chooseEntry(1);
  QCOMPARE(combo->property("displayText").toString(), QStringLiteral("一键扫描"));
  QCOMPARE(m_settings->monitorStatus(), QStringLiteral("auto"));
  QVERIFY(item("oneClickStartButton")->isVisible());
  QVERIFY(item("selectAllCheck")->isVisible());
}

// ---- one-click scan -------------------------------------------------------------

void TestSetPanels::oneClickStart_withoutDevice_doesNothing_withDevice_opensNotice() {
  SerialPortModel *port = SerialPortModel::instance();
  QObject *tips = child("plotSetBox", "tipsDialog");
  QVERIFY(tips);
  QVERIFY(!port->connected());
  click(item("oneClickStartButton"));
  QVERIFY(!isOpen(tips));

  port->setCurrentIndex(indexOfPort(m_sim.link()));
  port->openSerialPort();
  QTRY_COMPARE_WITH_TIMEOUT(port->connectState(), SerialPortModel::CONNECTED, 3000);
  click(item("oneClickStartButton"));
  QTRY_VERIFY(isOpen(tips));
  QCOMPARE(textOf(inPopup(tips, "tipsText")),
           QStringLiteral("整个扫描过程将持续5分钟，用于统计时间段内信道信号强度！"));
  QCOMPARE(textOf(firstButton(inPopup(tips, "tipsOkArea"))), QStringLiteral("确认"));
  // The backdrop takes a click beside the panel without closing.
  QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, QPoint(20, view()->height() - 20));
  QVERIFY(isOpen(tips));
  QVERIFY(!m_settings->autoMonitor());
}

void TestSetPanels::oneClickCount_formatsTypedCount_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::newRow("above the maximum") << "1500"
                                     << "999";
  QTest::newRow("the maximum") << "999"
                               << "999";
  QTest::newRow("negative") << "-3"
                            << "0";
  QTest::newRow("negative beyond the maximum") << "-1500"
                                               << "0";
  QTest::newRow("rounded up") << "7.6"
                              << "8";
  QTest::newRow("rounded down") << "7.4"
                                << "7";
  QTest::newRow("no number") << "abc"
                             << "0";
}

void TestSetPanels::oneClickCount_formatsTypedCount() {
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  openSetDialog();
  QObject *setDialog = child("plotSetBox", "setDialog");
  QQuickItem *count = inPopup(setDialog, "oneClickCountInput");
  typeInto(count, typed);
  pressEnter();
  QCOMPARE(textOf(count), shown);
  QMetaObject::invokeMethod(setDialog, "close");
  QTRY_VERIFY(!isOpen(setDialog));
  QVERIFY(!m_settings->autoMonitor());
}

void TestSetPanels::oneClickFlow_writesSettingsInOrder_andCountdownEndsScan() {
  m_settings->setStartFreqStr(QStringLiteral("450.000"));
  m_settings->setStopFreqStr(QStringLiteral("950.000"));
  QVERIFY(!m_settings->peakSwitch());
  QVERIFY(m_settings->priorityFreqNum() != 6);
  QCOMPARE(m_settings->scanStatus(), QStringLiteral("stop"));

  openSetDialog();
  QObject *setDialog = child("plotSetBox", "setDialog");
  QQuickItem *start = inPopup(setDialog, "oneClickStartInput");
  QQuickItem *stop = inPopup(setDialog, "oneClickStopInput");
  QCOMPARE(textOf(start), QStringLiteral("450.000"));
  QCOMPARE(textOf(stop), QStringLiteral("950.000"));
  typeInto(start, QStringLiteral("600"));
  pressEnter();
  QCOMPARE(textOf(start), QStringLiteral("600.000"));
  typeInto(stop, QStringLiteral("700.5"));
  typeInto(inPopup(setDialog, "oneClickCountInput"), QStringLiteral("6"));
  // Nothing reaches the settings before the confirmation.
  QCOMPARE(m_settings->startFreqStr(), QStringLiteral("450.000"));

  QStringList order;
  QList<QMetaObject::Connection> connections;
  const auto record = [&](auto signal, const char *name) {
    connections << connect(m_settings, signal, this, [&order, name]() { order << QString::fromLatin1(name); });
  };
  record(&FreqScanSetModel::autoMonitorChanged, "autoMonitor");
  record(&FreqScanSetModel::continuousScan, "continuousScan");
  record(&FreqScanSetModel::peakSwitchChanged, "peakSwitch");
  record(&FreqScanSetModel::markPriorityFreqChanged, "markPriorityFreq");
  record(&FreqScanSetModel::priorityFreqNumChanged, "priorityFreqNum");
  record(&FreqScanSetModel::startFreqStrChanged, "startFreqStr");
  record(&FreqScanSetModel::stopFreqStrChanged, "stopFreqStr");
  click(firstButton(inPopup(setDialog, "setOkArea")));
  for (const auto &connection : connections) disconnect(connection);

  QCOMPARE(order, QStringList({"autoMonitor", "continuousScan", "peakSwitch", "markPriorityFreq", "priorityFreqNum",
                               "startFreqStr", "stopFreqStr"}));
  QTRY_VERIFY(!isOpen(setDialog));
  QVERIFY(m_settings->autoMonitor());
  QVERIFY(m_settings->peakSwitch());
  QVERIFY(!m_settings->markPriorityFreq());
  QCOMPARE(m_settings->priorityFreqNum(), 6);
  QCOMPARE(m_settings->startFreqStr(), QStringLiteral("600.000"));
  QCOMPARE(m_settings->stopFreqStr(), QStringLiteral("700.500"));
  QCOMPARE(m_settings->scanStatus(), QStringLiteral("continuous"));

  QVERIFY(item("countdownLabel")->isVisible());
  QCOMPARE(countdownText(), QStringLiteral("05:00"));
  QVERIFY(child("plotSetBox", "countdownTimer")->property("running").toBool());
  QVERIFY(item("oneClickStopButton")->isVisible());
  QVERIFY(!item("oneClickStartButton")->isVisible());

  tickCountdown(1);
  QCOMPARE(countdownText(), QStringLiteral("04:59"));
  tickCountdown(238);
  QCOMPARE(countdownText(), QStringLiteral("01:01"));
  QSignalSpy stopped(m_settings, &FreqScanSetModel::stopScan);
  tickCountdown(60);
  QCOMPARE(countdownText(), QStringLiteral("00:01"));
  QVERIFY(m_settings->autoMonitor());
  QCOMPARE(stopped.count(), 0);
  tickCountdown(1);
  QCOMPARE(stopped.count(), 1);
  QVERIFY(!m_settings->autoMonitor());
  QVERIFY(m_settings->markPriorityFreq());
  QCOMPARE(m_settings->scanStatus(), QStringLiteral("stop"));
  QVERIFY(!item("countdownLabel")->isVisible());
  QCOMPARE(item("plotSetBox")->property("totalTime").toInt(), kOneClickScanS);
  QVERIFY(item("oneClickStartButton")->isVisible());

  // The dialog shows the range the scan used the next time it opens, and the
  // count typed last.
  openSetDialog();
  QCOMPARE(textOf(inPopup(setDialog, "oneClickStartInput")), QStringLiteral("600.000"));
  QCOMPARE(textOf(inPopup(setDialog, "oneClickStopInput")), QStringLiteral("700.500"));
  QCOMPARE(textOf(inPopup(setDialog, "oneClickCountInput")), QStringLiteral("6"));
  QMetaObject::invokeMethod(setDialog, "close");
  QTRY_VERIFY(!isOpen(setDialog));

  m_settings->setPeakSwitch(false);
  m_settings->setStartFreqStr(QStringLiteral("450.000"));
  m_settings->setStopFreqStr(QStringLiteral("950.000"));
}

void TestSetPanels::oneClickStop_endsScan_andCountdownStartsOverFromFullTime() {
  // Another writer starts the scan; the panel counts it down all the same.
  m_settings->setAutoMonitor(true);
  m_settings->setMarkPriorityFreq(false);
  QCOMPARE(countdownText(), QStringLiteral("05:00"));
  tickCountdown(3);
  QCOMPARE(countdownText(), QStringLiteral("04:57"));

  QSignalSpy stopped(m_settings, &FreqScanSetModel::stopScan);
  click(item("oneClickStopButton"));
  QCOMPARE(stopped.count(), 1);
  QVERIFY(!m_settings->autoMonitor());
  QVERIFY(m_settings->markPriorityFreq());
  QVERIFY(!item("oneClickStopButton")->isVisible());
  QVERIFY(!item("countdownLabel")->isVisible());
  QCOMPARE(item("plotSetBox")->property("totalTime").toInt(), kOneClickScanS);

  m_settings->setAutoMonitor(true);
  QCOMPARE(countdownText(), QStringLiteral("05:00"));
  m_settings->setAutoMonitor(false);

  // No more sweeps from here on: the lists below are fed by the tests.
  SerialPortModel::instance()->closeSerialPort();
  QTRY_COMPARE(m_settings->scanStatus(), QStringLiteral("stop"));
}

// ---- monitoring lists -------------------------------------------------------------

void TestSetPanels::autoList_rowsFromModel_selectAll_selectClick_menuDelete_clear() {
  QCOMPARE(m_settings->monitorStatus(), QStringLiteral("auto"));
  VariantListModel *points = m_monitor->autoMonitorPoints();
  // One sweep of a one-click scan, in one go, so no late sweep can interleave.
  m_settings->setPriorityFreqNum(3);
  m_settings->setAutoMonitor(true);
  m_monitor->setLatestPoints(quietSweep());
  m_settings->setAutoMonitor(false);
  QCOMPARE(points->count(), 3);

  const QString list = QStringLiteral("autoMonitorList");
  const auto entry = [points](int row) { return points->at(row).toMap(); };
  const auto checkShown = [&](int row) {
    QQuickItem *r = listRow(list, row);
    return r ? r->findChild<QQuickItem *>("rowSelectCheck")->property("checked").toBool() : false;
  };
  QTRY_COMPARE(item(list)->property("count").toInt(), 3);
  for (int row = 0; row < 3; ++row) {
    QTRY_COMPARE(rowText(list, row, "rowFreText"), entry(row).value("fre").toString() + " MHz");
    QCOMPARE(rowText(list, row, "rowStrengthText"), entry(row).value("strength").toString() + " dBm");
    QVERIFY(checkShown(row));
  }
  QCOMPARE(rowText(list, 0, "rowFreText"), QStringLiteral("450.000 MHz"));
  QCOMPARE(rowText(list, 0, "rowStrengthText"), QStringLiteral("-100 dBm"));

  // Select all off and on again.
  QVERIFY(item("selectAllCheck")->property("checked").toBool());
  click(item("selectAllCheck"));
  QVERIFY(!m_monitor->selectAll());
  QVERIFY(!item("selectAllCheck")->property("checked").toBool());
  for (int row = 0; row < 3; ++row) {
    QVERIFY(!entry(row).value("select").toBool());
    QVERIFY(!checkShown(row));
  }
  click(item("selectAllCheck"));
  QVERIFY(m_monitor->selectAll());
  for (int row = 0; row < 3; ++row) QVERIFY(checkShown(row));

  // A row's check box asks the model to turn over the state it showed.
  click(listRow(list, 1)->findChild<QQuickItem *>("rowSelectCheck"));
  QVERIFY(!entry(1).value("select").toBool());
  QVERIFY(entry(0).value("select").toBool());
  QVERIFY(!checkShown(1));
  click(listRow(list, 1)->findChild<QQuickItem *>("rowSelectCheck"));
  QVERIFY(entry(1).value("select").toBool());

  // Left and right clicks make a row current; the menu deletes it.
  clickRow(listRow(list, 2));
  QCOMPARE(item(list)->property("currentRow").toInt(), 2);
  QCOMPARE(listRow(list, 2)->property("current").toBool(), true);
  QCOMPARE(QQmlProperty::read(listRow(list, 2), "border.color").value<QColor>(), QColor("deepskyblue"));
  QCOMPARE(QQmlProperty::read(listRow(list, 1), "border.color").value<QColor>(), QColor(Qt::transparent));
  const QString secondFre = entry(1).value("fre").toString();
  const QString thirdFre = entry(2).value("fre").toString();
  QObject *menu = child("monitorSetBox", "autoMonitorMenu");
  QVERIFY(menu);
  QSignalSpy removeRequest(m_monitor, &MonitorModel::removeAutoListAtIndex);
  clickRow(listRow(list, 0), Qt::RightButton);
  QCOMPARE(item(list)->property("currentRow").toInt(), 0);
  QTRY_VERIFY(isOpen(menu));
  QQuickItem *deleteItem = nullptr;
  QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, deleteItem), Q_ARG(int, 0));
  QVERIFY(deleteItem);
  QCOMPARE(textOf(deleteItem), QStringLiteral("删除当前监测点"));
  QQuickItem *blankItem = nullptr;
  QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, blankItem), Q_ARG(int, 1));
  QVERIFY(blankItem);
  QCOMPARE(textOf(blankItem), QString());
  QTRY_VERIFY(deleteItem->isVisible() && deleteItem->height() > 0);
  click(deleteItem);
  QCOMPARE(removeRequest.count(), 1);
  QCOMPARE(removeRequest.first().first().toInt(), 0);
  QTRY_VERIFY(!isOpen(menu));
  QCOMPARE(points->count(), 2);
  QTRY_COMPARE(item(list)->property("count").toInt(), 2);
  QTRY_COMPARE(rowText(list, 0, "rowFreText"), secondFre + " MHz");
  QCOMPARE(rowText(list, 1, "rowFreText"), thirdFre + " MHz");
  QCOMPARE(item(list)->property("currentRow").toInt(), -1);

  click(item("monitorClearButton"));
  QCOMPARE(points->count(), 0);
  QTRY_COMPARE(item(list)->property("count").toInt(), 0);
}

void TestSetPanels::assignButton_dialogSaysWhetherAnythingIsSelected() {
  m_settings->setAutoMonitor(true);
  m_monitor->setLatestPoints(quietSweep());
  m_settings->setAutoMonitor(false);
  QVERIFY(m_monitor->autoMonitorPoints()->count() > 0);
  QObject *dialog = child("monitorSetBox", "assignDialog");
  QVERIFY(dialog);

  // One entry still selected is enough.
  m_monitor->setSelectAll(false);
  click(listRow("autoMonitorList", 1)->findChild<QQuickItem *>("rowSelectCheck"));
  QCOMPARE(textOf(item("assignButton")), QStringLiteral("将优先频率分配到接收机"));
  click(item("assignButton"));
  QTRY_VERIFY(isOpen(dialog));
  QCOMPARE(textOf(inPopup(dialog, "assignNoticeText")), QStringLiteral("请连接你的无线话筒接收机 !"));
  click(firstButton(inPopup(dialog, "assignOkArea")));
  QTRY_VERIFY(!isOpen(dialog));

  m_monitor->setSelectAll(false);
  click(item("assignButton"));
  QTRY_VERIFY(isOpen(dialog));
  QCOMPARE(textOf(inPopup(dialog, "assignNoticeText")), QStringLiteral("未选择任何频点 !"));
  click(firstButton(inPopup(dialog, "assignOkArea")));
  QTRY_VERIFY(!isOpen(dialog));

  // An empty list has nothing selected either.
  m_monitor->setSelectAll(true);
  m_monitor->clearAutoMonitorPoints();
  click(item("assignButton"));
  QTRY_VERIFY(isOpen(dialog));
  QCOMPARE(textOf(inPopup(dialog, "assignNoticeText")), QStringLiteral("未选择任何频点 !"));
}

void TestSetPanels::manualList_rowsFromModel_menuDelete_clear() {
  m_settings->setMonitorStatus(QStringLiteral("manual"));
  const QString list = QStringLiteral("manualMonitorList");
  QVERIFY(item(list)->isVisible());
  VariantListModel *points = m_monitor->manualMonitorPoints();
  m_monitor->clearManualMonitorPoints();
  m_monitor->setLatestPoints({});
  m_monitor->appendManualMonitorPoint(600.012, -80.04);
  m_monitor->appendManualMonitorPoint(712.49, -71.26);
  m_monitor->appendManualMonitorPoint(800.0, -90.0);
  QTRY_COMPARE(item(list)->property("count").toInt(), 3);
  QTRY_COMPARE(rowText(list, 0, "rowFreText"), QStringLiteral("600.000 MHz"));
  QCOMPARE(rowText(list, 0, "rowStrengthText"), QStringLiteral("-80.0 dBm"));
  QCOMPARE(rowText(list, 1, "rowFreText"), QStringLiteral("712.500 MHz"));
  QCOMPARE(rowText(list, 1, "rowStrengthText"), QStringLiteral("-71.3 dBm"));
  QVERIFY(listRow(list, 2)->findChild<QQuickItem *>("rowSelectCheck")->property("checked").toBool());

  // The check box of a manual point shows checked and does nothing.
  QSignalSpy changed(m_monitor, &MonitorModel::pointsChanged);
  click(listRow(list, 2)->findChild<QQuickItem *>("rowSelectCheck"));
  QCOMPARE(changed.count(), 0);

  // A sweep rewrites the entries; the rows follow and the current row stays.
  clickRow(listRow(list, 1));
  QCOMPARE(item(list)->property("currentRow").toInt(), 1);
  m_monitor->setLatestPoints({{600.0, -66.5}, {712.5, -55.25}, {800.0, -91.0}});
  QTRY_COMPARE(rowText(list, 1, "rowStrengthText"), QStringLiteral("-55.25 dBm"));
  QVERIFY(listRow(list, 1)->property("current").toBool());

  QObject *menu = child("monitorSetBox", "manualMonitorMenu");
  QSignalSpy removeRequest(m_monitor, &MonitorModel::removeManualListAtIndex);
  clickRow(listRow(list, 1), Qt::RightButton);
  QTRY_VERIFY(isOpen(menu));
  QQuickItem *deleteItem = nullptr;
  QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, deleteItem), Q_ARG(int, 0));
  QVERIFY(deleteItem);
  QCOMPARE(textOf(deleteItem), QStringLiteral("删除当前监测点"));
  QTRY_VERIFY(deleteItem->isVisible() && deleteItem->height() > 0);
  click(deleteItem);
  QCOMPARE(removeRequest.count(), 1);
  QCOMPARE(removeRequest.first().first().toInt(), 1);
  QCOMPARE(points->count(), 2);
  QTRY_COMPARE(item(list)->property("count").toInt(), 2);
  QTRY_COMPARE(rowText(list, 1, "rowFreText"), QStringLiteral("800.000 MHz"));
  QCOMPARE(rowText(list, 0, "rowFreText"), QStringLiteral("600.000 MHz"));

  // The clear button empties the list of the mode shown, and only that one.
  m_settings->setAutoMonitor(true);
  m_monitor->setLatestPoints(quietSweep());
  m_settings->setAutoMonitor(false);
  const int autoCount = m_monitor->autoMonitorPoints()->count();
  QVERIFY(autoCount > 0);
  click(item("monitorClearButton"));
  QCOMPARE(points->count(), 0);
  QTRY_COMPARE(item(list)->property("count").toInt(), 0);
  QCOMPARE(m_monitor->autoMonitorPoints()->count(), autoCount);
  m_settings->setMonitorStatus(QStringLiteral("auto"));
}

// ---- mark panel ----------------------------------------------------------------

void TestSetPanels::markIcons_sendMarkUpdated_withToggledType_data() {
  QTest::addColumn<int>("slot");
  QTest::addColumn<QString>("typeBefore");
  QTest::addColumn<QString>("icon");
  QTest::addColumn<QString>("typeSent");
  QTest::newRow("peak on an off slot") << 0 << ""
                                       << "peakIcon"
                                       << "peak";
  QTest::newRow("peak on a peak slot turns it off") << 1 << "peak"
                                                    << "peakIcon"
                                                    << "";
  QTest::newRow("peak on a fixed slot") << 2 << "both"
                                        << "peakIcon"
                                        << "peak";
  QTest::newRow("peak on a valley slot") << 3 << "valley"
                                         << "peakIcon"
                                         << "peak";
  QTest::newRow("valley on an off slot") << 4 << ""
                                         << "valleyIcon"
                                         << "valley";
  QTest::newRow("valley on a valley slot turns it off") << 5 << "valley"
                                                        << "valleyIcon"
                                                        << "";
  QTest::newRow("valley on a fixed slot") << 6 << "both"
                                          << "valleyIcon"
                                          << "valley";
  QTest::newRow("valley on a peak slot") << 7 << "peak"
                                         << "valleyIcon"
                                         << "valley";
}

void TestSetPanels::markIcons_sendMarkUpdated_withToggledType() {
  QFETCH(int, slot);
  QFETCH(QString, typeBefore);
  QFETCH(QString, icon);
  QFETCH(QString, typeSent);
  m_settings->setMarkSwitch(true);
  QTRY_VERIFY(item("markPanel")->isVisible());
  emit m_marks->markUpdated(slot, QStringLiteral("612.000"), QStringLiteral("-70.000"), typeBefore);
  const MarkItem before = m_marks->marks().at(slot);
  QCOMPARE(before.type(), typeBefore);

  QQuickItem *box = markBox(slot);
  QVERIFY(box);
  QQuickItem *peak = box->findChild<QQuickItem *>("peakIcon");
  QQuickItem *valley = box->findChild<QQuickItem *>("valleyIcon");
  const bool peakOn = typeBefore == "peak" || typeBefore == "both";
  const bool valleyOn = typeBefore == "valley" || typeBefore == "both";
  QCOMPARE(peak->property("source").toUrl().toString(), peakOn ? QStringLiteral("qrc:/res/track_peak_icon_on.png")
                                                               : QStringLiteral("qrc:/res/track_peak_icon_off.png"));
  QCOMPARE(valley->property("source").toUrl().toString(), valleyOn
                                                              ? QStringLiteral("qrc:/res/track_valley_icon_on.png")
                                                              : QStringLiteral("qrc:/res/track_valley_icon_off.png"));

  QSignalSpy updated(m_marks, &MarkModel::markUpdated);
  click(box->findChild<QQuickItem *>(icon));
  QCOMPARE(updated.count(), 1);
  const QList<QVariant> args = updated.first();
  QCOMPARE(args.at(0).toInt(), slot);
  QCOMPARE(args.at(1).toString(), before.fre());
  QCOMPARE(args.at(2).toString(), before.dbm());
  QCOMPARE(args.at(3).toString(), typeSent);
  QCOMPARE(m_marks->marks().at(slot).type(), typeSent);
}

void TestSetPanels::markFrequency_editMakesFixedMark_andSlotsShowLevelAndColour() {
  const QStringList colours = {"#946a00", "#ff0000", "#ff7b00", "#fffb00", "#48ff00", "#00BFFF", "#b700ff", "#818181"};
  m_settings->setMarkSwitch(true);
  QTRY_VERIFY(item("markPanel")->isVisible());
  QCOMPARE(item("markList")->property("count").toInt(), MarkModel::kSlotCount);
  for (int slot = 0; slot < MarkModel::kSlotCount; ++slot) {
    QQuickItem *box = markBox(slot);
    QVERIFY(box);
    QCOMPARE(box->property("color").value<QColor>(), QColor(colours.at(slot)));
    QCOMPARE(textOf(box->findChild<QQuickItem *>("markDbmLabel")), m_marks->marks().at(slot).dbm() + " dBm");
    QCOMPARE(textOf(box->findChild<QQuickItem *>("markFreInput")), m_marks->marks().at(slot).fre());
  }

  emit m_marks->markUpdated(2, QStringLiteral("450.000"), QStringLiteral("0"), QStringLiteral("peak"));
  const QString dbmBefore = m_marks->marks().at(2).dbm();
  QQuickItem *field = markBox(2)->findChild<QQuickItem *>("markFreInput");
  QSignalSpy updated(m_marks, &MarkModel::markUpdated);
  typeInto(field, QStringLiteral("600.1"));
  pressEnter();
  QVERIFY(updated.count() >= 1);
  const QList<QVariant> args = updated.first();
  QCOMPARE(args.at(0).toInt(), 2);
  QCOMPARE(args.at(1).toString(), QStringLiteral("600.1"));
  QCOMPARE(args.at(2).toString(), dbmBefore);
  QCOMPARE(args.at(3).toString(), QStringLiteral("both"));
  const MarkItem fixed = m_marks->marks().at(2);
  QCOMPARE(fixed.type(), QStringLiteral("both"));
  QCOMPARE(fixed.fre(), QStringLiteral("600.100"));
  QCOMPARE(textOf(field), QStringLiteral("600.100"));
  QCOMPARE(markBox(2)->findChild<QQuickItem *>("peakIcon")->property("source").toUrl().toString(),
           QStringLiteral("qrc:/res/track_peak_icon_on.png"));

  // A sweep moves the levels; the labels follow.
  m_marks->updateMarkListAtCurrentPoints({{"x", QVariant::fromValue(QVector<double>{600.0, 600.1, 600.2})},
                                          {"y", QVariant::fromValue(QVector<double>{-80.0, -42.5, -81.0})}});
  QCOMPARE(m_marks->marks().at(2).dbm(), QStringLiteral("-42.500"));
  QTRY_COMPARE(textOf(markBox(2)->findChild<QQuickItem *>("markDbmLabel")), QStringLiteral("-42.500 dBm"));

  m_settings->setMarkSwitch(false);
  QTRY_VERIFY(!item("markPanel")->isVisible());
}

ORVIK_TEST_MAIN(TestSetPanels)
#include "tst_setpanels.moc"
