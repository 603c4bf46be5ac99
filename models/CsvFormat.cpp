#include "CsvFormat.h"

namespace CsvFormat {
namespace {

constexpr int kDecimals = 3;

// QString::number never uses the locale, so the decimal point is always "." and
// there is no thousands separator.
QString fixed(double value) {
  return QString::number(value, 'f', kDecimals);
}

}  // namespace

QString formatLine(const QPointF &point) {
  return fixed(point.x()) + QLatin1Char(',') + fixed(point.y());
}

QString formatPoints(const QVector<QPointF> &points) {
  QString text;
  text.reserve(points.size() * 20);
  for (const QPointF &point : points) {
    text += formatLine(point);
    text += QLatin1Char('\n');
  }
  return text;
}

QString defaultFileName(const QString &pattern, const QDateTime &time) {
  return pattern.arg(time.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss")));
}

}  // namespace CsvFormat
