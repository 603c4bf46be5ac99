#pragma once

// Sweeps as the spectrum view hands them to the analysis models: frequencies
// on the 25 kHz grid with three decimals, whole-dBm levels from an RF scene
// with a noise floor, narrow microphone carriers and flat 8 MHz DTV channels.
// Shared by the model tests and the benchmarks; deterministic per seed.

#include <QPointF>
#include <QVariantMap>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <random>

namespace SweepSamples {

// The view's x values for n points over start..stop (MHz).
inline QVector<double> gridFrequencies(double startMhz, double stopMhz, int n) {
  constexpr double kGridMhz = 0.025;
  QVector<double> xs(n);
  if (n <= 0) return xs;
  const double step = n > 1 ? (stopMhz - startMhz) / (n - 1) : 0.0;
  for (int i = 0; i < n; ++i) xs[i] = std::round((i * step + startMhz) / kGridMhz) * kGridMhz;
  for (int i = 1; i < n; ++i) {
    if (xs[i - 1] >= xs[i]) xs[i] = xs[i - 1] + kGridMhz;
  }
  if (startMhz > xs[0]) {
    xs[0] = startMhz;
    for (int i = 1; i < n; ++i) {
      if (xs[i - 1] >= xs[i]) xs[i] = xs[i - 1] + kGridMhz;
    }
  }
  for (double &x : xs) x = std::round(x * 1000.0) / 1000.0;
  return xs;
}

// Whole-dBm levels of one sweep of the scene.
inline QVector<double> sceneLevels(const QVector<double> &xs, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> across(450.0, 950.0);
  struct Feature {
    double centreMhz;
    double halfWidthMhz;
    double levelDbm;
  };
  QVector<Feature> features;
  for (int i = 0; i < 6; ++i)  // wireless-microphone carriers
    features.append({across(random), 0.1, std::uniform_real_distribution<double>(-70.0, -30.0)(random)});
  for (int i = 0; i < 3; ++i)  // DTV channels
    features.append({across(random), 4.0, std::uniform_real_distribution<double>(-62.0, -58.0)(random)});
  std::uniform_int_distribution<int> noise(-3, 2);
  QVector<double> levels(xs.size());
  for (int i = 0; i < xs.size(); ++i) {
    double level = -100.0 + noise(random);
    for (const Feature &feature : features) {
      if (std::abs(xs[i] - feature.centreMhz) <= feature.halfWidthMhz)
        level = std::max(level, std::round(feature.levelDbm) + noise(random) / 2);
    }
    levels[i] = level;
  }
  return levels;
}

inline QVector<QPointF> pointsOf(const QVector<double> &xs, const QVector<double> &ys) {
  QVector<QPointF> points;
  points.reserve(xs.size());
  for (int i = 0; i < xs.size() && i < ys.size(); ++i) points.append(QPointF(xs[i], ys[i]));
  return points;
}

// A full sweep of the scene: 450-950 MHz unless told otherwise.
inline QVector<QPointF> sceneSweep(unsigned seed, int n = 1000, double startMhz = 450.0, double stopMhz = 950.0) {
  const QVector<double> xs = gridFrequencies(startMhz, stopMhz, n);
  return pointsOf(xs, sceneLevels(xs, seed));
}

// A sweep as the spectrum view hands it to the mark model: "x" and "y" lists.
inline QVariantMap markInput(const QVector<QPointF> &sweep) {
  QVector<double> xs;
  QVector<double> ys;
  for (const QPointF &p : sweep) {
    xs.append(p.x());
    ys.append(p.y());
  }
  return {{QStringLiteral("x"), QVariant::fromValue(xs)}, {QStringLiteral("y"), QVariant::fromValue(ys)}};
}

}  // namespace SweepSamples
