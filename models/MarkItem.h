#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantList>

// One of the eight mark slots above the chart: its number, where it sits and
// what it reads there. A gadget so that QML can read and write its fields on
// the elements of the mark list.
class MarkItem {
  Q_GADGET
  Q_PROPERTY(int id READ id WRITE setId)
  Q_PROPERTY(QString fre READ fre WRITE setFre)
  Q_PROPERTY(QString dbm READ dbm WRITE setDbm)
  Q_PROPERTY(QString type READ type WRITE setType)
public:
  MarkItem() = default;
  MarkItem(int id, const QString &fre, const QString &dbm, const QString &type)
      : m_id(id), m_fre(fre), m_dbm(dbm), m_type(type) {}

  int id() const { return m_id; }
  QString fre() const { return m_fre; }
  QString dbm() const { return m_dbm; }
  QString type() const { return m_type; }
  void setId(int id) { m_id = id; }
  void setFre(const QString &fre) { m_fre = fre; }
  void setDbm(const QString &dbm) { m_dbm = dbm; }
  void setType(const QString &type) { m_type = type; }

  bool operator==(const MarkItem &other) const {
    return m_id == other.m_id && m_fre == other.m_fre && m_dbm == other.m_dbm && m_type == other.m_type;
  }
  bool operator!=(const MarkItem &other) const { return !(*this == other); }

  // Registers MarkItem and QList<MarkItem> with the meta-type system, with
  // converters between the list and a QVariantList, so that QML can use the
  // list as a model and hand a plain JavaScript array of marks back. Safe to
  // call more than once.
  static void registerMetaTypes();

  // Slot types as the tracking panel writes them; any other non-empty type
  // is a fixed-frequency mark.
  static QString peakType() { return QStringLiteral("peak"); }
  static QString valleyType() { return QStringLiteral("valley"); }
  static QString fixedType() { return QStringLiteral("both"); }

private:
  int m_id = 0;
  QString m_fre;
  QString m_dbm;
  QString m_type;
};

// QList<MarkItem> is declared through Qt's container template.
Q_DECLARE_METATYPE(MarkItem)

// The conversions behind the registered converters, also usable directly.
namespace MarkItemList {
QVariantList toVariantList(const QList<MarkItem> &marks);
// Elements that are neither a MarkItem nor a map of its fields are skipped.
QList<MarkItem> fromVariantList(const QVariantList &list);
}  // namespace MarkItemList
