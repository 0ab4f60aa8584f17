// Stream files on a temporary folder: round trips, the refusals, and that a
// failed replacement leaves the older file as it was.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/raises.h"

namespace {

namespace fs = std::filesystem;
using tavorin::Tavorin;
using tavorin::host::ByteArray;

ByteArray Pattern(std::size_t size, std::uint8_t seed) {
  ByteArray bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  return bytes;
}

class StreamFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "tavorin-stream-file-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    folder_ = name;
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  void Put(const std::string& name, const ByteArray& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  ByteArray Contents(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return ByteArray(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  Tavorin component_;
  fs::path folder_;
};

TEST_F(StreamFileTest, WhatIsWrittenReadsBackByteForByte) {
  const ByteArray bytes = Pattern(5000, 3);  // no stream at all: files do not care
  component_.StreamToFile(bytes, PathOf("a.tvs"));
  EXPECT_EQ(fs::file_size(PathOf("a.tvs")), bytes.size());
  EXPECT_EQ(component_.StreamFromFile(PathOf("a.tvs")), bytes);
  EXPECT_EQ(Listing(), std::vector<std::string>{"a.tvs"});
}

TEST_F(StreamFileTest, AShorterStreamReplacesALongerFileWhole) {
  Put("a.tvs", Pattern(100, 1));
  const ByteArray bytes = Pattern(10, 9);
  component_.StreamToFile(bytes, PathOf("a.tvs"));
  EXPECT_EQ(Contents("a.tvs"), bytes);
  EXPECT_EQ(Listing(), std::vector<std::string>{"a.tvs"});
}

TEST_F(StreamFileTest, AnEmptyStreamTouchesNothing) {
  Put("a.tvs", Pattern(100, 1));
  component_.StreamToFile({}, PathOf("a.tvs"));
  component_.StreamToFile({}, PathOf("new.tvs"));
  component_.StreamToFile({}, PathOf("missing/new.tvs"));
  component_.StreamToFile({}, "");
  EXPECT_EQ(Contents("a.tvs"), Pattern(100, 1));
  EXPECT_EQ(Listing(), std::vector<std::string>{"a.tvs"});
}

TEST_F(StreamFileTest, AnEmptyFileReadsAsAnArrayWithoutElements) {
  Put("empty.tvs", {});
  const ByteArray bytes = component_.StreamFromFile(PathOf("empty.tvs"));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(component_.IsStream(bytes));
}

TEST_F(StreamFileTest, ReadingRefusesWhatIsNoFileAndCreatesNone) {
  Put("plain", Pattern(4, 0));
  fs::create_directory(PathOf("folder"));
  ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);
  EXPECT_RAISES(53, component_.StreamFromFile(PathOf("missing.tvs")));
  EXPECT_RAISES(76, component_.StreamFromFile(PathOf("missing/a.tvs")));
  EXPECT_RAISES(76, component_.StreamFromFile(PathOf("plain/a.tvs")));  // a file where a folder should be
  EXPECT_RAISES(75, component_.StreamFromFile(PathOf("folder")));
  EXPECT_RAISES(75, component_.StreamFromFile(PathOf("pipe")));  // and no wait for a writer
  EXPECT_RAISES(75, component_.StreamFromFile(""));
  EXPECT_RAISES(75, component_.StreamFromFile(PathOf("plain") + std::string(1, '\0') + "x"));
  EXPECT_EQ(Listing(), (std::vector<std::string>{"folder", "pipe", "plain"}));
}

TEST_F(StreamFileTest, WritingRefusesWhatIsNoReplaceableFile) {
  Put("plain", Pattern(4, 0));
  fs::create_directory(PathOf("folder"));
  const ByteArray stream = Pattern(8, 1);
  EXPECT_RAISES(76, component_.StreamToFile(stream, PathOf("missing/a.tvs")));
  EXPECT_RAISES(76, component_.StreamToFile(stream, PathOf("plain/a.tvs")));
  EXPECT_RAISES(75, component_.StreamToFile(stream, PathOf("folder")));
  EXPECT_RAISES(75, component_.StreamToFile(stream, PathOf("folder") + "/"));
  EXPECT_RAISES(75, component_.StreamToFile(stream, ""));
  EXPECT_RAISES(75, component_.StreamToFile(stream, PathOf("plain") + std::string(1, '\0')));
  EXPECT_EQ(Contents("plain"), Pattern(4, 0));
  EXPECT_EQ(Listing(), (std::vector<std::string>{"folder", "plain"}));
  EXPECT_TRUE(fs::is_empty(PathOf("folder")));
}

// The mode bits decide, so the refusal holds for root too.
TEST_F(StreamFileTest, AReadOnlyFileIsRefusedAndKept) {
  Put("locked.tvs", Pattern(30, 5));
  fs::permissions(PathOf("locked.tvs"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_RAISES(70, component_.StreamToFile(Pattern(8, 1), PathOf("locked.tvs")));
  EXPECT_EQ(Contents("locked.tvs"), Pattern(30, 5));
  EXPECT_EQ(Listing(), std::vector<std::string>{"locked.tvs"});
}

TEST_F(StreamFileTest, TheNewFileKeepsTheOldPermissions) {
  Put("shared.tvs", Pattern(30, 5));
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(PathOf("shared.tvs"), mode);
  component_.StreamToFile(Pattern(8, 1), PathOf("shared.tvs"));
  EXPECT_EQ(fs::status(PathOf("shared.tvs")).permissions(), mode);

  const mode_t mask = ::umask(022);
  component_.StreamToFile(Pattern(8, 1), PathOf("fresh.tvs"));
  ::umask(mask);
  EXPECT_EQ(fs::status(PathOf("fresh.tvs")).permissions(), static_cast<fs::perms>(0644));
}

TEST_F(StreamFileTest, WildcardsNameOneFileLiterally) {
  Put("a1.tvs", Pattern(4, 1));
  Put("a2.tvs", Pattern(4, 2));
  EXPECT_RAISES(53, component_.StreamFromFile(PathOf("a?.tvs")));
  component_.StreamToFile(Pattern(6, 3), PathOf("a*.tvs"));
  component_.StreamToFile(Pattern(6, 4), PathOf("a?.tvs"));
  EXPECT_EQ(Contents("a1.tvs"), Pattern(4, 1));
  EXPECT_EQ(Contents("a2.tvs"), Pattern(4, 2));
  EXPECT_EQ(component_.StreamFromFile(PathOf("a*.tvs")), Pattern(6, 3));
  EXPECT_EQ(Listing(), (std::vector<std::string>{"a*.tvs", "a1.tvs", "a2.tvs", "a?.tvs"}));
}

// A file size limit makes the write fail halfway, as a full disk would, and
// holds for root as well.
TEST_F(StreamFileTest, AFailedReplacementLeavesTheOldFileAsItWas) {
  Put("keep.tvs", Pattern(100, 7));
  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
  rlimit limit{}, saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  limit = saved;
  limit.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);

  EXPECT_RAISES(61, component_.StreamToFile(Pattern(64 * 1024, 1), PathOf("keep.tvs")));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::sigaction(SIGXFSZ, &previous, nullptr);

  EXPECT_EQ(Contents("keep.tvs"), Pattern(100, 7));
  EXPECT_EQ(Listing(), std::vector<std::string>{"keep.tvs"});
}

TEST_F(StreamFileTest, AFileTooLargeToLoadIsRefusedBeforeAllocating) {
  // Sparse: takes no room on disk.
  Put("huge.tvs", {});
  fs::resize_file(PathOf("huge.tvs"), (std::uintmax_t{1} << 30) + 1);
  EXPECT_RAISES(7, component_.StreamFromFile(PathOf("huge.tvs")));
}

}  // namespace
