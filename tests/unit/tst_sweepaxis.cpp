// The frequencies of a sweep: on the 25 kHz grid, strictly ascending, never
// below the start or above the stop; dense sweeps share grid frequencies and
// keep the strongest level of the points at each.

#include "SweepAxis.h"
#include "TestSupport.h"

#include <cmath>

namespace {

constexpr double kToleranceMhz = 1e-9;

long long toKhz(double mhz) { return std::llround(mhz * 1000.0); }

bool onGrid(double mhz) { return toKhz(mhz) % 25 == 0; }

bool hasThreeDecimals(double mhz) { return std::abs(mhz * 1000.0 - double(toKhz(mhz))) < 1e-6; }

}  // namespace

class TestSweepAxis : public QObject {
  Q_OBJECT

private slots:
  void grid_data();
  void grid();
  void grid_eachPointSitsAtItsNearestGridFrequency_data();
  void grid_eachPointSitsAtItsNearestGridFrequency();
  void mergeLevels_keepsTheStrongestPointOfEachFrequency();
  void mergeLevels_withoutMerging_isTheLevels();
  void theoreticalStep_isTheSpanOverTheGaps();
};

void TestSweepAxis::grid_data() {
  QTest::addColumn<double>("start");
  QTest::addColumn<double>("stop");
  QTest::addColumn<int>("points");
  QTest::addColumn<int>("count");
  QTest::addColumn<double>("first");
  QTest::addColumn<double>("last");

  QTest::newRow("whole band, 1000 points") << 450.0 << 950.0 << 1000 << 1000 << 450.0 << 950.0;
  QTest::newRow("start off the grid, nearest line below") << 433.91 << 533.91 << 1000 << 1000 << 433.91 << 533.9;
  QTest::newRow("start off the grid, nearest line above") << 450.02 << 550.02 << 1000 << 1000 << 450.025 << 550.0;
  QTest::newRow("stop off the grid rounds down to a line") << 450.0 << 900.02 << 1000 << 1000 << 450.0 << 900.0;
  QTest::newRow("grid exactly full: 24.975 MHz") << 600.0 << 624.975 << 1000 << 1000 << 600.0 << 624.975;
  QTest::newRow("one grid step short: 24.95 MHz") << 600.0 << 624.95 << 1000 << 999 << 600.0 << 624.95;
  QTest::newRow("dense: 10 MHz") << 600.0 << 610.0 << 1000 << 401 << 600.0 << 610.0;
  QTest::newRow("dense: minimum span 0.3 MHz") << 600.0 << 600.3 << 1000 << 13 << 600.0 << 600.3;
  QTest::newRow("short frame over the band") << 450.0 << 950.0 << 11 << 11 << 450.0 << 950.0;
  QTest::newRow("one point") << 600.0 << 700.0 << 1 << 1 << 600.0 << 600.0;
  QTest::newRow("no points") << 600.0 << 700.0 << 0 << 0 << 0.0 << 0.0;
  QTest::newRow("stop below start") << 700.0 << 600.0 << 1000 << 1 << 700.0 << 700.0;
}

void TestSweepAxis::grid() {
  QFETCH(double, start);
  QFETCH(double, stop);
  QFETCH(int, points);
  QFETCH(int, count);
  QFETCH(double, first);
  QFETCH(double, last);

  const SweepAxis::Grid grid = SweepAxis::sweepGrid(start, stop, points);
  const QVector<double> &x = grid.frequencies;
  QCOMPARE(x.size(), count);
  QCOMPARE(grid.slotOfPoint.size(), points);
  QCOMPARE(SweepAxis::xValues(start, stop, points), x);
  if (count == 0)
    return;
  QCOMPARE(toKhz(x.first()), toKhz(first));
  QCOMPARE(toKhz(x.last()), toKhz(last));
  QVERIFY(x.first() >= start - kToleranceMhz);
  for (int i = 0; i < x.size(); ++i) {
    QVERIFY2(hasThreeDecimals(x[i]), qPrintable(QString::number(x[i], 'g', 17)));
    if (i > 0) {
      QVERIFY2(onGrid(x[i]), qPrintable(QStringLiteral("x[%1] = %2").arg(i).arg(x[i], 0, 'f', 6)));
      QVERIFY2(x[i] > x[i - 1], qPrintable(QStringLiteral("x[%1] not ascending").arg(i)));
    }
    if (stop > start)
      QVERIFY(x[i] <= stop + kToleranceMhz);
  }
  // Every point has a frequency, and the points keep their order.
  QCOMPARE(grid.slotOfPoint.first(), 0);
  QCOMPARE(grid.slotOfPoint.last(), count - 1);
  for (int i = 1; i < points; ++i)
    QVERIFY(grid.slotOfPoint[i] == grid.slotOfPoint[i - 1] || grid.slotOfPoint[i] == grid.slotOfPoint[i - 1] + 1);
}

void TestSweepAxis::grid_eachPointSitsAtItsNearestGridFrequency_data() {
  QTest::addColumn<double>("start");
  QTest::addColumn<double>("stop");
  QTest::addColumn<int>("points");
  QTest::newRow("whole band") << 450.0 << 950.0 << 1000;
  QTest::newRow("100 MHz") << 500.0 << 600.0 << 1000;
  QTest::newRow("dense 5 MHz") << 700.0 << 705.0 << 1000;
}

void TestSweepAxis::grid_eachPointSitsAtItsNearestGridFrequency() {
  QFETCH(double, start);
  QFETCH(double, stop);
  QFETCH(int, points);
  // Start and stop on the grid: no point is pinned, each lies within half a
  // grid step of where it was measured.
  const SweepAxis::Grid grid = SweepAxis::sweepGrid(start, stop, points);
  for (int i = 0; i < points; ++i) {
    const double measured = start + (stop - start) * i / (points - 1);
    const double shown = grid.frequencies[grid.slotOfPoint[i]];
    QVERIFY2(std::abs(shown - measured) <= SweepAxis::kGridStepMhz / 2 + kToleranceMhz,
             qPrintable(QStringLiteral("point %1 measured %2 shown %3").arg(i).arg(measured).arg(shown)));
  }
}

void TestSweepAxis::mergeLevels_keepsTheStrongestPointOfEachFrequency() {
  // 1000 points over 0.3 MHz: about 77 points per grid frequency.
  const SweepAxis::Grid grid = SweepAxis::sweepGrid(600.0, 600.3, 1000);
  QVector<double> levels(1000, -100.0);
  levels[500] = -40.0;
  levels[501] = -120.0;
  const QVector<double> merged = SweepAxis::mergeLevels(grid, levels);
  QCOMPARE(merged.size(), grid.frequencies.size());
  const int carrier = grid.slotOfPoint[500];
  QCOMPARE(toKhz(grid.frequencies[carrier]), 600150LL);
  for (int slot = 0; slot < merged.size(); ++slot)
    QCOMPARE(merged[slot], slot == carrier ? -40.0 : -100.0);
}

void TestSweepAxis::mergeLevels_withoutMerging_isTheLevels() {
  const SweepAxis::Grid grid = SweepAxis::sweepGrid(450.0, 950.0, 1000);
  QVector<double> levels(1000);
  for (int i = 0; i < levels.size(); ++i)
    levels[i] = -100.0 + (i % 37);
  QCOMPARE(SweepAxis::mergeLevels(grid, levels), levels);
}

void TestSweepAxis::theoreticalStep_isTheSpanOverTheGaps() {
  QCOMPARE(SweepAxis::theoreticalStep(450.0, 950.0, 1000), 500.0 / 999.0);
  QCOMPARE(SweepAxis::theoreticalStep(450.0, 950.0, 1), 0.0);
  QCOMPARE(SweepAxis::theoreticalStep(450.0, 950.0, 0), 0.0);
}

ORVIK_TEST_MAIN(TestSweepAxis)
#include "tst_sweepaxis.moc"
