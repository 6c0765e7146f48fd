#include <gtest/gtest.h>

#include <tuple>

#include "exchange/ExchangeTestSupport.h"
#include "exchange/ExchangeText.h"
#include "exchange/ProjectFile.h"

namespace trawlix::exchange {
namespace {

using testing::ByteImage;

// Settings differ from each other, so that a field at another's offset shows.
ImportedProject SampleProject() {
  ImportedProject p;
  p.projectId = 7;
  p.numPhotos = 1234;
  p.category = "Models";
  p.title = "Tom & Jerry";
  p.url = "http://example.com/a?b=1&c=2";
  p.keywords = "beach, sun";
  p.namePrefix = "Tom_&_Jerry_";
  std::tie(p.jpeg, p.png, p.gif, p.bmp, p.tif, p.createFolders, p.searchSubFolders,
           p.keywordMustExist, p.filterMinSize, p.minimumSize, p.autoRename, p.orientation,
           p.padNumbers, p.padding) = std::make_tuple(true, false, true, false, true, false, true,
                                                      false, true, 350, false, 22, true, 24);
  return p;
}

ImportedLink SampleLink(int n) {
  return {7, n % 2 == 1, true, "http://example.com/page" + std::to_string(n),
          "kw" + std::to_string(n)};
}

// The header record as another installation lays it out.
std::string HeaderImage(std::int32_t projects) {
  return ByteImage(3384)
      .Int(0, 1)
      .Int(4, 0)
      .Int(8, projects)
      .Text(12, "A description")
      .Text(1036, "Ann")
      .Text(1136, "ann@example.com")
      .Text(1236, "http://ann.example.com")
      .Text(3284, "Monday, March 02, 2026")
      .str();
}

std::string ProjectImage(std::int32_t numLinks, std::string_view title) {
  ByteImage image(3988);
  image.Int(0, 7).Int(4, numLinks).Int(8, 1234).Text(12, "Models").Text(92, title);
  image.Text(604, "http://example.com/a?b=1&c=2").Text(2684, "beach, sun");
  image.Text(3732, "Tom_&_Jerry_");
  // JPEG .. KeywordMustExist, then FilterMinSize .. Padding: flags alternate on and off.
  for (std::int32_t i = 0; i < 8; ++i) image.Int(2652 + 4 * i, i % 2 == 0 ? 1 : 0);
  const std::int32_t tail[] = {1, 350, 0, 22, 1, 24};
  for (std::size_t i = 0; i < 6; ++i) image.Int(3708 + 4 * i, tail[i]);
  return image.str();
}

std::string LinkImage(int n) {
  const ImportedLink l = SampleLink(n);
  return ByteImage(3084)
      .Int(0, l.projectId)
      .Int(4, l.searchSubFolders)
      .Int(8, l.keywordMustExist)
      .Text(12, l.url)
      .Text(2060, l.keywords)
      .str();
}

ExchangeHeader SampleHeader() {
  return {.description = "A description",
          .name = "Ann",
          .emailAddress = "ann@example.com",
          .website = "http://ann.example.com",
          .date = "Monday, March 02, 2026"};
}

TEST(ProjectFileWriter, MatchesHandBuiltImageByteForByteWithCountsFromTheData) {
  ExchangeHeader header = SampleHeader();
  header.projects = 99;  // counts come from the data, not from stale fields
  ImportedProject first = SampleProject();
  first.numLinks = 5;
  first.links = {SampleLink(1), SampleLink(2)};
  ImportedProject second = SampleProject();  // no links: its record follows directly

  const std::string written = WriteProjectFile(header, {first, second});

  const std::string expected = HeaderImage(2) + ProjectImage(2, "Tom & Jerry") + LinkImage(1) +
                               LinkImage(2) + ProjectImage(0, "Tom & Jerry");
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

TEST(ProjectFileWriter, LongTextsFillTheirFieldsWithoutTerminator) {
  ImportedProject p = SampleProject();
  p.title = std::string(600, 'T');
  p.namePrefix = std::string(300, 'N');
  const std::string written = WriteProjectFile(SampleHeader(), {p});
  const std::string_view record = std::string_view(written).substr(3384, 3988);
  EXPECT_EQ(record.substr(92, 512), std::string(512, 'T'));
  EXPECT_EQ(record[604], 'h');  // the URL starts right after the full title
  // The prefix field keeps room for its terminating zero.
  EXPECT_EQ(record.substr(3732, 255), std::string(255, 'N'));
  EXPECT_EQ(record[3732 + 255], '\0');
}

TEST(ProjectFileReader, ReadsHandBuiltImage) {
  const std::string title512(512, 'x');
  // Bytes after the last project are ignored.
  const std::string bytes = HeaderImage(2) + ProjectImage(2, title512) + LinkImage(1) +
                            LinkImage(2) + ProjectImage(0, "Tom & Jerry") + "trailing";

  const ProjectFileReadResult read = ReadProjectFile(bytes);

  ASSERT_TRUE(read.ok) << read.error;
  const ExchangeHeader& h = read.content.header;
  const ExchangeHeader e = SampleHeader();
  EXPECT_EQ(std::tie(h.version, h.platform, h.projects), std::make_tuple(1, 0, 2));
  EXPECT_EQ(std::tie(h.description, h.name, h.emailAddress, h.website, h.date),
            std::tie(e.description, e.name, e.emailAddress, e.website, e.date));
  ASSERT_EQ(read.content.projects.size(), 2u);

  ImportedProject expected = SampleProject();
  expected.title = title512;  // stops at the field end, not in the URL
  expected.numLinks = 2;
  expected.links = {SampleLink(1), SampleLink(2)};
  EXPECT_EQ(read.content.projects[0], expected);

  ImportedProject second = SampleProject();
  EXPECT_EQ(read.content.projects[1], second);  // ampersand kept as it is
}

TEST(ProjectFileReader, RoundTripsThroughTheWriter) {
  ImportedProject a = SampleProject();
  a.links = {SampleLink(1), SampleLink(2), SampleLink(3)};
  ImportedProject b = SampleProject();
  b.title = "Zoë's Ünïcode ☃ 写真";
  b.category = "Café";
  const ProjectFileReadResult read = ReadProjectFile(WriteProjectFile(SampleHeader(), {a, b}));
  ASSERT_TRUE(read.ok);
  a.numLinks = 3;
  EXPECT_EQ(read.content.projects, (std::vector<ImportedProject>{a, b}));
}

struct DamagedCase {
  const char* name;
  std::string bytes;
  const char* message;
};

TEST(ProjectFileReader, RejectsDamagedFilesWithoutReadingAnything) {
  const std::string header1 = HeaderImage(1);
  const DamagedCase cases[] = {
      {"short header", header1.substr(0, 3383), "the header is incomplete."},
      {"missing project", header1, "it lists 1 projects but holds fewer."},
      {"negative project count", HeaderImage(-1), "the number of projects is negative."},
      {"huge project count", HeaderImage(0x7FFFFFFF) + ProjectImage(0, "A"),
       "it lists 2147483647 projects but holds fewer."},
      {"missing link", header1 + ProjectImage(2, "A") + LinkImage(1),
       "the links of project \"A\" are incomplete."},
      {"huge link count", header1 + ProjectImage(0x7FFFFFFF, "A") + LinkImage(1),
       "the links of project \"A\" are incomplete."},
      {"negative link count", header1 + ProjectImage(-3, "A"),
       "the number of links of project \"A\" is negative."},
      {"links eat the next project", HeaderImage(2) + ProjectImage(1, "A") + ProjectImage(0, "B"),
       "project 2 of 2 is incomplete."},
  };
  for (const DamagedCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ProjectFileReadResult read = ReadProjectFile(c.bytes);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, std::string("The file is damaged: ") + c.message);
    EXPECT_TRUE(read.content.projects.empty());
  }
}

TEST(ExchangeText, CutsWithoutSplittingCharacters) {
  struct Case {
    std::string text;
    std::size_t max;
    std::string expected;
  } const cases[] = {
      {"abcdef", 3, "abc"},
      {"ab\xC3\xA9", 3, "ab"},          // é would be split
      {"ab\xC3\xA9", 4, "ab\xC3\xA9"},  // fits exactly
      {"a\xE2\x98\x83z", 3, "a"},       // and after its second
      {"a\xE2\x98\x83z", 4, "a\xE2\x98\x83"},
      {"\xF0\x9F\x98\x80", 3, ""},
      {"ab\xE9xy", 3, "ab\xE9"},  // 8-bit text is cut by bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutToBytes(c.text, c.max), c.expected) << c.text << " / " << c.max;
  }
}

TEST(ExchangeText, ReadsUtf8AsIsAndOtherBytesAsWindows1252) {
  struct Case {
    std::string field;
    std::string expected;
  } const cases[] = {
      {std::string("plain\0junk", 10), "plain"},
      {"Caf\xC3\xA9 \xE2\x98\x83", "Caf\xC3\xA9 \xE2\x98\x83"},
      {std::string("Caf\xE9\0\0", 6), "Caf\xC3\xA9"},                // é from an 8-bit file
      {"\x80 \x93q\x94", "\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D"},  // € and curly quotes
      {std::string("ab\xE2\x98\0\0", 6), "ab\xC3\xA2\xCB\x9C"},      // a short text is 8-bit
      {"ab\xE2\x98", "ab"},              // a character cut at the field end
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},  // overlong form is not UTF-8
  };
  for (const Case& c : cases) EXPECT_EQ(TextFromField(c.field), c.expected);
}

}  // namespace
}  // namespace trawlix::exchange
