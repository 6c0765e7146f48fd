#include <gtest/gtest.h>

#include <QDateTime>
#include <QImage>
#include <filesystem>
#include <fstream>

#include "support/TempDir.h"
#include "ui/viewer/PhotoViewerLayout.h"
#include "ui/viewer/PhotoViewerList.h"
#include "ui/viewer/PhotoViewerPaging.h"
#include "ui/viewer/PhotoViewerTexts.h"
#include "ui/viewer/ThumbnailCache.h"

namespace trawlix::ui {
namespace {

TEST(PhotoViewerLayoutTest, GridIsCentredWithItsRemainderSplitOnBothSides) {
  // 200 - 12 = 188 wide in 3 columns: cells of 62, two pixels left over, one each side.
  // 100 - 12 = 88 high in 2 rows: cells of 44.
  const std::vector<QRect> cells = PhotoViewerLayout::Cells(QRect(0, 0, 200, 100), 3, 2);
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_EQ(cells[0], QRect(7, 6, 62, 44));
  EXPECT_EQ(cells[2], QRect(131, 6, 62, 44));
  EXPECT_EQ(cells[3], QRect(7, 50, 62, 44));  // row by row
  const std::vector<QRect> odd = PhotoViewerLayout::Cells(QRect(0, 0, 117, 100), 4, 3);
  EXPECT_EQ(odd[0].left(), 6 + (105 % 4) / 2);
  EXPECT_EQ(odd[0].top(), 6 + (88 % 3) / 2);
  EXPECT_EQ(odd[0].size(), QSize(26, 29));
}

TEST(PhotoViewerLayoutTest, HitTestingSkipsTheCellEdgesAndEmptyCells) {
  const std::vector<QRect> cells = PhotoViewerLayout::Cells(QRect(0, 0, 200, 100), 3, 2);
  struct Case {
    QPoint point;
    int photoCells;
    int expected;
  };
  const Case cases[] = {
      {{30, 30}, 6, 0}, {{150, 70}, 6, 5},  {{8, 30}, 6, -1},  // inside the 2-pixel edge
      {{9, 30}, 6, 0},  {{150, 70}, 5, -1},                    // the last cell holds no photo
      {{2, 2}, 6, -1},                                         // the margin
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PhotoViewerLayout::CellAt(cells, c.point, c.photoCells), c.expected)
        << c.point.x() << "," << c.point.y() << " of " << c.photoCells;
  }
}

TEST(PhotoViewerLayoutTest, PhotosShrinkToFitCentredAndAreNeverEnlarged) {
  const QRect box(10, 10, 100, 50);
  EXPECT_EQ(PhotoViewerLayout::FitCentered(4000, 3000, box), QRect(27, 10, 66, 50));
  EXPECT_EQ(PhotoViewerLayout::FitCentered(3000, 500, box), QRect(10, 27, 100, 16));
  EXPECT_EQ(PhotoViewerLayout::FitCentered(40, 30, box), QRect(40, 20, 40, 30));
  EXPECT_TRUE(PhotoViewerLayout::FitCentered(0, 30, box).isEmpty());
  EXPECT_TRUE(PhotoViewerLayout::FitCentered(1, 100000, box).width() >= 1);
}

TEST(PhotoViewerPagingTest, ViewsHaveTheirPageSizes) {
  const int perPage[] = {1, 2, 4, 6, 8, 10, 12, 16, 20, 25, 30, 36};
  const int columns[] = {1, 2, 2, 3, 4, 5, 4, 4, 5, 5, 6, 6};
  for (int index = 0; index < 12; ++index) {
    const PhotoViewerView view = PhotoViewerLayout::View(index);
    EXPECT_EQ(view.perPage, perPage[index]) << index;
    EXPECT_EQ(view.columns, columns[index]) << index;
    EXPECT_EQ(view.columns * view.rows, view.perPage) << index;
  }
  EXPECT_EQ(PhotoViewerLayout::View(12).perPage, 36);
  EXPECT_EQ(PhotoViewerLayout::View(-1).perPage, 1);
}

TEST(PhotoViewerPagingTest, LastPageAndTheStatusLine) {
  struct Case {
    int view;
    int count;
    int lastFirst;  // first photo shown on the last page
    const char* lastLine;
  };
  const Case cases[] = {
      {11, 37, 36, "Photos 37 - 37"},
      {11, 36, 0, "Photos 1 - 36"},  // a full first page is the last one
      {11, 1, 0, "Photo 1 - 1"},
      {11, 1234, 1224, "Photos 1,225 - 1,234"},
      {6, 25, 24, "Photos 25 - 25"},
      {0, 3, 2, "Photo #3 of 3"},
      {0, 1234, 1233, "Photo #1,234 of 1,234"},
  };
  for (const Case& c : cases) {
    PhotoViewerPaging paging;
    paging.SetViewIndex(c.view);
    paging.Reset(c.count);
    paging.LastPage();
    EXPECT_EQ(paging.firstShown(), c.lastFirst) << c.view << "/" << c.count;
    EXPECT_TRUE(paging.atLastPage());
    EXPECT_EQ(PhotoViewerTexts::StatusLine(paging).toStdString(), c.lastLine);
    EXPECT_FALSE(paging.NextPage());
  }

  PhotoViewerPaging paging;
  paging.SetViewIndex(11);
  paging.Reset(37);
  EXPECT_EQ(PhotoViewerTexts::StatusLine(paging), QStringLiteral("Photos 1 - 36 of 37"));
  paging.Reset(0);
  EXPECT_FALSE(paging.LastPage());
  EXPECT_EQ(PhotoViewerTexts::StatusLine(paging), QString());
  paging.SetViewIndex(0);
  paging.Reset(1500);
  paging.Select(1233);
  paging.ShowPageOf(1233);
  EXPECT_EQ(PhotoViewerTexts::StatusLine(paging, PhotoViewerTexts::Numbers::Plain),
            QStringLiteral("Photo #1234 of 1500"));
}

TEST(PhotoViewerPagingTest, PagingSteps) {
  PhotoViewerPaging paging;
  paging.SetViewIndex(2);  // 4 per page
  paging.Reset(10);
  EXPECT_TRUE(paging.atFirstPage());
  EXPECT_FALSE(paging.PreviousPage());
  EXPECT_TRUE(paging.NextPage());
  EXPECT_TRUE(paging.NextPage());
  EXPECT_EQ(paging.firstShown(), 8);
  EXPECT_EQ(paging.shownCount(), 2);
  EXPECT_FALSE(paging.NextPage());
  EXPECT_TRUE(paging.PreviousPage());
  EXPECT_EQ(paging.firstShown(), 4);
  EXPECT_TRUE(paging.FirstPage());
  EXPECT_EQ(paging.firstShown(), 0);
  EXPECT_EQ(paging.selected(), 0);  // a grid keeps its selection while paging
}

TEST(PhotoViewerPagingTest, ChangingTheViewKeepsTheSelectionInSight) {
  PhotoViewerPaging paging;
  paging.SetViewIndex(11);
  paging.Reset(100);
  paging.Select(45);
  paging.ShowPageOf(45);
  EXPECT_EQ(paging.firstShown(), 36);
  paging.SetViewIndex(6);  // 12 per page
  EXPECT_EQ(paging.firstShown(), 36);
  paging.SetViewIndex(4);  // 8 per page
  EXPECT_EQ(paging.firstShown(), 40);
  paging.SetViewIndex(4);  // the same view again: back to the first page
  EXPECT_EQ(paging.firstShown(), 0);
  EXPECT_EQ(paging.selected(), 45);
  paging.SetViewIndex(0);
  EXPECT_EQ(paging.firstShown(), 45);
}

TEST(PhotoViewerPagingTest, InsertedAndRemovedPhotosKeepTheSelectionSound) {
  PhotoViewerPaging paging;
  paging.SetViewIndex(2);
  paging.Reset(5);
  paging.Select(3);
  paging.Inserted(1);
  EXPECT_EQ(paging.selected(), 4);  // the same photo
  paging.Inserted(5);
  EXPECT_EQ(paging.selected(), 4);
  EXPECT_EQ(paging.count(), 7);

  // Deleting the selected photo selects the one that took its place, or the new last one.
  paging.Removed(4);
  EXPECT_EQ(paging.selected(), 4);
  paging.Select(5);
  paging.ShowPageOf(5);
  paging.Removed(5);
  EXPECT_EQ(paging.selected(), 4);
  EXPECT_EQ(paging.firstShown(), 4);
  paging.Removed(4);  // the page emptied: its predecessor is shown
  EXPECT_EQ(paging.selected(), 3);
  EXPECT_EQ(paging.firstShown(), 0);
  for (int i = 0; i < 4; ++i) paging.Removed(0);
  EXPECT_EQ(paging.count(), 0);
  EXPECT_EQ(paging.selected(), -1);  // the only photo went
}

TEST(PhotoViewerTextsTest, InformationPanelTexts) {
  EXPECT_EQ(PhotoViewerTexts::SizeText(4000, 3000, 1289748), QStringLiteral("4000x3000   1.22MB "));
  EXPECT_EQ(PhotoViewerTexts::SizeText(12, 9, 532), QStringLiteral("12x9   532bytes "));
  EXPECT_EQ(PhotoViewerTexts::TimeText(QDateTime(QDate(2026, 12, 9), QTime(13, 4, 5))),
            QStringLiteral("12/09/2026 01:04:05PM"));
  EXPECT_EQ(PhotoViewerTexts::TimeText(QDateTime(QDate(2026, 1, 2), QTime(0, 0, 7))),
            QStringLiteral("01/02/2026 12:00:07AM"));
}

void Touch(const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

TEST(PhotoViewerListTest, ListsPhotosSortedWithoutCaseLeavingExcludedFoldersOut) {
  testing::TempDir dir;
  for (const char* name : {"b.JPG", "A.png", "c.txt", "d.tiff", "THUMBS/t.jpg", "Mobile/m.jpg",
                           "sub/e.gif", "thumbsextra/x.bmp"}) {
    Touch(dir / name);
  }
  PhotoViewerList list;
  list.SetExcludedFolders({(dir / "thumbs").string() + "/", (dir / "mobile").string()});
  list.Load(dir.str());
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.At(i).name);
  EXPECT_EQ(names, (std::vector<std::string>{"A.png", "b.JPG", "d.tiff", "e.gif", "x.bmp"}));
  EXPECT_EQ(list.At(0).width, -1);

  // A photo saved later lands at its sorted place, once; excluded folders stay out.
  Touch(dir / "bb.jpeg");
  Touch(dir / "THUMBS/u.jpg");
  EXPECT_EQ(list.Add((dir / "bb.jpeg").string()), 2);
  EXPECT_EQ(list.Add((dir / "bb.jpeg").string()), -1);
  EXPECT_EQ(list.Add((dir / "THUMBS/u.jpg").string()), -1);
  EXPECT_EQ(list.Add((dir / "c.txt").string()), -1);
  EXPECT_EQ(list.Add((dir / "missing.jpg").string()), -1);
  EXPECT_EQ(list.IndexOf((dir / "B.jpg").string()), 1);
  // A copy made elsewhere ("Copy Photo to...") is not one of the folder's photos.
  testing::TempDir other;
  Touch(other / "copy.jpg");
  EXPECT_EQ(list.Add((other / "copy.jpg").string()), -1);
  Touch(other / "a" / "in.jpg");
  Touch(other / "a-beside" / "copy.jpg");
  PhotoViewerList named;
  named.Load((other / "a").string());
  EXPECT_EQ(named.Add((other / "a-beside" / "copy.jpg").string()), -1);

  std::filesystem::remove(dir / "A.png");
  EXPECT_FALSE(list.Refresh(0));
  EXPECT_TRUE(list.Refresh(1));
}

TEST(ThumbnailCacheTest, BoxStepsGrowByAQuarterAtMost) {
  int previous = 0;
  for (int side = 1; side <= 3000; ++side) {
    const int box = ThumbnailCache::BoxFor(side, side / 2);
    EXPECT_GE(box, side);
    EXPECT_LE(box, std::max(32, side * 5 / 4 + 16)) << side;
    EXPECT_GE(box, previous);
    previous = box;
  }
  EXPECT_EQ(ThumbnailCache::BoxFor(100, 90), ThumbnailCache::BoxFor(96, 100));
}

}  // namespace
}  // namespace trawlix::ui
