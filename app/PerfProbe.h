#pragma once

// A measuring probe for the performance figures in docs/PERFORMANCE.md. It is
// off unless the environment variable ORVIK_PERF_LOG names a file; then it
// appends one line per event, each with the time of CLOCK_MONOTONIC in
// nanoseconds (the clock of the simulator's --timing-log):
//
//   started <ns>               the probe is installed (the application object and the log exist)
//   <mark> <ns>                a named moment of the start-up (mark())
//   shown <ns>                 the main window's first repaint is done
//   sweep <n> taken <ns>       the chart received sweep n (0 = the first of the run)
//   sweep <n> painted <ns>     the chart's paint that draws sweep n ended
//   sweep <n> presented <ns>   the window's repaint that carries it is done
//   gap <ms> at <ns>           the main thread served its 10 ms heartbeat only after this long (gaps over 25 ms)
//   heartbeats <count> max-gap <ms>   when the application quits
//
// "Done" for a repaint means the event loop went idle after the window's paint
// (and the flush to the screen that follows it in the same pass), so the figure
// is an upper bound. Everything runs on the main thread.
namespace PerfProbe {

// Starts the probe when ORVIK_PERF_LOG is set; call once on the main thread
// after the application object exists.
void install();
bool enabled();
// Notes a named moment ("main-page-load"); a word without spaces.
void mark(const char *what);
void sweepTaken();
void sweepPainted();

}  // namespace PerfProbe
