#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "CliTestSupport.h"

namespace trawlix::cli {
namespace {

namespace fs = std::filesystem;

// An uncompressed 24-bit BMP, simple enough to write here and decoded by every tool.
void WriteBmp(const fs::path& path, int width, int height) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
  std::string bytes = "BM";
  const auto put = [&bytes](std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(54 + pixelBytes, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(pixelBytes, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 8);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < rowBytes; ++x) bytes += static_cast<char>((x * 7 + y * 13) & 0xFF);
  }
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

class ToolCommands : public testing::CliTest {
 protected:
  void SetUp() override {
    WriteBmp(photos() / "b.bmp", 20, 10);
    WriteBmp(photos() / "a.bmp", 10, 20);
    WriteBmp(photos() / "Thumbs" / "old.bmp", 4, 4);
    ASSERT_EQ(Run({"project", "add", "--title", "Birds", "--url", "https://example.org/",
                   "--save-to", photos().string(),
                   "ThumbnailSaveTo=" + (photos() / "Thumbs").string(), "ThumbnailBoundingBox=8",
                   "ThumbnailFormat=2", "ThumbnailOrientation=0", "NamePrefix=Bird"}),
              0)
        << err_;
  }
  fs::path photos() const { return dir_ / "Birds"; }
  std::set<std::string> Files() const {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir_ / "Birds"))
      if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), photos()).string());
    return files;
  }
};

TEST_F(ToolCommands, ThumbnailsSkipTheirOwnFolderAndRefuseTheProjectFolder) {
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(Run({"tools", "thumbs", "Birds", "--thumbnails"}), 0) << err_;
    EXPECT_EQ(err_, "Processing photo 1 of 2 - a.bmp\nProcessing photo 2 of 2 - b.bmp\n");
  }
  EXPECT_EQ(out_,
            "Trawlix() PRO created 2 thumbnails with a bounding-box of 8 pixels,\nstored "
            "in PNG (Portable Network Graphics) format and saved to '" +
                (photos() / "Thumbs").string() + "'\n");
  EXPECT_EQ(Files(), (std::set<std::string>{"a.bmp", "b.bmp", "Thumbs/a.png", "Thumbs/b.png",
                                            "Thumbs/old.bmp"}));

  const std::string upper = (dir_ / "BIRDS").string() + "/";
  for (const std::string& folder : {photos().string(), upper}) {
    EXPECT_EQ(Run({"tools", "thumbs", "Birds", "--thumbnails", "--folder", folder}), 1);
    EXPECT_TRUE(ErrHas("The Thumbnail folder cannot be the same as the project's main folder."))
        << err_;
  }
}

TEST_F(ToolCommands, ConvertingLeavesOnlyTheNewFormat) {
  ASSERT_EQ(Run({"tools", "resize", "Birds", "--to", "png", "--box", "5"}), 0) << err_;
  EXPECT_EQ(out_,
            "Trawlix() PRO resized 2 Photos (bounding-box of 5 pixels)\nand converted "
            "them to PNG (Portable Network Graphics).\nThe photos have been saved to '" +
                photos().string() + ".'\n");
  EXPECT_EQ(Files(), (std::set<std::string>{"a.png", "b.png", "Thumbs/old.bmp"}));
}

TEST_F(ToolCommands, RenameAndGrayscale) {
  ASSERT_EQ(Run({"tools", "rename", "Birds", "--folder-names"}), 0) << err_;
  EXPECT_EQ(out_, "Successfully renamed 2 photos.\n");
  EXPECT_TRUE(ErrHas("Renaming Photo #1 of 2 to Birds_1.bmp")) << err_;
  ASSERT_EQ(Run({"tools", "rename", "Birds"}), 0) << err_;
  EXPECT_EQ(Files(), (std::set<std::string>{"Bird1.bmp", "Bird2.bmp", "Thumbs/old.bmp"}));

  const std::string gray = (dir_ / "Gray").string();
  ASSERT_EQ(Run({"tools", "grayscale", "Birds", "--to-folder", gray}), 0) << err_;
  EXPECT_EQ(out_, "Successfully converted 2 photos to grayscale\nand saved to: '" + gray + "'\n");
  EXPECT_TRUE(fs::exists(dir_ / "Gray" / "Bird2.bmp"));
}

TEST_F(ToolCommands, UsageErrors) {
  const std::vector<std::vector<std::string>> cases{
      {"tools", "resize", "Birds"},
      {"tools", "resize", "Birds", "--to", "webp"},
      {"tools", "resize", "Birds", "--box", "0"},
      {"tools", "grayscale", "Birds"},
      {"tools", "grayscale", "Birds", "--replace", "--to-folder", "x"},
      {"tools", "rename", "Birds", "--pad", "x"},
  };
  for (const auto& args : cases) {
    EXPECT_EQ(Run(args), 2) << args.back() << err_;
    EXPECT_TRUE(out_.empty());
  }
  EXPECT_EQ(Files(), (std::set<std::string>{"a.bmp", "b.bmp", "Thumbs/old.bmp"}));
}

}  // namespace
}  // namespace trawlix::cli
