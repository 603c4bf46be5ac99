// The fast priority-frequency search against the stage-by-stage reference:
// identical points in identical order on structured and random sweeps.

#include "PrioritySearch.h"
#include "PrioritySearchReference.h"
#include "SweepSamples.h"
#include "TestSupport.h"

#include <QElapsedTimer>

#include <cmath>
#include <limits>
#include <random>

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The span the monitoring model starts the search with.
double spanOf(const QVector<QPointF> &points) {
  return points.size() < 2 ? 0.0 : points.last().x() - points.first().x();
}

QVector<QPointF> evenlySpaced(int n, double startMhz, double stopMhz, double levelDbm) {
  const QVector<double> xs = SweepSamples::gridFrequencies(startMhz, stopMhz, n);
  return SweepSamples::pointsOf(xs, QVector<double>(n, levelDbm));
}

// Identical doubles, NaN equal to NaN: the results must match bit for bit.
bool sameValue(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || a == b;
}

QString describe(const QPointF &p) {
  return QStringLiteral("(%1, %2)").arg(p.x(), 0, 'g', 17).arg(p.y(), 0, 'g', 17);
}

// Empty when equal; otherwise where the two results part.
QString difference(const QVector<QPointF> &fast, const QVector<QPointF> &reference) {
  const int common = std::min(fast.size(), reference.size());
  for (int i = 0; i < common; ++i) {
    if (!sameValue(fast[i].x(), reference[i].x()) || !sameValue(fast[i].y(), reference[i].y()))
      return QStringLiteral("entry %1: fast %2, reference %3").arg(i).arg(describe(fast[i]), describe(reference[i]));
  }
  if (fast.size() != reference.size())
    return QStringLiteral("fast took %1 points, reference %2").arg(fast.size()).arg(reference.size());
  return QString();
}

// A random sweep of one of several shapes, sorted or not.
struct RandomCase {
  QVector<QPointF> points;
  int count;
  QString shape;
};

RandomCase randomCase(std::mt19937 &random) {
  auto uniform = [&random](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  auto integer = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

  RandomCase c;
  const int n = integer(0, 4) == 0 ? integer(0, 8) : integer(2, 1000);
  // Wide spans mean thousands of stages for the reference; most cases stay narrower.
  const double span = integer(0, 3) == 0 ? uniform(100.0, 500.0) : uniform(0.1, 60.0);
  const double start = uniform(450.0, 950.0 - std::min(span, 499.0));
  const QVector<double> xs = SweepSamples::gridFrequencies(start, start + span, n);
  QVector<double> ys(n);
  switch (integer(0, 5)) {
    case 0:
      c.shape = QStringLiteral("flat");
      std::fill(ys.begin(), ys.end(), std::round(uniform(-110.0, -50.0)));
      break;
    case 1:
      c.shape = QStringLiteral("noisy");
      for (double &y : ys) y = uniform(-105.0, -95.0);
      break;
    case 2:
      c.shape = QStringLiteral("ties");
      for (double &y : ys) y = -100.0 + integer(0, 3);
      break;
    case 3:
      c.shape = QStringLiteral("half-dB steps");
      for (double &y : ys) y = -100.0 + 0.5 * integer(0, 8);
      break;
    case 4:
      c.shape = QStringLiteral("scene");
      ys = SweepSamples::sceneLevels(xs, unsigned(random()));
      break;
    default:
      c.shape = QStringLiteral("wide levels");
      for (double &y : ys) y = uniform(-110.0, 0.0);
      break;
  }
  c.points = SweepSamples::pointsOf(xs, ys);
  if (integer(0, 9) == 0) {
    c.shape += QStringLiteral(", sparse");
    QVector<QPointF> sparse;
    for (const QPointF &p : c.points)
      if (integer(0, 19) == 0) sparse.append(p);
    c.points = sparse;
  }
  if (integer(0, 14) == 0) {
    c.shape += QStringLiteral(", shuffled");
    std::shuffle(c.points.begin(), c.points.end(), random);
  }
  const int pick = integer(0, 5);
  c.count = pick == 0 ? integer(-2, 0) : pick == 1 ? integer(100, 999) : pick == 2 ? 999 : integer(1, 30);
  return c;
}

}  // namespace

class TestPrioritySearch : public QObject {
  Q_OBJECT

private slots:
  void distanceEqualToSpacingIsFarEnough_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<bool>("farEnough");
    // One point taken at 600.0.
    QTest::newRow("farther") << 600.5 << 0.4 << true;
    QTest::newRow("equal") << 600.5 << 0.5 << true;
    QTest::newRow("closer") << 600.5 << 0.6 << false;
    QTest::newRow("below, equal") << 599.5 << 0.5 << true;
    QTest::newRow("the taken point itself") << 600.0 << 0.05 << false;
    QTest::newRow("no spacing") << 600.0 << 0.0 << true;
  }

  void distanceEqualToSpacingIsFarEnough() {
    QFETCH(double, x);
    QFETCH(double, spacing);
    QFETCH(bool, farEnough);
    const QVector<QPointF> taken = {QPointF(600.0, -100.0)};
    QCOMPARE(PrioritySearch::isPointFarEnough(QPointF(x, -90.0), taken, spacing), farEnough);
    QCOMPARE(PrioritySearchReference::isPointFarEnough(QPointF(x, -90.0), taken, spacing), farEnough);
  }

  void knownResults_data() {
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<QPointF>>("expected");
    const QVector<QPointF> twoPoints = {{450.0, -100.0}, {950.0, -99.5}};
    QTest::newRow("two points, span apart") << twoPoints << 10 << twoPoints;
    QTest::newRow("lowest frequency within 1 dB first")
        << QVector<QPointF>{{450.0, -99.5}, {600.0, -100.0}, {700.0, -98.5}} << 1 << QVector<QPointF>{{450.0, -99.5}};
    // A wider window is only tried in a stage whose previous pass took a point.
    QTest::newRow("wider window after a take") << QVector<QPointF>{{450.0, -100.0}, {700.0, -90.0}, {950.0, -98.5}} << 2
                                               << QVector<QPointF>{{450.0, -100.0}, {950.0, -98.5}};
    // Nor is a window that would reach above the highest level.
    QTest::newRow("no window above the highest level")
        << QVector<QPointF>{{450.0, -100.0}, {950.0, -98.5}} << 2 << QVector<QPointF>{{450.0, -100.0}};
    QTest::newRow("no wider window once the quietest is used up")
        << QVector<QPointF>{{450.0, -90.0}, {500.0, -100.0}, {950.0, -95.0}} << 2 << QVector<QPointF>{{500.0, -100.0}};
    QTest::newRow("count 0") << twoPoints << 0 << QVector<QPointF>();
    QTest::newRow("negative count") << twoPoints << -1 << QVector<QPointF>();
    QTest::newRow("no points") << QVector<QPointF>() << 10 << QVector<QPointF>();
    // Five points 1 MHz apart: both ends, then the middle once the spacing is 2, then the rest at 1.
    QTest::newRow("evenly spaced, equal levels")
        << evenlySpaced(5, 600.0, 604.0, -100.0) << 10
        << QVector<QPointF>{{600.0, -100.0}, {604.0, -100.0}, {602.0, -100.0}, {601.0, -100.0}, {603.0, -100.0}};
    QTest::newRow("first n kept") << evenlySpaced(5, 600.0, 604.0, -100.0) << 3
                                  << QVector<QPointF>{{600.0, -100.0}, {604.0, -100.0}, {602.0, -100.0}};
    // 0.05 MHz apart: the spacing never comes down to it.
    QTest::newRow("closer than the floor")
        << evenlySpaced(3, 600.0, 600.1, -100.0) << 10 << QVector<QPointF>{{600.0, -100.0}, {600.1, -100.0}};
  }

  void knownResults() {
    QFETCH(QVector<QPointF>, points);
    QFETCH(int, count);
    QFETCH(QVector<QPointF>, expected);
    const QVector<QPointF> result = PrioritySearch::filteredPoints(points, count, 1.0, spanOf(points));
    QVERIFY2(difference(result, expected).isEmpty(), qPrintable(difference(result, expected)));
    const QVector<QPointF> reference = PrioritySearchReference::filteredPoints(points, count, 1.0, spanOf(points));
    QVERIFY2(difference(reference, expected).isEmpty(), qPrintable(difference(reference, expected)));
  }

  void sameAsReferenceOnStructuredSweeps_data() {
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("spacing");
    const QVector<QPointF> scene = SweepSamples::sceneSweep(7);
    for (int count : {0, 1, 2, 10, 30, 999})
      QTest::addRow("scene, 1000 points, n=%d", count) << scene << count << spanOf(scene);
    const QVector<QPointF> flat = evenlySpaced(1000, 450.0, 950.0, -100.0);
    for (int count : {10, 100}) QTest::addRow("flat, 1000 points, n=%d", count) << flat << count << spanOf(flat);
    const QVector<QPointF> flatNarrow = evenlySpaced(1000, 600.0, 624.975, -95.0);
    QTest::newRow("flat, 25 MHz, n=999") << flatNarrow << 999 << spanOf(flatNarrow);
    const QVector<QPointF> dense = SweepSamples::sceneSweep(11, 1000, 600.0, 610.0);
    QTest::newRow("scene, points denser than the grid, n=999") << dense << 999 << spanOf(dense);
    QTest::newRow("two points") << QVector<QPointF>{{450.0, -100.0}, {950.0, -99.5}} << 10 << 500.0;
    QTest::newRow("one point") << QVector<QPointF>{{600.0, -100.0}} << 10 << 0.0;

    QVector<QPointF> sparse;
    for (int i = 0; i < 12; ++i) sparse.append(QPointF(450.0 + i * i * 3.4, -100.0 + (i * 7) % 5));
    QTest::newRow("sparse") << sparse << 10 << spanOf(sparse);

    QVector<QPointF> steps = evenlySpaced(400, 600.0, 640.0, 0.0);
    for (int i = 0; i < steps.size(); ++i) steps[i].setY(-100.0 + (i * 13) % 7);
    QTest::newRow("whole-dB ties on the window edges") << steps << 25 << spanOf(steps);
    for (int i = 0; i < steps.size(); ++i) steps[i].setY(-100.0 + 0.25 * ((i * 13) % 9));
    QTest::newRow("quarter-dB levels") << steps << 40 << spanOf(steps);

    // Degenerate sweeps: what they give is odd, but both must give the same and end.
    const QVector<QPointF> sameFrequency(5, QPointF(600.0, -100.0));
    QTest::newRow("one frequency five times") << sameFrequency << 10 << 0.0;
    QVector<QPointF> descending = evenlySpaced(50, 600.0, 650.0, -100.0);
    std::reverse(descending.begin(), descending.end());
    QTest::newRow("descending frequencies") << descending << 10 << spanOf(descending);
    QVector<QPointF> withNaN = evenlySpaced(50, 600.0, 650.0, -100.0);
    withNaN[3].setY(kNaN);
    withNaN[9].setX(kNaN);
    QTest::newRow("NaN level and frequency") << withNaN << 20 << spanOf(withNaN);
    QVector<QPointF> nanFirst = withNaN;
    nanFirst[0].setY(kNaN);
    QTest::newRow("NaN first level") << nanFirst << 20 << spanOf(nanFirst);
    QVector<QPointF> infinite = evenlySpaced(20, 600.0, 620.0, -100.0);
    infinite.last().setX(kInf);
    QTest::newRow("infinite span") << infinite << 10 << spanOf(infinite);
    QTest::newRow("NaN spacing") << evenlySpaced(20, 600.0, 620.0, -100.0) << 10 << kNaN;
  }

  void sameAsReferenceOnStructuredSweeps() {
    QFETCH(QVector<QPointF>, points);
    QFETCH(int, count);
    QFETCH(double, spacing);
    const QVector<QPointF> fast = PrioritySearch::filteredPoints(points, count, 1.0, spacing);
    const QVector<QPointF> reference = PrioritySearchReference::filteredPoints(points, count, 1.0, spacing);
    QVERIFY2(difference(fast, reference).isEmpty(), qPrintable(difference(fast, reference)));
    QVERIFY(fast.size() <= std::max(count, 0));
  }

  void sameAsReferenceOnRandomSweeps() {
    std::mt19937 random(20240611);
    constexpr int kCases = 1500;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kCases; ++i) {
      const RandomCase c = randomCase(random);
      const double spacing = spanOf(c.points);
      const QVector<QPointF> fast = PrioritySearch::filteredPoints(c.points, c.count, 1.0, spacing);
      const QVector<QPointF> reference = PrioritySearchReference::filteredPoints(c.points, c.count, 1.0, spacing);
      const QString diff = difference(fast, reference);
      QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("case %1 (%2, %3 points, n=%4, span %5): %6")
                                              .arg(i)
                                              .arg(c.shape)
                                              .arg(c.points.size())
                                              .arg(c.count)
                                              .arg(spacing)
                                              .arg(diff)));
    }
    qInfo("%d random sweeps in %lld ms", kCases, timer.elapsed());
  }

  void levelStepAndSpacingOtherThanTheModelsAgree_data() {
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("spacing");
    QTest::newRow("step 0.5") << 0.5 << 40.0;
    QTest::newRow("step 3") << 3.0 << 40.0;
    QTest::newRow("step 0") << 0.0 << 40.0;
    QTest::newRow("negative step") << -1.0 << 40.0;
    QTest::newRow("spacing below the floor") << 1.0 << 0.04;
    QTest::newRow("spacing wider than the span") << 1.0 << 900.0;
  }

  void levelStepAndSpacingOtherThanTheModelsAgree() {
    QFETCH(double, step);
    QFETCH(double, spacing);
    const QVector<QPointF> points = SweepSamples::sceneSweep(3, 600, 600.0, 640.0);
    for (int count : {1, 10, 999}) {
      const QVector<QPointF> fast = PrioritySearch::filteredPoints(points, count, step, spacing);
      const QVector<QPointF> reference = PrioritySearchReference::filteredPoints(points, count, step, spacing);
      QVERIFY2(difference(fast, reference).isEmpty(), qPrintable(difference(fast, reference)));
    }
  }
};

ORVIK_TEST_MAIN(TestPrioritySearch)
#include "tst_prioritysearch.moc"
