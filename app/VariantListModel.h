#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QVariant>

// A list of arbitrary values for QML views; every role returns the element.
class VariantListModel : public QAbstractListModel {
  Q_OBJECT
public:
  static constexpr int kModelDataRole = Qt::UserRole + 1;

  explicit VariantListModel(QObject *parent = nullptr);

  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QHash<int, QByteArray> roleNames() const override;

  void append(const QVariant &value);
  void append(const QList<QVariant> &values);
  void insert(int pos, const QVariant &value);
  int indexOf(const QVariant &value) const;
  int indexOf(const QString &key, const QVariant &value) const;

  Q_INVOKABLE void remove(int index);
  Q_INVOKABLE void update(int index, QVariant data);
  Q_INVOKABLE void clear();
  Q_INVOKABLE int count() const;
  Q_INVOKABLE QVariant at(int index) const;
  Q_INVOKABLE QList<QVariant> data() const;

signals:
  void listChanged();

private:
  QList<QVariant> m_items;
};
