#include <gtest/gtest.h>

#include "base/Number.h"
#include "base/Path.h"

namespace trawlix {
namespace {

TEST(SplitPathTest, SplitsLikeTheRuntimeSplitter) {
  struct Row {
    const char *path, *folder, *title, *extension;
  };
  const Row rows[] = {
      {"/a/photo.bmp.jpg", "/a/", "photo.bmp", ".jpg"},
      {"/a/b.c/noext", "/a/b.c/", "noext", ""},
      {"photo.jpg", "", "photo", ".jpg"},
      {"/a/b/", "/a/b/", "", ""},
      {"/a/.hidden", "/a/", "", ".hidden"},
      {"/a/name.", "/a/", "name", "."},
      {"", "", "", ""},
      {"/", "/", "", ""},
  };
  for (const Row& row : rows) {
    PathParts parts = SplitPath(row.path);
    EXPECT_EQ(parts.drive, "") << row.path;
    EXPECT_EQ(parts.folder, row.folder) << row.path;
    EXPECT_EQ(parts.title, row.title) << row.path;
    EXPECT_EQ(parts.extension, row.extension) << row.path;
  }
}

TEST(NormalizeFolderPathTest, TrimsCasesAndSetsTrailingSlash) {
  constexpr auto kAdd = TrailingSlash::Add, kRemove = TrailingSlash::Remove;
  struct Row {
    const char* path;
    TrailingSlash slash;
    LetterCase letterCase;
    const char* expected;
  };
  const Row rows[] = {
      {"  /Home/Pics  ", kAdd, LetterCase::Keep, "/Home/Pics/"},
      {"/Home/Pics/", kAdd, LetterCase::Keep, "/Home/Pics/"},
      {"/Home/Pics/", kRemove, LetterCase::Lower, "/home/pics"},
      {"/home/pics//", kRemove, LetterCase::Keep, "/home/pics/"},  // one only
      {"\t/x\n", kRemove, LetterCase::Keep, "/x"},
      {"/", kRemove, LetterCase::Keep, "/"},
      {"   ", kAdd, LetterCase::Keep, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(NormalizeFolderPath(row.path, row.slash, row.letterCase), row.expected)
        << "'" << row.path << "'";
  }
}

TEST(FormatThousandsTest, GroupsDigitsFromTheRight) {
  const std::pair<std::int64_t, const char*> rows[] = {
      {999, "999"},          {1000, "1,000"},        {-999, "-999"},
      {-100000, "-100,000"}, {1234567, "1,234,567"}, {INT64_MIN, "-9,223,372,036,854,775,808"},
  };
  for (const auto& [value, expected] : rows) EXPECT_EQ(FormatThousands(value), expected);
}

// 2047 must not round up to "2.00 KB"; sizes above 4 GB must not wrap.
TEST(ByteSizeTest, ThreeSignificantDigitsTruncated) {
  constexpr std::int64_t kKB = 1024, kMB = kKB * 1024, kGB = kMB * 1024;
  const std::pair<std::int64_t, const char*> rows[] = {
      {-5, "0 bytes"},
      {1023, "1023 bytes"},
      {1024, "1.00 KB"},
      {1536, "1.50 KB"},
      {2047, "1.99 KB"},
      {10 * kKB - 1, "9.99 KB"},
      {10 * kKB, "10.0 KB"},
      {100 * kKB, "100 KB"},
      {1000 * kKB - 1, "999 KB"},
      {1000 * kKB, "0.97 MB"},
      {2400016, "2.28 MB"},
      {5 * kGB, "5.00 GB"},
      {1024 * 1024 * 1024 * kGB, "1.00 EB"},
      {INT64_MAX, "7.99 EB"},
  };
  for (const auto& [bytes, shellText] : rows) EXPECT_EQ(ByteSizeText(bytes), shellText) << bytes;
  EXPECT_EQ(FormatByteSize(1290000), "1.23MB");
  EXPECT_EQ(FormatByteSize(532), "532bytes");
}

}  // namespace
}  // namespace trawlix
