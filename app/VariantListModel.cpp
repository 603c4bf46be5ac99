#include "VariantListModel.h"

#include <QVariantMap>

VariantListModel::VariantListModel(QObject *parent) : QAbstractListModel(parent) {}

int VariantListModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : m_items.size();
}

QVariant VariantListModel::data(const QModelIndex &index, int /*role*/) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= m_items.size())
    return QVariant();
  return m_items.at(index.row());
}

QHash<int, QByteArray> VariantListModel::roleNames() const { return {{kModelDataRole, "modelData"}}; }

void VariantListModel::append(const QVariant &value) {
  const int row = m_items.size();
  beginInsertRows(QModelIndex(), row, row);
  m_items.append(value);
  endInsertRows();
}

void VariantListModel::append(const QList<QVariant> &values) {
  for (const QVariant &value : values)
    append(value);
}

void VariantListModel::insert(int pos, const QVariant &value) {
  if (pos < 0 || pos > m_items.size())
    return;
  beginInsertRows(QModelIndex(), pos, pos);
  m_items.insert(pos, value);
  endInsertRows();
}

int VariantListModel::indexOf(const QVariant &value) const { return m_items.indexOf(value); }

int VariantListModel::indexOf(const QString &key, const QVariant &value) const {
  for (int i = 0; i < m_items.size(); ++i) {
    if (m_items.at(i).toMap().value(key) == value)
      return i;
  }
  return -1;
}

void VariantListModel::remove(int index) {
  if (index < 0 || index >= m_items.size())
    return;
  beginRemoveRows(QModelIndex(), index, index);
  m_items.removeAt(index);
  endRemoveRows();
  emit listChanged();
}

void VariantListModel::update(int index, QVariant data) {
  // The removal is announced to views, but listChanged comes once, at the end.
  if (index >= 0 && index < m_items.size()) {
    beginRemoveRows(QModelIndex(), index, index);
    m_items.removeAt(index);
    endRemoveRows();
  }
  if (index >= 0 && index <= m_items.size())
    insert(index, data);
  emit listChanged();
}

void VariantListModel::clear() {
  beginResetModel();
  m_items.clear();
  endResetModel();
  emit listChanged();
}

int VariantListModel::count() const { return m_items.size(); }

QVariant VariantListModel::at(int index) const {
  return (index >= 0 && index < m_items.size()) ? m_items.at(index) : QVariant();
}

QList<QVariant> VariantListModel::data() const { return m_items; }
