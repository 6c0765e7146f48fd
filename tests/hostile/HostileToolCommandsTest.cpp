#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "cli/CliTestSupport.h"
#include "imaging/codec/PhotoCodec.h"
#include "platform/FolderLock.h"
#include "scan/PipelineTestSite.h"

namespace trawlix::cli {
namespace {

namespace fs = std::filesystem;

// A project whose sub-folders hold photos of the same name.
class HostileToolCommands : public testing::CliTest {
 protected:
  void SetUp() override {
    for (const auto& [name, width] : {std::pair{"a/x.jpg", 300}, std::pair{"b/x.jpg", 400}}) {
      fs::create_directories((saveTo() / name).parent_path());
      std::ofstream(saveTo() / name, std::ios::binary)
          << trawlix::testing::MakeTestPhoto(trawlix::testing::TestPhotoKind::Jpeg, width, 300);
    }
    ASSERT_EQ(Run({"project", "add", "--title", "Trip", "--url", "https://example.org/",
                   "--save-to", saveTo().string()}),
              0)
        << err_;
  }
  fs::path saveTo() const { return dir_ / "Trip"; }
  PhotoSize Size(const std::string& name) const {
    return ReadPhotoSize((saveTo() / name).string());
  }
};

TEST_F(HostileToolCommands, ToolsNeverWriteOverOriginals) {
  // The project's folder spelt another way is still the project's folder.
  EXPECT_NE(Run({"tools", "thumbs", "Trip", "--thumbnails", "--box", "50", "--folder",
                 (saveTo() / ".").string(), "--clear"}),
            0);
  EXPECT_TRUE(ErrHas("cannot be the same as the project's main folder")) << err_;
  ASSERT_EQ(Run({"tools", "grayscale", "Trip", "--to-folder", (saveTo() / "b").string()}), 0)
      << err_;
  EXPECT_EQ(Size("a/x.jpg"), (PhotoSize{300, 300}));
  EXPECT_EQ(Size("b/x.jpg"), (PhotoSize{400, 300}));
  EXPECT_EQ(Size("b/xa.jpg"), (PhotoSize{300, 300}));
}

TEST_F(HostileToolCommands, AToolRefusesAFolderAScanHolds) {
  const auto scan = FolderLock::TakeSaveTo((dataDir() / "Temp").string(), saveTo().string() + "/");
  ASSERT_TRUE(scan);
  EXPECT_NE(Run({"tools", "resize", "Trip", "--box", "100"}), 0);
  EXPECT_TRUE(ErrHas("a scan or another tool is working in")) << err_;
  EXPECT_EQ(Size("b/x.jpg"), (PhotoSize{400, 300}));
}

}  // namespace
}  // namespace trawlix::cli
