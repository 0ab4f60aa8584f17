// What a TextBox costs to write, restore and copy, beside the property bag
// work alone for the same keys: the catalogue walk and the by-name access must
// not dominate (goal: write plus read within 3 times the bag work; the summary
// after the run prints the ratios).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <tavorin/tavorin.h>

#include "catalogue/defaults_catalogue.h"
#include "support/summary_reporter.h"

namespace {

using tavorin::host::ByteArray;
using tavorin::host::Control;
using tavorin::host::Form;
using tavorin::host::PropertyBag;
using tavorin::host::Variant;


// About ten properties away from their defaults.
const std::vector<std::pair<std::string, Variant>> kChanges = {
    {"Text", Variant("The quick brown fox")},
    {"BackColor", Variant::Long(0x00FFEEDD)},
    {"ForeColor", Variant::Long(0x00112233)},
    {"Left", Variant::Single(120)},
    {"Top", Variant::Single(240)},
    {"Width", Variant::Single(1800)},
    {"Height", Variant::Single(315)},
    {"FontBold", Variant::Boolean(true)},
    {"FontSize", Variant::Single(10)},
    {"Tag", Variant("customer")},
    {"MaxLength", Variant::Long(40)},
};

struct Fixture {
  tavorin::Tavorin component;
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> source = form->AddControl("TextBox", "Text1");
  std::shared_ptr<Control> destination = form->AddControl("TextBox", "Text2");
  tavorin::host::ObjectRef sourceRef = source;
  tavorin::host::ObjectRef destinationRef = destination;

  Fixture() {
    for (const auto& [name, value] : kChanges) source->SetProperty(name, value);
    source->SetProperty("SelStart", 4);
    source->SetProperty("SelLength", 5);
  }
};

void BM_TextBoxToStream(benchmark::State& state) {
  Fixture fixture;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fixture.component.ControlToStream(fixture.sourceRef));
  }
}
BENCHMARK(BM_TextBoxToStream);

void BM_StreamToTextBox(benchmark::State& state) {
  Fixture fixture;
  const ByteArray stream = fixture.component.ControlToStream(fixture.sourceRef);
  for (auto _ : state) {
    fixture.component.StreamToControl(stream, fixture.destinationRef);
  }
}
BENCHMARK(BM_StreamToTextBox);

void BM_TextBoxWriteAndRead(benchmark::State& state) {
  Fixture fixture;
  for (auto _ : state) {
    const ByteArray stream = fixture.component.ControlToStream(fixture.sourceRef);
    fixture.component.StreamToControl(stream, fixture.destinationRef);
  }
}
BENCHMARK(BM_TextBoxWriteAndRead);

void BM_CopyTextBox(benchmark::State& state) {
  Fixture fixture;
  for (auto _ : state) {
    fixture.component.CopyControl(fixture.sourceRef, fixture.destinationRef);
  }
}
BENCHMARK(BM_CopyTextBox);

// The bag work of a TextBox's write and read without the component: the same
// WriteProperty calls (values and defaults as the write makes them), Contents,
// SetContents and the same ReadProperty calls as the read.
struct BagCall {
  std::string key;
  Variant value;
  Variant defaultValue;
};

struct BagWork {
  std::vector<BagCall> writes;
  std::vector<BagCall> reads;
};

BagWork BagWorkOf(const Control& source) {
  const Variant nothing = Variant::Object(nullptr);
  BagWork work;
  work.writes = {{"@SF#", Variant::Long(0x03000031), Variant::Missing()},
                 {"@CN#", Variant("Text1"), Variant::Missing()}};
  work.reads = {{"@SF#", Variant(), Variant::Integer(0)}, {"TbI", Variant(), Variant::Integer(-1)}};
  for (const auto& entry : tavorin::detail::BuildDefaultsCatalogue(tavorin::detail::ControlType::TextBox)) {
    const std::string key(entry.keyCode);
    const Variant value = tavorin::host::ConvertTo(
        source.GetProperty(std::string(entry.propertyName)),
        static_cast<tavorin::host::VarType>(entry.valueType));
    work.writes.push_back({key, value, entry.defaultValue});
    work.reads.push_back({key, Variant(), entry.defaultValue});
  }
  const std::vector<BagCall> tail = {
      {"CnS", Variant::Integer(1), Variant::Long(1)},  {"DIc", nothing, nothing},
      {"MIc", nothing, nothing},                       {"SS", Variant::Long(4), Variant::Missing()},
      {"SL", Variant::Long(5), Variant::Missing()},    {"DtF", nothing, Variant::Missing()},
      {"DtM", Variant(""), Variant("")},               {"DFd", Variant(""), Variant("")},
      {"DtC", Variant::Boolean(false), Variant::Boolean(false)}};
  work.writes.insert(work.writes.end(), tail.begin(), tail.end());
  for (const char* key : {"CnS", "41", "43", "40", "42", "DIc", "MIc", "SS", "SL", "DsN", "DsI",
                          "DtF", "DtM", "DFd", "DtC"}) {
    work.reads.push_back({key, Variant(), Variant::Missing()});
  }
  return work;
}

void BM_BagAloneWriteAndRead(benchmark::State& state) {
  Fixture fixture;
  const BagWork work = BagWorkOf(*fixture.source);
  for (auto _ : state) {
    PropertyBag out;
    for (const BagCall& call : work.writes) {
      out.WriteProperty(call.key, call.value, call.defaultValue);
    }
    const ByteArray image = out.Contents();
    PropertyBag in;
    in.SetContents(image);
    for (const BagCall& call : work.reads) {
      benchmark::DoNotOptimize(in.ReadProperty(call.key, call.defaultValue));
    }
  }
}
BENCHMARK(BM_BagAloneWriteAndRead);

// The host's by-name work of the same transfer without the component: every
// catalogued property got from one text box and assigned to another.
void BM_ByNameAccessAlone(benchmark::State& state) {
  Fixture fixture;
  std::vector<std::string> names;
  for (const auto& entry : tavorin::detail::BuildDefaultsCatalogue(tavorin::detail::ControlType::TextBox)) {
    names.emplace_back(entry.propertyName);
  }
  for (auto _ : state) {
    for (const std::string& name : names) {
      fixture.destination->SetProperty(name, fixture.source->GetProperty(name));
    }
  }
}
BENCHMARK(BM_ByNameAccessAlone);

// Prints as usual, then the component's costs as multiples of the bag work.
class ComponentSummary : public tavorin::bench::SummaryReporter {
 public:
  ComponentSummary()
      : SummaryReporter({kBagAlone, "BM_TextBoxWriteAndRead", "BM_ByNameAccessAlone"}) {}

  void PrintSummary() const {
    if (!CanSummarise()) return;
    std::printf("\nCPU time / bag work alone: best [median]\n");
    const auto ratio = [](const char* benchmark) {
      return [benchmark](const Times& times) { return times.at(benchmark) / times.at(kBagAlone); };
    };
    PrintRow("write+read", ratio("BM_TextBoxWriteAndRead"), "at most 3");
    PrintRow("by-name access alone", ratio("BM_ByNameAccessAlone"), "-");
  }

 private:
  static constexpr const char* kBagAlone = "BM_BagAloneWriteAndRead";
};

}  // namespace

int main(int argc, char** argv) {
  return tavorin::bench::RunWithSummary<ComponentSummary>(argc, argv);
}
