// The property bag's image against msgpack and JSON, on the entries of a
// stored list of 32,767 items: item texts ("I<n>"), item data ("D<n>", Long)
// and selection ("S<n>", Boolean). Each format writes every entry into its
// image, and reads the image back and looks every name up, giving a Variant
// as the bag does. A plain copy of the bag's image is the limit.
//
// After the runs a summary line gives the bag's write+read time against each
// format's, and its image size against msgpack's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <msgpack.hpp>
#include <nlohmann/json.hpp>
#include <tavorin/tavorin.h>

using tavorin::host::ByteArray;
using tavorin::host::CBool;
using tavorin::host::CLng;
using tavorin::host::CStr;
using tavorin::host::PropertyBag;
using tavorin::host::Variant;
using tavorin::host::VarType;

namespace {

constexpr int kEntries = 100000;

struct Entry {
  std::string name;
  Variant value;
};

const std::vector<Entry>& ListEntries() {
  static const std::vector<Entry> entries = [] {
    std::vector<Entry> made;
    made.reserve(kEntries);
    for (int item = 0; made.size() < kEntries; ++item) {
      const std::string index = std::to_string(item);
      const std::size_t textLength = 8 + static_cast<std::size_t>(item * 7 % 17);  // 8 to 24
      std::string text = "Item " + index + " ";
      text.resize(textLength, 'x');
      made.push_back({"I" + index, Variant::String(text)});
      if (made.size() < kEntries) made.push_back({"D" + index, Variant::Long(1000 + item * 3)});
      if (made.size() < kEntries) made.push_back({"S" + index, Variant::Boolean(item % 3 == 0)});
    }
    return made;
  }();
  return entries;
}

ByteArray BagImage() {
  PropertyBag bag;
  for (const Entry& entry : ListEntries()) bag.WriteProperty(entry.name, entry.value);
  return bag.Contents();
}

msgpack::sbuffer MsgpackImage() {
  msgpack::sbuffer buffer;
  msgpack::packer<msgpack::sbuffer> packer(buffer);
  packer.pack_map(static_cast<std::uint32_t>(ListEntries().size()));
  for (const Entry& entry : ListEntries()) {
    packer.pack(entry.name);
    switch (entry.value.Type()) {
      case VarType::String:
        packer.pack(*entry.value.Get<std::string>());
        break;
      case VarType::Long:
        packer.pack(*entry.value.Get<std::int32_t>());
        break;
      default:
        packer.pack(*entry.value.Get<bool>());
        break;
    }
  }
  return buffer;
}

std::string JsonImage() {
  nlohmann::json object = nlohmann::json::object();
  for (const Entry& entry : ListEntries()) {
    switch (entry.value.Type()) {
      case VarType::String:
        object[entry.name] = *entry.value.Get<std::string>();
        break;
      case VarType::Long:
        object[entry.name] = *entry.value.Get<std::int32_t>();
        break;
      default:
        object[entry.name] = *entry.value.Get<bool>();
        break;
    }
  }
  return object.dump();
}

Variant FromMsgpack(const msgpack::object& value) {
  switch (value.type) {
    case msgpack::type::STR:
      return Variant::String(std::string(value.via.str.ptr, value.via.str.size));
    case msgpack::type::BOOLEAN:
      return Variant::Boolean(value.via.boolean);
    default:
      return Variant::Long(value.as<std::int32_t>());
  }
}

Variant FromJson(const nlohmann::json& value) {
  if (value.is_string()) return Variant::String(value.get<std::string>());
  if (value.is_boolean()) return Variant::Boolean(value.get<bool>());
  return Variant::Long(value.get<std::int32_t>());
}

void SetItems(benchmark::State& state, std::size_t imageBytes) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kEntries);
  state.counters["image_bytes"] = static_cast<double>(imageBytes);
}

void BM_BagWrite(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) {
    const ByteArray image = BagImage();
    size = image.size();
    benchmark::DoNotOptimize(image.data());
  }
  SetItems(state, size);
}

void BM_BagRead(benchmark::State& state) {
  const ByteArray image = BagImage();
  for (auto _ : state) {
    PropertyBag bag;
    bag.SetContents(image);
    for (const Entry& entry : ListEntries()) {
      const Variant value = bag.ReadProperty(entry.name);
      benchmark::DoNotOptimize(&value);
    }
  }
  SetItems(state, image.size());
}

void BM_MsgpackWrite(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) {
    const msgpack::sbuffer image = MsgpackImage();
    size = image.size();
    benchmark::DoNotOptimize(image.data());
  }
  SetItems(state, size);
}

void BM_MsgpackRead(benchmark::State& state) {
  const msgpack::sbuffer image = MsgpackImage();
  for (auto _ : state) {
    const msgpack::object_handle handle = msgpack::unpack(image.data(), image.size());
    const msgpack::object_map& map = handle.get().via.map;
    std::unordered_map<std::string_view, const msgpack::object*> byName;
    byName.reserve(map.size);
    for (const msgpack::object_kv& pair : std::span(map.ptr, map.size)) {
      byName.emplace(std::string_view(pair.key.via.str.ptr, pair.key.via.str.size), &pair.val);
    }
    for (const Entry& entry : ListEntries()) {
      const Variant value = FromMsgpack(*byName.at(entry.name));
      benchmark::DoNotOptimize(&value);
    }
  }
  SetItems(state, image.size());
}

void BM_JsonWrite(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) {
    const std::string image = JsonImage();
    size = image.size();
    benchmark::DoNotOptimize(image.data());
  }
  SetItems(state, size);
}

void BM_JsonRead(benchmark::State& state) {
  const std::string image = JsonImage();
  for (auto _ : state) {
    const nlohmann::json object = nlohmann::json::parse(image);
    for (const Entry& entry : ListEntries()) {
      const Variant value = FromJson(object.at(entry.name));
      benchmark::DoNotOptimize(&value);
    }
  }
  SetItems(state, image.size());
}

void BM_CopyImage(benchmark::State& state) {
  const ByteArray image = BagImage();
  for (auto _ : state) {
    ByteArray copy = image;
    benchmark::DoNotOptimize(copy.data());
  }
  SetItems(state, image.size());
}

BENCHMARK(BM_BagWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BagRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MsgpackWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MsgpackRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyImage)->Unit(benchmark::kMillisecond);

// Prints as usual, and keeps each benchmark's best CPU time per iteration
// (over --benchmark_repetitions, the least disturbed by other work on the
// machine) and its image size for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      const std::string& name = run.run_name.function_name;
      const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
      const auto [best, added] = seconds_.emplace(name, seconds);
      if (!added) best->second = std::min(best->second, seconds);
      bytes_[name] = run.counters.at("image_bytes").value;
    }
  }

  void PrintSummary() const {
    const auto roundTrip = [&](const char* format) {
      return Seconds(std::string("BM_") + format + "Write") + Seconds(std::string("BM_") + format + "Read");
    };
    const double bag = roundTrip("Bag");
    if (bag == 0 || roundTrip("Msgpack") == 0 || roundTrip("Json") == 0) return;
    std::printf(
        "summary: write+read bag %.2f ms, msgpack %.2f ms (bag/msgpack time %.2f), json %.2f ms "
        "(json/bag time %.1f); image bytes bag %.0f, msgpack %.0f (bag/msgpack size %.3f), "
        "json %.0f; copy of the bag image %.3f ms\n",
        bag * 1e3, roundTrip("Msgpack") * 1e3, bag / roundTrip("Msgpack"), roundTrip("Json") * 1e3,
        roundTrip("Json") / bag, Bytes("BM_BagWrite"), Bytes("BM_MsgpackWrite"),
        Bytes("BM_BagWrite") / Bytes("BM_MsgpackWrite"), Bytes("BM_JsonWrite"),
        Seconds("BM_CopyImage") * 1e3);
  }

 private:
  double Seconds(const std::string& name) const {
    const auto found = seconds_.find(name);
    return found == seconds_.end() ? 0 : found->second;
  }
  double Bytes(const std::string& name) const {
    const auto found = bytes_.find(name);
    return found == bytes_.end() ? 0 : found->second;
  }

  std::map<std::string, double> seconds_;
  std::map<std::string, double> bytes_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
