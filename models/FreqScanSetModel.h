#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

// The user's scan settings and chart switches: range to sweep, level range,
// peak-hold and mark switches, the one-click scan state and the monitoring
// mode. Restored from the system configuration at start and written back on
// every change; carries the scan requests to the engine and the chart.
class FreqScanSetModel : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString startFreqStr READ startFreqStr WRITE setStartFreqStr NOTIFY startFreqStrChanged)
  Q_PROPERTY(QString stopFreqStr READ stopFreqStr WRITE setStopFreqStr NOTIFY stopFreqStrChanged)
  Q_PROPERTY(QString lowerDbmStr READ lowerDbmStr WRITE setLowerDbmStr NOTIFY lowerDbmStrChanged)
  Q_PROPERTY(QString upperDbmStr READ upperDbmStr WRITE setUpperDbmStr NOTIFY upperDbmStrChanged)
  Q_PROPERTY(bool peakSwitch READ peakSwitch WRITE setPeakSwitch NOTIFY peakSwitchChanged)
  Q_PROPERTY(bool markSwitch READ markSwitch WRITE setMarkSwitch NOTIFY markSwitchChanged)
  Q_PROPERTY(bool autoMonitor READ autoMonitor WRITE setAutoMonitor NOTIFY autoMonitorChanged)
  Q_PROPERTY(QString scanStatus READ scanStatus WRITE setScanStatus NOTIFY statusChanged)
  Q_PROPERTY(bool markPriorityFreq READ markPriorityFreq WRITE setMarkPriorityFreq NOTIFY markPriorityFreqChanged)
  Q_PROPERTY(int priorityFreqNum READ priorityFreqNum WRITE setPriorityFreqNum NOTIFY priorityFreqNumChanged)
  Q_PROPERTY(QString monitorStatus READ monitorStatus WRITE setMonitorStatus NOTIFY monitorStatusChanged)
public:
  static const float MIN_FRE;
  static const float MAX_FRE;
  static const float MIN_FRE_RANGE;
  static const float MIN_DBM;
  static const float MAX_DBM;
  static const float MIN_DBM_RAGNE;
  static const float X_MIN;
  static const float X_MAX;
  static const float Y_MIN;
  static const float Y_MAX;

  static FreqScanSetModel *instance();

  QString startFreqStr() const { return m_startFreqStr; }
  QString stopFreqStr() const { return m_stopFreqStr; }
  QString lowerDbmStr() const { return m_lowerDbmStr; }
  QString upperDbmStr() const { return m_upperDbmStr; }
  bool peakSwitch() const { return m_peakSwitch; }
  bool markSwitch() const { return m_markSwitch; }
  bool autoMonitor() const { return m_autoMonitor; }
  QString scanStatus() const { return m_scanStatus; }
  bool markPriorityFreq() const { return m_markPriorityFreq; }
  int priorityFreqNum() const { return m_priorityFreqNum; }
  QString monitorStatus() const { return m_monitorStatus; }

  void setStartFreqStr(const QString &text);
  void setStopFreqStr(const QString &text);
  void setLowerDbmStr(const QString &text);
  void setUpperDbmStr(const QString &text);
  void setPeakSwitch(bool on);
  void setMarkSwitch(bool on);
  void setAutoMonitor(bool on);
  void setScanStatus(const QString &status);
  void setMarkPriorityFreq(bool on);
  void setPriorityFreqNum(int count);
  void setMonitorStatus(const QString &status);

  Q_INVOKABLE void updateScanStatus(QString value);

signals:
  void startFreqStrChanged();
  void stopFreqStrChanged();
  void lowerDbmStrChanged();
  void upperDbmStrChanged();
  void peakSwitchChanged();
  void markSwitchChanged();
  void autoMonitorChanged();
  void statusChanged();
  void markPriorityFreqChanged();
  void priorityFreqNumChanged();
  void monitorStatusChanged();

  void singleScan();
  void continuousScan();
  void stopScan();
  void clearPeakPoints();

private:
  FreqScanSetModel();

  void initModel();
  void initFre(const QJsonObject &config);
  void initDbm(const QJsonObject &config);
  void initMarkSwitch(const QJsonObject &config);
  void initPeakSwitch(const QJsonObject &config);
  void initPriorityFreqNum(const QJsonObject &config);
  void initMonitorStatus(const QJsonObject &config);
  void connectPersistence();
  static float getConfigFloatValue(const QJsonObject &object, const QString &key, float defaultValue);
  static void saveValue(const QString &key, const QJsonValue &value);

  QString m_startFreqStr = QStringLiteral("450.000");
  QString m_stopFreqStr = QStringLiteral("950.000");
  QString m_lowerDbmStr = QStringLiteral("-110.000");
  QString m_upperDbmStr = QStringLiteral("0.000");
  bool m_peakSwitch = false;
  bool m_markSwitch = false;
  bool m_autoMonitor = false;
  QString m_scanStatus = QStringLiteral("stop");
  bool m_markPriorityFreq = false;
  int m_priorityFreqNum = 10;
  QString m_monitorStatus = QStringLiteral("auto");
};
