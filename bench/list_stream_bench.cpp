// A ListBox written to a stream and restored onto another: texts of 8 to 24
// bytes, item data, every third item selected, extended selection. Beside
// it (a) the property bag work alone for the same keys (the same writes,
// Contents, SetContents, the same reads) and (b) the same items through
// msgpack, packed from the list under the same keys, unpacked, looked up by
// key and added to a ListBox, as the bag's own benchmark sets the two side
// by side. For scale, the items as bare msgpack arrays, keyless as no
// stream can be.
//
// After the runs a summary gives, at 32,767 items, the component's time
// against (a), the two timed in turn, and against (b), and its time per item
// at 32,767 items against its time per item at 1,000, each beside its goal. Last, the memory the
// write and restore of the full list take at their peak, beyond the restored
// list itself, against the stream's size, counted by replaced allocation
// functions.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <tavorin/tavorin.h>
#include <msgpack.hpp>

#include "catalogue/defaults_catalogue.h"
#include "groups/common_properties.h"
#include "support/counting_allocator.h"
#include "support/in_turn.h"
#include "support/msgpack_keys.h"
#include "support/summary_reporter.h"

namespace {

using tavorin::host::ByteArray;
using tavorin::host::Form;
using tavorin::host::ListBox;
using tavorin::host::PropertyBag;
using tavorin::host::Variant;

constexpr int kFew = 1000;
constexpr int kFull = tavorin::host::ListControl::kMaxItems;

std::shared_ptr<ListBox> NewListBox(const std::shared_ptr<Form>& form) {
  auto list = std::dynamic_pointer_cast<ListBox>(form->AddControl("ListBox", "List1"));
  list->MultiSelect(2);
  return list;
}

// A source list and a destination on a form built the same way.
struct Lists {
  std::shared_ptr<Form> sourceForm = Form::Create("Form1");
  std::shared_ptr<Form> destinationForm = Form::Create("Form1");
  std::shared_ptr<ListBox> source = NewListBox(sourceForm);
  std::shared_ptr<ListBox> destination = NewListBox(destinationForm);
  tavorin::host::ObjectRef sourceRef = source;
  tavorin::host::ObjectRef destinationRef = destination;

  explicit Lists(int items) {
    for (int i = 0; i < items; ++i) {
      std::string text = "Item " + std::to_string(i) + " ";
      text.resize(8 + static_cast<std::size_t>(i * 7 % 17), 'x');
      source->AddItem(text);
      source->ItemData(i, 1000 + i * 3);
      if (i % 3 == 0) source->Selected(i, true);
    }
  }
};

void CountItems(benchmark::State& state, int items) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * items);
}

void ComponentRound(tavorin::Tavorin& component, Lists& lists) {
  const ByteArray stream = component.ControlToStream(lists.sourceRef);
  component.StreamToControl(stream, lists.destinationRef);
}

template <int Items>
void BM_Component(benchmark::State& state) {
  Lists lists(Items);
  tavorin::Tavorin component;
  for (auto _ : state) ComponentRound(component, lists);
  CountItems(state, Items);
}

// The bag calls of the component's write and read of the same list, made
// beforehand: the envelope, the catalogue, the data format, the list's
// positions and every item's columns, each with the default it is given.
struct BagCall {
  std::string key;
  Variant value;
  Variant defaultValue;
};

std::vector<BagCall> BagCallsOf(const ListBox& list) {
  const Variant none = Variant::Missing();
  std::vector<BagCall> calls = {{"@SF#", Variant::Long(0x09000031), none},
                                {"@CN#", Variant("List1"), none}};
  for (const auto& entry :
       tavorin::detail::BuildDefaultsCatalogue(tavorin::detail::ControlType::ListBox)) {
    calls.push_back(
        {std::string(entry.keyCode),
         tavorin::detail::ConvertToValueType(list.GetProperty(entry.propertyName), entry.valueType),
         entry.defaultValue});
  }
  calls.push_back({"DtF", Variant::Object(nullptr), none});
  calls.push_back({"BCL", Variant::Integer(static_cast<std::int16_t>(list.ListCount())), none});
  calls.push_back(
      {"LIn", Variant::Integer(static_cast<std::int16_t>(list.ListIndex())), Variant::Integer(-1)});
  calls.push_back({"TIn", Variant::Integer(0), Variant::Integer(0)});
  calls.push_back({"NIn", Variant::Integer(static_cast<std::int16_t>(list.NewIndex())), none});
  for (int i = 0; i < list.ListCount(); ++i) {
    const std::string index = std::to_string(i);
    calls.push_back({"I" + index, Variant(list.List(i)), Variant("")});
    calls.push_back({"D" + index, Variant(list.ItemData(i)), Variant::Integer(0)});
    calls.push_back({"S" + index, Variant(list.Selected(i)), Variant(false)});
  }
  return calls;
}

void BagRound(const std::vector<BagCall>& calls) {
  PropertyBag out;
  for (const BagCall& call : calls) out.WriteProperty(call.key, call.value, call.defaultValue);
  const ByteArray image = out.Contents();
  PropertyBag in;
  in.SetContents(image);
  for (const BagCall& call : calls) {
    benchmark::DoNotOptimize(in.ReadProperty(call.key, call.defaultValue));
  }
}

void BM_ComponentInTurnWithBagAlone(benchmark::State& state) {
  Lists lists(kFull);
  tavorin::Tavorin component;
  const std::vector<BagCall> calls = BagCallsOf(*lists.source);
  tavorin::bench::RunInTurn(
      state, 1, [&] { ComponentRound(component, lists); }, [&] { BagRound(calls); });
}

template <int Items>
void BM_BagAlone(benchmark::State& state) {
  Lists lists(Items);
  const std::vector<BagCall> calls = BagCallsOf(*lists.source);
  for (auto _ : state) BagRound(calls);
  CountItems(state, Items);
}

// An item key ("I12") in `buffer`.
std::string_view KeyOf(std::array<char, 8>& buffer, char letter, int index) {
  buffer[0] = letter;
  return {buffer.data(),
          static_cast<std::size_t>(
              std::to_chars(buffer.data() + 1, buffer.data() + buffer.size(), index).ptr -
              buffer.data())};
}

template <int Items>
void BM_Msgpack(benchmark::State& state) {
  Lists lists(Items);
  const ListBox& source = *lists.source;
  ListBox& destination = *lists.destination;
  std::array<char, 8> key{};
  for (auto _ : state) {
    msgpack::sbuffer buffer;
    msgpack::packer<msgpack::sbuffer> packer(buffer);
    packer.pack_map(static_cast<std::uint32_t>(source.ListCount()) * 3);
    for (int i = 0; i < source.ListCount(); ++i) {
      packer.pack(KeyOf(key, 'I', i));
      packer.pack(source.List(i));
      packer.pack(KeyOf(key, 'D', i));
      packer.pack(source.ItemData(i));
      packer.pack(KeyOf(key, 'S', i));
      packer.pack(source.Selected(i));
    }
    const msgpack::object_handle handle = msgpack::unpack(buffer.data(), buffer.size());
    const msgpack::object_map& map = handle.get().via.map;
    const auto byKey = tavorin::bench::IndexByKey(map);
    destination.Clear();
    for (int i = 0; i < static_cast<int>(map.size / 3); ++i) {
      const msgpack::object& text = *byKey.at(KeyOf(key, 'I', i));
      destination.AddItem(std::string(text.via.str.ptr, text.via.str.size));
      destination.ItemData(i, byKey.at(KeyOf(key, 'D', i))->as<std::int32_t>());
      destination.Selected(i, byKey.at(KeyOf(key, 'S', i))->via.boolean);
    }
  }
  CountItems(state, Items);
}

template <int Items>
void BM_MsgpackArrays(benchmark::State& state) {
  Lists lists(Items);
  const ListBox& source = *lists.source;
  ListBox& destination = *lists.destination;
  for (auto _ : state) {
    msgpack::sbuffer buffer;
    msgpack::packer<msgpack::sbuffer> packer(buffer);
    packer.pack_array(static_cast<std::uint32_t>(source.ListCount()));
    for (int i = 0; i < source.ListCount(); ++i) {
      packer.pack_array(3);
      packer.pack(source.List(i));
      packer.pack(source.ItemData(i));
      packer.pack(source.Selected(i));
    }
    const msgpack::object_handle handle = msgpack::unpack(buffer.data(), buffer.size());
    const msgpack::object_array& items = handle.get().via.array;
    destination.Clear();
    int index = 0;
    for (const msgpack::object& item : std::span(items.ptr, items.size)) {
      const msgpack::object* fields = item.via.array.ptr;
      destination.AddItem(std::string(fields[0].via.str.ptr, fields[0].via.str.size));
      destination.ItemData(index, fields[1].as<std::int32_t>());
      destination.Selected(index, fields[2].via.boolean);
      ++index;
    }
  }
  CountItems(state, Items);
}

// One write and restore onto an empty list, measured by the bytes held: the
// peak beyond what was held before, less what the restored list keeps.
void BM_ComponentMemory(benchmark::State& state) {
  using tavorin::bench::MeasureMemory;
  Lists lists(kFull);
  tavorin::Tavorin component;
  std::size_t streamBytes = 0;
  std::size_t peakBeyondList = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = Form::Create("Form1");
    tavorin::host::ObjectRef destination = NewListBox(form);
    state.ResumeTiming();
    const tavorin::bench::MemoryUse use = MeasureMemory([&] {
      const ByteArray stream = component.ControlToStream(lists.sourceRef);
      streamBytes = stream.size();
      component.StreamToControl(stream, destination);
    });
    peakBeyondList = use.peak - use.kept;
  }
  state.counters["stream_bytes"] = static_cast<double>(streamBytes);
  state.counters["peak_bytes"] = static_cast<double>(peakBeyondList);
}

BENCHMARK_TEMPLATE(BM_Component, kFew)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Component, kFull)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_BagAlone, kFull)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Msgpack, kFull)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_MsgpackArrays, kFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComponentInTurnWithBagAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComponentMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

// Prints as usual, then the goals' ratios.
class ListSummary : public tavorin::bench::SummaryReporter {
 public:
  ListSummary() : SummaryReporter({kFewItems, kFullList, kBagAlone, kMsgpack, kMsgpackArrays}) {}

  void PrintSummary() const {
    std::printf("\nListBox of 32,767 items, write+read\n");
    PrintInTurn({{"component / bag alone", "BM_ComponentInTurnWithBagAlone", "at most 1.5"}});
    if (!CanSummarise()) return;
    std::printf("CPU time: best [median]\n");
    const auto over = [](const char* benchmark) {
      return [benchmark](const Times& times) { return times.at(kFullList) / times.at(benchmark); };
    };
    PrintRow("component / bag alone", over(kBagAlone), "-");
    PrintRow("component / msgpack", over(kMsgpack), "at most 1");
    PrintRow("component / keyless arrays", over(kMsgpackArrays), "-");
    PrintRow(
        "per item: 32,767 / 1,000",
        [](const Times& times) {
          return (times.at(kFullList) / kFull) / (times.at(kFewItems) / kFew);
        },
        "within 1.5 either way");
    if (memory_.contains("stream_bytes")) {
      PrintSizeRow("peak memory / stream", memory_.at("peak_bytes"), memory_.at("stream_bytes"),
                   "at most 3");
    }
  }

 private:
  void KeepCounters(const std::string& name, const Run& run) override {
    if (name != "BM_ComponentMemory") return;
    for (const char* counter : {"stream_bytes", "peak_bytes"}) {
      memory_[counter] = run.counters.at(counter).value;
    }
  }

  std::map<std::string, double> memory_;
  static constexpr const char* kFewItems = "BM_Component<kFew>";
  static constexpr const char* kFullList = "BM_Component<kFull>";
  static constexpr const char* kBagAlone = "BM_BagAlone<kFull>";
  static constexpr const char* kMsgpack = "BM_Msgpack<kFull>";
  static constexpr const char* kMsgpackArrays = "BM_MsgpackArrays<kFull>";
};

}  // namespace

int main(int argc, char** argv) { return tavorin::bench::RunWithSummary<ListSummary>(argc, argv); }
