#include <gtest/gtest.h>

#include <filesystem>

#include "ImagingTestSupport.h"
#include "imaging/tools/FileList.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;

class FileListTest : public testing::PhotoTest {
 protected:
  std::vector<std::string> Names(const FileList& list) const {
    std::vector<std::string> names;
    for (const FileInfo& f : list.Files())
      names.push_back(fs::relative(f.path, dir.path()).string());
    return names;
  }
};

TEST_F(FileListTest, PhotoMaskMatchesWholeExtensionsAndSortsIgnoringCase) {
  for (const char* name :
       {"a.jpg", "B.PNG", "c.bmp", "d.tif", "e.TIFF", "f.gif", "g.jpeg", "h.jp", "i.ti", "j.txt",
        "noext", "k.gif.txt", ".jpg", "sub/c.jpg", "Sub2/a.jpg"}) {
    Touch(name);
  }
  ImageFileList list;
  EXPECT_TRUE(list.Walk(dir.str(), Recursion::SubFolders));
  EXPECT_EQ(Names(list),
            (std::vector<std::string>{".jpg", "a.jpg", "B.PNG", "c.bmp", "d.tif", "e.TIFF", "f.gif",
                                      "g.jpeg", "sub/c.jpg", "Sub2/a.jpg"}));
  EXPECT_EQ(list.Files()[2].name, "B.PNG");
  EXPECT_EQ(list.Files()[2].extension, ".PNG");
  EXPECT_EQ(list.Files()[2].size, 1u);
}

TEST_F(FileListTest, RecursionAndExcludedFolders) {
  for (const char* name : {"top.jpg", "thumbs/t.jpg", "thumbs/deeper/t2.jpg", "thumbs2/keep.jpg",
                           "Mobile/m.png", "trip/x.gif"}) {
    Touch(name);
  }
  ImageFileList flat;
  flat.Walk(dir.str() + "/", Recursion::ThisFolder);
  EXPECT_EQ(Names(flat), (std::vector<std::string>{"top.jpg"}));

  ImageFileList deep;
  deep.AddExcludedFolder(dir.str() + "/thumbs/");
  deep.AddExcludedFolder(" " + dir.str() + "/MOBILE ");
  deep.Walk(dir.str(), Recursion::SubFolders);
  EXPECT_EQ(Names(deep), (std::vector<std::string>{"thumbs2/keep.jpg", "top.jpg", "trip/x.gif"}));

  deep.Clear();
  EXPECT_TRUE(deep.Empty());
  EXPECT_FALSE(deep.Walk((dir / "thumbs").string() + "/deeper-missing", Recursion::SubFolders));
  EXPECT_EQ(deep.Mask(), ImageFileList::kPhotoMask);
}

TEST_F(FileListTest, CustomMaskAndLinkLoops) {
  Touch("a.txt");
  Touch("b.jpg");
  Touch("sub/c.TXT");
  fs::create_directory_symlink(dir.path(), dir / "sub" / "loop");
  FileList list;
  list.SetMask("  *.TXT ; ");
  EXPECT_EQ(list.Mask(), "*.txt ;");
  list.Walk(dir.str(), Recursion::SubFolders);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt", "sub/c.TXT"}));
  FileList all;
  all.SetMask("*");
  EXPECT_TRUE(all.Walk(dir.str(), Recursion::ThisFolder));
  EXPECT_EQ(all.Count(), 2u);
}

}  // namespace
}  // namespace trawlix
