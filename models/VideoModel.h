#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QTimer>

// Screen recording through the ffmpeg shipped beside the executable ("bin/ffmpeg").
// start() and stop() both toggle; callers pick one by the running state. A
// recording is ended with ffmpeg's quit key "q", so it finishes the file itself;
// only the process started here is ever ended, never another ffmpeg of the user.
class VideoModel : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool running READ running WRITE setRunning NOTIFY statusChanged)
public:
  // How long the start of ffmpeg is awaited (the interface stays live meanwhile).
  static constexpr int kStartWaitMs = 3000;
  // After the quit key ffmpeg finishes the file; one that has not exited by then is terminated.
  static constexpr int kQuitWaitMs = 5000;
  // After a termination request, the time before the process is killed.
  static constexpr int kTerminateWaitMs = 2000;

  static VideoModel *instance();

  bool running() const;
  void setRunning(bool running);
  bool isRunning() const;
  bool isRecording() const;

  // The ffmpeg program beside the executable.
  static QString ffmpegPath();
  // The process of the current or last recording, and the end of its output
  // (ffmpeg's messages and progress), for diagnostics and tests.
  const QProcess &process() const { return m_process; }
  const QByteArray &outputTail() const { return m_outputTail; }

  Q_INVOKABLE void start();
  Q_INVOKABLE void stop();

signals:
  void playStateChanged();
  void statusChanged();

private:
  explicit VideoModel(QObject *parent = nullptr);

  void toggle();
  void startRecording();
  void stopRecording();
  // Ends our own ffmpeg (quit key, then terminate, then kill), waiting for each step.
  void finishProcess();
  void escalateStop();
  void onProcessFinished(int exitCode, QProcess::ExitStatus exitStatus);
  void collectOutput();

  static VideoModel *m_instance;
  bool m_running = false;
  QProcess m_process;
  // Paces the ending of a process that does not quit by itself after "q".
  QTimer m_stopTimer;
  bool m_quitSent = false;
  bool m_terminateSent = false;
  // The end of ffmpeg's output, logged when it exits on its own during a recording.
  QByteArray m_outputTail;
};
