// The tavorin tool as a user runs it: the demo's round trip, inspect in text
// and JSON, diff, and the exit statuses and reasons for input that is no
// stream.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include <tavorin/tavorin.h>

#include "support/files.h"
#include "support/scratch_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using tavorin::host::ByteArray;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& path) {
  const ByteArray bytes = tavorin::testing::ReadFile(path);
  return {bytes.begin(), bytes.end()};
}

class Tool : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* binaryDir = std::getenv("TAVORIN_BINARY_DIR");
    if (binaryDir == nullptr) GTEST_SKIP() << "TAVORIN_BINARY_DIR is not set";
    binary = fs::path(binaryDir) / "tools" / "tavorin";
    if (!fs::exists(binary)) GTEST_SKIP() << "the tool is not built: " << binary;
  }

  // Runs the tool in the scratch folder with its output caught in files.
  ToolRun Tavorin(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{binary.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    const std::string outPath = (scratch.Path() / ".out").string();
    const std::string errPath = (scratch.Path() / ".err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addchdir_np(&actions, scratch.Path().c_str());
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ToolRun run;
    int waitStatus = 0;
    if (spawned == 0 && waitpid(child, &waitStatus, 0) == child && WIFEXITED(waitStatus)) {
      run.status = WEXITSTATUS(waitStatus);
    }
    run.out = ReadText(outPath);
    run.err = ReadText(errPath);
    return run;
  }

  std::string WriteFile(const std::string& name, const ByteArray& bytes) {
    tavorin::testing::WriteFile(scratch.Path() / name, bytes);
    return name;
  }

  // A TextBox stream written by the component, with `text` in the box.
  std::string TextBoxStream(const std::string& name, const std::string& text,
                            const std::string& tag = "") {
    auto form = tavorin::host::Form::Create("Form1");
    auto box = form->AddControl("TextBox", "Text1");
    box->SetProperty("Text", text);
    box->SetProperty("Tag", tag);
    box->SetProperty("MouseIcon", tavorin::host::Picture::Blank(16, 16));
    return WriteFile(name, component.ControlToStream(box));
  }

  // The TextBox stream `name` with `entries` added (each kept at its place
  // when the stream has it).
  std::string WithEntries(
      const std::string& name,
      const std::vector<std::pair<std::string, tavorin::host::Variant>>& entries) {
    tavorin::host::PropertyBag bag;
    bag.SetContents(tavorin::testing::ReadFile(scratch.Path() / TextBoxStream(name, "text")));
    for (const auto& [key, value] : entries) bag.WriteProperty(key, value);
    return WriteFile(name, bag.Contents());
  }

  fs::path binary;
  ScratchFolder scratch;
  tavorin::Tavorin component;
};

TEST_F(Tool, DemoWritesStreamsThatComeBackEqual) {
  const ToolRun run = Tavorin({"demo", "--out", "round-trip"});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.out.find("DIFFERS"), std::string::npos) << run.out;
  const std::string table = run.out.substr(0, run.out.find("does not handle yet"));
  for (const char* name :
       {"Picture1", "Label1", "Text1", "Frame1", "Command1", "Check1", "Option1", "Image1"}) {
    EXPECT_NE(table.find(name), std::string::npos) << name << " in\n" << run.out;
  }

  // The Data control is restored on the record past the first it stood on.
  EXPECT_NE(run.out.find("Data1 stands on record 3 of 4"), std::string::npos) << run.out;

  EXPECT_TRUE(fs::exists(scratch.Path() / "round-trip" / "Text1.tvs"));
  EXPECT_TRUE(fs::exists(scratch.Path() / "round-trip" / "orders.db"));
  EXPECT_TRUE(fs::is_directory(scratch.Path() / "round-trip" / "sample-drive"))
      << "the tree the file controls show";
  EXPECT_NE(run.out.find("FileListBox"), std::string::npos) << run.out;
  for (const auto& file : fs::directory_iterator(scratch.Path() / "round-trip")) {
    if (file.is_directory() || file.path().extension() != ".tvs") continue;
    EXPECT_TRUE(component.IsStream(component.StreamFromFile(file.path().string()))) << file;
    EXPECT_NE(run.out.find(file.path().stem().string()), std::string::npos) << file;
  }
  EXPECT_EQ(Tavorin({"demo"}).status, 0);
  EXPECT_TRUE(fs::exists(scratch.Path() / "tavorin-demo" / "Text1.tvs")) << "the default folder";
}

TEST_F(Tool, InspectExplainsEveryEntryInTextAndInStoredOrderInJson) {
  const ToolRun run = Tavorin({"inspect", TextBoxStream("a.tvs", "hello world")});
  EXPECT_EQ(run.status, 0) << run.err;
  for (const char* expected :
       {"TextBox stream", "control \"Text1\"", "built-in defaults", "stream flags", "Text",
        "\"hello world\"", "selection start", "mouse icon", "bitmap", "16x16 pixels", "fnv1a64"}) {
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << " in\n" << run.out;
  }

  const ToolRun json = Tavorin({"inspect", "--json", "a.tvs"});
  ASSERT_EQ(json.status, 0) << json.err;
  const nlohmann::json reports = nlohmann::json::parse(json.out);
  ASSERT_EQ(reports.size(), 1u);
  const nlohmann::json& report = reports[0];
  const nlohmann::json summary = {{"isStream", true},
                                  {"className", "TextBox"},
                                  {"controlName", "Text1"},
                                  {"requiresDefaults", false}};
  for (const auto& [field, value] : summary.items()) EXPECT_EQ(report[field], value) << field;
  const nlohmann::json& entries = report["entries"];
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[0]["key"], "@SF#");
  EXPECT_EQ(entries[0]["value"], 0x03000031);
  EXPECT_EQ(entries[1]["key"], "@CN#");
  EXPECT_EQ(entries[2],
            (nlohmann::json{
                {"key", "47"}, {"meaning", "Text"}, {"type", "String"}, {"value", "hello world"}}));
  const auto icon = std::find_if(entries.begin(), entries.end(),
                                 [](const nlohmann::json& entry) { return entry["key"] == "MIc"; });
  ASSERT_NE(icon, entries.end()) << json.out;
  EXPECT_EQ((*icon)["type"], "Picture");
  EXPECT_EQ((*icon)["value"]["kind"], "bitmap");
  EXPECT_EQ((*icon)["value"]["widthPixels"], 16);
}

TEST_F(Tool, InspectGivesAOneLineReasonForWhatIsNoStream) {
  fs::create_directory(scratch.Path() / "folder");
  const struct {
    std::string file;
    const char* reason;
  } cases[] = {
      {WriteFile("empty", {}), "empty file"},
      {WriteFile("random", {0x9c, 0x01, 0xff, 0x42, 0x00, 0x13, 0x77}), "not a property bag image"},
      {"folder", "is a folder"},
      {"missing", "File not found"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Tavorin({"inspect", c.file});
    EXPECT_EQ(run.status, 1) << c.file;
    const std::string said = run.out + run.err;
    EXPECT_NE(said.find(c.file + ": "), std::string::npos) << said;
    EXPECT_NE(said.find(c.reason), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }

  // One bad file among good ones fails the whole run; JSON still reports all.
  const ToolRun mixed =
      Tavorin({"inspect", "--json", TextBoxStream("good.tvs", "x"), "empty", "folder"});
  EXPECT_EQ(mixed.status, 1);
  const nlohmann::json reports = nlohmann::json::parse(mixed.out);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0]["isStream"], true);
  EXPECT_EQ(reports[1]["reason"], "empty file");
  EXPECT_EQ(reports[2]["isStream"], false);
}

TEST_F(Tool, DiffTellsEqualFromDifferentStreams) {
  const std::string a = TextBoxStream("a.tvs", "hello world");
  const std::string same = TextBoxStream("same.tvs", "hello world");
  const std::string changed = TextBoxStream("b.tvs", "goodbye", "tagged");

  const ToolRun equal = Tavorin({"diff", a, same});
  EXPECT_EQ(equal.status, 0) << equal.out;
  EXPECT_NE(equal.out.find("equal"), std::string::npos);

  const ToolRun differ = Tavorin({"diff", a, changed});
  EXPECT_EQ(differ.status, 1) << differ.err;
  for (const char* expected :
       {"changed", "Text", "\"hello world\" -> \"goodbye\"", "only in B", "Tag"}) {
    EXPECT_NE(differ.out.find(expected), std::string::npos) << expected << " in\n" << differ.out;
  }
  // What is no stream is refused.
  EXPECT_EQ(Tavorin({"diff", a, WriteFile("empty", {})}).status, 2);
  EXPECT_EQ(Tavorin({"diff", "missing", a}).status, 2);
  EXPECT_EQ(Tavorin({"diff", a}).status, 2);
}

TEST_F(Tool, UsageVersionAndUnknownCommands) {
  const ToolRun version = Tavorin({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tavorin Version 1.0\n");

  const ToolRun help = Tavorin({"inspect", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--json"), std::string::npos);

  const ToolRun unknown = Tavorin({"frobnicate"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("unknown command: frobnicate"), std::string::npos);
  EXPECT_NE(unknown.err.find("Usage"), std::string::npos);
  EXPECT_EQ(Tavorin({}).status, 2);
}

// Values a valid stream may hold that the runtime cannot print or compare
// with itself: every one is shown, and a stream still equals itself.
TEST_F(Tool, EveryValueIsShownAndAStreamEqualsItself) {
  using tavorin::host::Variant;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::string odd = WithEntries(
      "odd.tvs",
      {{"d1", Variant::Date(nan)}, {"d2", Variant::Date(1e300)}, {"m", Variant::Decimal(nan)}});
  const std::string good = TextBoxStream("good.tvs", "good");

  const ToolRun text = Tavorin({"inspect", good, odd});
  EXPECT_EQ(text.status, 0) << text.err;
  for (const char* expected :
       {"good.tvs: TextBox stream", "\"good\"", "invalid date, day count nan",
        "invalid date, day count 1.0000000000000001e+300"}) {
    EXPECT_NE(text.out.find(expected), std::string::npos) << expected << " in\n" << text.out;
  }
  const ToolRun json = Tavorin({"inspect", "--json", good, odd});
  EXPECT_EQ(json.status, 0) << json.err;
  const nlohmann::json reports = nlohmann::json::parse(json.out);
  ASSERT_EQ(reports.size(), 2u);
  const nlohmann::json& entries = reports[1]["entries"];
  const auto d1 = std::find_if(entries.begin(), entries.end(),
                               [](const nlohmann::json& entry) { return entry["key"] == "d1"; });
  ASSERT_NE(d1, entries.end());
  EXPECT_EQ((*d1)["value"], "invalid date, day count nan");

  const ToolRun same = Tavorin({"diff", odd, odd});
  EXPECT_EQ(same.status, 0) << same.out << same.err;
  EXPECT_NE(same.out.find("the streams are equal"), std::string::npos) << same.out;
}

TEST_F(Tool, OutputStaysInProportionToTheInput) {
  // One key of 50,000 bytes must not pad every row to its width.
  const std::string longKey(50'000, 'k');
  const std::string file = WithEntries("long.tvs", {{longKey, tavorin::host::Variant::Long(1)}});
  const std::size_t fileSize = fs::file_size(scratch.Path() / file);
  const ToolRun run = Tavorin({"inspect", file});
  EXPECT_EQ(run.status, 0);
  EXPECT_LT(run.out.size(), 2 * fileSize + 4096);
  EXPECT_NE(run.out.find(longKey + "\n"), std::string::npos) << "a long key on a line of its own";
  const ToolRun differ = Tavorin({"diff", file, TextBoxStream("short.tvs", "text")});
  EXPECT_EQ(differ.status, 1);
  EXPECT_LT(differ.out.size(), 2 * fileSize + 4096);

  // diff indexes the keys: 100,000 entries on each side take a moment, where
  // a search per key took minutes.
  std::vector<std::pair<std::string, tavorin::host::Variant>> many;
  for (std::int32_t i = 0; i < 100'000; ++i) {
    many.emplace_back("k" + std::to_string(i), tavorin::host::Variant::Long(i));
  }
  const std::string a = WithEntries("many-a.tvs", many);
  many.back().second = tavorin::host::Variant::Long(-1);
  const std::string b = WithEntries("many-b.tvs", many);
  const auto started = std::chrono::steady_clock::now();
  const ToolRun large = Tavorin({"diff", a, b});
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_EQ(large.status, 1);
  EXPECT_NE(large.out.find("99999 -> -1"), std::string::npos) << large.out;
  EXPECT_NE(large.out.find("1 entry differs"), std::string::npos) << large.out;
}

TEST_F(Tool, NothingPrintedCanDriveTheTerminal) {
  const std::string arabicMark = "\xD8\x9C";
  const ToolRun mark = Tavorin({"inspect", TextBoxStream("mark.tvs", "a" + arabicMark + "b")});
  EXPECT_NE(mark.out.find(R"("a\u061cb")"), std::string::npos) << mark.out;
  EXPECT_EQ(mark.out.find(arabicMark), std::string::npos);

  const ToolRun escaped = Tavorin({"inspect", TextBoxStream("a.tvs", "red\x1b[31m\nline\x07")});
  EXPECT_NE(escaped.out.find(R"("red\x1b[31m\nline\x07")"), std::string::npos) << escaped.out;

  const std::string hostile = "x\x1b]0;owned\x07\x9b";
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"inspect", "--" + hostile},
        std::vector<std::string>{"diff", hostile, "missing"},
        std::vector<std::string>{"inspect", "--json", hostile},
        std::vector<std::string>{"inspect", TextBoxStream("hostile.tvs", hostile)},
        std::vector<std::string>{"inspect", "--json", TextBoxStream("hostile.tvs", hostile)}}) {
    const ToolRun run = Tavorin(arguments);
    for (const std::string* said : {&run.out, &run.err}) {
      EXPECT_TRUE(std::none_of(said->begin(), said->end(),
                               [](char c) {
                                 const auto byte = static_cast<unsigned char>(c);
                                 return (byte < 0x20 && c != '\n') || byte == 0x7f || byte == 0x9b;
                               }))
          << arguments[1] << ":\n"
          << *said;
    }
  }
}

TEST_F(Tool, ADemoThatCannotWriteItsStreamsSaysSoAndExits2) {
  fs::create_directories(scratch.Path() / "blocked" / "Text1.tvs");
  const ToolRun run = Tavorin({"demo", "--out", "blocked"});
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_NE(run.err.find("blocked: cannot write the streams"), std::string::npos) << run.err;
}

}  // namespace
