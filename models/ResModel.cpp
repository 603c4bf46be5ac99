#include "ResModel.h"

#include "CsvFormat.h"
#include "LoggerService.h"

#include <QDateTime>
#include <QFileDialog>
#include <QSaveFile>
#include <QTextStream>

ResModel *ResModel::m_instance = nullptr;

ResModel *ResModel::instance() {
  if (!m_instance) m_instance = new ResModel();
  return m_instance;
}

ResModel::ResModel(QObject *parent) : QObject(parent) {}

void ResModel::saveCsv(const QString &defaultFileName, const QVector<QPointF> &points) {
  if (points.isEmpty()) {
    LOG_INFO(QStringLiteral("没有频谱图数据可供保存"));
    return;
  }
  const QString path =
      getSaveFilePath(QStringLiteral("CSV"), defaultFileName, QStringLiteral("CSV 文件 (*.csv);;所有文件 (*)"));
  if (path.isEmpty()) {
    LOG_INFO(QStringLiteral("取消保存频谱图数据"));
    return;
  }
  // Written to a temporary file that replaces the target only when complete, so a
  // failed export never leaves a truncated table behind (nor destroys an old one).
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
    LOG_INFO(QStringLiteral("保存频谱图数据失败，无法创建文件"));
    return;
  }
  QTextStream stream(&file);
  stream << CsvFormat::formatPoints(points);
  stream.flush();
  if (stream.status() != QTextStream::Ok || !file.commit()) {
    LOG_INFO(QStringLiteral("保存频谱图数据失败，无法创建文件"));
    return;
  }
  LOG_INFO(QStringLiteral("保存频谱图数据成功"));
}

QString ResModel::getSaveFilePath(const QString &typeName, const QString &defaultFileName, const QString &filter) {
  const QString name = CsvFormat::defaultFileName(defaultFileName, QDateTime::currentDateTime());
  const QString title = tr("保存 %1").arg(typeName);
  // Qt's own dialog, the same on every platform; it asks before replacing a file.
  return QFileDialog::getSaveFileName(nullptr, title, name, filter, nullptr, QFileDialog::DontUseNativeDialog);
}
