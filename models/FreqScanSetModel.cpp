#include "FreqScanSetModel.h"

#include "FreqRange.h"
#include "SystemConfig.h"

#include <QJsonValue>

const float FreqScanSetModel::MIN_FRE = FreqRange::kMinFreMhz;
const float FreqScanSetModel::MAX_FRE = FreqRange::kMaxFreMhz;
const float FreqScanSetModel::MIN_FRE_RANGE = FreqRange::kMinFreRangeMhz;
const float FreqScanSetModel::MIN_DBM = FreqRange::kMinDbm;
const float FreqScanSetModel::MAX_DBM = FreqRange::kMaxDbm;
const float FreqScanSetModel::MIN_DBM_RAGNE = FreqRange::kMinDbmRange;
const float FreqScanSetModel::X_MIN = 450.0f;
const float FreqScanSetModel::X_MAX = 950.0f;
const float FreqScanSetModel::Y_MIN = -110.0f;
const float FreqScanSetModel::Y_MAX = 0.0f;

FreqScanSetModel *FreqScanSetModel::instance() {
  static FreqScanSetModel s_instance;
  return &s_instance;
}

FreqScanSetModel::FreqScanSetModel() : QObject(nullptr) { initModel(); }

float FreqScanSetModel::getConfigFloatValue(const QJsonObject &object, const QString &key, float defaultValue) {
  if (!object.contains(key))
    return defaultValue;
  const QJsonValue value = object.value(key);
  if (value.isDouble())
    return float(value.toDouble());
  return FreqRange::toFloat(value.toString());
}

void FreqScanSetModel::initModel() {
  const QJsonObject config = SystemConfig::instance()->readConfigInfo();
  initFre(config);
  initDbm(config);
  initMarkSwitch(config);
  initPeakSwitch(config);
  initPriorityFreqNum(config);
  initMonitorStatus(config);
  connectPersistence();
}

void FreqScanSetModel::initFre(const QJsonObject &config) {
  const float start = getConfigFloatValue(config, QStringLiteral("startFreq"), MIN_FRE);
  const float stop = getConfigFloatValue(config, QStringLiteral("stopFreq"), MAX_FRE);
  const FreqRange::FreqPair range = FreqRange::normaliseStoredRange(start, stop);
  setStartFreqStr(FreqRange::formatFreq(range.startMhz));
  setStopFreqStr(FreqRange::formatFreq(range.stopMhz));
}

void FreqScanSetModel::initDbm(const QJsonObject &config) {
  const float lower = getConfigFloatValue(config, QStringLiteral("lowerDbmStr"), MIN_DBM);
  const float upper = getConfigFloatValue(config, QStringLiteral("upperDbmStr"), MAX_DBM);
  const FreqRange::DbmPair range = FreqRange::normaliseDbmRange(lower, upper);
  setLowerDbmStr(FreqRange::formatDbm(range.lower));
  setUpperDbmStr(FreqRange::formatDbm(range.upper));
}

void FreqScanSetModel::initMarkSwitch(const QJsonObject &config) {
  if (!config.contains(QStringLiteral("markSwitch")))
    return;
  m_markSwitch = config.value(QStringLiteral("markSwitch")).toBool(false);
  emit markSwitchChanged();
}

void FreqScanSetModel::initPeakSwitch(const QJsonObject &config) {
  if (!config.contains(QStringLiteral("peakSwitch")))
    return;
  m_peakSwitch = config.value(QStringLiteral("peakSwitch")).toBool(false);
  emit peakSwitchChanged();
}

void FreqScanSetModel::initPriorityFreqNum(const QJsonObject &config) {
  if (!config.contains(QStringLiteral("priorityFreqNum")))
    return;
  setPriorityFreqNum(config.value(QStringLiteral("priorityFreqNum")).toInt(0));
}

void FreqScanSetModel::initMonitorStatus(const QJsonObject &config) {
  if (!config.contains(QStringLiteral("monitorStatus")))
    return;
  setMonitorStatus(config.value(QStringLiteral("monitorStatus")).toString());
}

void FreqScanSetModel::saveValue(const QString &key, const QJsonValue &value) {
  QJsonObject config = SystemConfig::instance()->readConfigInfo();
  config.insert(key, value);
  SystemConfig::instance()->writeConfigToFile(config);
}

void FreqScanSetModel::connectPersistence() {
  connect(this, &FreqScanSetModel::startFreqStrChanged, this,
          [this] { saveValue(QStringLiteral("startFreq"), m_startFreqStr); });
  connect(this, &FreqScanSetModel::stopFreqStrChanged, this,
          [this] { saveValue(QStringLiteral("stopFreq"), m_stopFreqStr); });
  connect(this, &FreqScanSetModel::lowerDbmStrChanged, this,
          [this] { saveValue(QStringLiteral("lowerDbmStr"), m_lowerDbmStr); });
  connect(this, &FreqScanSetModel::upperDbmStrChanged, this,
          [this] { saveValue(QStringLiteral("upperDbmStr"), m_upperDbmStr); });
  connect(this, &FreqScanSetModel::markSwitchChanged, this,
          [this] { saveValue(QStringLiteral("markSwitch"), m_markSwitch); });
  connect(this, &FreqScanSetModel::peakSwitchChanged, this,
          [this] { saveValue(QStringLiteral("peakSwitch"), m_peakSwitch); });
  connect(this, &FreqScanSetModel::priorityFreqNumChanged, this,
          [this] { saveValue(QStringLiteral("priorityFreqNum"), m_priorityFreqNum); });
  connect(this, &FreqScanSetModel::monitorStatusChanged, this,
          [this] { saveValue(QStringLiteral("monitorStatus"), m_monitorStatus); });
}

void FreqScanSetModel::setStartFreqStr(const QString &text) {
  if (text == m_startFreqStr)
    return;
  m_startFreqStr = FreqRange::formatFreq(FreqRange::snapStart(FreqRange::toFloat(text)));
  emit startFreqStrChanged();
}

void FreqScanSetModel::setStopFreqStr(const QString &text) {
  if (text == m_stopFreqStr)
    return;
  const float stop = FreqRange::snapStop(FreqRange::toFloat(m_startFreqStr), FreqRange::toFloat(text));
  m_stopFreqStr = FreqRange::formatFreq(stop);
  emit stopFreqStrChanged();
}

void FreqScanSetModel::setLowerDbmStr(const QString &text) {
  if (text == m_lowerDbmStr)
    return;
  m_lowerDbmStr = text;
  emit lowerDbmStrChanged();
}

void FreqScanSetModel::setUpperDbmStr(const QString &text) {
  if (text == m_upperDbmStr)
    return;
  m_upperDbmStr = text;
  emit upperDbmStrChanged();
}

void FreqScanSetModel::setPeakSwitch(bool on) {
  if (on == m_peakSwitch)
    return;
  m_peakSwitch = on;
  emit peakSwitchChanged();
}

void FreqScanSetModel::setMarkSwitch(bool on) {
  m_markSwitch = on;
  emit markSwitchChanged();
}

void FreqScanSetModel::setAutoMonitor(bool on) {
  if (on == m_autoMonitor)
    return;
  m_autoMonitor = on;
  emit autoMonitorChanged();
}

void FreqScanSetModel::setScanStatus(const QString &status) {
  if (status == m_scanStatus)
    return;
  m_scanStatus = status;
  emit statusChanged();
}

void FreqScanSetModel::setMarkPriorityFreq(bool on) {
  m_markPriorityFreq = on;
  emit markPriorityFreqChanged();
}

void FreqScanSetModel::setPriorityFreqNum(int count) {
  if (count == m_priorityFreqNum)
    return;
  m_priorityFreqNum = count;
  emit priorityFreqNumChanged();
}

void FreqScanSetModel::setMonitorStatus(const QString &status) {
  if (status == m_monitorStatus)
    return;
  m_monitorStatus = status;
  emit monitorStatusChanged();
}

void FreqScanSetModel::updateScanStatus(QString value) {
  setScanStatus(value);
  saveValue(QStringLiteral("scanStatus"), value);
}
