// Stream files on a scratch folder: round trips, the refusals, and that a
// failed replacement leaves the older file as it was.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/files.h"
#include "support/raises.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using tavorin::host::ByteArray;
using tavorin::testing::Listing;
using tavorin::testing::ReadFile;
using tavorin::testing::WriteFile;
using Names = std::vector<std::string>;

ByteArray Pattern(std::size_t size, std::uint8_t seed) {
  ByteArray bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  return bytes;
}

class StreamFileTest : public testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  ScratchFolder scratch_;
  const fs::path& folder_ = scratch_.Path();
  tavorin::Tavorin component_;
};

TEST_F(StreamFileTest, WhatIsWrittenReadsBackAndAShorterStreamReplacesALongerFileWhole) {
  const ByteArray bytes = Pattern(5000, 3);  // no stream at all: files do not care
  component_.StreamToFile(bytes, PathOf("a.tvs"));
  EXPECT_EQ(component_.StreamFromFile(PathOf("a.tvs")), bytes);
  component_.StreamToFile(Pattern(10, 9), PathOf("a.tvs"));
  EXPECT_EQ(ReadFile(PathOf("a.tvs")), Pattern(10, 9));
  EXPECT_EQ(Listing(folder_), Names{"a.tvs"});

  WriteFile(PathOf("empty.tvs"), {});
  EXPECT_TRUE(component_.StreamFromFile(PathOf("empty.tvs")).empty());
}

TEST_F(StreamFileTest, AnEmptyStreamTouchesNothing) {
  WriteFile(PathOf("a.tvs"), Pattern(100, 1));
  for (const std::string& path :
       {PathOf("a.tvs"), PathOf("new.tvs"), PathOf("missing/new.tvs"), std::string()}) {
    component_.StreamToFile({}, path);
  }
  EXPECT_EQ(ReadFile(PathOf("a.tvs")), Pattern(100, 1));
  EXPECT_EQ(Listing(folder_), Names{"a.tvs"});
}

TEST_F(StreamFileTest, RefusesWhatIsNoReplaceableFileAndCreatesNone) {
  WriteFile(PathOf("plain"), Pattern(4, 0));
  fs::create_directory(PathOf("folder"));
  ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);
  EXPECT_RAISES(53, component_.StreamFromFile(PathOf("missing.tvs")));
  EXPECT_RAISES(75, component_.StreamFromFile(PathOf("pipe")));  // and no wait for a writer
  const ByteArray stream = Pattern(8, 1);
  const std::pair<std::string, int> refused[] = {
      {PathOf("missing/a.tvs"), 76},
      {PathOf("plain/a.tvs"), 76},  // a file where a folder should be
      {PathOf("folder"), 75},
      {"", 75},
      {PathOf("plain") + std::string(1, '\0') + "x", 75},
  };
  for (const auto& [path, error] : refused) {
    SCOPED_TRACE(path);
    EXPECT_RAISES(error, component_.StreamFromFile(path));
    EXPECT_RAISES(error, component_.StreamToFile(stream, path));
  }
  EXPECT_RAISES(75, component_.StreamToFile(stream, PathOf("folder") + "/"));
  EXPECT_EQ(ReadFile(PathOf("plain")), Pattern(4, 0));
  EXPECT_EQ(Listing(folder_), (Names{"folder", "pipe", "plain"}));
  EXPECT_TRUE(fs::is_empty(PathOf("folder")));
}

// The mode bits decide, so the refusal holds for root too.
TEST_F(StreamFileTest, AReadOnlyFileIsRefusedAndKeptAndANewFileKeepsTheOldPermissions) {
  WriteFile(PathOf("locked.tvs"), Pattern(30, 5));
  fs::permissions(PathOf("locked.tvs"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_RAISES(70, component_.StreamToFile(Pattern(8, 1), PathOf("locked.tvs")));
  EXPECT_EQ(ReadFile(PathOf("locked.tvs")), Pattern(30, 5));

  WriteFile(PathOf("shared.tvs"), Pattern(30, 5));
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(PathOf("shared.tvs"), mode);
  component_.StreamToFile(Pattern(8, 1), PathOf("shared.tvs"));
  EXPECT_EQ(fs::status(PathOf("shared.tvs")).permissions(), mode);
  const mode_t mask = ::umask(022);
  component_.StreamToFile(Pattern(8, 1), PathOf("fresh.tvs"));
  ::umask(mask);
  EXPECT_EQ(fs::status(PathOf("fresh.tvs")).permissions(), static_cast<fs::perms>(0644));
  EXPECT_EQ(Listing(folder_), (Names{"fresh.tvs", "locked.tvs", "shared.tvs"}));
}

TEST_F(StreamFileTest, WildcardsNameOneFileLiterally) {
  WriteFile(PathOf("a1.tvs"), Pattern(4, 1));
  WriteFile(PathOf("a2.tvs"), Pattern(4, 2));
  EXPECT_RAISES(53, component_.StreamFromFile(PathOf("a?.tvs")));
  component_.StreamToFile(Pattern(6, 3), PathOf("a*.tvs"));
  component_.StreamToFile(Pattern(6, 4), PathOf("a?.tvs"));
  EXPECT_EQ(ReadFile(PathOf("a1.tvs")), Pattern(4, 1));
  EXPECT_EQ(ReadFile(PathOf("a2.tvs")), Pattern(4, 2));
  EXPECT_EQ(component_.StreamFromFile(PathOf("a*.tvs")), Pattern(6, 3));
  EXPECT_EQ(Listing(folder_), (Names{"a*.tvs", "a1.tvs", "a2.tvs", "a?.tvs"}));
}

// A file size limit makes the write fail halfway, as a full disk would, and
// holds for root as well.
// The signal keeps its default action: a write past the limit would end the
// test process.
TEST_F(StreamFileTest, AFailedReplacementLeavesTheOldFileAsItWas) {
  WriteFile(PathOf("keep.tvs"), Pattern(100, 7));
  rlimit limit{}, saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  limit = saved;
  limit.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  EXPECT_RAISES(61, component_.StreamToFile(Pattern(64 * 1024, 1), PathOf("keep.tvs")));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(ReadFile(PathOf("keep.tvs")), Pattern(100, 7));
  EXPECT_EQ(Listing(folder_), Names{"keep.tvs"});
}

TEST_F(StreamFileTest, AFileThatReportsNoLengthIsReadToItsEnd) {
  std::ifstream in("/proc/version", std::ios::binary);
  const ByteArray expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(component_.StreamFromFile("/proc/version"), expected);
}

TEST_F(StreamFileTest, AFileTooLargeToLoadIsRefusedBeforeAllocating) {
  WriteFile(PathOf("huge.tvs"), {});
  fs::resize_file(PathOf("huge.tvs"),
                  (std::uintmax_t{1} << 30) + 1);  // sparse: takes no room on disk
  EXPECT_RAISES(7, component_.StreamFromFile(PathOf("huge.tvs")));
}

}  // namespace
