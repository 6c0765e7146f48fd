#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <iterator>

#include "exchange/ExchangeArchive.h"
#include "exchange/ExchangeFile.h"
#include "support/TempDir.h"

namespace trawlix::exchange {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

using Info = std::vector<std::pair<std::string, zip_uint16_t>>;

// Names and compression of the members as any ZIP tool sees them.
Info MemberInfo(const std::filesystem::path& path) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
  Info info;
  if (archive == nullptr) return info;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t stat;
    zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
    info.emplace_back(stat.name, stat.comp_method);
  }
  zip_discard(archive);
  return info;
}

TEST(ExchangeArchive, WritesMembersInOrderAndReadsThemByPosition) {
  testing::TempDir dir;
  const auto path = dir / "out.txexport";
  std::string error;
  const std::string big(100000, 'z');
  ASSERT_TRUE(WriteArchive(path, {{"b.bin", big}, {"a.xml", "<x/>"}}, error)) << error;

  EXPECT_EQ(MemberInfo(path), (Info{{"b.bin", ZIP_CM_DEFLATE}, {"a.xml", ZIP_CM_DEFLATE}}));
  EXPECT_LT(std::filesystem::file_size(path), 10000u);

  const ArchiveReadResult read = ReadArchiveFile(path, 3);
  ASSERT_TRUE(read.opened);
  ASSERT_EQ(read.members.size(), 3u);
  EXPECT_EQ(read.members[0].state, MemberState::Present);
  EXPECT_EQ(read.members[0].bytes, big);
  EXPECT_EQ(read.members[1].bytes, "<x/>");
  EXPECT_EQ(read.members[2].state, MemberState::Absent);

  ASSERT_TRUE(WriteArchive(path, {{"m", "new"}}, error));  // replaces the old archive
  EXPECT_EQ(ReadArchiveFile(path, 2).members[0].bytes, "new");
  EXPECT_EQ(ReadArchiveFile(path, 2).members[1].state, MemberState::Absent);
  EXPECT_FALSE(WriteArchive(dir / "missing" / "x.txexport", {{"m", "new"}}, error));
  EXPECT_FALSE(error.empty());
}

TEST(ExchangeArchive, RefusesMembersDeclaredLargerThanTheLimit) {
  testing::TempDir dir;
  const auto path = dir / "big.zip";
  std::string error;
  ASSERT_TRUE(WriteArchive(path, {{"m", "abcd"}}, error));
  // Declare 100 MiB in the local and central headers; nothing that large is extracted.
  std::string bytes = ReadAll(path);
  const auto patch = [&bytes](std::string_view signature, std::size_t sizeOffset) {
    const std::size_t at = bytes.find(signature);
    ASSERT_NE(at, std::string::npos);
    const std::uint32_t size = 100u << 20;
    for (int i = 0; i < 4; ++i) bytes[at + sizeOffset + i] = static_cast<char>(size >> (8 * i));
  };
  patch("PK\x03\x04", 22);
  patch("PK\x01\x02", 24);
  const ArchiveReadResult read = ReadArchiveBytes(bytes, 1);
  ASSERT_TRUE(read.opened);
  EXPECT_EQ(read.members[0].state, MemberState::TooLarge);
}

TEST(ExchangeFile, WritesTheThreeMembersUnderTheirNames) {
  testing::TempDir dir;
  const auto path = dir / "x.txexport";
  ImportedProject p;
  p.title = "T";
  std::string error;
  ASSERT_TRUE(WriteExchangeFile(path, {}, {p}, "JPEGDATA", error));
  EXPECT_EQ(MemberInfo(path), (Info{{"__tempExport.txExport", ZIP_CM_DEFLATE},
                                    {"__tempExport.xml", ZIP_CM_DEFLATE},
                                    {"__tempExport.jpg", ZIP_CM_DEFLATE}}));
  const ExchangeReadResult read = ReadExchangeFile(path);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.file.photo, "JPEGDATA");
  ASSERT_EQ(read.file.projects.size(), 1u);
  EXPECT_EQ(read.file.projects[0].title, "T");

  ASSERT_TRUE(WriteExchangeFile(path, {}, {p}, "", error));
  EXPECT_EQ(MemberInfo(path).size(), 2u);
  EXPECT_TRUE(ReadExchangeFile(path).file.photo.empty());
}

TEST(ExchangeFile, ReportsDamagedFilesAndYieldsNoProjects) {
  testing::TempDir dir;
  std::string error;
  const auto garbage = dir / "garbage.txexport";
  WriteAll(garbage, "not a zip at all");
  const auto empty = dir / "empty.txexport";
  std::string endOfDirectoryOnly("PK\x05\x06", 4);  // an archive with no members
  endOfDirectoryOnly.append(18, '\0');
  WriteAll(empty, endOfDirectoryOnly);
  const auto shortBinary = dir / "short.txexport";
  ASSERT_TRUE(
      WriteArchive(shortBinary, {{"__tempExport.txExport", std::string(3000, '\0')}}, error));
  std::string header(3384, '\0');
  header[8] = 1;  // one project that is not there
  const auto missingProject = dir / "missing.txexport";
  ASSERT_TRUE(WriteArchive(missingProject, {{"__tempExport.txExport", header}}, error));

  struct Case {
    std::filesystem::path path;
    std::string error;
  } const cases[] = {
      {dir / "absent.txexport",
       "The file " + (dir / "absent.txexport").string() + " does not exist."},
      {garbage, "The file is damaged: it is not a ZIP archive."},
      {empty, "The file is damaged: it holds no projects."},
      {shortBinary, "The file is damaged: the header is incomplete."},
      {missingProject, "The file is damaged: it lists 1 projects but holds fewer."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.string());
    const ExchangeReadResult read = ReadExchangeFile(c.path);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, c.error);
    EXPECT_TRUE(read.file.projects.empty());
  }
}

}  // namespace
}  // namespace trawlix::exchange
