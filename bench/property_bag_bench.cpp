// The property bag's image against msgpack and JSON, on the entries of a
// stored list of 32,767 items: item texts ("I<n>"), item data ("D<n>", Long)
// and selection ("S<n>", Boolean). Each format writes every entry into its
// image, and reads the image back and looks every name up, giving a Variant
// as the bag does. A plain copy of the bag's image is the limit.
//
// After the runs a summary gives the bag's write against msgpack's, the two
// timed in turn, each format's write+read time, the bag's time against
// msgpack's and JSON's against the bag's, and the bag's image
// size against msgpack's, each beside its goal. Then what the parts of the
// bag's write cost alone (the records, the checksum, the comparison with
// defaults, and the rest: the duplicate-name check and the entries), and the
// memory that loading the image takes at its peak against the image's size,
// counted by replaced allocation functions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <tavorin/tavorin.h>
#include <msgpack.hpp>
#include <nlohmann/json.hpp>

#include "host/bag_format.h"
#include "host/crc32c.h"
#include "support/counting_allocator.h"
#include "support/in_turn.h"
#include "support/msgpack_keys.h"
#include "support/page_faults.h"
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

// A default for each entry that the entry does not equal, so that a write
// with defaults stores the same records and differs only by comparing: a
// String against "", numbers across types.
Variant UnequalDefault(const Variant& value) {
  switch (value.Type()) {
    case VarType::String:
      return Variant("");
    case VarType::Long:
      return Variant::Integer(0);
    default:
      return Variant::Integer(1);  // True is -1, False 0
  }
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
  tavorin::bench::RunCountingPageFaults(state, [&] {
    const ByteArray image = BagImage();
    size = image.size();
    benchmark::DoNotOptimize(image.data());
  });
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

// The write's parts alone: the records as the bag encodes them, the checksum
// over the image, and the writes with defaults to compare against.
void BM_BagRecordsAlone(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) {
    tavorin::host::detail::RecordBytes records;
    for (const Entry& entry : ListEntries()) {
      tavorin::host::detail::PutValueRecord(records, entry.name, entry.value);
    }
    size = records.size();
    benchmark::DoNotOptimize(records.data());
  }
  SetItems(state, size);
}

void BM_BagChecksumAlone(benchmark::State& state) {
  const ByteArray image = BagImage();
  for (auto _ : state) benchmark::DoNotOptimize(tavorin::host::detail::Crc32c(image));
  SetItems(state, image.size());
}

void BM_BagWriteWithDefaults(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) {
    PropertyBag bag;
    for (const Entry& entry : ListEntries()) {
      bag.WriteProperty(entry.name, entry.value, UnequalDefault(entry.value));
    }
    const ByteArray image = bag.Contents();
    size = image.size();
    benchmark::DoNotOptimize(image.data());
  }
  SetItems(state, size);
}

// One load of the image into an empty bag, measured by the bytes held: the
// peak beyond what was held before.
void BM_BagLoadMemory(benchmark::State& state) {
  const ByteArray image = BagImage();
  std::size_t peak = 0;
  for (auto _ : state) {
    PropertyBag bag;
    peak = tavorin::bench::MeasureMemory([&] { bag.SetContents(image); }).peak;
  }
  SetItems(state, image.size());
  state.counters["peak_bytes"] = static_cast<double>(peak);
}

void BM_MsgpackWrite(benchmark::State& state) {
  std::size_t size = 0;
  tavorin::bench::RunCountingPageFaults(state, [&] {
    const msgpack::sbuffer image = MsgpackImage();
    size = image.size();
    benchmark::DoNotOptimize(image.data());
  });
  SetItems(state, size);
}

// The two writes in turn, for their ratio.
void BM_BagWriteInTurnWithMsgpack(benchmark::State& state) {
  tavorin::bench::RunInTurn(
      state, 1,
      [] {
        const ByteArray image = BagImage();
        benchmark::DoNotOptimize(image.data());
      },
      [] {
        const msgpack::sbuffer image = MsgpackImage();
        benchmark::DoNotOptimize(image.data());
      });
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
BENCHMARK(BM_BagRecordsAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BagChecksumAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BagWriteWithDefaults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BagLoadMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BagWriteInTurnWithMsgpack)->Unit(benchmark::kMillisecond);

// Prints as usual, then each format's write+read time and the goals' ratios.
class BagSummary : public tavorin::bench::SummaryReporter {
 public:
  BagSummary()
      : SummaryReporter({"BM_BagWrite", "BM_BagRead", "BM_MsgpackWrite", "BM_MsgpackRead",
                         "BM_JsonWrite", "BM_JsonRead"}) {}

  void PrintSummary() const {
    std::printf("\n");
    PrintInTurn({{"bag write / msgpack write", "BM_BagWriteInTurnWithMsgpack", "at most 3"}});
    if (!CanSummarise()) return;
    std::printf("write+read, CPU ms per round: best [median]\n");
    for (const char* format : {"Bag", "Msgpack", "Json"}) {
      PrintRow(
          format, [&](const Times& times) { return RoundTrip(times, format) * 1e3; }, "-");
    }
    PrintRow(
        "bag time / msgpack time",
        [](const Times& times) { return RoundTrip(times, "Bag") / RoundTrip(times, "Msgpack"); },
        "at most 0.5");
    PrintRow("bag write / msgpack write", Over("BM_BagWrite", "BM_MsgpackWrite"), "-");
    PrintRow("bag read / msgpack read", Over("BM_BagRead", "BM_MsgpackRead"), "at most 0.5");
    PrintRow(
        "json time / bag time",
        [](const Times& times) { return RoundTrip(times, "Json") / RoundTrip(times, "Bag"); },
        "at least 5");
    PrintSizeRow("bag image / msgpack image", bytes_.at("BM_BagWrite"),
                 bytes_.at("BM_MsgpackWrite"), "at most 1.10");
    if (HaveRun({"BM_BagRecordsAlone", "BM_BagChecksumAlone", "BM_BagWriteWithDefaults",
                 "BM_CopyImage"})) {
      std::printf("\nparts of the bag's write, CPU time / whole write: best [median]\n");
      PrintRow("records", Over("BM_BagRecordsAlone", "BM_BagWrite"), "-");
      PrintRow("checksum", Over("BM_BagChecksumAlone", "BM_BagWrite"), "-");
      PrintRow(
          "comparing with defaults",
          [](const Times& times) {
            return times.at("BM_BagWriteWithDefaults") / times.at("BM_BagWrite") - 1;
          },
          "-");
      PrintRow(
          "duplicate check, entries",
          [](const Times& times) {
            return (times.at("BM_BagWrite") - times.at("BM_BagRecordsAlone") -
                    times.at("BM_BagChecksumAlone") - times.at("BM_CopyImage")) /
                   times.at("BM_BagWrite");
          },
          "-");
    }
    if (faults_.contains("BM_BagWrite") && faults_.contains("BM_MsgpackWrite")) {
      std::printf("  %-26s %6.0f [msgpack %.0f]\n", "page faults a write",
                  faults_.at("BM_BagWrite"), faults_.at("BM_MsgpackWrite"));
    }
    if (peak_ > 0) {
      PrintSizeRow("load peak memory / image", peak_, bytes_.at("BM_BagWrite"), "at most 2");
    }
  }

 private:
  void KeepCounters(const std::string& name, const Run& run) override {
    if (run.counters.contains("image_bytes")) bytes_[name] = run.counters.at("image_bytes").value;
    if (name == "BM_BagLoadMemory") peak_ = run.counters.at("peak_bytes").value;
    if (run.counters.contains("page_faults")) faults_[name] = run.counters.at("page_faults").value;
  }

  static std::function<double(const Times&)> Over(const char* part, const char* whole) {
    return [=](const Times& times) { return times.at(part) / times.at(whole); };
  }

  static double RoundTrip(const Times& times, const std::string& format) {
    return times.at("BM_" + format + "Write") + times.at("BM_" + format + "Read");
  }

  std::map<std::string, double> bytes_;
  std::map<std::string, double> faults_;
  double peak_ = 0;
};

}  // namespace

int main(int argc, char** argv) { return tavorin::bench::RunWithSummary<BagSummary>(argc, argv); }
