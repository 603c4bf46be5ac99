#include "MarkModel.h"

#include "MarkSlots.h"

#include <QVariantList>

MarkModel *MarkModel::m_instance = nullptr;

namespace {

const QString kDefaultFre = QStringLiteral("450.000");
const QString kDefaultDbm = QStringLiteral("0");

// The sweep view hands over QVector<double>; QML and tests may pass plain lists.
QVector<double> toDoubles(const QVariant &value) {
  if (value.userType() == qMetaTypeId<QVector<double>>()) return value.value<QVector<double>>();
  const QVariantList list = value.toList();
  QVector<double> numbers;
  numbers.reserve(list.size());
  for (const QVariant &element : list) numbers.append(element.toDouble());
  return numbers;
}

}  // namespace

MarkModel *MarkModel::instance() {
  if (!m_instance) m_instance = new MarkModel;
  return m_instance;
}

MarkModel::MarkModel() : QObject(nullptr) {
  MarkItem::registerMetaTypes();
  qRegisterMetaType<QVector<double>>("QVector<double>");
  m_marks.reserve(kSlotCount);
  for (int id = 0; id < kSlotCount; ++id) m_marks.append(MarkItem(id, kDefaultFre, kDefaultDbm, QString()));
  connect(this, &MarkModel::markUpdated, this, &MarkModel::onMarkUpdated, Qt::DirectConnection);
}

QVector<QPointF> MarkModel::extractPoints(const QVariantMap &points) {
  return MarkSlots::extractPoints(toDoubles(points.value(QStringLiteral("x"))),
                                  toDoubles(points.value(QStringLiteral("y"))));
}

void MarkModel::sortPointsByY(QVector<QPointF> &points) {
  MarkSlots::sortPointsByY(points);
}

void MarkModel::updateMarks(const QVector<QPointF> &points) {
  MarkSlots::updateMarks(m_marks, points);
}

void MarkModel::updateMarkListAtCurrentPoints(const QVariantMap &points) {
  QVector<QPointF> sweep = extractPoints(points);
  sortPointsByY(sweep);
  m_currentPoints = std::move(sweep);
  updateMarks(m_currentPoints);
  emit marksChanged();
}

void MarkModel::onMarkUpdated(int id, const QString &fre, const QString &dbm, const QString &type) {
  if (id < 0 || id >= m_marks.size()) return;
  MarkItem &slot = m_marks[id];
  // The typed frequency is kept as the panel shows it: single precision, three decimals.
  slot.setFre(MarkSlots::formatValue(double(fre.toFloat())));
  slot.setDbm(dbm);
  slot.setType(type);
  updateMarks(m_currentPoints);
  emit marksChanged();
}
