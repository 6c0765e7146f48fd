#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/FileIO.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace trawlix {
namespace {

TEST(FileIOTest, ReadWholeFileReportsWhyItFailed) {
  testing::TempDir dir;
  const std::string path = (dir / "f.bin").string();
  std::ofstream(path, std::ios::binary) << std::string("a\0b", 3);
  std::string bytes = "old";
  EXPECT_EQ(ReadWholeFile(path, 3, bytes), ReadStatus::Ok);
  EXPECT_EQ(bytes, std::string("a\0b", 3));

  bytes = "old";
  EXPECT_EQ(ReadWholeFile(path, 2, bytes), ReadStatus::TooLarge);
  EXPECT_EQ(ReadWholeFile((dir / "none").string(), 10, bytes), ReadStatus::Missing);
  EXPECT_EQ(ReadWholeFile(dir.str(), 10, bytes), ReadStatus::Failed);
  EXPECT_EQ(bytes, "old");  // untouched on failure
}

TEST(FileIOTest, AtomicWriteReplacesTheFileAndKeepsItsPermissions) {
  testing::TempDir dir;
  const std::string path = (dir / "settings").string();
  ASSERT_TRUE(WriteFileAtomic(path, "first"));
  const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, perms);
  ASSERT_TRUE(WriteFileAtomic(path, std::string(100000, 'x')));
  std::string bytes;
  ASSERT_EQ(ReadWholeFile(path, 1 << 20, bytes), ReadStatus::Ok);
  EXPECT_EQ(bytes, std::string(100000, 'x'));
  EXPECT_EQ(fs::status(path).permissions(), perms);  // not the temp file's 0600
  // A new file takes the mode the user's umask gives.
  const ::mode_t before = ::umask(027);
  const std::string fresh = (dir / "fresh").string();
  ASSERT_TRUE(WriteFileAtomic(fresh, "x"));
  ::umask(before);
  EXPECT_EQ(fs::status(fresh).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::remove(fresh);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  EXPECT_FALSE(WriteFileAtomic((dir / "missing" / "f").string(), "x"));
}

TEST(FileIOTest, CopyReplacesTheTarget) {
  testing::TempDir dir;
  std::ofstream(dir / "a") << "new";
  std::ofstream(dir / "b") << "older and longer";
  EXPECT_TRUE(CopyFileReplacing((dir / "a").string(), (dir / "b").string()));
  std::string bytes;
  EXPECT_EQ(ReadWholeFile((dir / "b").string(), 100, bytes), ReadStatus::Ok);
  EXPECT_EQ(bytes, "new");
  EXPECT_FALSE(CopyFileReplacing((dir / "none").string(), (dir / "c").string()));
}

}  // namespace
}  // namespace trawlix
