// The eight mark slots: which sweep point each type shows, edits from the
// tracking panel, the change signal, and the slot list as QML sees it.

#include "MarkItem.h"
#include "MarkModel.h"
#include "TestSupport.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {

QVariantMap sweepMap(const QVector<QPointF> &points) {
  QVector<double> xs;
  QVector<double> ys;
  for (const QPointF &p : points) {
    xs.append(p.x());
    ys.append(p.y());
  }
  return {{QStringLiteral("x"), QVariant::fromValue(xs)}, {QStringLiteral("y"), QVariant::fromValue(ys)}};
}

// A sweep in ascending frequency with distinct levels: -60 is the strongest, -100 the weakest.
QVector<QPointF> sampleSweep() {
  return {{598.0, -90.0}, {600.0, -70.0}, {601.5, -60.0}, {603.0, -100.0}, {605.0, -80.0}, {607.0, -95.0}};
}

QStringList field(const QList<MarkItem> &marks, QString (MarkItem::*getter)() const) {
  QStringList values;
  for (const MarkItem &mark : marks) values << (mark.*getter)();
  return values;
}

QStringList defaults(const QString &value) {
  return QStringList(QVector<QString>(MarkModel::kSlotCount, value).toList());
}

}  // namespace

class TestMarkModel : public QObject {
  Q_OBJECT

  MarkModel *model = nullptr;

  // Sets one slot through the panel's request, as QML does.
  void edit(int id, const QString &fre, const QString &dbm, const QString &type) {
    emit model->markUpdated(id, fre, dbm, type);
  }

private slots:
  void initTestCase() {
    model = MarkModel::instance();
    // A fresh model: eight slots, off, at 450.000 MHz reading "0".
    const QList<MarkItem> marks = model->marks();
    QCOMPARE(marks.size(), 8);
    for (int id = 0; id < marks.size(); ++id)
      QCOMPARE(marks[id], MarkItem(id, QStringLiteral("450.000"), QStringLiteral("0"), QString()));
    QVERIFY(model->currentPoints().isEmpty());
  }

  // Every test starts from no stored sweep and the default slots.
  void init() {
    model->updateMarkListAtCurrentPoints(QVariantMap());
    for (int id = 0; id < MarkModel::kSlotCount; ++id)
      edit(id, QStringLiteral("450.000"), QStringLiteral("0"), QString());
    QCOMPARE(field(model->marks(), &MarkItem::fre), defaults(QStringLiteral("450.000")));
    QCOMPARE(field(model->marks(), &MarkItem::type), defaults(QString()));
  }

  void slotsFollowTheSweep_data() {
    QTest::addColumn<QStringList>("setup");  // "id:type[:fre[:dbm]]" per edited slot, in order
    QTest::addColumn<QVector<QPointF>>("sweep");
    QTest::addColumn<QStringList>("expected");  // "id:fre:dbm" per slot to check

    const QVector<QPointF> sweep = sampleSweep();
    QTest::newRow("two peaks: strongest, then second strongest")
        << QStringList{"0:peak", "3:peak"} << sweep
        << QStringList{"0:601.500:-60.000", "3:600.000:-70.000", "1:450.000:0"};
    QTest::newRow("valley then peak") << QStringList{"1:valley", "2:peak"} << sweep
                                      << QStringList{"1:603.000:-100.000", "2:601.500:-60.000"};
    QTest::newRow("two valleys: weakest, then second weakest")
        << QStringList{"4:valley", "6:valley"} << sweep << QStringList{"4:603.000:-100.000", "6:607.000:-95.000"};
    QTest::newRow("fixed frequency on a point")
        << QStringList{"5:both:600.000"} << sweep << QStringList{"5:600.000:-70.000"};
    QTest::newRow("fixed frequency 1.5 MHz from the nearest point")
        << QStringList{"5:both:603.000"} << QVector<QPointF>{{601.5, -60.0}, {606.0, -90.0}}
        << QStringList{"5:603.000:-60.000"};
    QTest::newRow("fixed frequency 2.0 MHz from the nearest point")
        << QStringList{"5:both:608.000"} << QVector<QPointF>{{601.5, -60.0}, {606.0, -90.0}}
        << QStringList{"5:608.000:-90.000"};
    QTest::newRow("fixed frequency 2.1 MHz from the nearest point keeps its texts")
        << QStringList{"5:both:600.000:-42.000"} << QVector<QPointF>{{602.1, -60.0}, {610.0, -90.0}}
        << QStringList{"5:600.000:-42.000"};
    QTest::newRow("fixed frequency between two points: the stronger wins")
        << QStringList{"7:both:600.000"} << QVector<QPointF>{{599.0, -80.0}, {601.0, -70.0}}
        << QStringList{"7:600.000:-70.000"};
    QTest::newRow("any other type is a fixed frequency")
        << QStringList{"2:fixed:605.000"} << sweep << QStringList{"2:605.000:-80.000"};
    QTest::newRow("more peak slots than points: the last keeps its texts")
        << QStringList{"0:peak", "1:peak", "2:peak:455.000:-1.000"} << QVector<QPointF>{{600.0, -70.0}, {610.0, -80.0}}
        << QStringList{"0:600.000:-70.000", "1:610.000:-80.000", "2:455.000:-1.000"};
    QTest::newRow("peaks and valleys share the points")
        << QStringList{"0:peak", "1:valley"} << QVector<QPointF>{{600.0, -70.0}}
        << QStringList{"0:600.000:-70.000", "1:600.000:-70.000"};
    QTest::newRow("off slots are left alone")
        << QStringList{"3::612.000:-5.000"} << sweep << QStringList{"3:612.000:-5.000"};
    QTest::newRow("levels with decimals, three of them")
        << QStringList{"0:peak"} << QVector<QPointF>{{600.0125, -70.25}, {610.0, -80.0}}
        << QStringList{"0:600.013:-70.250"};
  }

  void slotsFollowTheSweep() {
    QFETCH(QStringList, setup);
    QFETCH(QVector<QPointF>, sweep);
    QFETCH(QStringList, expected);
    for (const QString &step : setup) {
      const QStringList parts = step.split(QLatin1Char(':'));
      const int id = parts[0].toInt();
      const QString fre = parts.value(2, QStringLiteral("450.000"));
      const QString dbm = parts.value(3, QStringLiteral("0"));
      edit(id, fre, dbm, parts[1]);
    }
    model->updateMarkListAtCurrentPoints(sweepMap(sweep));
    const QList<MarkItem> marks = model->marks();
    for (const QString &check : expected) {
      const QStringList parts = check.split(QLatin1Char(':'));
      const MarkItem &mark = marks[parts[0].toInt()];
      QCOMPARE(mark.fre(), parts[1]);
      QCOMPARE(mark.dbm(), parts[2]);
    }
  }

  void sweepIsStoredHighestFirstAndSignalsOnce() {
    QSignalSpy spy(model, &MarkModel::marksChanged);
    model->updateMarkListAtCurrentPoints(sweepMap(sampleSweep()));
    QCOMPARE(spy.count(), 1);
    const QVector<QPointF> points = model->currentPoints();
    QCOMPARE(points.size(), 6);
    for (int i = 1; i < points.size(); ++i) QVERIFY(points[i - 1].y() >= points[i].y());
    QCOMPARE(points.first(), QPointF(601.5, -60.0));
    QCOMPARE(points.last(), QPointF(603.0, -100.0));
  }

  void emptySweepLeavesSlotsButSignals() {
    edit(0, QStringLiteral("450.000"), QStringLiteral("0"), QStringLiteral("peak"));
    model->updateMarkListAtCurrentPoints(sweepMap(sampleSweep()));
    const QList<MarkItem> before = model->marks();
    QSignalSpy spy(model, &MarkModel::marksChanged);
    model->updateMarkListAtCurrentPoints(sweepMap({}));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(model->marks(), before);
    QVERIFY(model->currentPoints().isEmpty());
  }

  void unequalListsPairUpToTheShorter_data() {
    QTest::addColumn<int>("xCount");
    QTest::addColumn<int>("yCount");
    QTest::addColumn<int>("points");
    QTest::newRow("more frequencies") << 5 << 3 << 3;
    QTest::newRow("more levels") << 2 << 4 << 2;
    QTest::newRow("no levels") << 3 << 0 << 0;
    QTest::newRow("equal") << 4 << 4 << 4;
  }

  void unequalListsPairUpToTheShorter() {
    QFETCH(int, xCount);
    QFETCH(int, yCount);
    QFETCH(int, points);
    QVector<double> xs;
    QVector<double> ys;
    for (int i = 0; i < xCount; ++i) xs << 600.0 + i;
    for (int i = 0; i < yCount; ++i) ys << -90.0 - i;
    const QVariantMap map{{QStringLiteral("x"), QVariant::fromValue(xs)},
                          {QStringLiteral("y"), QVariant::fromValue(ys)}};
    const QVector<QPointF> extracted = MarkModel::extractPoints(map);
    QCOMPARE(extracted.size(), points);
    for (int i = 0; i < points; ++i) QCOMPARE(extracted[i], QPointF(600.0 + i, -90.0 - i));
    model->updateMarkListAtCurrentPoints(map);
    QCOMPARE(model->currentPoints().size(), points);
  }

  void plainListsAreAcceptedToo() {
    edit(0, QStringLiteral("450.000"), QStringLiteral("0"), QStringLiteral("peak"));
    const QVariantMap map{{QStringLiteral("x"), QVariantList{600.0, 601.0}},
                          {QStringLiteral("y"), QVariantList{-90, -80}}};
    model->updateMarkListAtCurrentPoints(map);
    QCOMPARE(model->marks()[0].fre(), QStringLiteral("601.000"));
    QCOMPARE(model->marks()[0].dbm(), QStringLiteral("-80.000"));
  }

  void edits_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("fre");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<QString>("storedFre");
    QTest::newRow("id 8") << 8 << "600.1" << false << "";
    QTest::newRow("id -1") << -1 << "600.1" << false << "";
    QTest::newRow("600.1") << 2 << "600.1" << true << "600.100";
    QTest::newRow("integer text") << 7 << "612" << true << "612.000";
    QTest::newRow("single precision") << 0 << "949.9999" << true << "950.000";
    QTest::newRow("not a number") << 1 << "abc" << true << "0.000";
    QTest::newRow("empty") << 3 << "" << true << "0.000";
  }

  void edits() {
    QFETCH(int, id);
    QFETCH(QString, fre);
    QFETCH(bool, applied);
    QFETCH(QString, storedFre);
    const QList<MarkItem> before = model->marks();
    QSignalSpy spy(model, &MarkModel::marksChanged);
    edit(id, fre, QStringLiteral("-77"), QStringLiteral("valley"));
    if (!applied) {
      QCOMPARE(spy.count(), 0);
      QCOMPARE(model->marks(), before);
      return;
    }
    QCOMPARE(spy.count(), 1);
    QList<MarkItem> expected = before;
    // Without a stored sweep only the edited slot changes, dbm and type as given.
    expected[id] = MarkItem(id, storedFre, QStringLiteral("-77"), QStringLiteral("valley"));
    QCOMPARE(model->marks(), expected);
  }

  void editRecomputesFromTheStoredSweep() {
    model->updateMarkListAtCurrentPoints(sweepMap(sampleSweep()));
    QSignalSpy spy(model, &MarkModel::marksChanged);
    edit(4, QStringLiteral("450.000"), QStringLiteral("0"), QStringLiteral("peak"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(model->marks()[4].fre(), QStringLiteral("601.500"));
    QCOMPARE(model->marks()[4].dbm(), QStringLiteral("-60.000"));
    // A second peak slot before it in list order takes the strongest point over.
    edit(1, QStringLiteral("450.000"), QStringLiteral("0"), QStringLiteral("peak"));
    QCOMPARE(model->marks()[1].fre(), QStringLiteral("601.500"));
    QCOMPARE(model->marks()[4].fre(), QStringLiteral("600.000"));
    // Switched off, a slot keeps what it showed.
    edit(4, QStringLiteral("600.000"), QStringLiteral("-70.000"), QString());
    QCOMPARE(model->marks()[4], MarkItem(4, QStringLiteral("600.000"), QStringLiteral("-70.000"), QString()));
  }

  void fixedMarkAtZeroFindsNothing() {
    model->updateMarkListAtCurrentPoints(sweepMap(sampleSweep()));
    edit(6, QStringLiteral("no number"), QStringLiteral("-1"), QStringLiteral("both"));
    QCOMPARE(model->marks()[6], MarkItem(6, QStringLiteral("0.000"), QStringLiteral("-1"), QStringLiteral("both")));
  }

  void listConvertsToAndFromVariantList() {
    const QList<MarkItem> marks = model->marks();
    const QVariant asVariant = QVariant::fromValue(marks);
    QVERIFY(asVariant.canConvert<QVariantList>());
    const QVariantList list = asVariant.value<QVariantList>();
    QCOMPARE(list.size(), 8);
    QCOMPARE(list[3].value<MarkItem>(), marks[3]);
    const QVariant back = QVariant(list);
    QVERIFY(back.canConvert<QList<MarkItem>>());
    QCOMPARE(back.value<QList<MarkItem>>(), marks);
    // A JavaScript array of plain objects converts as well.
    const QVariantList objects{QVariantMap{{"id", 2}, {"fre", "601.000"}, {"dbm", "-3"}, {"type", "peak"}}};
    QCOMPARE(QVariant(objects).value<QList<MarkItem>>(),
             QList<MarkItem>{MarkItem(2, QStringLiteral("601.000"), QStringLiteral("-3"), QStringLiteral("peak"))});
  }

  void qmlReadsTheSlotsAndSendsEdits() {
    model->updateMarkListAtCurrentPoints(sweepMap(sampleSweep()));
    QQmlEngine engine;
    engine.rootContext()->setContextProperty(QStringLiteral("markModel"), model);
    QQmlComponent component(&engine);
    component.setData(R"(
      import QtQuick 2.15
      Item {
        property int count: markModel.marks.length
        property string thirdFre: markModel.marks[2].fre
        property int lastId: markModel.marks[7].id
        property alias rows: repeater.count
        property string repeatedTypes: ""
        Repeater {
          id: repeater
          model: markModel.marks
          Item { Component.onCompleted: repeatedTypes += modelData.type + "," }
        }
        function makePeak(id) { markModel.markUpdated(id, "600.1", "x", "peak") }
      }
    )",
                      QUrl(QStringLiteral("qrc:/tst_markmodel.qml")));
    QScopedPointer<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));
    QCOMPARE(root->property("count").toInt(), 8);
    QCOMPARE(root->property("thirdFre").toString(), QStringLiteral("450.000"));
    QCOMPARE(root->property("lastId").toInt(), 7);
    QCOMPARE(root->property("rows").toInt(), 8);
    QCOMPARE(root->property("repeatedTypes").toString(), QStringLiteral(",,,,,,,,"));

    QMetaObject::invokeMethod(root.data(), "makePeak", Q_ARG(QVariant, 2));
    QCOMPARE(model->marks()[2].type(), QStringLiteral("peak"));
    QCOMPARE(model->marks()[2].fre(), QStringLiteral("601.500"));
    // The binding follows marksChanged.
    QCOMPARE(root->property("thirdFre").toString(), QStringLiteral("601.500"));
    ORVIK_VERIFY_NO_QML_WARNINGS();
  }
};

ORVIK_TEST_MAIN(TestMarkModel)
#include "tst_markmodel.moc"
