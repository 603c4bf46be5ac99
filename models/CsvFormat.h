#pragma once

#include <QDateTime>
#include <QPointF>
#include <QString>
#include <QVector>

// The CSV layout of exported spectra and the time-stamped default file names.
// Pure functions, so the exact bytes can be checked without a file dialog.
namespace CsvFormat {

// "frequency,level": both in fixed notation with exactly three decimals, "." as decimal point.
QString formatLine(const QPointF &point);

// One line per point in the given order, each ended by "\n" (the last one included); no header, no quoting.
QString formatPoints(const QVector<QPointF> &points);

// The pattern's %1 replaced by the time formatted "yyyy-MM-dd_hh-mm-ss".
QString defaultFileName(const QString &pattern, const QDateTime &time);

}  // namespace CsvFormat
