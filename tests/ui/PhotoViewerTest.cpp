#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/TempDir.h"
#include "ui/viewer/PhotoViewer.h"

namespace trawlix::ui {
namespace {

// Photos of one colour each, so that a painted cell can be told apart.
void MakePhoto(const std::filesystem::path& path, QColor color, QSize size = {64, 48}) {
  std::filesystem::create_directories(path.parent_path());
  QImage image(size, QImage::Format_RGB32);
  image.fill(color);
  ASSERT_TRUE(image.save(QString::fromStdString(path.string()))) << path;
}

std::string Name(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "photo%03d.png", i);
  return name;
}

class PhotoViewerTest : public ::testing::Test {
 protected:
  PhotoViewerTest() {
    viewer_.resize(600, 400);
    viewer_.show();
  }

  void MakePhotos(int count) {
    for (int i = 0; i < count; ++i) MakePhoto(dir_ / Name(i), Qt::red);
  }
  void Load(std::vector<std::string> excluded = {}) { viewer_.LoadFolder(dir_.str(), excluded); }
  bool WaitForPage() {
    viewer_.repaint();
    return QTest::qWaitFor([this] {
      viewer_.repaint();
      return viewer_.PageReady() && !viewer_.cache().busy();
    });
  }
  QColor PixelAt(QPoint point) { return viewer_.grab().toImage().pixelColor(point); }

  testing::TempDir dir_;
  PhotoViewer viewer_;
};

TEST_F(PhotoViewerTest, ACellShowsItsFrameAtOnceAndThePhotoWhenItIsDecoded) {
  MakePhoto(dir_ / "a.png", Qt::blue);
  MakePhoto(dir_ / "b.png", Qt::green, {8, 8});
  viewer_.SetViewIndex(2);  // 2 x 2
  Load();
  ASSERT_EQ(viewer_.count(), 2);
  const QRect cell = viewer_.CellRect(0);
  const QImage before = viewer_.grab().toImage();
  // Selected frame first, then a white mat; no picture yet.
  EXPECT_EQ(before.pixelColor(cell.left() + 3, cell.center().y()), QColor(192, 0, 192));
  EXPECT_EQ(before.pixelColor(cell.center()), QColor(Qt::white));
  EXPECT_EQ(before.pixelColor(viewer_.CellRect(1).left() + 3, cell.center().y()),
            QColor(0xC0, 0xC0, 0xC0));
  ASSERT_TRUE(WaitForPage());
  EXPECT_EQ(PixelAt(cell.center()), QColor(Qt::blue));
  EXPECT_EQ(viewer_.photo(0).width, 64);
  EXPECT_EQ(viewer_.photo(0).height, 48);
  // A photo smaller than its cell keeps its size.
  const QRect small = viewer_.CellRect(1);
  EXPECT_EQ(PixelAt(small.center()), QColor(Qt::green));
  EXPECT_EQ(PixelAt(small.center() + QPoint(8, 0)), QColor(Qt::white));
  // Each photo was decoded once; painting again decodes nothing.
  const auto decodes = viewer_.cache().decodeCount();
  EXPECT_EQ(decodes, 2);
  viewer_.repaint();
  EXPECT_FALSE(viewer_.cache().busy());
  EXPECT_EQ(viewer_.cache().decodeCount(), decodes);
}

TEST_F(PhotoViewerTest, AChangedFileIsDecodedAgainAndADeletedOneLeaves) {
  MakePhoto(dir_ / "a.png", Qt::blue);
  MakePhoto(dir_ / "b.png", Qt::blue);
  viewer_.SetViewIndex(0);
  Load();
  ASSERT_TRUE(WaitForPage());
  EXPECT_EQ(PixelAt(viewer_.rect().center()), QColor(Qt::blue));

  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a newer time stamp
  MakePhoto(dir_ / "a.png", Qt::yellow, {80, 48});
  EXPECT_EQ(viewer_.AddPhoto((dir_ / "a.png").string()), 0) << "saved again under its name";
  EXPECT_EQ(viewer_.count(), 2);
  ASSERT_TRUE(WaitForPage());
  EXPECT_EQ(PixelAt(viewer_.rect().center()), QColor(Qt::yellow));
  EXPECT_EQ(viewer_.photo(0).width, 80);

  QSignalSpy selections(&viewer_, &PhotoViewer::selectionChanged);
  std::filesystem::remove(dir_ / "a.png");
  viewer_.PhotoChanged((dir_ / "a.png").string());
  EXPECT_EQ(viewer_.count(), 1);
  EXPECT_EQ(viewer_.selectedIndex(), 0);
  EXPECT_EQ(viewer_.selectedPath(), (dir_ / "b.png").string());
  EXPECT_FALSE(selections.isEmpty());
  std::filesystem::remove(dir_ / "b.png");
  viewer_.PhotoChanged((dir_ / "b.png").string());  // the only photo
  EXPECT_EQ(viewer_.count(), 0);
  EXPECT_EQ(viewer_.selectedIndex(), -1);
  EXPECT_EQ(viewer_.selectedPath(), "");
}

TEST_F(PhotoViewerTest, ADamagedOrMissingPhotoShowsOnlyItsFrame) {
  MakePhoto(dir_ / "a.png", Qt::blue);
  std::ofstream(dir_ / "b.png") << "not a photo";
  viewer_.SetViewIndex(1);
  Load();
  std::filesystem::remove(dir_ / "a.png");
  ASSERT_TRUE(WaitForPage());
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(PixelAt(viewer_.CellRect(i).center()), QColor(Qt::white)) << i;
  }
}

TEST_F(PhotoViewerTest, FollowModeShowsEveryAddedPhoto) {
  MakePhotos(10);
  viewer_.SetViewIndex(2);  // 4 per page
  Load();
  viewer_.SetFollow(true);
  EXPECT_EQ(viewer_.firstShown(), 8);
  EXPECT_EQ(viewer_.selectedIndex(), 9);

  QSignalSpy selections(&viewer_, &PhotoViewer::selectionChanged);
  for (int i = 10; i < 14; ++i) {
    MakePhoto(dir_ / Name(i), Qt::red);
    EXPECT_EQ(viewer_.AddPhoto((dir_ / Name(i)).string()), i);
    EXPECT_EQ(viewer_.selectedIndex(), i);
    EXPECT_EQ(viewer_.firstShown(), i - i % 4);
  }
  EXPECT_EQ(selections.count(), 4);
  EXPECT_TRUE(viewer_.atLastPage());

  // Without follow mode the page stays; a photo sorted before the selection moves it along.
  viewer_.SetFollow(false);
  viewer_.FirstPage();
  MakePhoto(dir_ / "aaa.png", Qt::red);
  EXPECT_EQ(viewer_.AddPhoto((dir_ / "aaa.png").string()), 0);
  EXPECT_EQ(viewer_.firstShown(), 0);
  EXPECT_EQ(viewer_.selectedIndex(), 14);
  EXPECT_EQ(viewer_.photo(14).name, Name(13));
}

TEST_F(PhotoViewerTest, ThePhotosOfAnExcludedThumbnailFolderNeverAppear) {
  MakePhotos(3);
  MakePhoto(dir_ / "Thumbs" / "t0.png", Qt::red);
  Load({(dir_ / "Thumbs").string()});
  EXPECT_EQ(viewer_.count(), 3);
  MakePhoto(dir_ / "Thumbs" / "t1.png", Qt::red);
  EXPECT_EQ(viewer_.AddPhoto((dir_ / "Thumbs" / "t1.png").string()), -1);
  EXPECT_EQ(viewer_.count(), 3);
  Load();  // not excluded: listed
  EXPECT_EQ(viewer_.count(), 5);
}

TEST_F(PhotoViewerTest, MouseSelectsHoversDoubleClicksAndAsksForTheMenu) {
  MakePhotos(5);
  viewer_.SetViewIndex(3);  // 3 x 2
  Load();
  QSignalSpy hovers(&viewer_, &PhotoViewer::hoveredChanged);
  QSignalSpy doubleClicks(&viewer_, &PhotoViewer::photoDoubleClicked);
  QSignalSpy menus(&viewer_, &PhotoViewer::contextMenuRequested);

  const QPoint third = viewer_.CellRect(2).center();
  QTest::mouseMove(&viewer_, third);
  ASSERT_FALSE(hovers.isEmpty());
  EXPECT_EQ(hovers.last().at(0).toInt(), 2);
  QTest::mouseClick(&viewer_, Qt::LeftButton, {}, third);
  EXPECT_EQ(viewer_.selectedIndex(), 2);
  QTest::mouseDClick(&viewer_, Qt::LeftButton, {}, viewer_.CellRect(4).center());
  ASSERT_EQ(doubleClicks.count(), 1);
  EXPECT_EQ(doubleClicks.at(0).at(0).toInt(), 4);

  // The empty sixth cell and the frame's edge hold no photo.
  QTest::mouseClick(&viewer_, Qt::LeftButton, {}, viewer_.CellRect(5).center());
  QTest::mouseClick(&viewer_, Qt::LeftButton, {}, viewer_.CellRect(0).topLeft() + QPoint(1, 1));
  EXPECT_EQ(viewer_.selectedIndex(), 4);
  EXPECT_EQ(viewer_.PhotoAt(viewer_.CellRect(5).center()), -1);

  QContextMenuEvent right(QContextMenuEvent::Mouse, viewer_.CellRect(1).center(),
                          viewer_.mapToGlobal(viewer_.CellRect(1).center()));
  QApplication::sendEvent(&viewer_, &right);
  EXPECT_EQ(viewer_.selectedIndex(), 1);
  ASSERT_EQ(menus.count(), 1);
  EXPECT_EQ(menus.at(0).at(0).toPoint(), viewer_.mapToGlobal(viewer_.CellRect(1).center()));
}

TEST_F(PhotoViewerTest, KeysMoveTheSelectionAcrossPages) {
  MakePhotos(10);
  viewer_.SetViewIndex(2);  // 2 x 2
  Load();
  viewer_.setFocus();
  QSignalSpy doubleClicks(&viewer_, &PhotoViewer::photoDoubleClicked);
  const std::pair<Qt::Key, int> steps[] = {
      {Qt::Key_Right, 1}, {Qt::Key_Down, 3}, {Qt::Key_Right, 4},  // onto the next page
      {Qt::Key_Up, 2},    {Qt::Key_End, 9},  {Qt::Key_Home, 0},  {Qt::Key_Left, 0},
  };
  for (const auto& [key, selected] : steps) {
    QTest::keyClick(&viewer_, key);
    EXPECT_EQ(viewer_.selectedIndex(), selected) << key;
    EXPECT_EQ(viewer_.firstShown(), selected - selected % 4) << key;
  }
  QTest::keyClick(&viewer_, Qt::Key_PageDown);
  EXPECT_EQ(viewer_.firstShown(), 4);

  // One at a time the keys turn the page, and say so.
  viewer_.SetViewIndex(0);
  QSignalSpy pages(&viewer_, &PhotoViewer::pageChanged);
  QTest::keyClick(&viewer_, Qt::Key_Right);
  EXPECT_EQ(viewer_.firstShown(), 1);
  EXPECT_EQ(pages.count(), 1);
  QTest::keyClick(&viewer_, Qt::Key_Left);
  QTest::keyClick(&viewer_, Qt::Key_Return);
  ASSERT_EQ(doubleClicks.count(), 1);
  EXPECT_EQ(doubleClicks.at(0).at(0).toInt(), 0);
}

// Assistive tools see a list of the photos by name, the selected one selected; an empty
// viewer says why it is empty.
TEST_F(PhotoViewerTest, ScreenReadersSeeTheListAndAnEmptyViewerSaysWhy) {
  Load();
  EXPECT_NE(viewer_.emptyHint().indexOf(QStringLiteral("No photos in")), -1)
      << viewer_.emptyHint().toStdString();
  viewer_.LoadFolder((dir_ / "missing").string(), {});
  EXPECT_NE(viewer_.emptyHint().indexOf(QStringLiteral("does not exist")), -1);
  EXPECT_EQ(viewer_.accessibleDescription(), viewer_.emptyHint());

  MakePhotos(3);
  Load();
  EXPECT_TRUE(viewer_.emptyHint().isEmpty());
  viewer_.SelectIndex(1);
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&viewer_);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::List);
  ASSERT_EQ(list->childCount(), 3);
  for (int i = 0; i < 3; ++i) {
    QAccessibleInterface* item = list->child(i);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), QAccessible::ListItem);
    EXPECT_EQ(item->text(QAccessible::Name).toStdString(), Name(i));
    EXPECT_EQ(item->state().selected, i == 1) << i;
    EXPECT_EQ(list->indexOfChild(item), i);
    EXPECT_EQ(item, list->child(i)) << "an item keeps its identity";
  }
  std::filesystem::remove(dir_ / Name(2));
  Load();
  EXPECT_EQ(list->childCount(), 2);
}

TEST_F(PhotoViewerTest, TheCacheStaysWithinItsBudget) {
  MakePhotos(12);
  ThumbnailCache cache(64 * 1024);
  std::vector<ThumbnailKey> keys;
  for (int i = 0; i < 12; ++i) keys.push_back({(dir_ / Name(i)).string(), 1, 1, 64});
  // The first alone, so that it is the oldest whatever order the workers finish in.
  for (const std::vector<ThumbnailKey>& batch :
       {std::vector<ThumbnailKey>(keys.begin(), keys.begin() + 1),
        std::vector<ThumbnailKey>(keys.begin() + 1, keys.end())}) {
    cache.Request(batch);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !cache.busy(); }));
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(cache.decodeCount(), 12);
  EXPECT_LE(cache.bytes(), cache.maxBytes());
  EXPECT_LT(cache.entryCount(), 12u);
  EXPECT_GT(cache.entryCount(), 0u);
  EXPECT_EQ(cache.Find(keys.front()), nullptr);  // the oldest went first
}

}  // namespace
}  // namespace trawlix::ui
