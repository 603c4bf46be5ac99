#pragma once

// The analyser simulator (tinysa-sim) as a child process of a test, and the
// small look-ups that tests of the device link and its panels share.

#include <QElapsedTimer>
#include <QProcess>
#include <QQuickItem>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace orvik::test {

// Its link appears among the ports ("link: <path>" on its output) once started.
class SimulatorProcess {
public:
  ~SimulatorProcess() { stop(); }

  bool start(const QStringList &args) {
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QString::fromLocal8Bit(qgetenv("ORVIK_TINYSA_SIM")), args);
    if (!m_process.waitForStarted(5000))
      return false;
    QElapsedTimer timer;
    timer.start();
    while (m_link.isEmpty() && timer.elapsed() < 5000) {
      if (!m_process.canReadLine())
        m_process.waitForReadyRead(200);
      while (m_process.canReadLine()) {
        const QByteArray line = m_process.readLine().trimmed();
        if (line.startsWith("link: "))
          m_link = QString::fromLocal8Bit(line.mid(6));
      }
    }
    return !m_link.isEmpty();
  }

  void stop() {
    if (m_process.state() == QProcess::NotRunning)
      return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
      m_process.kill();
    m_process.waitForFinished(2000);
  }

  bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
  QString link() const { return m_link; }

private:
  QProcess m_process;
  QString m_link;
};

// Position of the port record with this "portName" in a port list, or -1.
inline int indexOfPort(const QVariantList &ports, const QString &portName) {
  for (int i = 0; i < ports.size(); ++i) {
    if (ports.at(i).toMap().value(QStringLiteral("portName")).toString() == portName)
      return i;
  }
  return -1;
}

// Depth-first through the visual tree, which also reaches the content of popups.
inline QQuickItem *findVisual(QQuickItem *root, const QString &objectName) {
  if (!root)
    return nullptr;
  if (root->objectName() == objectName)
    return root;
  for (QQuickItem *child : root->childItems()) {
    if (QQuickItem *found = findVisual(child, objectName))
      return found;
  }
  return nullptr;
}

}  // namespace orvik::test
