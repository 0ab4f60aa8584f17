// Mapped drives over a real folder tree: drive letters, path resolution that
// never leaves the drive, folder and file listings, patterns and attributes.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "host/file_system.h"
#include "support/raises.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using tavorin::host::MapDrive;
using tavorin::host::UnmapDrive;
using namespace tavorin::host::detail;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A folder tree mapped as drive q: for the length of one test.
class MappedTree : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"alpha.txt", "Beta.TXT", "beta.txt", "notes", ".hidden.txt",
                             "locked.txt", "picture.bmp", "sub/inner/deep.txt"}) {
      fs::create_directories((root_ / name).parent_path());
      std::ofstream(root_ / name) << name;
    }
    fs::create_directories(root_ / "Sub2");
    fs::create_directories(root_ / ".git");
    fs::permissions(root_ / "locked.txt", fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory_symlink(root_ / "sub", root_ / "linked");
    fs::create_symlink(root_ / "loop", root_ / "loop");
    fs::create_symlink(root_ / "missing", root_ / "dangling.txt");
    MapDrive('Q', root_.string());
  }
  void TearDown() override { UnmapDrive('q'); }

  ScratchFolder scratch_;
  const fs::path& root_ = scratch_.Path();
};

TEST_F(MappedTree, DriveTableListsResolvesAndRefusesDrives) {
  EXPECT_THAT(DriveEntries(), ::testing::IsSupersetOf({"c:", "q:"}));
  EXPECT_EQ(DriveEntries().front(), "c:");
  for (const char* name : {"q", "q:", "Q:", "q:\\", "Q:\\sub", "q: [label]"})
    EXPECT_EQ(DriveLetterOf(name), 'q') << name;
  EXPECT_EQ(ToNativePath("q:\\sub\\inner"), root_ / "sub" / "inner");
  EXPECT_EQ(ToNativePath("q:\\..\\..\\..\\sub"), root_ / "sub");  // never above the drive's root
  EXPECT_EQ(ToNativePath("C:\\"), fs::path("/"));
  EXPECT_EQ(RootOf('Q'), "q:\\");

  EXPECT_RAISES(68, DriveLetterOf("p:"));
  EXPECT_RAISES(68, ToNativePath("p:\\x"));
  EXPECT_RAISES(68, SubFolders("p:\\"));
  for (const char* bad : {"", "1:", ":", "#", "qq"}) EXPECT_RAISES(5, DriveLetterOf(bad));
  EXPECT_RAISES(5, MapDrive('1', root_.string()));
  EXPECT_RAISES(5, UnmapDrive('['));
  for (const fs::path& folder : {root_ / "no-such-folder", root_ / "alpha.txt", fs::path()}) {
    EXPECT_RAISES(76, MapDrive('p', folder.string()));
  }
  MapDrive('q', (root_ / "sub").string());  // remapping moves the drive
  EXPECT_THAT(SubFolders("q:\\"), ElementsAre("inner"));
  UnmapDrive('q');
  EXPECT_RAISES(68, DriveLetterOf("q:"));
  EXPECT_THAT(DriveEntries(), ::testing::Not(::testing::Contains("q:")));
  UnmapDrive('q');  // unmapping twice is harmless
}

TEST(NormalizePath, ResolvesAgainstTheCurrentFolder) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // path, current folder, result
      {"", "c:\\work", "c:\\work"},
      {"sub", "c:\\work", "c:\\work\\sub"},
      {"sub/inner\\x", "C:\\work", "c:\\work\\sub\\inner\\x"},
      {".\\a\\.\\b", "c:\\", "c:\\a\\b"},
      {"..", "c:\\work\\sub", "c:\\work"},
      {"..\\..\\..\\..", "c:\\work\\sub", "c:\\"},
      {"\\etc", "d:\\work", "d:\\etc"},
      {"/etc//passwd/", "c:\\work", "c:\\etc\\passwd"},
      {"D:\\Data\\..\\Files", "c:\\work", "d:\\Files"},
      {"d:", "c:\\work", "d:\\"},
      {"d:sub", "d:\\work", "d:\\work\\sub"},
      {"d:sub", "c:\\work", "d:\\sub"},
      {"c:..", "c:\\work\\sub", "c:\\work"},
      {"x", "", "c:\\x"},
      {"x", "relative\\base", "c:\\relative\\base\\x"},
      {"...", "c:\\", "c:\\..."},
  };
  for (const auto& [path, current, expected] : cases) {
    EXPECT_EQ(NormalizePath(path, current), expected) << path << " from " << current;
  }
  EXPECT_RAISES(5, NormalizePath("1:\\x", "c:\\"));
  EXPECT_RAISES(5, NormalizePath(std::string("a\0b", 3), "c:\\"));
}

TEST_F(MappedTree, SubFoldersIncludeHiddenAndLinkedFoldersSortedWithoutCase) {
  EXPECT_THAT(SubFolders("q:\\"), ElementsAre(".git", "linked", "sub", "Sub2"));
  EXPECT_THAT(SubFolders("q:\\sub\\..\\.."), ElementsAre(".git", "linked", "sub", "Sub2"));
  EXPECT_THAT(SubFolders("Q:/linked"), ElementsAre("inner"));
  EXPECT_THAT(SubFolders("q:\\sub\\inner"), IsEmpty());
  RequireDirectory("q:\\linked");
  for (const char* notAFolder : {"q:\\nowhere", "q:\\alpha.txt", "q:\\loop"}) {
    EXPECT_RAISES(76, RequireDirectory(notAFolder));
    EXPECT_RAISES(76, SubFolders(notAFolder));
  }
  EXPECT_RAISES(76, MatchingFiles("q:\\alpha.txt", "*.*", {}));
}

TEST_F(MappedTree, FilesMatchPatternsAndAttributeSwitchesAndSortWithoutCase) {
  const FileAttributeFilter all;
  EXPECT_THAT(MatchingFiles("q:\\", "*.*", all), ElementsAre("alpha.txt", "Beta.TXT", "beta.txt",
                                                             "locked.txt", "notes", "picture.bmp"));
  EXPECT_THAT(MatchingFiles("q:\\", " *.BMP ; a*", all), ElementsAre("alpha.txt", "picture.bmp"));
  EXPECT_THAT(MatchingFiles("q:\\", "*.doc", all), IsEmpty());
  EXPECT_THAT(MatchingFiles("q:\\sub\\inner", "*", all), ElementsAre("deep.txt"));

  FileAttributeFilter filter;
  filter.hidden = true;
  EXPECT_THAT(MatchingFiles("q:\\", "*.txt", filter),
              ElementsAre(".hidden.txt", "alpha.txt", "Beta.TXT", "beta.txt", "locked.txt"));
  filter = {};
  filter.readOnly = false;
  EXPECT_THAT(MatchingFiles("q:\\", "*.txt", filter),
              ElementsAre("alpha.txt", "Beta.TXT", "beta.txt"));
  filter = {};
  filter.normal = false;
  filter.archive = false;
  EXPECT_THAT(MatchingFiles("q:\\", "*.*", filter), ElementsAre("locked.txt"));
  filter.archive = true;
  EXPECT_THAT(MatchingFiles("q:\\", "b*", filter), ElementsAre("Beta.TXT", "beta.txt"));
}

TEST(MatchesPattern, WildcardsAndListsWithoutCase) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"report.TXT", "*.txt", true},
      {"report.txt", "*.doc;*.TXT", true},
      {"report.txt", "*.doc;;", false},
      {"README", "*.*", true},
      {"README", "READ*.*", true},
      {"README", "*.txt", false},
      {"a.b.c", "*.c", true},
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"abbc", "a?c", false},
      {"\xC3\xA9t\xC3\xA9.txt", "?t?.txt", true},
      {"\xFF\xFE", "??", true},
      {"anything", "", false},
      {"anything", " ; ", false},
      {"", "*", true},
      {"mississippi", "m*iss*ppi", true},
      {"mississippi", "m*iss*ppix", false},
      {"a*b", "a*b", true},
      {"Beta.TXT", "?eta.txt", true},
  };
  for (const auto& [name, pattern, expected] : cases) {
    EXPECT_EQ(MatchesPattern(name, pattern), expected) << name << " ~ " << pattern;
  }
  std::string pathological;  // must finish quickly
  for (int i = 0; i < 200; ++i) pathological += "*a";
  pathological += "*b";
  EXPECT_FALSE(MatchesPattern(std::string(5000, 'a'), pathological));
  EXPECT_TRUE(MatchesPattern(std::string(5000, 'a') + "b", pathological));
}

}  // namespace
