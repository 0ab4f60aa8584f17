// Two operations timed in turn, for a goal that is one's time against the
// other's. Run as separate benchmarks, each meets the machine in its own
// moment: on a shared machine the same binary's TextBox write and read came
// out between 1.24 and 2.74 times the bag work alone from one process to the
// next (component_bench, twelve processes). Taken in turn, a block of rounds
// of each, both see the same spells of other work, and the median of the
// blocks' ratios passes over the blocks that one such spell fell on.
#pragma once

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

namespace tavorin::bench {

// The CPU time this thread has taken, in nanoseconds: time spent waiting
// while other work runs counts for neither operation.
inline std::int64_t ThreadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

/// Runs `measured` and `reference` in turn as the benchmark's loop, `rounds`
/// of each an iteration, which of them goes first alternating. Sets the
/// counters "ratio" (the median over the iterations of measured's time over
/// reference's), "measured_us" and "reference_us" (each one's mean time a
/// round).
template <typename Measured, typename Reference>
void RunInTurn(benchmark::State& state, int rounds, const Measured& measured,
               const Reference& reference) {
  std::int64_t measuredTotal = 0;
  std::int64_t referenceTotal = 0;
  std::vector<double> ratios;
  const auto timeRounds = [rounds](const auto& operation) {
    const std::int64_t begin = ThreadCpuNanoseconds();
    for (int round = 0; round < rounds; ++round) operation();
    return ThreadCpuNanoseconds() - begin;
  };
  bool measuredFirst = true;
  for (auto _ : state) {
    std::int64_t measuredTime = 0;
    std::int64_t referenceTime = 0;
    if (measuredFirst) {
      measuredTime = timeRounds(measured);
      referenceTime = timeRounds(reference);
    } else {
      referenceTime = timeRounds(reference);
      measuredTime = timeRounds(measured);
    }
    measuredFirst = !measuredFirst;
    measuredTotal += measuredTime;
    referenceTotal += referenceTime;
    ratios.push_back(static_cast<double>(measuredTime) /
                     static_cast<double>(std::max<std::int64_t>(referenceTime, 1)));
  }
  if (ratios.empty()) return;
  const auto middle = ratios.begin() + static_cast<std::ptrdiff_t>(ratios.size() / 2);
  std::nth_element(ratios.begin(), middle, ratios.end());
  const double roundsRun = static_cast<double>(ratios.size()) * rounds;
  state.counters["ratio"] = *middle;
  state.counters["measured_us"] = static_cast<double>(measuredTotal) / roundsRun / 1e3;
  state.counters["reference_us"] = static_cast<double>(referenceTotal) / roundsRun / 1e3;
}

}  // namespace tavorin::bench
