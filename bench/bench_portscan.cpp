// The port discovery's work per tick (every 500 ms): asking the system for its
// serial ports, the whole scan including the virtual-ports directory, and a
// tick that reuses the system's earlier answer.

#include "SerialPortScanner.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QSerialPortInfo>

static void BM_SystemSerialPorts(benchmark::State &state) {
  for (auto _ : state) benchmark::DoNotOptimize(QSerialPortInfo::availablePorts());
}
BENCHMARK(BM_SystemSerialPorts)->Unit(benchmark::kMillisecond);

static void BM_ScanSerialPorts(benchmark::State &state) {
  for (auto _ : state) benchmark::DoNotOptimize(SerialPortScanner::scanSerialPorts());
}
BENCHMARK(BM_ScanSerialPorts)->Unit(benchmark::kMillisecond);

// A tick when no port came or went: the device directory is listed, the
// system's answer of an earlier tick is reused, the virtual ports are read.
static void BM_ScanTick_NothingChanged(benchmark::State &state) {
  SerialPortScanner scanner;
  scanner.onScanTimeout();
  int ticks = 0;
  for (auto _ : state) {
    // Stay between the periodic system scans, as nine ticks in ten are.
    if (++ticks % SerialPortScanner::kSystemScanEveryTicks == 0) {
      state.PauseTiming();
      scanner.onScanTimeout();
      state.ResumeTiming();
      ++ticks;
    }
    scanner.onScanTimeout();
  }
}
BENCHMARK(BM_ScanTick_NothingChanged)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
