#include <gtest/gtest.h>

#include "base/Number.h"
#include "base/Path.h"

namespace trawlix {
namespace {

TEST(SplitPathTest, SplitsLikeTheRuntimeSplitter) {
  struct Row {
    const char* path;
    const char* folder;
    const char* title;
    const char* extension;
  };
  const Row rows[] = {
      {"/home/u/Pictures/photo.jpg", "/home/u/Pictures/", "photo", ".jpg"},
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
    EXPECT_EQ(parts.folder + parts.FileName(), row.path);
  }
}

TEST(NormalizeFolderPathTest, TrimsCasesAndSetsTrailingSlash) {
  struct Row {
    const char* path;
    TrailingSlash slash;
    LetterCase letterCase;
    const char* expected;
  };
  const Row rows[] = {
      {"  /Home/Pics  ", TrailingSlash::Add, LetterCase::Keep, "/Home/Pics/"},
      {"/Home/Pics/", TrailingSlash::Add, LetterCase::Keep, "/Home/Pics/"},
      {"/Home/Pics/", TrailingSlash::Remove, LetterCase::Lower, "/home/pics"},
      {"/home/pics//", TrailingSlash::Remove, LetterCase::Keep, "/home/pics/"},  // one only
      {"/home/pics", TrailingSlash::Remove, LetterCase::Keep, "/home/pics"},
      {"\t/x\n", TrailingSlash::Remove, LetterCase::Keep, "/x"},
      {"/", TrailingSlash::Remove, LetterCase::Keep, "/"},
      {"   ", TrailingSlash::Add, LetterCase::Keep, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(NormalizeFolderPath(row.path, row.slash, row.letterCase), row.expected)
        << "'" << row.path << "'";
  }
}

TEST(FormatThousandsTest, GroupsDigitsFromTheRight) {
  struct Row {
    std::int64_t value;
    const char* expected;
  };
  const Row rows[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {-1234, "-1,234"},
      {-999, "-999"},
      {-100000, "-100,000"},
      {1234567, "1,234,567"},
      {INT64_MAX, "9,223,372,036,854,775,807"},
      {INT64_MIN, "-9,223,372,036,854,775,808"},
  };
  for (const Row& row : rows) EXPECT_EQ(FormatThousands(row.value), row.expected) << row.value;
}

TEST(ByteSizeTest, ThreeSignificantDigitsTruncated) {
  struct Row {
    std::int64_t bytes;
    const char* shellText;
  };
  constexpr std::int64_t kKB = 1024, kMB = kKB * 1024, kGB = kMB * 1024, kTB = kGB * 1024;
  const Row rows[] = {
      {0, "0 bytes"},
      {532, "532 bytes"},
      {1023, "1023 bytes"},
      {1024, "1.00 KB"},
      {1340, "1.30 KB"},
      {1536, "1.50 KB"},
      {23506, "22.9 KB"},
      {2400016, "2.28 MB"},
      {2400000000, "2.23 GB"},
      {2047, "1.99 KB"},  // truncated, not rounded to 2.00
      {10 * kKB - 1, "9.99 KB"},
      {10 * kKB, "10.0 KB"},
      {100 * kKB, "100 KB"},
      {1000 * kKB - 1, "999 KB"},
      {1000 * kKB, "0.97 MB"},
      {1290000, "1.23 MB"},
      {15 * kMB + kMB / 2, "15.5 MB"},
      {1000 * kMB, "0.97 GB"},
      {5 * kGB, "5.00 GB"},  // above 4 GB: no 32-bit wrap
      {3 * kTB, "3.00 TB"},
      {1024 * 1024 * kTB, "1.00 EB"},
      {INT64_MAX, "7.99 EB"},
      {-5, "0 bytes"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ByteSizeText(row.bytes), row.shellText) << row.bytes;
  }
  EXPECT_EQ(FormatByteSize(1290000), "1.23MB");
  EXPECT_EQ(FormatByteSize(532), "532bytes");
}

}  // namespace
}  // namespace trawlix
