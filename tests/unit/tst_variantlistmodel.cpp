#include "TestSupport.h"
#include "VariantListModel.h"

#include <QSignalSpy>

// What a view sees: each announced change as one word, in order.
class ChangeLog : public QObject {
public:
  explicit ChangeLog(VariantListModel *model) {
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int) { events << QStringLiteral("ins%1").arg(first); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int) { events << QStringLiteral("rem%1").arg(first); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { events << QStringLiteral("reset"); });
    connect(model, &VariantListModel::listChanged, this, [this] { events << QStringLiteral("changed"); });
  }
  QStringList events;
};

class TestVariantListModel : public QObject {
  Q_OBJECT

private:
  static void fill(VariantListModel &model, int n) {
    for (int i = 0; i < n; ++i)
      model.append(QVariant(i * 10));
  }
  static QVariantList values(const VariantListModel &model) { return model.data(); }

private slots:
  void operations_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("index");
    QTest::addColumn<QVariantList>("expected");
    QTest::addColumn<QStringList>("events");
    const QVariantList five = {0, 10, 20, 30, 40};
    QTest::newRow("update replaces") << "update" << 2 << QVariantList{0, 10, 99, 30, 40}
                                     << QStringList{"rem2", "ins2", "changed"};
    QTest::newRow("update at count appends") << "update" << 5 << QVariantList{0, 10, 20, 30, 40, 99}
                                             << QStringList{"ins5", "changed"};
    QTest::newRow("update past end only signals") << "update" << 9 << five << QStringList{"changed"};
    QTest::newRow("update negative only signals") << "update" << -1 << five << QStringList{"changed"};
    QTest::newRow("remove middle") << "remove" << 1 << QVariantList{0, 20, 30, 40}
                                   << QStringList{"rem1", "changed"};
    QTest::newRow("remove -1 does nothing") << "remove" << -1 << five << QStringList{};
    QTest::newRow("remove count does nothing") << "remove" << 5 << five << QStringList{};
    QTest::newRow("insert front") << "insert" << 0 << QVariantList{99, 0, 10, 20, 30, 40} << QStringList{"ins0"};
    QTest::newRow("insert at count appends") << "insert" << 5 << QVariantList{0, 10, 20, 30, 40, 99}
                                             << QStringList{"ins5"};
    QTest::newRow("insert past end ignored") << "insert" << 6 << five << QStringList{};
    QTest::newRow("clear") << "clear" << 0 << QVariantList{} << QStringList{"reset", "changed"};
  }

  void operations() {
    QFETCH(QString, op);
    QFETCH(int, index);
    QFETCH(QVariantList, expected);
    QFETCH(QStringList, events);
    VariantListModel model;
    fill(model, 5);
    ChangeLog log(&model);
    if (op == "update")
      model.update(index, 99);
    else if (op == "remove")
      model.remove(index);
    else if (op == "insert")
      model.insert(index, 99);
    else if (op == "clear")
      model.clear();
    QCOMPARE(values(model), expected);
    QCOMPARE(log.events, events);
    QCOMPARE(model.rowCount(), expected.size());
  }

  void appendAnnouncesRowsWithoutListChanged() {
    VariantListModel model;
    ChangeLog log(&model);
    model.append(QVariantList{1, 2, 3});
    QCOMPARE(log.events, (QStringList{"ins0", "ins1", "ins2"}));
    QCOMPARE(model.count(), 3);
  }

  void dataAndLookups() {
    VariantListModel model;
    model.append(QVariantMap{{"fre", "470.000"}, {"select", true}});
    model.append(QVariantMap{{"fre", "520.025"}});
    model.append(QVariant(7));
    QCOMPARE(model.roleNames(), (QHash<int, QByteArray>{{Qt::UserRole + 1, "modelData"}}));
    QCOMPARE(model.data(model.index(2), Qt::DisplayRole), QVariant(7));
    QCOMPARE(model.data(model.index(2), Qt::UserRole + 1), QVariant(7));
    QVERIFY(!model.at(3).isValid());
    QVERIFY(!model.at(-1).isValid());
    QCOMPARE(model.indexOf(QVariant(7)), 2);
    QCOMPARE(model.indexOf(QVariant(8)), -1);
    QCOMPARE(model.indexOf("fre", "520.025"), 1);
    QCOMPARE(model.indexOf("fre", "999.000"), -1);
    // An element without the key (or not a map) compares as an empty value.
    QCOMPARE(model.indexOf("select", QVariant()), 1);
  }
};

ORVIK_TEST_MAIN(TestVariantListModel)
#include "tst_variantlistmodel.moc"
