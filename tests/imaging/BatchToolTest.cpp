#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ImagingTestSupport.h"
#include "base/Path.h"
#include "base/Text.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/tools/BatchJob.h"
#include "imaging/tools/BatchRenamer.h"
#include "imaging/tools/DeletePhotosTool.h"
#include "imaging/tools/GrayscaleTool.h"
#include "imaging/tools/ResizeTool.h"
#include "imaging/tools/ThumbnailTool.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

class BatchToolTest : public testing::PhotoTest {
 protected:
  // Every file below the test folder with its content, by path relative to it.
  std::map<std::string, std::string> Tree() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
      if (entry.is_regular_file())
        files[fs::relative(entry.path(), dir.path()).string()] = ReadBytes(entry.path().string());
    return files;
  }
};

TEST_F(BatchToolTest, WorkListSkipsThumbnailAndMobileFoldersAndJpeg) {
  Touch("b.JPG");
  Touch("a.png");
  Touch("sub/c.gif");
  Touch("skip.jpeg");
  Touch("notes.txt");
  Touch("Thumbs/a.jpg");
  Touch("Mobile/a.jpg");
  const std::vector<std::string> expected{Path("a.png"), Path("b.JPG"), Path("sub/c.gif")};
  EXPECT_EQ(BatchWorkList(dir.str(), Path("thumbs/"), Path("Mobile")), expected);
  EXPECT_TRUE(BatchWorkList("", "", "").empty());
}

TEST_F(BatchToolTest, ThumbnailFolderChecksInOrder) {
  const std::string saveTo = Path("Photos");
  fs::create_directories(saveTo);
  fs::create_directories(Path("Thumbs"));
  struct Case {
    std::string thumbs;
    bool mobileOn;
    std::string mobile;
    bool create;
    ThumbnailToolField field;
    std::string message;
  };
  const std::vector<Case> cases{
      {"", true, "", false, ThumbnailToolField::ThumbnailFolder,
       "Please select a destination folder for the Thumbnails."},
      {Path("Thumbs"), true, " ", false, ThumbnailToolField::MobileFolder,
       "Please select a destination folder for the Mobile Photos."},
      {Path("photos"), false, "", true, ThumbnailToolField::ThumbnailFolder,
       "The Thumbnail folder cannot be the same as the project's main folder."},
      {Path("PHOTOS/"), false, "", true, ThumbnailToolField::ThumbnailFolder,
       "The Thumbnail folder cannot be the same as the project's main folder."},
      {Path("Missing"), false, "", false, ThumbnailToolField::ThumbnailFolder,
       "Please select the destination folder for the Thumbnails."},
      {Path("Thumbs"), true, saveTo + "/", true, ThumbnailToolField::MobileFolder,
       "The Mobile Photos folder cannot be the same as the project's main folder."},
      {Path("Thumbs"), true, Path("Gone"), false, ThumbnailToolField::MobileFolder,
       "Please select the destination folder for the Mobile Photos."},
      {Path("Missing"), true, Path("Gone"), true, ThumbnailToolField::None, ""},
  };
  for (const Case& c : cases) {
    ThumbnailToolOptions options;
    options.thumbnails = {true, 100, PhotoFormat::Jpeg, PhotoOrientation::Any, c.thumbs, false};
    options.mobile = {c.mobileOn, 300, PhotoFormat::Png, PhotoOrientation::Any, c.mobile, false};
    const auto problem = ThumbnailTool::Check(options, saveTo, c.create);
    SCOPED_TRACE(c.thumbs + " / " + c.mobile);
    EXPECT_EQ(problem ? problem->field : ThumbnailToolField::None, c.field);
    EXPECT_EQ(problem ? problem->message : "", c.message);
  }
}

TEST_F(BatchToolTest, ThumbnailsFollowOrientationAndAreNeverPhotosOfTheProject) {
  const std::string saveTo = Path("Photos");
  fs::create_directories(saveTo);
  Photo("Photos/wide.jpg", PhotoFormat::Jpeg, 40, 20);
  Photo("Photos/tall.png", PhotoFormat::Png, 20, 40);
  Touch("Photos/Thumbs/old.jpg");
  ThumbnailToolOptions options;
  const std::string thumbs = saveTo + "/Thumbs";
  options.thumbnails = {true, 10, PhotoFormat::Png, PhotoOrientation::Landscape, thumbs, true};
  options.mobile = {true, 16, PhotoFormat::Jpeg, PhotoOrientation::Any, Path("Mobile"), false};
  for (int run = 0; run < 2; ++run) {
    ThumbnailTool tool(BatchWorkList(saveTo, thumbs, Path("Mobile")), options);
    ASSERT_EQ(tool.Count(), 2u);
    std::vector<std::string> statuses;
    ASSERT_TRUE(tool.Prepare([&](const std::string& text) { statuses.push_back(text); }));
    EXPECT_EQ(statuses, std::vector<std::string>{"Clearing Thumbnails folder"});
    EXPECT_EQ(tool.ProgressText(), "Processing photo 1 of 2 - tall.png");
    RunBatchJob(tool);
    EXPECT_TRUE(tool.Failures().empty());
  }
  EXPECT_EQ(ReadPhotoSize(Path("Photos/Thumbs/wide.png")), (PhotoSize{10, 5}));
  EXPECT_FALSE(fs::exists(Path("Photos/Thumbs/tall.png")));
  EXPECT_FALSE(fs::exists(Path("Photos/Thumbs/old.jpg")));
  EXPECT_EQ(ReadPhotoSize(Path("Mobile/tall.jpg")), (PhotoSize{8, 16}));
}

TEST_F(BatchToolTest, ConvertingPngToJpegLeavesOnlyJpegFiles) {
  Photo("a.png", PhotoFormat::Png, 30, 20);
  fs::create_directories(Path("sub"));
  Photo("sub/b.png", PhotoFormat::Png, 20, 30);
  Photo("c.jpg", PhotoFormat::Jpeg, 50, 10);
  ResizeToolOptions options;
  options.resize = true;
  options.box = 20;
  options.convert = true;
  options.format = PhotoFormat::Jpeg;
  ResizeTool tool(BatchWorkList(dir.str(), "", ""), options);
  RunBatchJob(tool);
  EXPECT_TRUE(tool.Failures().empty());
  std::set<std::string> files;
  for (const auto& [name, bytes] : Tree()) files.insert(name);
  EXPECT_EQ(files, (std::set<std::string>{"a.jpg", "c.jpg", "sub/b.jpg"}));
  EXPECT_EQ(ReadPhotoSize(Path("a.jpg")), (PhotoSize{20, 13}));
  EXPECT_EQ(ReadPhotoSize(Path("c.jpg")), (PhotoSize{20, 4}));
  EXPECT_EQ(testing::SniffedFormat(Path("sub/b.jpg")), PhotoFormat::Jpeg);
}

// Re-encoding a photo that needs no resizing only loses quality and grows the file.
TEST_F(BatchToolTest, APhotoThatFitsKeepsItsPixelsAndIsStillCounted) {
  for (const std::optional<int> dpi : {std::optional<int>(), std::optional<int>(300)}) {
    SCOPED_TRACE(dpi.value_or(0));
    const std::string fits = Photo("fits.jpg", PhotoFormat::Jpeg, 640, 480);
    const std::string large = Photo("large.jpg", PhotoFormat::Jpeg, 1000, 500);
    const std::string before = ReadBytes(fits);
    ResizeToolOptions options;
    options.resize = true;
    options.box = 800;
    options.jpegQuality = 100;
    options.dpi = dpi;
    ResizeTool tool({fits, large}, options);
    RunBatchJob(tool);
    EXPECT_TRUE(tool.Failures().empty());
    EXPECT_EQ(ReadPhotoSize(large), (PhotoSize{800, 400}));
    const std::string after = ReadBytes(fits);
    if (dpi) {
      // Only the resolution field changed.
      EXPECT_NE(after, before);
      EXPECT_LE(after.size(), before.size() + 32);
    } else {
      EXPECT_EQ(after, before);
    }
    EXPECT_NE(tool.Summary().find("resized 2 Photos"), std::string::npos) << tool.Summary();
  }
}

TEST_F(BatchToolTest, ConversionNeverWritesOverAnotherPhoto) {
  const std::string png = Photo("a.png", PhotoFormat::Png, 30, 20);
  const std::string jpg = Touch("a.jpg", "another photo");
  const std::string before = ReadBytes(png);
  ResizeToolOptions options;
  options.convert = true;
  ResizeTool tool({png}, options);
  EXPECT_FALSE(tool.Step());
  EXPECT_EQ(tool.Failures(), std::vector<std::string>{png});
  EXPECT_EQ(ReadBytes(png), before);
  EXPECT_EQ(ReadBytes(jpg), "another photo");
}

TEST_F(BatchToolTest, GrayscaleIntoAnotherFolderLeavesThePhotos) {
  const std::string photo = Photo("a.png", PhotoFormat::Png, 8, 8);
  const std::string before = ReadBytes(photo);
  GrayscaleTool tool({photo}, {false, Path("Gray")});
  fs::create_directories(Path("Gray"));
  EXPECT_EQ(tool.ProgressText(), "Converting Photo #1 of 1: a.png");
  RunBatchJob(tool);
  EXPECT_EQ(ReadBytes(photo), before);
  const testing::Rgba gray = testing::PixelAt(Path("Gray/a.png"), 3, 5);
  EXPECT_EQ(gray[0], gray[1]);
  EXPECT_EQ(gray[1], gray[2]);
  EXPECT_EQ(tool.Summary(),
            "Successfully converted 1 photos to grayscale\nand saved to: '" + Path("Gray") + "'");
}

// Failing writes, as a read-only file or a full disk leaves them: every tenth photo gets a
// half-written file and a failure. No photo may be lost or changed by it.
TEST_F(BatchToolTest, EveryTenthFailedSaveKeepsEveryOriginal) {
  constexpr int kPhotos = 1000;
  struct Case {
    const char* name;
    std::function<std::unique_ptr<BatchJob>(std::vector<std::string>, std::function<bool()>)> make;
    std::string newExtension;
  };
  const auto copyOrFail = [](const std::string& source, const std::string& target, bool fail) {
    WriteBytes(target, fail ? std::string("half") : "new:" + ReadBytes(source));
    return !fail;
  };
  const std::vector<Case> cases{
      {"resize in place",
       [&](std::vector<std::string> photos, std::function<bool()> fail) {
         ResizeToolOptions options;
         options.resize = true;
         options.box = 10;
         return std::make_unique<ResizeTool>(
             std::move(photos), options,
             [=](const std::string& source, const std::string& folder, const std::string& name,
                 std::optional<int>, const PhotoEncoding&) {
               const std::string target = folder + "/" + name;
               return SavedPhoto{target, copyOrFail(source, target, fail())};
             });
       },
       ".jpg"},
      {"convert to png",
       [&](std::vector<std::string> photos, std::function<bool()> fail) {
         ResizeToolOptions options;
         options.convert = true;
         options.format = PhotoFormat::Png;
         return std::make_unique<ResizeTool>(
             std::move(photos), options,
             [=](const std::string& source, const std::string& folder, const std::string& name,
                 std::optional<int>, const PhotoEncoding&) {
               const std::string target = folder + "/" + name;
               return SavedPhoto{target, copyOrFail(source, target, fail())};
             });
       },
       ".png"},
      {"grayscale in place",
       [&](std::vector<std::string> photos, std::function<bool()> fail) {
         return std::make_unique<GrayscaleTool>(
             std::move(photos), GrayscaleToolOptions{true, ""},
             [=](const std::string& source, const std::string& target) {
               return copyOrFail(source, target, fail());
             });
       },
       ".jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = Path(c.name);
    fs::create_directories(folder);
    std::vector<std::string> photos;
    for (int i = 0; i < kPhotos; ++i) {
      photos.push_back(folder + Format("/p%04d.jpg", i));
      WriteBytes(photos.back(), Format("photo %d", i));
    }
    int calls = 0;
    auto job = c.make(photos, [&calls] { return ++calls % 10 == 0; });
    RunBatchJob(*job);

    std::vector<std::string> failed;
    for (int i = 9; i < kPhotos; i += 10) failed.push_back(photos[static_cast<std::size_t>(i)]);
    EXPECT_EQ(job->Failures(), failed);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      (void)entry;
      ++files;
    }
    EXPECT_EQ(files, static_cast<std::size_t>(kPhotos));
    for (int i = 0; i < kPhotos; ++i) {
      const std::string original = Format("photo %d", i);
      if (i % 10 == 9) {
        ASSERT_EQ(ReadBytes(photos[static_cast<std::size_t>(i)]), original) << i;
      } else {
        const std::string now = job->Photos()[static_cast<std::size_t>(i)];
        ASSERT_EQ(SplitPath(now).extension, c.newExtension);
        ASSERT_EQ(ReadBytes(now), "new:" + original) << i;
      }
    }
  }
}

TEST_F(BatchToolTest, CancelStopsBetweenPhotosAndLeavesTheRestAlone) {
  std::vector<std::string> photos;
  for (int i = 0; i < 10; ++i) photos.push_back(Touch(Format("p%d.png", i), "x"));
  ResizeToolOptions options;
  options.convert = true;
  ResizeTool tool(photos, options,
                  [](const std::string& source, const std::string& folder, const std::string& name,
                     std::optional<int>, const PhotoEncoding&) {
                    WriteBytes(folder + "/" + name, ReadBytes(source));
                    return SavedPhoto{folder + "/" + name, true};
                  });
  const std::size_t handled = RunBatchJob(tool, [&](std::size_t index, const std::string&) {
    if (index == 4) tool.Cancel();
  });
  EXPECT_EQ(handled, 4u);  // the photo about to start stays as it is
  std::set<std::string> files;
  for (const auto& [name, bytes] : Tree()) files.insert(name);
  EXPECT_EQ(files, (std::set<std::string>{"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.png",
                                          "p5.png", "p6.png", "p7.png", "p8.png", "p9.png"}));
}

TEST_F(BatchToolTest, FailedRenameLeavesBothNames) {
  const std::string holder = Touch("Beach1.jpg", "holder");
  const std::string gone = Path("vanished.jpg");  // deleted after the list was made
  BatchRenameOptions options;
  options.prefix = "Beach";
  BatchRenamer renamer({gone, holder}, options, "", "");
  EXPECT_FALSE(renamer.RenameNext());
  EXPECT_EQ(ReadBytes(holder), "holder");
  EXPECT_EQ(renamer.Photos()[1], holder);
  EXPECT_EQ(Tree().size(), 1u);
  EXPECT_EQ(renamer.Summary(), "Several Photos (1) could not be renamed.");
}

TEST_F(BatchToolTest, Summaries) {
  const auto resize = [](std::size_t n, bool resizing, bool converting) {
    ResizeToolOptions options{resizing, 800, converting, PhotoFormat::Png, 90, {}, "/p"};
    return ResizeTool(std::vector<std::string>(n, "/p/x.jpg"), options).Summary();
  };
  ThumbnailToolOptions both;
  both.thumbnails = {true, 100, PhotoFormat::Jpeg, PhotoOrientation::Any, "/t", false};
  both.mobile = {true, 480, PhotoFormat::Gif, PhotoOrientation::Any, "/m", false};
  ThumbnailToolOptions thumbsOnly = both;
  thumbsOnly.mobile.create = false;
  const std::vector<std::string> many(1200, "/p/x.jpg");
  struct Case {
    std::string actual;
    std::string expected;
  };
  const std::vector<Case> cases{
      {resize(1, true, false),
       "Trawlix() PRO resized 1 Photo with a bounding-box of 800 pixels\nand saved them to '/p'"},
      {resize(0, true, false),
       "Trawlix() PRO resized 0 Photos with a bounding-box of 800 pixels\nand saved them to "
       "'/p'"},
      {resize(2, false, true),
       "Trawlix() PRO converted 2 Photos to PNG (Portable Network Graphics) format\nand saved "
       "them to '/p'"},
      {resize(1, true, true),
       "Trawlix() PRO resized 1 Photo (bounding-box of 800 pixels)\nand converted them to PNG "
       "(Portable Network Graphics).\nThe photos have been saved to '/p.'"},
      {ThumbnailTool(many, thumbsOnly).Summary(),
       "Trawlix() PRO created 1,200 thumbnails with a bounding-box of 100 pixels,\nstored in "
       "JPEG (Joint Photographic Experts Group) format and saved to '/t'"},
      {ThumbnailTool({"/p/x.jpg"}, both).Summary(),
       "Trawlix() PRO created 1 thumbnails with a bounding-box of 100 pixels,\nstored in JPEG "
       "(Joint Photographic Experts Group) format and saved to '/t'\nand 1 mobile photos with a "
       "bounding-box of 480 pixels,\nstored in GIF (Graphics Interchange Format) format and "
       "saved to '/m'."},
      {GrayscaleTool(many, {true, ""}).Summary(),
       "Successfully converted 1,200 photos to grayscale (Replacing existing photos)."},
      {BatchRenamer(many, {}, "", "").Summary(), "Successfully renamed 1,200 photos."},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST_F(BatchToolTest, DeletePhotosCountsWhatWentAndWhatStayed) {
  const std::string a = Touch("a.jpg");
  DeletePhotosTool tool({a, Path("missing.jpg")});
  EXPECT_EQ(tool.ProgressText(), "Deleting photo 1 of 2 - a.jpg");
  RunBatchJob(tool);
  EXPECT_FALSE(fs::exists(a));
  EXPECT_EQ(tool.Summary(), "Deleted 1 Photo.\n\nSeveral Photos (1) could not be deleted.");
}

}  // namespace
}  // namespace trawlix
