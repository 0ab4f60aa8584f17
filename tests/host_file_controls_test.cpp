// The drive, folder and file list boxes on a scratch folder tree mapped as a
// drive.
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/list_items.h"
#include "support/raises.h"
#include "support/scratch_folder.h"

namespace tavorin::host {
namespace {

using testing::ListItems;

/// q: holds the folders alpha, Beta and .cache, and the files a.txt, B.TXT,
/// c.log, .secret.txt (hidden) and locked.txt (read-only); alpha holds
/// inner.txt.
class HostFileControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto& root = scratch.Path();
    for (const char* folder : {"alpha", "Beta", ".cache"}) {
      std::filesystem::create_directory(root / folder);
    }
    for (const char* file :
         {"a.txt", "B.TXT", "c.log", ".secret.txt", "locked.txt", "alpha/inner.txt"}) {
      std::ofstream(root / file) << "x";
    }
    ASSERT_EQ(chmod((root / "locked.txt").c_str(), 0444), 0);
    MapDrive('q', root.string());
  }
  void TearDown() override { UnmapDrive('q'); }

  template <typename ControlClass>
  std::shared_ptr<ControlClass> Add(const char* className) {
    return std::dynamic_pointer_cast<ControlClass>(
        form->AddControl(className, className + std::to_string(++count)));
  }

  ScratchFolder scratch;
  std::shared_ptr<Form> form = Form::Create("Form1");
  int count = 0;
};

TEST_F(HostFileControlsTest, DriveListBoxListsTheMappedDrivesAndRefusesOthers) {
  auto drives = Add<DriveListBox>("DriveListBox");
  EXPECT_EQ(drives->Drive(), "c:\\");
  drives->SetProperty("Drive", Variant("Q:"));
  EXPECT_EQ(drives->Drive(), "q:\\");
  const std::vector<std::string> entries = ListItems(*drives);
  ASSERT_GE(drives->ListIndex(), 0);
  EXPECT_EQ(entries.at(static_cast<std::size_t>(drives->ListIndex())).substr(0, 2), "q:");
  EXPECT_RAISES(errors::kDeviceUnavailable, drives->Drive("z:\\"));
  EXPECT_EQ(drives->Drive(), "q:\\") << "a refused drive keeps the old one";
  const int other = drives->ListIndex() == 0 ? 1 : 0;
  drives->SetProperty("ListIndex", other);
  EXPECT_NE(drives->Drive(), "q:\\") << "choosing an entry changes the drive";
  EXPECT_EQ(drives->ListIndex(), other);
  EXPECT_RAISES(errors::kPropertyReadOnly, drives->CallMethod("List", {Variant(0), Variant("x")}));
}

TEST_F(HostFileControlsTest, ChoosingTheDriveShownKeepsTheListAndItsTop) {
  MapDrive('r', scratch.Path().string());
  auto drives = Add<DriveListBox>("DriveListBox");
  drives->Drive("q:");
  drives->TopIndex(2);
  MapDrive('s', scratch.Path().string());
  drives->ListIndex(drives->ListIndex());
  drives->SetProperty("Drive", Variant("Q:\\"));
  EXPECT_EQ(drives->TopIndex(), 2);
  EXPECT_EQ(ListItems(*drives), (std::vector<std::string>{"c:", "q:", "r:"}));
  drives->Drive("r:");
  EXPECT_EQ(drives->TopIndex(), 0) << "another drive reads the table again";
  EXPECT_EQ(drives->ListCount(), 4);
  UnmapDrive('r');
  UnmapDrive('s');
}

TEST_F(HostFileControlsTest, DirListBoxListsTheFoldersOfItsPath) {
  auto folders = Add<DirListBox>("DirListBox");
  EXPECT_EQ(folders->Path(), "C:\\");
  folders->Path("q:\\");
  EXPECT_EQ(folders->Path(), "Q:\\");
  EXPECT_EQ(ListItems(*folders), (std::vector<std::string>{"Q:\\.cache", "Q:\\alpha", "Q:\\Beta"}));
  folders->SetProperty("Path", Variant("alpha"));
  EXPECT_EQ(folders->Path(), "Q:\\alpha") << "a relative path starts at the current one";
  EXPECT_EQ(folders->ListCount(), 0);
  EXPECT_RAISES(errors::kPathNotFound, folders->Path("q:\\missing"));
  EXPECT_RAISES(errors::kDeviceUnavailable, folders->Path("z:\\"));
  EXPECT_EQ(folders->Path(), "Q:\\alpha");
  folders->Path("..");
  EXPECT_EQ(folders->ListCount(), 3);
}

TEST_F(HostFileControlsTest, FileListBoxKeepsItsFolderWhenANewOneIsRefused) {
  auto files = Add<FileListBox>("FileListBox");
  files->Path("q:\\alpha");
  EXPECT_RAISES(errors::kPathNotFound, files->SetProperty("Path", Variant("q:\\nowhere")));
  EXPECT_RAISES(errors::kDeviceUnavailable, files->Path("z:\\"));
  EXPECT_EQ(files->Path(), "Q:\\alpha");
  EXPECT_EQ(ListItems(*files), (std::vector<std::string>{"inner.txt"}));
}

TEST_F(HostFileControlsTest, FileListBoxSelectsLikeAListBox) {
  auto files = Add<FileListBox>("FileListBox");
  files->MultiSelect(1);
  files->Path("q:\\");
  files->Selected(0, true);
  files->Selected(2, true);
  EXPECT_EQ(files->SelCount(), 2);
  files->Pattern("*.*");
  EXPECT_EQ(files->SelCount(), 0) << "a rebuilt list has nothing selected";
  files->Selected(1, true);
  files->SetProperty("MultiSelect", 0);
  EXPECT_EQ(files->SelCount(), 0);
  EXPECT_EQ(files->ListCount(), 4);
  files->Selected(0, true);
  files->Selected(1, true);
  EXPECT_EQ(files->SelCount(), 1);
  EXPECT_RAISES(errors::kInvalidPropertyValue, files->MultiSelect(3));
  EXPECT_EQ(files->MultiSelect(), 0);
}

TEST_F(HostFileControlsTest, ANewListStartsOnTheDriveRootAtTheClassDefaults) {
  MapDrive('c', scratch.Path().string());
  auto files = Add<FileListBox>("FileListBox");
  auto folders = Add<DirListBox>("DirListBox");
  MapDrive('c', "/");
  EXPECT_EQ(files->Path(), "C:\\");
  EXPECT_EQ(files->Pattern(), "*.*");
  EXPECT_EQ(files->ListCount(), 4);
  EXPECT_EQ(files->ListIndex(), -1);
  EXPECT_EQ(folders->ListCount(), 3);
  EXPECT_EQ(folders->TopIndex(), 2);
}

}  // namespace
}  // namespace tavorin::host
