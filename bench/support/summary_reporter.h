// A console reporter that also keeps, for a summary after the run, each
// benchmark's CPU time per iteration: the best of its repetitions (the least
// disturbed by other work on the machine) and the median the library reports
// (alone under --benchmark_display_aggregates_only). Summaries print ratios of
// the best times, with the medians' in brackets.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace tavorin::bench {

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  using Times = std::map<std::string, double>;

  /// `required`: the benchmarks whose times the summary divides.
  explicit SummaryReporter(std::vector<std::string> required) : required_(std::move(required)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.iterations == 0) continue;
      const std::string& name = run.run_name.function_name;
      const double seconds = run.GetAdjustedCPUTime() / UnitsPerSecond(run.time_unit);
      if (run.run_type == Run::RT_Iteration) {
        best_[name] = best_.contains(name) ? std::min(best_[name], seconds) : seconds;
        if (run.counters.contains("ratio")) inTurn_[name].push_back(run.counters.at("ratio"));
        KeepCounters(name, run);
      } else if (run.aggregate_name == "median") {
        median_[name] = seconds;
        KeepCounters(name, run);
      }
    }
  }

 protected:
  /// Whether the summary can be printed: every required benchmark has run.
  bool CanSummarise() const { return Complete(best_) || Complete(median_); }

  /// Whether `also`, which some rows need beyond the required benchmarks,
  /// have run too.
  bool HaveRun(std::initializer_list<const char*> also) const {
    const auto has = [&](const Times& times) {
      return std::ranges::all_of(also, [&](const char* name) { return times.contains(name); });
    };
    return (!Complete(best_) || has(best_)) && (!Complete(median_) || has(median_));
  }

  /// One summary line: `value` of the best times and of the medians.
  void PrintRow(const char* label, const std::function<double(const Times&)>& value,
                const char* goal) const {
    std::printf("  %-26s", label);
    if (Complete(best_)) std::printf(" %6.2f", value(best_));
    if (Complete(median_)) std::printf(" [%.2f]", value(median_));
    std::printf("   goal: %s\n", goal);
  }

  /// A benchmark that timed two operations in turn (RunInTurn), the ratio
  /// of their times beside its goal.
  struct InTurnRow {
    const char* label;
    const char* benchmark;
    const char* goal;
  };

  /// The rows of the benchmarks timed in turn that have run: each ratio's
  /// median over the repetitions, and their range where there were several.
  void PrintInTurn(std::initializer_list<InTurnRow> rows) const {
    bool headed = false;
    for (const InTurnRow& row : rows) {
      if (!inTurn_.contains(row.benchmark)) continue;
      if (!headed) std::printf("timed in turn, CPU time / reference: median [range]\n");
      headed = true;
      std::vector<double> ratios = inTurn_.at(row.benchmark);
      std::sort(ratios.begin(), ratios.end());
      std::printf("  %-26s %6.2f", row.label, ratios[ratios.size() / 2]);
      if (ratios.size() > 1) std::printf(" [%.2f to %.2f]", ratios.front(), ratios.back());
      std::printf("   goal: %s\n", row.goal);
    }
  }

  /// One summary line of sizes: `part` against `whole`, both shown.
  static void PrintSizeRow(const char* label, double part, double whole, const char* goal) {
    std::printf("  %-26s %6.3f (%.0f / %.0f bytes)   goal: %s\n", label, part / whole, part, whole,
                goal);
  }

  /// A subclass keeps the counters it needs of a run.
  virtual void KeepCounters(const std::string& /*name*/, const Run& /*run*/) {}

 private:
  static double UnitsPerSecond(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond:
        return 1e9;
      case benchmark::kMicrosecond:
        return 1e6;
      case benchmark::kMillisecond:
        return 1e3;
      default:
        return 1;
    }
  }

  bool Complete(const Times& times) const {
    return std::ranges::all_of(required_,
                               [&](const std::string& name) { return times.contains(name); });
  }

  std::vector<std::string> required_;
  Times best_;
  Times median_;
  std::map<std::string, std::vector<double>> inTurn_;
};

/// Runs the benchmarks the command line selects with `reporter`, then prints
/// its summary.
template <typename Reporter>
int RunWithSummary(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}

}  // namespace tavorin::bench
