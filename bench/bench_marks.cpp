// The mark model's work for one decoded sweep: pairing the view's frequencies
// and levels, one sort by level, and the eight slots recomputed (three peaks,
// three valleys, two fixed frequencies).

#include "../tests/unit/SweepSamples.h"
#include "MarkModel.h"
#include "MarkSlots.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kSweepPoints = 1000;
constexpr int kSweepVariants = 8;

using SweepSamples::markInput;

void setUpSlots(MarkModel *model) {
  const QStringList types = {"peak", "valley", "peak", "both", "valley", "peak", "both", "valley"};
  for (int id = 0; id < types.size(); ++id) emit model->markUpdated(id, QString::number(500 + id * 50), "0", types[id]);
}

void BM_MarkRecompute_1000points(benchmark::State &state) {
  MarkModel *model = MarkModel::instance();
  setUpSlots(model);
  QVector<QVariantMap> inputs;
  for (int seed = 1; seed <= kSweepVariants; ++seed)
    inputs.append(markInput(SweepSamples::sceneSweep(unsigned(seed), kSweepPoints)));
  int i = 0;
  for (auto _ : state) model->updateMarkListAtCurrentPoints(inputs[i++ % inputs.size()]);
}
BENCHMARK(BM_MarkRecompute_1000points)->Unit(benchmark::kMicrosecond);

// The slot rules alone, on points already sorted by level.
void BM_MarkSlotsOnly_1000points(benchmark::State &state) {
  QList<MarkItem> marks;
  const QStringList types = {"peak", "valley", "peak", "both", "valley", "peak", "both", "valley"};
  for (int id = 0; id < types.size(); ++id) marks.append(MarkItem(id, QString::number(500 + id * 50), "0", types[id]));
  QVector<QPointF> points = SweepSamples::sceneSweep(1, kSweepPoints);
  MarkSlots::sortPointsByY(points);
  for (auto _ : state) {
    MarkSlots::updateMarks(marks, points);
    benchmark::DoNotOptimize(marks.constFirst());
  }
}
BENCHMARK(BM_MarkSlotsOnly_1000points)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
