#pragma once

// Answers the next file dialog that a tested call opens: Qt's own dialog
// (QFileDialog) is found as the active modal widget, filled in and accepted,
// or cancelled. What the dialog proposed is kept for the test to check.

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace orvik::test {

class FileDialogAnswer {
public:
  // An empty path cancels the dialog.
  explicit FileDialogAnswer(const QString &path) : m_path(path) {
    m_poll.setInterval(kPollMs);
    QObject::connect(&m_poll, &QTimer::timeout, [this]() { answer(); });
    m_poll.start();
  }
  FileDialogAnswer(const FileDialogAnswer &) = delete;
  FileDialogAnswer &operator=(const FileDialogAnswer &) = delete;

  bool answered() const { return m_answered; }
  QString caption() const { return m_caption; }
  // The file name the dialog proposed in its name field.
  QString proposedName() const { return m_proposedName; }
  QStringList nameFilters() const { return m_nameFilters; }
  QFileDialog::FileMode fileMode() const { return m_fileMode; }
  QFileDialog::AcceptMode acceptMode() const { return m_acceptMode; }
  bool usedQtDialog() const { return m_qtDialog; }
  bool showsDirsOnly() const { return m_dirsOnly; }

private:
  static constexpr int kPollMs = 10;

  void answer() {
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog || m_answered) return;
    m_answered = true;
    m_poll.stop();
    m_caption = dialog->windowTitle();
    m_nameFilters = dialog->nameFilters();
    m_fileMode = dialog->fileMode();
    m_acceptMode = dialog->acceptMode();
    m_qtDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
    m_dirsOnly = dialog->testOption(QFileDialog::ShowDirsOnly);
    if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) m_proposedName = edit->text();
    if (m_path.isEmpty()) {
      dialog->reject();
      return;
    }
    // selectFile() leaves a focused name field alone, so the answer is typed in.
    if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
      edit->setText(m_path);
    else
      dialog->selectFile(m_path);
    // QFileDialog's accept() (protected there) checks the entry as a click on its button would.
    static_cast<QDialog *>(dialog)->accept();
  }

  QString m_path;
  QTimer m_poll;
  bool m_answered = false;
  QString m_caption;
  QString m_proposedName;
  QStringList m_nameFilters;
  QFileDialog::FileMode m_fileMode = QFileDialog::AnyFile;
  QFileDialog::AcceptMode m_acceptMode = QFileDialog::AcceptOpen;
  bool m_qtDialog = false;
  bool m_dirsOnly = false;
};

}  // namespace orvik::test
