#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <vips/vips8>

#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeTestSupport.h"
#include "exchange/ProjectExporter.h"
#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/PhotoCodec.h"

namespace trawlix::exchange {
namespace {

using ::testing::HasSubstr;
using testing::Transported;

class ExportTest : public testing::ExchangeDbTest {
 protected:
  ExportResult Export(ExportRequest request) {
    if (request.target.empty()) request.target = Target();
    ProjectExporter exporter(DbPath(), TempFolder(), messages);
    return exporter.Export(request);
  }
  std::string Target() const { return (dir / "out.txexport").string(); }
};

TEST_F(ExportTest, WritesProjectsInOrderWithLinksPhotosAndCategory) {
  const int cats = AddCategory("Cats & Dogs");
  const int tom = AddProject("Tom & Jerry", cats);
  const int empty = AddProject("Empty", AddCategory("Birds"));
  AddLink(tom, "http://a.example/1", true);
  AddLink(tom, "http://a.example/2", false);
  AddScan(tom, 3);
  AddScan(tom, 4);

  ExportRequest request = Request({empty, tom}, Target());
  request.description = "Two & more";
  request.name = "Ann";  // not included without the check box
  const std::time_t before = std::time(nullptr);
  const ExportResult result = Export(request);

  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(result.message, "Successfully Exported 2 projects to:\n" + Target() + ".");
  EXPECT_TRUE(messages.requests.empty());
  EXPECT_EQ(result.Box().icon, MessageIcon::Information);

  const ExchangeReadResult read = ReadExchangeFile(Target());
  ASSERT_TRUE(read.ok) << read.error;
  const ExchangeHeader& h = read.file.header;
  EXPECT_EQ(h.projects, 2);
  EXPECT_EQ(h.description, "Two & more");
  EXPECT_EQ(h.name, "");
  EXPECT_THAT(
      (std::vector<std::string>{ExportDateText(before), ExportDateText(std::time(nullptr))}),
      ::testing::Contains(h.date));
  EXPECT_TRUE(read.file.photo.empty());
  ASSERT_EQ(read.file.projects.size(), 2u);

  const std::vector<ProjectsRecord> rows = Projects();
  const ImportedProject& first = read.file.projects[0];
  EXPECT_EQ(Transported(first), Transported(rows[1]));
  EXPECT_EQ(std::tie(first.category, first.numLinks, first.numPhotos),
            std::make_tuple("Birds", 0, 0));

  const ImportedProject& p = read.file.projects[1];
  EXPECT_EQ(Transported(p), Transported(rows[0]));
  EXPECT_EQ(p.projectId, tom);
  EXPECT_EQ(p.category, "Cats & Dogs");
  EXPECT_EQ(p.numPhotos, 7);
  EXPECT_EQ(p.keywordMustExist, 0);  // never exported, whatever the row holds
  EXPECT_EQ(p.links, (std::vector<ImportedLink>{{tom, 1, 1, "http://a.example/1", "kw"},
                                                {tom, 0, 1, "http://a.example/2", "kw"}}));
}

TEST_F(ExportTest, SingleProjectMessageCountsItsLinksAndMyInfoIsOptIn) {
  const int cat = AddCategory("Models");
  const std::pair<int, const char*> cases[] = {{0, "0 links"}, {1, "1 link"}, {2, "2 links"}};
  for (const auto& [links, count] : cases) {
    const std::string title = "P" + std::to_string(links);
    const int id = AddProject(title, cat);
    for (int i = 0; i < links; ++i) AddLink(id, "http://l.example/" + std::to_string(i));
    ExportRequest request = Request({id}, Target());
    request.includeMyInfo = true;
    request.name = "Ann";
    request.emailAddress = "ann@example.com";
    request.website = "http://ann.example";
    const ExportResult result = Export(request);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.message, "Successfully Exported Project:\n   " + title + " (" + count +
                                  ")\nto File:\n   " + Target());
  }
  const ExchangeHeader h = ReadExchangeFile(Target()).file.header;
  EXPECT_EQ(std::tie(h.name, h.emailAddress, h.website),
            std::make_tuple("Ann", "ann@example.com", "http://ann.example"));

  // The category's name is left out when the settings say so.
  ExportRequest request = Request({AddProject("Q", cat)}, Target());
  request.includeCategory = false;
  ASSERT_TRUE(Export(request).ok);
  EXPECT_EQ(ReadExchangeFile(Target()).file.projects.at(0).category, "");
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
    const ExportResult result = Export(c.request);
    EXPECT_FALSE(result.ok);
    EXPECT_THAT(result.message, HasSubstr(c.text));
    EXPECT_EQ(result.Box().icon, MessageIcon::Warning);
    EXPECT_FALSE(std::filesystem::exists(Target()));
  }
}

TEST_F(ExportTest, SamplePhotoIsAJpegFittedInto256PixelsOrLeftOut) {
  const int id = AddProject("P", AddCategory("Models"));
  const std::vector<std::uint8_t> grey(600 * 300 * 3, 0x80);
  std::ofstream(dir / "logo.bmp", std::ios::binary)
      << bmp::EncodeBmp(grey.data(), 600, 300, 3, 0, 0);
  ExportRequest request = Request({id}, Target());
  request.photoPath = (dir / "logo.bmp").string();
  ASSERT_TRUE(Export(request).ok);

  const std::string photo = ReadExchangeFile(Target()).file.photo;
  ASSERT_EQ(photo.substr(0, 2), "\xFF\xD8");
  const auto copy = dir / "copy.jpg";
  std::ofstream(copy, std::ios::binary) << photo;
  EXPECT_EQ(ReadPhotoSize(copy.string()), (PhotoSize{256, 128}));
  // 96 DPI, which the image library reads back in pixels per millimetre.
  const vips::VImage image = vips::VImage::new_from_file(copy.c_str());
  EXPECT_NEAR(image.xres() * 25.4, 96.0, 0.01);
  EXPECT_NEAR(image.yres() * 25.4, 96.0, 0.01);
  // The temporary copy does not outlive the export.
  EXPECT_FALSE(std::filesystem::exists(dir / "Temp" / "__tempExport.jpg"));

  std::ofstream(dir / "broken.jpg", std::ios::binary) << "not a photo";
  request.photoPath = (dir / "broken.jpg").string();
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
