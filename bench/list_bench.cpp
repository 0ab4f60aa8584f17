// A ListBox filled to its limit and read back: the time per item must not
// grow with the list (no quadratic step in the list or the by-name look-up).
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <tavorin/tavorin.h>

namespace {

using tavorin::host::Form;
using tavorin::host::ListBox;
using tavorin::host::Variant;

std::shared_ptr<ListBox> NewList(const std::shared_ptr<Form>& form) {
  return std::dynamic_pointer_cast<ListBox>(form->AddControl("ListBox", "List1"));
}

void ReportPerItem(benchmark::State& state, int items) {
  state.counters["per_item"] =
      benchmark::Counter(static_cast<double>(items), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void TypedMembers(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto form = Form::Create("Form1");
    auto list = NewList(form);
    for (int i = 0; i < items; ++i) {
      list->AddItem("item " + std::to_string(i));
      list->ItemData(i, i);
    }
    std::size_t sum = 0;
    for (int i = 0; i < items; ++i) {
      sum += list->List(i).size() + static_cast<std::size_t>(list->ItemData(i)) +
             (list->Selected(i) ? 1 : 0);
    }
    benchmark::DoNotOptimize(sum);
  }
  ReportPerItem(state, items);
}

void ByName(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto form = Form::Create("Form1");
    auto list = NewList(form);
    for (int i = 0; i < items; ++i) {
      list->CallMethod("AddItem", {Variant("item " + std::to_string(i))});
      list->CallMethod("ItemData", {Variant(i), Variant(i)});
    }
    std::size_t sum = 0;
    for (int i = 0; i < items; ++i) {
      const Variant index(i);
      sum += tavorin::host::CStr(list->CallMethod("List", {index})).size() +
             static_cast<std::size_t>(tavorin::host::CLng(list->CallMethod("ItemData", {index}))) +
             (tavorin::host::CBool(list->CallMethod("Selected", {index})) ? 1 : 0);
    }
    benchmark::DoNotOptimize(sum);
  }
  ReportPerItem(state, items);
}

BENCHMARK(TypedMembers)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(ByName)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
