#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <vips/vips8>

#include "exchange/ExchangeDbTest.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ProjectExporter.h"
#include "imaging/PhotoCodec.h"

namespace trawlix::exchange {
namespace {

using ::testing::HasSubstr;

class ExportTest : public testing::ExchangeDbTest {
 protected:
  ExportResult Export(ExportRequest request) {
    if (request.target.empty()) request.target = Target();
    CProjectExporter exporter(DbPath(), TempFolder(), messages);
    return exporter.Export(request);
  }
  std::string Target() const { return (dir / "out.txexport").string(); }
};

TEST_F(ExportTest, WritesProjectsInOrderWithLinksPhotosAndCategory) {
  const int cats = AddCategory("Cats & Dogs");
  const int birds = AddCategory("Birds");
  const int tom = AddProject("Tom & Jerry", cats);
  const int empty = AddProject("Empty", birds);
  AddLink(tom, "http://a.example/1", 1);
  AddLink(tom, "http://a.example/2", 0);
  AddScan(tom, 3);
  AddScan(tom, 4);

  ExportRequest request;
  request.projectIds = {empty, tom};
  request.description = "Two & more";
  request.name = "Ann";  // not included without the check box
  const std::time_t before = std::time(nullptr);
  const ExportResult result = Export(request);

  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(result.message, "Successfully Exported 2 projects to:\n" + Target() + ".");
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{result.message});

  const ExchangeReadResult read = ReadExchangeFile(Target());
  ASSERT_TRUE(read.ok) << read.error;
  const CExchangeHeader& h = read.file.header;
  EXPECT_EQ(h.m_nProjects, 2);
  EXPECT_EQ(h.m_lpszDescription, "Two & more");
  EXPECT_EQ(h.m_lpszName, "");
  EXPECT_THAT(
      (std::vector<std::string>{ExportDateText(before), ExportDateText(std::time(nullptr))}),
      ::testing::Contains(h.m_lpszDate));
  EXPECT_TRUE(read.file.photo.empty());
  ASSERT_EQ(read.file.projects.size(), 2u);

  const CImportedProject& first = read.file.projects[0];
  EXPECT_EQ(first.m_lpszTitle, "Empty");
  EXPECT_EQ(first.m_lpszCategory, "Birds");
  EXPECT_EQ(first.m_nNumLinks, 0);
  EXPECT_EQ(first.m_nNumPhotos, 0);

  const CImportedProject& p = read.file.projects[1];
  EXPECT_EQ(p.m_nProjectId, tom);
  EXPECT_EQ(p.m_lpszTitle, "Tom & Jerry");
  EXPECT_EQ(p.m_lpszCategory, "Cats & Dogs");
  EXPECT_EQ(p.m_lpszURL, "http://site.example/11?a=1&b=2");
  EXPECT_EQ(p.m_nNumPhotos, 7);
  EXPECT_EQ(p.m_nKeywordMustExist, 0);  // never exported, whatever the row holds
  EXPECT_EQ(std::tie(p.m_nJPEG, p.m_nPNG, p.m_nGIF, p.m_nBMP, p.m_nTIF),
            std::make_tuple(1, 1, 0, 1, 0));
  EXPECT_EQ(
      std::tie(p.m_nCreateFolders, p.m_nSearchSubFolders, p.m_nFilterMinSize, p.m_nMinimumSize,
               p.m_nAutoRename, p.m_nOrientation, p.m_nPadNumbers, p.m_nPadding),
      std::make_tuple(1, 0, 1, 640, 1, 2, 1, 4));
  EXPECT_EQ(p.m_lpszKeywords, "sea, sand");
  EXPECT_EQ(p.m_lpszNamePrefix, "pre_");
  EXPECT_EQ(p.m_arLinks, (std::vector<CImportedLink>{{tom, 1, 1, "http://a.example/1", "kw"},
                                                     {tom, 0, 1, "http://a.example/2", "kw"}}));
}

TEST_F(ExportTest, SingleProjectMessageCountsItsLinks) {
  const int cat = AddCategory("Models");
  struct Case {
    int links;
    const char* count;
  } const cases[] = {{0, "0 links"}, {1, "1 link"}, {2, "2 links"}};
  for (const Case& c : cases) {
    const int id = AddProject("P" + std::to_string(c.links), cat);
    for (int i = 0; i < c.links; ++i) AddLink(id, "http://l.example/" + std::to_string(i));
    ExportRequest request;
    request.projectIds = {id};
    const ExportResult result = Export(request);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.message, "Successfully Exported Project:\n   P" + std::to_string(c.links) +
                                  " (" + c.count + ")\nto File:\n   " + Target());
  }
}

TEST_F(ExportTest, IncludesMyInfoOnlyWhenAsked) {
  const int id = AddProject("P", AddCategory("Models"));
  ExportRequest request;
  request.projectIds = {id};
  request.includeMyInfo = true;
  request.name = "Ann";
  request.emailAddress = "ann@example.com";
  request.website = "http://ann.example";
  ASSERT_TRUE(Export(request).ok);
  const CExchangeHeader h = ReadExchangeFile(Target()).file.header;
  EXPECT_EQ(h.m_lpszName, "Ann");
  EXPECT_EQ(h.m_lpszEmailAddress, "ann@example.com");
  EXPECT_EQ(h.m_lpszWebsite, "http://ann.example");
}

TEST_F(ExportTest, ReportsFailureInsteadOfSuccess) {
  const int id = AddProject("P", AddCategory("Models"));
  struct Case {
    const char* name;
    ExportRequest request;
    const char* text;
  } const cases[] = {
      {"unwritable target", Request({id}, (dir / "missing" / "x.txexport").string()),
       "Unable to export"},
      {"unknown project", Request({id, 999}, Target()), "Id 999 could not be read"},
      {"nothing chosen", Request({}, Target()), "Choose Projects to Export..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.requests.clear();
    const ExportResult result = Export(c.request);
    EXPECT_FALSE(result.ok);
    EXPECT_THAT(result.message, HasSubstr(c.text));
    ASSERT_FALSE(messages.requests.empty());
    EXPECT_EQ(messages.requests.back().text, result.message);
    EXPECT_FALSE(std::filesystem::exists(Target()));
  }
}

// A 24-bit bottom-up BMP, width x height, one colour.
std::string SolidBmp(int width, int height) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const int size = 54 + stride * height;
  std::string b(static_cast<std::size_t>(size), '\0');
  const auto put = [&b](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, width, 4);
  put(22, height, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (std::size_t i = 54; i < b.size(); ++i) b[i] = static_cast<char>(0x80);
  return b;
}

TEST_F(ExportTest, SamplePhotoIsAJpegFittedInto256Pixels) {
  const int id = AddProject("P", AddCategory("Models"));
  const auto source = dir / "logo.bmp";
  std::ofstream(source, std::ios::binary) << SolidBmp(600, 300);
  ExportRequest request;
  request.projectIds = {id};
  request.photoPath = source.string();
  ASSERT_TRUE(Export(request).ok);

  const std::string photo = ReadExchangeFile(Target()).file.photo;
  ASSERT_GT(photo.size(), 20u);
  EXPECT_EQ(photo.substr(0, 2), "\xFF\xD8");
  const auto copy = dir / "copy.jpg";
  std::ofstream(copy, std::ios::binary) << photo;
  const PhotoSize size = ReadPhotoSize(copy.string());
  EXPECT_EQ(size.width, 256);
  EXPECT_EQ(size.height, 128);
  // 96 DPI, which the image library reads back in pixels per millimetre.
  const vips::VImage image = vips::VImage::new_from_file(copy.c_str());
  EXPECT_NEAR(image.xres() * 25.4, 96.0, 0.01);
  EXPECT_NEAR(image.yres() * 25.4, 96.0, 0.01);
  // The temporary copy does not outlive the export.
  EXPECT_FALSE(std::filesystem::exists(dir / "Temp" / "__tempExport.jpg"));
}

TEST_F(ExportTest, UnreadablePhotoLeavesTheFileWithoutOne) {
  const int id = AddProject("P", AddCategory("Models"));
  const auto source = dir / "broken.jpg";
  std::ofstream(source, std::ios::binary) << "not a photo";
  ExportRequest request;
  request.projectIds = {id};
  request.photoPath = source.string();
  ASSERT_TRUE(Export(request).ok);
  EXPECT_TRUE(ReadExchangeFile(Target()).file.photo.empty());
}

TEST(ExportDate, IsWrittenInEnglishWithTwoDigitDay) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(ExportDateText(1772452800), "Monday, March 02, 2026");
}

}  // namespace
}  // namespace trawlix::exchange
