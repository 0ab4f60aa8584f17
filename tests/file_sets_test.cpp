// The folder and file list sets on a scratch tree mapped as drive w: a folder
// missing where a stream is read, and a file list's selection restored by
// position.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"
#include "support/scratch_folder.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

// w:\ holds the folders four, one, three and two and the files f1.txt to
// f5.txt; w:\one holds the folders x and y and the files g1.txt and g2.txt.
class FileSets : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"one/x", "one/y", "two", "three", "four"}) {
      std::filesystem::create_directories(scratch.Path() / folder);
    }
    for (const char* file :
         {"f1.txt", "f2.txt", "f3.txt", "f4.txt", "f5.txt", "one/g1.txt", "one/g2.txt"}) {
      AddFile(file);
    }
    MapDrive('w', scratch.Path().string());
  }
  void TearDown() override { UnmapDrive('w'); }

  void AddFile(const std::string& name) { std::ofstream(scratch.Path() / name) << name; }

  std::shared_ptr<Control> Add(const char* className, const std::string& path = "") {
    auto control = form->AddControl(className, className + std::to_string(++count));
    if (!path.empty()) control->SetProperty("Path", path);
    return control;
  }

  static std::vector<int> SelectedEntries(Control& list) {
    std::vector<int> selected;
    for (int i = 0; i < CInt(list.GetProperty("ListCount")); ++i) {
      if (CBool(list.CallMethod("Selected", {Variant(i)}))) selected.push_back(i);
    }
    return selected;
  }

  ScratchFolder scratch;
  std::shared_ptr<Form> form = Form::Create("Form1");
  int count = 0;
  Settings settings;
};

// The stream names a folder that is gone: the control stays in its own and
// takes the stored positions where its list has them.
TEST_F(FileSets, AMissingFolderLeavesTheControlInItsOwn) {
  for (const char* className : {"DirListBox", "FileListBox"}) {
    SCOPED_TRACE(className);
    auto source = Add(className, "w:\\");
    source->SetProperty("TopIndex", 1);
    source->SetProperty("ListIndex", 3);
    // Both classes store Path under "48".
    const ByteArray stream = WithStored(Write(settings, *source), "48", Variant("w:\\gone"));

    auto destination = Add(className, "w:\\one");
    Read(settings, stream, *destination);
    EXPECT_EQ(destination->GetProperty("Path"), Variant("W:\\one"));
    EXPECT_EQ(CInt(destination->GetProperty("TopIndex")), 1);
    EXPECT_EQ(CInt(destination->GetProperty("ListIndex")), -1) << "only two entries there";
  }
}

TEST_F(FileSets, FileSelectionsComeBackByPosition) {
  auto source = Add("FileListBox");
  source->SetProperty("MultiSelect", 1);
  source->SetProperty("Path", "w:\\");
  EXPECT_FALSE(Holds(Write(settings, *source), "S0")) << "nothing selected, no key";
  for (int entry : {0, 2, 4}) source->CallMethod("Selected", {Variant(entry), Variant(true)});
  const ByteArray stream = Write(settings, *source);
  for (const char* key : {"S1", "S3"}) EXPECT_FALSE(Holds(stream, key)) << key;

  const struct {
    const char* where;
    std::vector<const char*> removed, added;
    std::vector<int> expected;
  } cases[] = {
      {"the same files", {}, {}, {0, 2, 4}},
      {"two files fewer", {"f4.txt", "f5.txt"}, {}, {0, 2}},
      {"three files more", {}, {"f6.txt", "f7.txt", "f8.txt"}, {0, 2, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    for (const char* file : c.removed) std::filesystem::remove(scratch.Path() / file);
    for (const char* file : c.added) AddFile(file);
    auto destination = Add("FileListBox");
    destination->SetProperty("MultiSelect", 1);
    Read(settings, stream, *destination);
    EXPECT_EQ(SelectedEntries(*destination), c.expected);
    for (const char* file : c.removed) AddFile(file);
    for (const char* file : c.added) std::filesystem::remove(scratch.Path() / file);
  }
}

}  // namespace
