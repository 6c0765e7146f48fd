#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "imaging/codec/PhotoCodec.h"
#include "scan/PipelineFixture.h"

namespace trawlix::testing {
namespace {

namespace fs = std::filesystem;

// The site holds one photo, land.jpg (1024x500); Save To already holds a land.jpg.
class PipelineDuplicates : public PipelineTest {
 protected:
  void SetUp() override {
    site.AddPage("/gallery/index.html", R"(<html><body><img src="land.jpg"></body></html>)");
    site.Add("/gallery/land.jpg", "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 1024, 500));
    fs::create_directories(SaveTo());
  }

  void PlaceExisting(int width, int height) {
    std::ofstream(InSaveTo("land.jpg"), std::ios::binary)
        << MakeTestPhoto(TestPhotoKind::Jpeg, width, height);
  }

  PhotoSize LandSize() { return ReadPhotoSize(InSaveTo("land.jpg")); }
};

struct DuplicateCase {
  DuplicateHandling handling;
  int existingWidth;
  int existingHeight;
  std::set<std::string> files;
  PhotoSize landAfter;
  int saved;
  int skipped;
};

TEST_F(PipelineDuplicates, EachChoice) {
  const DuplicateCase cases[] = {
      {DuplicateHandling::Skip, 800, 600, {"land.jpg"}, {800, 600}, 0, 1},
      {DuplicateHandling::Rename, 800, 600, {"land.jpg", "landa.jpg"}, {800, 600}, 1, 0},
      {DuplicateHandling::Overwrite, 800, 600, {"land.jpg"}, {1024, 500}, 0, 0},
      // Wider though lower: replaced, and counted as a new photo.
      {DuplicateHandling::OverwriteIfLarger, 800, 600, {"land.jpg"}, {1024, 500}, 1, 0},
      {DuplicateHandling::OverwriteIfLarger, 1024, 500, {"land.jpg"}, {1024, 500}, 0, 1},
      {DuplicateHandling::OverwriteIfLarger, 2000, 2000, {"land.jpg"}, {2000, 2000}, 0, 1},
  };
  for (const DuplicateCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.handling));
    SCOPED_TRACE(c.existingWidth);
    fs::remove_all(SaveTo());
    fs::create_directories(SaveTo());
    PlaceExisting(c.existingWidth, c.existingHeight);
    options.duplicates = c.handling;
    ASSERT_TRUE(RunScan());
    EXPECT_EQ(FilesIn(SaveTo()), c.files);
    EXPECT_EQ(LandSize(), c.landAfter);
    EXPECT_EQ(controller.Counters().photosSaved, c.saved);
    EXPECT_EQ(controller.Counters().photosSkipped, c.skipped);
    const bool kept = c.landAfter == PhotoSize{c.existingWidth, c.existingHeight};
    EXPECT_EQ(observer.saved.empty(), kept && c.handling != DuplicateHandling::Rename);
    observer.saved.clear();
  }
}

TEST_F(PipelineDuplicates, RenameFindsTheNextFreeLetter) {
  PlaceExisting(800, 600);
  std::ofstream(InSaveTo("landa.jpg")) << "x";
  options.duplicates = DuplicateHandling::Rename;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"land.jpg", "landa.jpg", "landb.jpg"}));
  EXPECT_EQ(ReadPhotoSize(InSaveTo("landb.jpg")), (PhotoSize{1024, 500}));
}

TEST_F(PipelineDuplicates, ConvertedPhotoIsJudgedByTheFileItWouldReplace) {
  // land.jpg converted to PNG would land on land.png: that file decides.
  std::ofstream(InSaveTo("land.png"), std::ios::binary)
      << MakeTestPhoto(TestPhotoKind::Png, 300, 300);
  project.autoConvert = true;
  project.convertToFormat = 2;
  options.duplicates = DuplicateHandling::Skip;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(ReadPhotoSize(InSaveTo("land.png")), (PhotoSize{300, 300}));
  EXPECT_EQ(controller.Counters().photosSkipped, 1);

  options.duplicates = DuplicateHandling::Rename;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"land.png", "landa.png"}));
  EXPECT_EQ(ReadPhotoSize(InSaveTo("landa.png")), (PhotoSize{1024, 500}));
}

}  // namespace
}  // namespace trawlix::testing
