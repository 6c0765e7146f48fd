#include <gtest/gtest.h>

#include "imaging/codec/PhotoCodec.h"
#include "scan/PipelineFixture.h"

namespace trawlix::testing {
namespace {

class ScanControllerMultiLink : public PipelineTest {};

TEST_F(ScanControllerMultiLink, ThreeLinksInARow) {
  BuildStandardSite();
  // Each link starts without a base address: page3's relative photo is looked for beside it.
  site.Add("/gallery/sub/7.jpg", "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 500, 300));
  const int gallery = AddLink(site.URL("/gallery/index.html"), 0);
  const int other = AddLink(site.URL("/other/page4.html"), 1);
  const int sub = AddLink(site.URL("/gallery/sub/page3.html"), 1);
  ASSERT_GT(gallery, 0);
  ASSERT_TRUE(RunMultiLinkScan({sub, gallery, other}));

  // Ordered as the links list is (by id), each link with its own settings.
  ASSERT_EQ(observer.linkTexts.size(), 3u);
  EXPECT_EQ(observer.linkTexts[0], "URL #1 of 3:  " + site.URL("/gallery/index.html"));
  EXPECT_EQ(observer.linkTexts[2], "URL #3 of 3:  " + site.URL("/gallery/sub/page3.html"));

  const auto history = StoredHistory();
  ASSERT_EQ(history.size(), 3u);
  EXPECT_EQ(history[0].url, site.URL("/gallery/index.html"));
  EXPECT_EQ(history[0].searchSubFolders, 0);
  EXPECT_EQ(history[0].pages, 2);  // index and page2: the sub-folder is not followed
  EXPECT_EQ(history[0].savedImages, 6);
  EXPECT_EQ(history[1].url, site.URL("/other/page4.html"));
  EXPECT_EQ(history[1].savedImages, 1);
  EXPECT_EQ(history[2].savedImages, 2);
  for (const auto& row : history) EXPECT_EQ(row.guid.size(), 36u);

  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 3u) << "no new link rows";
  EXPECT_EQ(links[0].photos, 6);
  EXPECT_EQ(links[1].photos, 1);
  EXPECT_EQ(links[2].photos, 2);

  const ScanCounts totals = controller.RunningTotals();
  EXPECT_EQ(totals.photosSaved, 9);
  EXPECT_EQ(observer.ended, 1);
  EXPECT_EQ(observer.results.rfind("Trawlix('Harvest') scanned 4 pages.\n\nProcessing time: ", 0),
            0u)
      << observer.results;
  EXPECT_NE(observer.results.find("\tSaved 9 Photos"), std::string::npos) << observer.results;
  EXPECT_EQ(FilesIn(SaveTo()).size(), 9u);
}

TEST_F(ScanControllerMultiLink, NoLinksNoScan) {
  EXPECT_FALSE(controller.StartMultiLinkScan(project, options, {}));
  EXPECT_FALSE(controller.IsScanning());
  EXPECT_TRUE(controller.IsIdle());
}

}  // namespace
}  // namespace trawlix::testing
