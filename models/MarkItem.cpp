#include "MarkItem.h"

#include <QVariantMap>

namespace MarkItemList {

QVariantList toVariantList(const QList<MarkItem> &marks) {
  QVariantList list;
  list.reserve(marks.size());
  for (const MarkItem &mark : marks) list.append(QVariant::fromValue(mark));
  return list;
}

QList<MarkItem> fromVariantList(const QVariantList &list) {
  QList<MarkItem> marks;
  marks.reserve(list.size());
  for (const QVariant &element : list) {
    if (element.userType() == qMetaTypeId<MarkItem>()) {
      marks.append(element.value<MarkItem>());
    } else if (element.canConvert<QVariantMap>()) {
      // A JavaScript object with the mark's fields.
      const QVariantMap map = element.toMap();
      marks.append(MarkItem(map.value(QStringLiteral("id")).toInt(), map.value(QStringLiteral("fre")).toString(),
                            map.value(QStringLiteral("dbm")).toString(), map.value(QStringLiteral("type")).toString()));
    }
  }
  return marks;
}

}  // namespace MarkItemList

void MarkItem::registerMetaTypes() {
  static const bool registered = [] {
    qRegisterMetaType<MarkItem>("MarkItem");
    qRegisterMetaType<QList<MarkItem>>("QList<MarkItem>");
    QMetaType::registerConverter<QList<MarkItem>, QVariantList>(&MarkItemList::toVariantList);
    QMetaType::registerConverter<QVariantList, QList<MarkItem>>(&MarkItemList::fromVariantList);
    return true;
  }();
  Q_UNUSED(registered);
}
