#include <gtest/gtest.h>

#include "base/Text.h"

namespace trawlix {
namespace {

TEST(TextTest, CaseFoldingTouchesAsciiLettersOnly) {
  EXPECT_EQ(ToLowerAscii("HeLLo, W\xC3\x89RLD 42"), "hello, w\xC3\x89rld 42");
  EXPECT_EQ(ToUpperAscii("photo_01.jpg"), "PHOTO_01.JPG");
  EXPECT_TRUE(EqualsNoCase("Photo.JPG", "photo.jpg"));
  EXPECT_FALSE(EqualsNoCase("photo.jpg", "photo.jpeg"));
  EXPECT_FALSE(EqualsNoCase("\xC3\x89", "\xC3\xA9"));
}

TEST(TextTest, FindAndContainsIgnoreCase) {
  const std::tuple<const char*, const char*, std::size_t> rows[] = {
      {"/Downloads/FILE.TXEXPORT", ".txexport", 15},
      {"abc", "", 0},
      {"ab", "abc", std::string::npos},
      {"xAbAb", "ab", 1},
  };
  for (const auto& [haystack, needle, expected] : rows) {
    EXPECT_EQ(FindNoCase(haystack, needle), expected) << haystack;
    EXPECT_EQ(ContainsNoCase(haystack, needle), expected != std::string::npos);
  }
  EXPECT_EQ(FindNoCase("abAB", "ab", 1), 2u);
  EXPECT_EQ(FindNoCase("ab", "b", 5), std::string::npos);
}

TEST(TextTest, ReplaceAllIsOneLeftToRightPass) {
  struct Row {
    const char *text, *from, *to, *expected;
    int count;
  };
  const Row rows[] = {
      {"a.b.c", ".", "&#46", "a&#46b&#46c", 2},
      {"aaa", "aa", "b", "ba", 1},   // non-overlapping
      {"aa", "a", "aa", "aaaa", 2},  // replacement is not rescanned
      {"abc", "", "x", "abc", 0},    // empty pattern changes nothing
      {"a b  c", " ", "", "abc", 3},
  };
  for (const Row& row : rows) {
    std::string text = row.text;
    EXPECT_EQ(ReplaceAll(text, row.from, row.to), row.count) << row.text;
    EXPECT_EQ(text, row.expected);
  }
}

TEST(TextTest, TrimAndFormat) {
  EXPECT_EQ(Trim(" \t\r\n x y \v\f"), "x y");
  EXPECT_EQ(TrimLeft("  a  "), "a  ");
  EXPECT_EQ(TrimRight("  a  "), "  a");
  const std::string longText(5000, 'x');
  EXPECT_EQ(Format("[%s]", longText.c_str()), "[" + longText + "]");
}

}  // namespace
}  // namespace trawlix
