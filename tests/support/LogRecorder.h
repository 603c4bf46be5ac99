#pragma once

// Records the text of every message while it exists (the models log through the
// LOG_* helpers) and passes each one on to the handler it replaced.

#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orvik::test {

class LogRecorder {
public:
  LogRecorder() {
    QMutexLocker lock(&mutex());
    previous() = qInstallMessageHandler(&LogRecorder::handle);
  }
  ~LogRecorder() {
    QMutexLocker lock(&mutex());
    qInstallMessageHandler(previous());
    previous() = nullptr;
    messages().clear();
  }
  LogRecorder(const LogRecorder &) = delete;
  LogRecorder &operator=(const LogRecorder &) = delete;

  QStringList take() {
    QMutexLocker lock(&mutex());
    QStringList taken;
    taken.swap(messages());
    return taken;
  }

  // How many recorded helper lines carry exactly this message. The helpers
  // send their line as a quoted string, so it ends in the message and a quote.
  static int count(const QStringList &lines, const QString &message) {
    const QString ending = QStringLiteral("] - ") + message + QLatin1Char('"');
    int found = 0;
    for (const QString &line : lines) found += line.endsWith(ending) ? 1 : 0;
    return found;
  }

  // Helper lines (of any message) written from the named function.
  static int countFrom(const QStringList &lines, const QString &function) {
    const QString field = QStringLiteral("[File: ") + function + QLatin1Char(']');
    int found = 0;
    for (const QString &line : lines) found += line.contains(field) ? 1 : 0;
    return found;
  }

private:
  static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    QtMessageHandler next = nullptr;
    {
      QMutexLocker lock(&mutex());
      messages().append(text);
      next = previous();
    }
    if (next) next(type, context, text);
  }
  static QMutex &mutex() {
    static QMutex m;
    return m;
  }
  static QStringList &messages() {
    static QStringList list;
    return list;
  }
  static QtMessageHandler &previous() {
    static QtMessageHandler handler = nullptr;
    return handler;
  }
};

}  // namespace orvik::test
