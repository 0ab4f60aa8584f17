// The text form of streams and form states in the tool: export then import
// gives back the same bytes, import refuses what is no text form (naming the
// JSON path, writing nothing), and inspect and diff read form states.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <tavorin/tavorin.h>

#include "commands.h"
#include "sample_form.h"
#include "stream/envelope.h"
#include "support/files.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace tavorin::host;
using tavorin::cli::RunDiff;
using tavorin::cli::RunExport;
using tavorin::cli::RunImport;
using tavorin::cli::RunInspect;
using tavorin::testing::ReadFile;
using tavorin::testing::WriteFile;

struct CommandRun {
  int status;
  std::string out, err;
};

CommandRun Call(const std::function<int(std::ostream&, std::ostream&)>& command) {
  std::ostringstream out, err;
  const int status = command(out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Strings(const std::vector<fs::path>& paths) {
  return {paths.begin(), paths.end()};
}

class TextForm : public ::testing::Test {
 protected:
  // Exports and imports `files` through two folders and expects each file
  // back byte for byte.
  void ExpectRoundTrip(const std::vector<fs::path>& files) {
    const fs::path json = scratch_.Path() / "json";
    const fs::path back = scratch_.Path() / "back";
    const CommandRun exported = Call(
        [&](auto& out, auto& err) { return RunExport(Strings(files), json.string(), out, err); });
    ASSERT_EQ(exported.status, 0) << exported.err;
    std::vector<fs::path> documents;
    for (const fs::path& file : files)
      documents.push_back(json / (file.filename().string() + ".json"));
    const CommandRun imported = Call([&](auto& out, auto& err) {
      return RunImport(Strings(documents), back.string(), out, err);
    });
    ASSERT_EQ(imported.status, 0) << imported.err;
    for (const fs::path& file : files) {
      EXPECT_EQ(ReadFile(back / file.filename()), ReadFile(file)) << file;
    }
  }

  ScratchFolder scratch_;
  tavorin::Tavorin component_;
};

TEST_F(TextForm, EveryDemoStreamAndTheSampleFormStateComeBackByteForByte) {
  const fs::path demo = scratch_.Path() / "demo";
  ASSERT_EQ(
      Call([&](auto& out, auto& err) { return tavorin::cli::RunDemo(demo, out, err); }).status, 0);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(demo)) {
    if (entry.path().extension() == ".tvs") files.push_back(entry.path());
  }
  ASSERT_GE(files.size(), 19u);

  // The demo has mapped the sample drive, so a sample form can be filled.
  const std::shared_ptr<Form> form = tavorin::cli::BuildSampleForm();
  tavorin::cli::ApplySampleState(*form, (scratch_.Path() / "orders.db").string());
  files.push_back(scratch_.Path() / "sample.tvf");
  WriteFile(files.back(), tavorin::SaveFormState(component_, *form));
  ExpectRoundTrip(files);
}

// A stream of the Nothing class holding one entry of each type per round,
// with the values most likely to lose bits: NaN payloads, negative zero,
// dates past the calendar, Currency at its limits, text that is no UTF-8.
ByteArray RandomBag(std::mt19937& random) {
  const auto any = [&](auto lowest, auto highest) {
    return std::uniform_int_distribution<long long>(lowest, highest)(random);
  };
  const auto bits = [&] { return static_cast<std::uint64_t>(random()) << 32 | random(); };
  const auto text = [&] {
    std::string bytes(static_cast<std::size_t>(any(0, 12)), '\0');
    for (char& byte : bytes) byte = static_cast<char>(any(0, 255));
    return bytes;
  };
  const auto real = [&](int pick) {
    const double special[] = {-0.0, std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::denorm_min(),
                              std::bit_cast<double>(0x7ff0000000000001ull | bits())};
    return pick < 4 ? special[pick] : std::bit_cast<double>(bits());
  };
  const std::vector<std::function<Variant()>> makers{
      [] { return Variant(); },
      [] { return Variant::Null(); },
      [&] { return Variant::Integer(static_cast<std::int16_t>(any(INT16_MIN, INT16_MAX))); },
      [&] { return Variant::Long(static_cast<std::int32_t>(any(INT32_MIN, INT32_MAX))); },
      [&] { return Variant::Single(static_cast<float>(real(static_cast<int>(any(0, 6))))); },
      [&] { return Variant::Single(std::bit_cast<float>(static_cast<std::uint32_t>(random()))); },
      [&] { return Variant::Double(real(static_cast<int>(any(0, 6)))); },
      [&] { return Variant::Decimal(real(static_cast<int>(any(0, 6)))); },
      [&] { return Variant::Date(real(static_cast<int>(any(0, 6)))); },
      [&] { return Variant::Date(static_cast<double>(any(-657434, 2958465)) + 0.25); },
      [&] {
        return Variant::Currency(any(0, 2) == 0 ? INT64_MIN : static_cast<std::int64_t>(bits()));
      },
      [&] { return Variant::String(text()); },
      [] { return Variant::Object(nullptr); },
      [&] { return Variant::Boolean(any(0, 1) == 1); },
      [&] { return Variant::Byte(static_cast<std::uint8_t>(any(0, 255))); },
      [&] {
        const std::string bytes = text();
        return Variant::Bytes(ByteArray(bytes.begin(), bytes.end()));
      },
      [&] {
        return Variant::Object(
            Picture::Blank(static_cast<int>(any(1, 5)), static_cast<int>(any(1, 5))));
      },
      [&] {
        auto format = std::make_shared<DataFormat>();
        format->Format(text());
        format->Type(static_cast<std::int16_t>(any(INT16_MIN, INT16_MAX)));
        return Variant::Object(format);
      },
  };
  PropertyBag bag;
  bag.SetContents(tavorin::detail::NothingToStream());
  for (int round = 0; round < 3; ++round) {
    for (std::size_t i = 0; i < makers.size(); ++i) {
      bag.WriteProperty(text() + std::to_string(round * 100 + static_cast<int>(i)), makers[i]());
    }
  }
  return bag.Contents();
}

TEST_F(TextForm, RandomBagsOfEveryValueTypeComeBackByteForByte) {
  std::mt19937 random(20240521);
  std::vector<fs::path> files;
  for (int i = 0; i < 20; ++i) {
    files.push_back(scratch_.Path() / ("bag" + std::to_string(i)));
    WriteFile(files.back(), RandomBag(random));
  }
  ExpectRoundTrip(files);
}

using Json = nlohmann::ordered_json;

struct Refusal {
  const char* what;
  std::function<std::string(Json)> document;  // from the export of a text box
  const char* message;                        // the path at fault, and why
};

std::string Edited(Json document, const std::function<void(Json&)>& edit) {
  edit(document);
  return document.dump();
}

TEST_F(TextForm, ImportRefusesWhatIsNoTextFormNamingThePathAndWritesNothing) {
  const std::shared_ptr<Form> form = Form::Create("Form1");
  const std::shared_ptr<Control> text = form->AddControl("TextBox", "Text1");
  text->SetProperty("Text", "hello");
  const fs::path stream = scratch_.Path() / "Text1";
  WriteFile(stream, component_.ControlToStream(text));
  ASSERT_EQ(Call([&](auto& out, auto& err) { return RunExport({stream}, "", out, err); }).status,
            0);
  const ByteArray exported = ReadFile(scratch_.Path() / "Text1.json");
  const Json base = Json::parse(exported.begin(), exported.end());
  ASSERT_EQ(base["entries"][2]["meaning"], "Text");

  const auto edit = [](std::function<void(Json&)> change) {
    return [change](Json document) { return Edited(std::move(document), change); };
  };
  const auto raw = [](std::string text) { return [text](const Json&) { return text; }; };
  const std::vector<Refusal> refusals{
      {"bad JSON", raw("{\"format\": "), "document: not JSON: parse error at line 1, column 12"},
      {"a field given twice", raw(R"({"format": "tavorin stream", "format": "x"})"),
       "format: the field is given twice"},
      {"nesting without end", raw(std::string(100, '[')), "nested deeper than 16 levels"},
      {"an unknown format", edit([](Json& d) { d["format"] = "csv"; }), "format: must be"},
      {"an unknown type", edit([](Json& d) { d["entries"][2]["type"] = "Text"; }),
       "entries[2].type: is no type a stream stores"},
      {"an Integer too large", edit([](Json& d) {
         d["entries"][2] = {{"key", "46"}, {"type", "Integer"}, {"value", 40000}};
       }),
       "entries[2].value: must be a whole number from -32768 to 32767"},
      {"a Single that is no number", edit([](Json& d) {
         d["entries"][2] = {{"key", "40"}, {"type", "Single"}, {"value", "1,5"}};
       }),
       "entries[2].value: must be the text of a Single"},
      {"a Currency past its range", edit([](Json& d) {
         d["entries"][2] = {{"key", "x"}, {"type", "Currency"}, {"value", "922337203685477.5808"}};
       }),
       "entries[2].value: must be the text of a Currency"},
      {"base64 that is not", edit([](Json& d) {
         d["entries"][2] = {{"key", "x"}, {"type", "Byte()"}, {"value", {{"base64", "QQ="}}}};
       }),
       "entries[2].value.base64: must be base64"},
      {"a picture that is no image", edit([](Json& d) {
         d["entries"][2] = {{"key", "x"}, {"type", "Picture"}, {"value", {{"base64", "QUJD"}}}};
       }),
       "entries[2].value.base64: is no image"},
      {"a key given twice", edit([](Json& d) { d["entries"][2]["key"] = "@CN#"; }),
       "entries[2].key: the key is given twice, first at entries[1]"},
      {"a missing value", edit([](Json& d) { d["entries"][2].erase("value"); }),
       "entries[2]: the field \"value\" is missing"},
      {"a field of no meaning", edit([](Json& d) { d["entries"][0]["colour"] = 1; }),
       "entries[0].colour: no such field here"},
      {"no entries", edit([](Json& d) { d.erase("entries"); }),
       "document: the field \"entries\" is missing"},
      {"entries that make no stream", edit([](Json& d) {
         d["entries"].erase(0);
         d.erase("envelope");
       }),
       "entries: make no stream: no stream flags"},
      {"an envelope that disagrees", edit([](Json& d) { d["envelope"]["controlName"] = "Text2"; }),
       "envelope.controlName: does not agree with the entries, which give \"Text1\""},
      {"a meaning that disagrees", edit([](Json& d) { d["entries"][2]["meaning"] = "Caption"; }),
       "entries[2].meaning: does not agree with the entries, which give \"Text\""},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.what);
    const fs::path document = scratch_.Path() / "refused.json";
    const std::string text = refusal.document(base);
    WriteFile(document, ByteArray(text.begin(), text.end()));
    const CommandRun run =
        Call([&](auto& out, auto& err) { return RunImport({document}, "", out, err); });
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(refusal.message), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(scratch_.Path() / "refused"));
  }
}

// A form with a frame holding a control array, and a text box; the second
// form has moved on: another text, a label where a text box was, one control
// fewer and one more.
std::shared_ptr<Form> OrderForm(bool later) {
  std::shared_ptr<Form> form = Form::Create("Orders");
  const std::shared_ptr<Control> frame = form->AddControl("Frame", "Frame1");
  form->AddControl("TextBox", "Line", std::int16_t{0}, frame)->SetProperty("Text", "tea");
  if (!later) form->AddControl("TextBox", "Line", std::int16_t{1}, frame);
  form->AddControl(later ? "Label" : "TextBox", "Note");
  form->AddControl("TextBox", "Name")->SetProperty("Text", later ? "Grace" : "Ada");
  if (later) form->AddControl("CheckBox", "Paid");
  return form;
}

TEST_F(TextForm, InspectAndDiffReadFormStates) {
  const fs::path a = scratch_.Path() / "a.tvf";
  const fs::path b = scratch_.Path() / "b.tvf";
  WriteFile(a, tavorin::SaveFormState(component_, *OrderForm(false)));
  WriteFile(b, tavorin::SaveFormState(component_, *OrderForm(true)));

  const CommandRun text =
      Call([&](auto& out, auto& err) { return RunInspect({a}, false, out, err); });
  EXPECT_EQ(text.status, 0) << text.err;
  for (const char* expected :
       {"form state of form \"Orders\", ScaleMode 1, version 1, 5 controls",
        "Line(1)  TextBox  Frame1", "Line(0): TextBox stream, control \"Line\"",
        "Text              String  \"Ada\""}) {
    EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
  }
  const CommandRun json =
      Call([&](auto& out, auto& err) { return RunInspect({a}, true, out, err); });
  const nlohmann::json report = nlohmann::json::parse(json.out);
  EXPECT_EQ(report[0]["isFormState"], true);
  EXPECT_EQ(report[0]["controls"][1]["index"], 0);
  EXPECT_EQ(report[0]["controls"][4]["stream"]["entries"][2]["value"], "Ada");

  const CommandRun same = Call([&](auto& out, auto& err) { return RunDiff(a, a, out, err); });
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "the form states are equal\n");
  const CommandRun diff = Call([&](auto& out, auto& err) { return RunDiff(a, b, out, err); });
  EXPECT_EQ(diff.status, 1) << diff.err;
  EXPECT_EQ(diff.out,
            "only in A      Line(1)      control  TextBox\n"
            "class changed  Note         class    \"TextBox\" -> \"Label\"\n"
            "changed        Name     47  Text     \"Ada\" -> \"Grace\"\n"
            "only in B      Paid         control  CheckBox\n"
            "4 differences\n");
  const fs::path stream = scratch_.Path() / "nothing.tvs";
  WriteFile(stream, tavorin::detail::NothingToStream());
  const CommandRun mixed = Call([&](auto& out, auto& err) { return RunDiff(a, stream, out, err); });
  EXPECT_EQ(mixed.status, 1);
  EXPECT_EQ(mixed.out, "A is a form state, B a stream\n");
}

}  // namespace
