// The property bag's image against msgpack and JSON, on the entries of a
// stored list of 32,767 items: item texts ("I<n>"), item data ("D<n>", Long)
// and selection ("S<n>", Boolean). Each format writes every entry into its
// image, and reads the image back and looks every name up, giving a Variant
// as the bag does. A plain copy of the bag's image is the limit.
//
// After the runs a summary gives each format's write+read time, the bag's
// time against msgpack's and JSON's against the bag's, and the bag's image
// size against msgpack's, each beside its goal.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <tavorin/tavorin.h>
#include <msgpack.hpp>
#include <nlohmann/json.hpp>

#include "support/msgpack_keys.h"
#include "support/summary_reporter.h"

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
    const auto byName = tavorin::bench::IndexByKey(map);
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

// Prints as usual, then each format's write+read time and the goals' ratios.
class BagSummary : public tavorin::bench::SummaryReporter {
 public:
  BagSummary()
      : SummaryReporter({"BM_BagWrite", "BM_BagRead", "BM_MsgpackWrite", "BM_MsgpackRead",
                         "BM_JsonWrite", "BM_JsonRead"}) {}

  void PrintSummary() const {
    if (!CanSummarise()) return;
    std::printf("\nwrite+read, CPU ms per round: best [median]\n");
    for (const char* format : {"Bag", "Msgpack", "Json"}) {
      PrintRow(
          format, [&](const Times& times) { return RoundTrip(times, format) * 1e3; }, "-");
    }
    PrintRow(
        "bag time / msgpack time",
        [](const Times& times) { return RoundTrip(times, "Bag") / RoundTrip(times, "Msgpack"); },
        "at most 1");
    PrintRow(
        "json time / bag time",
        [](const Times& times) { return RoundTrip(times, "Json") / RoundTrip(times, "Bag"); },
        "at least 5");
    std::printf("  %-26s %6.3f (%.0f / %.0f bytes)   goal: at most 1.10\n",
                "bag image / msgpack image",
                bytes_.at("BM_BagWrite") / bytes_.at("BM_MsgpackWrite"), bytes_.at("BM_BagWrite"),
                bytes_.at("BM_MsgpackWrite"));
  }

 private:
  void KeepCounters(const std::string& name, const Run& run) override {
    bytes_[name] = run.counters.at("image_bytes").value;
  }

  static double RoundTrip(const Times& times, const std::string& format) {
    return times.at("BM_" + format + "Write") + times.at("BM_" + format + "Read");
  }

  std::map<std::string, double> bytes_;
};

}  // namespace

int main(int argc, char** argv) { return tavorin::bench::RunWithSummary<BagSummary>(argc, argv); }
