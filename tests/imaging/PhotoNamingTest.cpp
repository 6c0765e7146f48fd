#include <gtest/gtest.h>

#include <filesystem>

#include "ImagingTestSupport.h"
#include "imaging/PhotoNaming.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/tools/BatchRenamer.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;

class PhotoNamingTest : public testing::PhotoTest {};

TEST(DownloadNameTest, SmallNumbersArePaddedToTwoDigits) {
  const struct {
    const char* proposed;
    const char* stored;
  } cases[] = {
      {"3.gif", "03.gif"},  {"100.png", "100.png"},
      {"7b.jpg", "07.jpg"}, {"7_a.jpg", "7_a.jpg"},
      {"x7.jpg", "x7.jpg"}, {"007.jpg", "07.jpg"},
      {"5", "05"},          {"99999999999999999999.jpg", "99999999999999999999.jpg"},
  };
  for (const auto& c : cases) EXPECT_EQ(DownloadFileName(c.proposed), c.stored) << c.proposed;
  EXPECT_EQ(DownloadTargetPath("/photos/trip", "1.jpg"), "/photos/trip/01.jpg");
  EXPECT_EQ(DownloadTargetPath("/photos/trip/", "a.jpg"), "/photos/trip/a.jpg");
}

TEST(DownloadNameTest, NamesFromTheWebNeverLeaveTheFolder) {
  const struct {
    std::string proposed;
    std::string stored;
  } cases[] = {
      {"../../etc/passwd", ".._.._etc_passwd"},
      {".", "_"},
      {"", "_"},
      {"a\\b.jpg", "a_b.jpg"},
      {std::string("a\0b\n.jpg", 8), "a_b_.jpg"},
      {"/abs.jpg", "_abs.jpg"},
      {"...", "..."},
  };
  for (const auto& c : cases) {
    const std::string stored = DownloadFileName(c.proposed);
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(fs::path("/save/to/" + stored).parent_path(), fs::path("/save/to")) << stored;
  }
}

TEST(DownloadNameTest, LongNamesKeepTheirEnd) {
  const std::string title(400, 'x');
  const std::string stored = DownloadFileName(title + "photo.jpg");
  EXPECT_EQ(stored.size(), kMaxDownloadNameBytes);
  EXPECT_TRUE(stored.ends_with("xphoto.jpg"));
  // Never cut inside a multi-byte character.
  std::string accents;
  for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";  // é
  const std::string cut = DownloadFileName(accents + ".jpg");
  EXPECT_LE(cut.size(), kMaxDownloadNameBytes);
  EXPECT_EQ(static_cast<unsigned char>(cut[0]), 0xC3);
}

TEST_F(PhotoNamingTest, AutoRenamePattern) {
  const std::string jpeg = Path("src.jpeg");
  testing::WritePhoto(jpeg, PhotoFormat::Jpeg, 800, 600);
  const struct {
    AutoRenameOptions options;
    std::string source;
    int number;
    const char* name;
  } cases[] = {
      {{"Beach", true, true, 4}, jpeg, 12, "Beach(800x600)_0012.jpg"},
      {{"Beach", false, false, 4}, jpeg, 12, "Beach12.jpg"},
      {{"", false, true, 0}, jpeg, 7, "7.jpg"},
      {{"", false, true, 3}, jpeg, 7, "007.jpg"},
      {{"Trip ", true, false, 0}, Path("missing.tiff"), 1, "Trip (0x0)_1.tif"},
      {{"x", false, false, 0}, Path("icon.ico"), 3, "x3"},
      {{"a/../b", false, false, 0}, jpeg, 1, "a_.._b1.jpg"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeAutoRenameName(c.options, c.source, c.number), c.name);
  EXPECT_EQ(MakeAutoRenameName({"P", true, false, 0}, {-1, -1}, PhotoFormat::Png, 2),
            "P(0x0)_2.png");
}

TEST_F(PhotoNamingTest, TakenAutoRenameNamesRaiseTheNumber) {
  Touch("42.jpg");
  Touch("43.jpg");
  int number = 42;
  EXPECT_EQ(MakeFreeAutoRenamePath({}, dir.str(), Path("download.jpg"), number), Path("44.jpg"));
  EXPECT_EQ(number, 44);
  number = 1;
  EXPECT_EQ(MakeFreeAutoRenamePath({}, dir.str() + "/", Path("download.png"), number),
            Path("1.png"));
  EXPECT_EQ(number, 1);
}

TEST_F(PhotoNamingTest, LetterSuffixesEndAfterZ) {
  Touch("a.jpg");
  Touch("aa.jpg");
  EXPECT_EQ(MakeLetterSuffixedName(Path("a.jpg")), Path("ab.jpg"));
  EXPECT_EQ(MakeLetterSuffixedName(Path("photo.jpg")), Path("photoa.jpg"));
  for (char c = 'a'; c <= 'z'; ++c) Touch(std::string("full") + c + ".png");
  EXPECT_EQ(MakeLetterSuffixedName(Path("full.png")), std::nullopt);
}

TEST_F(PhotoNamingTest, CountProjectPhotosLeavesOutThumbnailsAndMobilePhotos) {
  for (int i = 0; i < 41; ++i) Touch("p" + std::to_string(i) + (i % 2 ? ".jpg" : ".png"));
  for (const char* other :
       {"x.tiff", "x.jpeg", "x.txt", "thumbs/t.jpg", "mobile/m.jpg", "trip/t.gif"})
    Touch(other);
  const std::string thumbs = Path("thumbs");
  const std::string mobile = Path("mobile") + "/";
  EXPECT_EQ(CountProjectPhotos(dir.str(), thumbs, mobile, Recursion::ThisFolder), 41);
  EXPECT_EQ(CountProjectPhotos(dir.str(), thumbs, mobile, Recursion::SubFolders), 42);
  EXPECT_EQ(CountProjectPhotos(dir.str(), "", "", Recursion::SubFolders), 44);
  // The next downloaded JPEG is named 42.jpg.
  int number = CountProjectPhotos(dir.str(), thumbs, mobile, Recursion::ThisFolder) + 1;
  EXPECT_EQ(MakeFreeAutoRenamePath({}, dir.str(), Path("new.jpg"), number), Path("42.jpg"));
}

std::vector<std::string> Listed(const std::string& folder) {
  ImageFileList list;
  list.Walk(folder, Recursion::SubFolders);
  std::vector<std::string> names;
  for (const auto& f : list.Files()) names.push_back(fs::relative(f.path, folder).string());
  return names;
}

TEST_F(PhotoNamingTest, BatchRenameWithPrefixAndPhotoSizes) {
  const std::string sized = Path("s.png");
  testing::WritePhoto(sized, PhotoFormat::Png, 30, 20);
  const std::vector<std::string> photos{Touch("b.jpg", "B"), Touch("d.jpeg", "D"), sized};
  BatchRenameOptions options;
  options.prefix = "Beach";
  options.padNumbers = true;
  options.padding = 2;
  BatchRenamer renamer(photos, options, "", "");
  EXPECT_EQ(renamer.ProgressText(), "Renaming Photo #1 of 3 to Beach01.jpg");
  EXPECT_TRUE(renamer.RenameNext());
  EXPECT_TRUE(renamer.RenameNext());
  EXPECT_EQ(testing::ReadBytes(Path("Beach01.jpg")), "B");
  EXPECT_EQ(testing::ReadBytes(Path("Beach02.jpg")), "D");  // .jpeg becomes .jpg
  options.includePhotoSize = true;
  options.padNumbers = false;
  BatchRenamer withSizes({sized}, options, "", "");
  EXPECT_TRUE(withSizes.RenameNext());
  EXPECT_TRUE(fs::exists(Path("Beach(30x20)_1.png")));
}

TEST_F(PhotoNamingTest, BatchRenameByFolderNameCountsOnWhenAFolderComesBack) {
  // Sorted lists put sub-folders between a folder's photos.
  const std::vector<std::string> photos{Touch("My Trip-2011/a.jpg", "a"),
                                        Touch("My Trip-2011/sub/b.gif", "b"),
                                        Touch("My Trip-2011/z.jpg", "z")};
  BatchRenameOptions options;
  options.mode = RenameMode::FolderName;
  options.spacesToUnderscores = true;
  options.dashesToUnderscores = true;
  BatchRenamer renamer(photos, options, "", "");
  while (!renamer.Done()) EXPECT_TRUE(renamer.RenameNext());
  EXPECT_EQ(Listed(dir.str()), (std::vector<std::string>{"My Trip-2011/My_Trip_2011_1.jpg",
                                                         "My Trip-2011/My_Trip_2011_2.jpg",
                                                         "My Trip-2011/sub/sub_1.gif"}));
  EXPECT_EQ(testing::ReadBytes(Path("My Trip-2011/My_Trip_2011_2.jpg")), "z");

  options.spacesToUnderscores = options.dashesToUnderscores = false;
  BatchRenamer plain({Path("My Trip-2011/My_Trip_2011_1.jpg")}, options, "", "");
  EXPECT_EQ(plain.NextName(), "My Trip-2011_1.jpg");
}

TEST_F(PhotoNamingTest, BatchRenameParksAFileHoldingTheNewName) {
  // The file holding "1.jpg" is itself in the list; "2.jpg" is not.
  const std::vector<std::string> photos{Touch("a.jpg", "A"), Touch("1.jpg", "ONE"),
                                        Touch("z.jpg", "Z")};
  Touch("2.jpg", "outsider");
  BatchRenamer renamer(photos, {}, "", "");
  while (!renamer.Done()) EXPECT_TRUE(renamer.RenameNext());
  // a.jpg took 1.jpg, whose file was parked and renamed to 2.jpg in its turn, after the
  // outsider had been parked in its place; z.jpg became 3.jpg.
  EXPECT_EQ(testing::ReadBytes(Path("1.jpg")), "A");
  EXPECT_EQ(testing::ReadBytes(Path("2.jpg")), "ONE");
  EXPECT_EQ(testing::ReadBytes(Path("3.jpg")), "Z");
  // Parking counts from the number of photos in the folder (4) up to a free name.
  EXPECT_EQ(Listed(dir.str()),
            (std::vector<std::string>{"1.jpg", "2.jpg", "3.jpg", "zel0005.jpg"}));
  EXPECT_EQ(testing::ReadBytes(Path("zel0005.jpg")), "outsider");
}

TEST_F(PhotoNamingTest, BatchRenameKeepsNamesAlreadyRightAndReportsFailures) {
  const std::vector<std::string> photos{Touch("1.jpg", "one"), Path("gone.jpg"),
                                        Touch("c.jpg", "c")};
  BatchRenamer renamer(photos, {}, "", "");
  EXPECT_TRUE(renamer.RenameNext());
  EXPECT_FALSE(renamer.RenameNext());
  EXPECT_TRUE(renamer.RenameNext());
  EXPECT_EQ(renamer.Failures(), (std::vector<std::string>{Path("gone.jpg")}));
  EXPECT_EQ(testing::ReadBytes(Path("1.jpg")), "one");
  EXPECT_EQ(testing::ReadBytes(Path("3.jpg")), "c");
  EXPECT_FALSE(renamer.RenameNext());
}

}  // namespace
}  // namespace trawlix
