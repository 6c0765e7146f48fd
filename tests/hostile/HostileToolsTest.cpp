#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "imaging/codec/PhotoCodec.h"
#include "imaging/tools/BatchJob.h"
#include "imaging/tools/GrayscaleTool.h"
#include "imaging/tools/ResizeTool.h"
#include "imaging/tools/ThumbnailTool.h"
#include "scan/PipelineTestSite.h"
#include "support/TempDir.h"

namespace trawlix::testing {
namespace {

namespace fs = std::filesystem;

class HostileTools : public ::testing::Test {
 protected:
  HostileTools() {
    fs::create_directories(saveTo / "a");
    fs::create_directories(saveTo / "b");
    Write(saveTo / "a" / "x.jpg", 300, 200);
    Write(saveTo / "b" / "x.jpg", 400, 300);
  }
  static void Write(const fs::path& path, int width, int height) {
    std::ofstream(path, std::ios::binary) << MakeTestPhoto(TestPhotoKind::Jpeg, width, height);
  }

  TempDir dir;
  const fs::path saveTo = dir / "Save";
};

// Folder names that a text comparison tells apart from the project's folder, though they
// are the same folder.
TEST_F(HostileTools, AFolderIsTheSameHoweverItIsSpelt) {
  fs::create_directory_symlink(saveTo, dir / "link");
  for (const fs::path& same :
       {saveTo / ".", saveTo / "a" / "..", dir / "link", dir / "link" / ""}) {
    EXPECT_TRUE(SameFolder(same.string(), saveTo.string())) << same;
    ThumbnailToolOptions options;
    options.thumbnails = {true, 100, PhotoFormat::Jpeg, PhotoOrientation::Any, same.string(), true};
    const auto problem = ThumbnailTool::Check(options, saveTo.string(), true);
    ASSERT_TRUE(problem) << same;
    EXPECT_EQ(problem->field, ThumbnailToolField::ThumbnailFolder);
  }
  EXPECT_FALSE(SameFolder((saveTo / "a").string(), saveTo.string()));
  EXPECT_FALSE(SameFolder((saveTo / "new").string(), saveTo.string()));
}

// A copy into a folder holding photos of the same name takes a free name.
TEST_F(HostileTools, ACopyNeverTakesTheNameOfAFileAlreadyThere) {
  GrayscaleTool tool({(saveTo / "a" / "x.jpg").string(), (saveTo / "b" / "x.jpg").string()},
                     {false, (saveTo / "b").string()});
  RunBatchJob(tool);
  EXPECT_TRUE(tool.Failures().empty());
  EXPECT_EQ(ReadPhotoSize((saveTo / "b" / "x.jpg").string()), (PhotoSize{400, 300}));
  EXPECT_EQ(ReadPhotoSize((saveTo / "a" / "x.jpg").string()), (PhotoSize{300, 200}));
  EXPECT_EQ(ReadPhotoSize((saveTo / "b" / "xa.jpg").string()), (PhotoSize{300, 200}));
  EXPECT_EQ(ReadPhotoSize((saveTo / "b" / "xb.jpg").string()), (PhotoSize{400, 300}));
}

// A photo cut short decodes with its missing part filled grey; every tool reports it by
// name and leaves its bytes as they were.
TEST_F(HostileTools, ADamagedPhotoIsReportedAndLeftAlone) {
  const std::string whole = MakeTestPhoto(TestPhotoKind::Jpeg, 1200, 900);
  const std::string cut = whole.substr(0, whole.size() / 2);
  const std::string photo = (saveTo / "cut.jpg").string();
  const auto bytes = [&] {
    std::ostringstream read;
    read << std::ifstream(photo, std::ios::binary).rdbuf();
    return read.str();
  };
  ResizeToolOptions resize;
  resize.resize = true;
  resize.box = 300;
  ThumbnailToolOptions thumbs;
  thumbs.thumbnails = {
      true, 100, PhotoFormat::Jpeg, PhotoOrientation::Any, (saveTo / "Thumbs").string(), false};
  fs::create_directories(saveTo / "Thumbs");
  const std::function<std::unique_ptr<BatchJob>()> tools[] = {
      [&] { return std::make_unique<GrayscaleTool>(std::vector{photo}, GrayscaleToolOptions{}); },
      [&] { return std::make_unique<ResizeTool>(std::vector{photo}, resize); },
      [&] { return std::make_unique<ThumbnailTool>(std::vector{photo}, thumbs); },
  };
  for (const auto& make : tools) {
    std::ofstream(photo, std::ios::binary) << cut;
    const std::unique_ptr<BatchJob> tool = make();
    RunBatchJob(*tool);
    EXPECT_EQ(tool->Failures(), std::vector<std::string>{photo});
    EXPECT_TRUE(bytes() == cut);
  }
  EXPECT_FALSE(fs::exists(saveTo / "Thumbs" / "cut.jpg"));
}

}  // namespace
}  // namespace trawlix::testing
