#include <gtest/gtest.h>

#include "settings/Archive.h"

namespace trawlix {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(ArchiveTest, IntegersAreLittleEndian) {
  ArchiveWriter writer;
  writer.Int(-2);
  writer.Int64(0x0102030405060708LL);
  EXPECT_EQ(writer.bytes(), Bytes({0xFE, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4, 3, 2, 1}));
  ArchiveReader reader(writer.bytes());
  std::int32_t small = 0;
  std::int64_t wide = 0;
  reader.Int(small);
  reader.Int64(wide);
  EXPECT_TRUE(reader.ok() && small == -2 && wide == 0x0102030405060708LL);
}

TEST(ArchiveTest, StringLengthForms) {
  struct Row {
    std::size_t length;
    std::string prefix;
  };
  const Row rows[] = {
      {0, Bytes({0})},
      {254, Bytes({0xFE})},
      {255, Bytes({0xFF, 0xFF, 0x00})},
      {65533, Bytes({0xFF, 0xFD, 0xFF})},
      {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
  };
  for (const Row& row : rows) {
    std::string text(row.length, 'a');
    if (!text.empty()) text.back() = 'z';
    ArchiveWriter writer;
    writer.String(text);
    writer.Int(7);
    ASSERT_EQ(writer.bytes().size(), row.prefix.size() + row.length + 4) << row.length;
    EXPECT_EQ(writer.bytes().substr(0, row.prefix.size()), row.prefix) << row.length;

    ArchiveReader reader(writer.bytes());
    std::string back = "old";
    std::int32_t after = 0;
    reader.String(back);
    reader.Int(after);
    EXPECT_TRUE(reader.ok()) << row.length;
    EXPECT_EQ(back, text);
    EXPECT_EQ(after, 7);
  }
}

TEST(ArchiveTest, MalformedInputFailsAndLeavesTargetsUnchanged) {
  struct Row {
    const char* what;
    std::string bytes;
  };
  const Row rows[] = {
      {"length past the end", Bytes({5, 'a', 'b'})},
      {"two-byte length cut", Bytes({0xFF, 0x2C})},
      {"two-byte length past the end", Bytes({0xFF, 0x2C, 0x01, 'a'})},
      {"wide-character marker", Bytes({0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b', 0})},
      {"four-byte length cut", Bytes({0xFF, 0xFF, 0xFF, 1, 0})},
      {"huge four-byte length", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'})},
  };
  for (const Row& row : rows) {
    ArchiveReader reader(row.bytes);
    std::string text = "kept";
    reader.String(text);
    EXPECT_FALSE(reader.ok()) << row.what;
    EXPECT_EQ(text, "kept") << row.what;
    std::int32_t value = 42;
    reader.Int(value);  // a failed reader reads nothing more
    EXPECT_EQ(value, 42) << row.what;
  }
  ArchiveReader shortInt64(Bytes({1, 2, 3, 4, 5, 6, 7}));
  std::int64_t wide = 9;
  shortInt64.Int64(wide);
  EXPECT_FALSE(shortInt64.ok());
  EXPECT_EQ(wide, 9);
}

}  // namespace
}  // namespace trawlix
