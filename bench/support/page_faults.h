// The page faults a benchmark's rounds take: memory the C library hands back
// to the kernel between rounds is faulted in again at the next, a cost that
// shows in CPU time but in no profile of the code itself.
#pragma once

#include <sys/resource.h>

#include <algorithm>

#include <benchmark/benchmark.h>

namespace tavorin::bench {

inline long MinorPageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

/// Runs `round` as the benchmark's loop and counts its page faults a round.
template <typename Round>
void RunCountingPageFaults(benchmark::State& state, const Round& round) {
  const long before = MinorPageFaults();
  for (auto _ : state) round();
  state.counters["page_faults"] =
      static_cast<double>(MinorPageFaults() - before) /
      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

}  // namespace tavorin::bench
