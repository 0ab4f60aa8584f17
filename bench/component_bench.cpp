// What a TextBox costs to write, restore and copy, beside the property bag
// work alone for the same keys: the catalogue walk and the by-name access must
// not dominate (goal: write plus read within 2 times the bag work, so that
// everything besides the bag costs at most what the bag does). A
// CommandButton with three pictures is measured the same way: its pictures are
// bytes to copy, never encoded twice (goal: within 2 times). The summary after
// the run prints the ratios: for the goals, of each control's write and read
// timed in turn with its bag work alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <tavorin/tavorin.h>

#include "catalogue/defaults_catalogue.h"
#include "support/in_turn.h"
#include "support/summary_reporter.h"

namespace {

using tavorin::host::ByteArray;
using tavorin::host::Control;
using tavorin::host::Form;
using tavorin::host::PropertyBag;
using tavorin::host::Variant;

using Changes = std::vector<std::pair<std::string, Variant>>;

// About ten properties away from their defaults.
const Changes kChanges = {
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

// Two controls of a class on one form ("<stem>1" and "<stem>2"), the source
// given `changes`.
struct ControlPair {
  ControlPair(const std::string& className, const std::string& stem, const Changes& changes)
      : source(form->AddControl(className, stem + "1")),
        destination(form->AddControl(className, stem + "2")),
        sourceRef(source),
        destinationRef(destination) {
    for (const auto& [name, value] : changes) source->SetProperty(name, value);
  }

  tavorin::Tavorin component;
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> source;
  std::shared_ptr<Control> destination;
  tavorin::host::ObjectRef sourceRef;
  tavorin::host::ObjectRef destinationRef;
};

struct Fixture : ControlPair {
  Fixture() : ControlPair("TextBox", "Text", kChanges) {
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

// One write of the source to a stream and read of it onto the destination.
template <typename Pair>
void WriteAndRead(Pair& pair) {
  const ByteArray stream = pair.component.ControlToStream(pair.sourceRef);
  pair.component.StreamToControl(stream, pair.destinationRef);
}

template <typename Pair>
void BM_WriteAndRead(benchmark::State& state) {
  Pair pair;
  for (auto _ : state) WriteAndRead(pair);
}

BENCHMARK(BM_WriteAndRead<Fixture>)->Name("BM_TextBoxWriteAndRead");

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

const Variant kNothing = Variant::Object(nullptr);

// What every set writes and reads (envelope, catalogue, placement, icons),
// then the class's own `writes` and the keys its read looks up.
BagWork BagWorkOf(const Control& source, tavorin::detail::ControlType type,
                  const std::vector<BagCall>& writes, const std::vector<const char*>& reads) {
  const auto catalogue = tavorin::detail::BuildDefaultsCatalogue(type);
  BagWork work;
  work.writes = {
      {"@SF#", Variant::Long((tavorin::detail::TypeCode(type) << 24) | 0x31), Variant::Missing()},
      {"@CN#", Variant(source.Name()), Variant::Missing()}};
  work.reads = {{"@SF#", Variant(), Variant::Integer(0)}, {"TbI", Variant(), Variant::Integer(-1)}};
  for (const auto& entry : catalogue) {
    const std::string key(entry.keyCode);
    const Variant value =
        tavorin::host::ConvertTo(source.GetProperty(std::string(entry.propertyName)),
                                 static_cast<tavorin::host::VarType>(entry.valueType));
    work.writes.push_back({key, value, entry.defaultValue});
    work.reads.push_back({key, Variant(), entry.defaultValue});
  }
  const std::vector<BagCall> shared = {{"CnS", Variant::Integer(1), Variant::Long(1)},
                                       {"DIc", kNothing, kNothing},
                                       {"MIc", kNothing, kNothing}};
  work.writes.insert(work.writes.end(), shared.begin(), shared.end());
  work.writes.insert(work.writes.end(), writes.begin(), writes.end());
  work.reads.push_back({"CnS", Variant(), Variant::Missing()});
  for (const char* placed : {"Left", "Top", "Width", "Height"}) {
    const std::string key(catalogue.Find(placed)->keyCode);
    work.reads.push_back({key, Variant(), Variant::Missing()});
  }
  for (const char* key : {"DIc", "MIc"}) work.reads.push_back({key, Variant(), Variant::Missing()});
  for (const char* key : reads) work.reads.push_back({key, Variant(), Variant::Missing()});
  return work;
}

BagWork TextBoxBagWork(const Control& source) {
  return BagWorkOf(source, tavorin::detail::ControlType::TextBox,
                   {{"SS", Variant::Long(4), Variant::Missing()},
                    {"SL", Variant::Long(5), Variant::Missing()},
                    {"DtF", kNothing, Variant::Missing()},
                    {"DtM", Variant(""), Variant("")},
                    {"DFd", Variant(""), Variant("")},
                    {"DtC", Variant::Boolean(false), Variant::Boolean(false)}},
                   {"SS", "SL", "DsN", "DsI", "DtF", "DtM", "DFd", "DtC"});
}

void DoBagWork(const BagWork& work) {
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

void RunBagWork(benchmark::State& state, const BagWork& work) {
  for (auto _ : state) DoBagWork(work);
}

// Rounds of a control's write and read, and of its bag work alone, in a
// block timed as one: about a tenth of a millisecond.
constexpr int kRoundsInTurn = 16;

// The bag work alone of a pair's source, made by `WorkOf`.
template <typename Pair, BagWork (*WorkOf)(const Control&)>
void BM_BagAlone(benchmark::State& state) {
  Pair pair;
  RunBagWork(state, WorkOf(*pair.source));
}

// The pair's write and read timed in turn with its bag work alone.
template <typename Pair, BagWork (*WorkOf)(const Control&)>
void BM_InTurnWithBagAlone(benchmark::State& state) {
  Pair pair;
  const BagWork work = WorkOf(*pair.source);
  tavorin::bench::RunInTurn(
      state, kRoundsInTurn, [&] { WriteAndRead(pair); }, [&] { DoBagWork(work); });
}

BENCHMARK(BM_BagAlone<Fixture, TextBoxBagWork>)->Name("BM_BagAloneWriteAndRead");
BENCHMARK(BM_InTurnWithBagAlone<Fixture, TextBoxBagWork>)->Name("BM_TextBoxInTurnWithBagAlone");

// The host's by-name work of the same transfer without the component: every
// catalogued property got from one text box and assigned to another.
void BM_ByNameAccessAlone(benchmark::State& state) {
  Fixture fixture;
  std::vector<std::string> names;
  for (const auto& entry :
       tavorin::detail::BuildDefaultsCatalogue(tavorin::detail::ControlType::TextBox)) {
    names.emplace_back(entry.propertyName);
  }
  for (auto _ : state) {
    for (const std::string& name : names) {
      fixture.destination->SetProperty(name, fixture.source->GetProperty(name));
    }
  }
}
BENCHMARK(BM_ByNameAccessAlone);

// A graphical button: three distinct 32 x 32 bitmaps, a caption and a place.
struct ButtonFixture : ControlPair {
  // Each picture's property and key.
  static constexpr std::array<std::pair<const char*, const char*>, 3> kPictures = {
      {{"Picture", "Pc"}, {"DownPicture", "DoP"}, {"DisabledPicture", "DiP"}}};

  ButtonFixture()
      : ControlPair("CommandButton", "Command",
                    {{"Caption", Variant("&Save")},
                     {"Left", Variant::Single(120)},
                     {"Top", Variant::Single(240)},
                     {"Width", Variant::Single(1200)},
                     {"Height", Variant::Single(375)}}) {
    std::size_t seed = 0;
    for (const auto& [property, key] : kPictures) {
      source->SetProperty(property, Variant::Object(PatternedPicture(++seed)));
    }
  }

  // A blank bitmap whose pixels are overwritten with a pattern of the seed.
  static std::shared_ptr<tavorin::host::Picture> PatternedPicture(std::size_t seed) {
    constexpr std::size_t kPixelBytes = 32 * 32 * 3;
    ByteArray bytes = tavorin::host::Picture::Blank(32, 32)->Bytes();
    for (std::size_t i = bytes.size() - kPixelBytes; i < bytes.size(); ++i) {
      bytes[i] = static_cast<std::uint8_t>(i * seed * 37);
    }
    return tavorin::host::Picture::FromBytes(std::move(bytes));
  }
};

BENCHMARK(BM_WriteAndRead<ButtonFixture>)->Name("BM_ButtonWriteAndRead");

BagWork ButtonBagWork(const Control& source) {
  std::vector<BagCall> writes;
  std::vector<const char*> reads;
  for (const auto& [property, key] : ButtonFixture::kPictures) {
    writes.push_back({key, source.GetProperty(property), kNothing});
    reads.push_back(key);
  }
  return BagWorkOf(source, tavorin::detail::ControlType::CommandButton, writes, reads);
}

BENCHMARK(BM_BagAlone<ButtonFixture, ButtonBagWork>)->Name("BM_ButtonBagAloneWriteAndRead");
BENCHMARK(BM_InTurnWithBagAlone<ButtonFixture, ButtonBagWork>)->Name("BM_ButtonInTurnWithBagAlone");

// Prints as usual, then the component's costs as multiples of the bag work.
class ComponentSummary : public tavorin::bench::SummaryReporter {
 public:
  ComponentSummary()
      : SummaryReporter({kBagAlone, "BM_TextBoxWriteAndRead", "BM_ByNameAccessAlone",
                         kButtonBagAlone, "BM_ButtonWriteAndRead"}) {}

  void PrintSummary() const {
    std::printf("\n");
    PrintInTurn({{"write+read", "BM_TextBoxInTurnWithBagAlone", "at most 2"},
                 {"button write+read", "BM_ButtonInTurnWithBagAlone", "at most 2"}});
    if (!CanSummarise()) return;
    std::printf("CPU time / bag work alone: best [median]\n");
    const auto ratio = [](const char* benchmark, const char* bagWork) {
      return [=](const Times& times) { return times.at(benchmark) / times.at(bagWork); };
    };
    PrintRow("write+read", ratio("BM_TextBoxWriteAndRead", kBagAlone), "-");
    PrintRow("by-name access alone", ratio("BM_ByNameAccessAlone", kBagAlone), "-");
    PrintRow("button write+read", ratio("BM_ButtonWriteAndRead", kButtonBagAlone), "-");
  }

 private:
  static constexpr const char* kBagAlone = "BM_BagAloneWriteAndRead";
  static constexpr const char* kButtonBagAlone = "BM_ButtonBagAloneWriteAndRead";
};

}  // namespace

int main(int argc, char** argv) {
  return tavorin::bench::RunWithSummary<ComponentSummary>(argc, argv);
}
