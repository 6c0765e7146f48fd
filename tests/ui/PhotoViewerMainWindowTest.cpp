#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <filesystem>

#include "MainWindowTestFixture.h"
#include "scan/PipelineTestSite.h"
#include "ui/viewer/PhotoCommandsMenu.h"
#include "ui/viewer/PhotoInfoPanel.h"
#include "ui/viewer/PhotoViewer.h"
#include "ui/window/StatusPanel.h"

namespace trawlix::ui::testing {
namespace {

using namespace std::chrono_literals;

class PhotoViewerWindowTest : public MainWindowTest {
 protected:
  // A project of its own category whose folder holds `count` photos.
  int AddPhotoProject(int count, const std::string& title) {
    const int id = AddProject(title, AddCategory("Viewer " + title));
    const std::filesystem::path folder = LoadProject(*session_, id)->saveTo;
    std::filesystem::create_directories(folder);
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    for (int i = 0; i < count; ++i) {
      const std::string name = "photo" + std::to_string(1000 + i) + ".png";
      EXPECT_TRUE(image.save(QString::fromStdString((folder / name).string())));
    }
    return id;
  }
  // The project selected in the window, shown and active so that its keys work.
  void Open(int id) {
    Window().show();
    Window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
    ShowCategory(LoadProject(*session_, id)->catId);
    EXPECT_EQ(Window().currentProjectId(), id);
  }
  int ProjectWithPhotos(int count) {
    const int id = AddPhotoProject(count, "Photos");
    Open(id);
    return id;
  }

  PhotoViewer& Viewer() { return Window().viewerPage().viewer(); }
  QToolButton* Button(const char* name) {
    return Window().findChild<QToolButton*>(QLatin1String(name));
  }
  QString StatusLine() {
    return Window().findChild<StatusPanel*>(QStringLiteral("statusPanel"))->status();
  }
  void ChooseView(const QString& label) {
    for (QAction* action : Button("viewButton")->menu()->actions()) {
      if (action->text() == label) {
        action->trigger();
        return;
      }
    }
    ADD_FAILURE() << label.toStdString();
  }
  // First, previous, next, last.
  std::vector<bool> PagingEnabled() {
    std::vector<bool> enabled;
    for (const char* name :
         {"firstPageButton", "previousPageButton", "nextPageButton", "lastPageButton"}) {
      enabled.push_back(Button(name)->isEnabled());
    }
    return enabled;
  }
};

TEST_F(PhotoViewerWindowTest, LastPageOfThirtySixPerPage) {
  struct Case {
    int photos;
    int lastFirst;
    const char* firstLine;
    const char* lastLine;
    std::vector<bool> pagingOnLast;
  };
  const Case cases[] = {
      {37, 36, "Photos 1 - 36 of 37", "Photos 37 - 37", {true, true, false, false}},
      {36, 0, "Photos 1 - 36", "Photos 1 - 36", {false, false, false, false}},
  };
  std::vector<int> ids;
  for (const Case& c : cases) ids.push_back(AddPhotoProject(c.photos, std::to_string(c.photos)));
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const Case& c = cases[i];
    Open(ids[i]);
    ChooseView(QStringLiteral("36 Photos"));
    EXPECT_EQ(Viewer().perPage(), 36);
    EXPECT_EQ(StatusLine().toStdString(), c.firstLine);
    Button("lastPageButton")->click();
    EXPECT_EQ(Viewer().firstShown(), c.lastFirst) << c.photos;
    EXPECT_EQ(StatusLine().toStdString(), c.lastLine);
    EXPECT_EQ(PagingEnabled(), c.pagingOnLast) << c.photos;
  }
  // The view already in use goes back to the first page.
  Button("previousPageButton")->click();
  ChooseView(QStringLiteral("36 Photos"));
  EXPECT_EQ(Viewer().firstShown(), 0);
}

TEST_F(PhotoViewerWindowTest, ControlPlusAndMinusStepThroughEveryView) {
  ProjectWithPhotos(30);
  ChooseView(QStringLiteral("8 Photos"));
  QTest::keyClick(&Viewer(), Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(Viewer().viewIndex(), 5) << "the view no menu entry offers";
  EXPECT_EQ(Viewer().perPage(), 10);
  EXPECT_EQ(session_->settings().Values().thumbnailView, 5);
  EXPECT_EQ(StatusLine(), QStringLiteral("Photos 1 - 10 of 30"));
  QTest::keyClick(&Viewer(), Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(StatusLine(), QStringLiteral("Photos 11 - 20 of 30"));
  QTest::keyClick(&Viewer(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Viewer().firstShown(), 20);
  QTest::keyClick(&Viewer(), Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(Viewer().firstShown(), 0);
  QTest::keyClick(&Viewer(), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(Viewer().viewIndex(), 4);

  ChooseView(QStringLiteral("1 Photo"));
  QTest::keyClick(&Viewer(), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(Viewer().viewIndex(), 0);
  EXPECT_EQ(StatusLine(), QStringLiteral("Photo #1 of 30"));
}

TEST_F(PhotoViewerWindowTest, HoverDescribesThePhotoAndLeavingClearsIt) {
  ProjectWithPhotos(3);
  ChooseView(QStringLiteral("4 Photos"));
  auto* info = &Window().viewerPage().photoInfo();
  QTest::mouseMove(&Viewer(), Viewer().CellRect(1).center());
  ASSERT_TRUE(info->hasPhoto());
  EXPECT_EQ(info->nameText(), QStringLiteral("photo1001.png"));
  EXPECT_TRUE(info->sizeText().startsWith(QStringLiteral("32x24   ")))
      << info->sizeText().toStdString();
  EXPECT_FALSE(info->timeText().isEmpty());
  Window().showMaximized();
  EXPECT_EQ(info->nameText(), QString::fromStdString(Viewer().photo(1).path)) << "room for it";
  Window().showNormal();
  Q_EMIT Viewer().hoveredChanged(-1);
  EXPECT_FALSE(info->hasPhoto());
}

TEST_F(PhotoViewerWindowTest, DoubleClickSwitchesToTheSingleViewThenShowsTheProperties) {
  session_->settings().Values().viewerDoubleClick = 1;
  ProjectWithPhotos(7);
  ChooseView(QStringLiteral("6 Photos"));
  QTest::mouseDClick(&Viewer(), Qt::LeftButton, {}, Viewer().CellRect(4).center());
  EXPECT_EQ(Viewer().viewIndex(), 0);
  EXPECT_EQ(Viewer().firstShown(), 4) << "the photo clicked is the one shown";
  EXPECT_EQ(StatusLine(), QStringLiteral("Photo #5 of 7"));
  const auto dialogs = [this] { return Window().findChildren<QDialog*>().size(); };
  const auto before = dialogs();
  QTest::mouseDClick(&Viewer(), Qt::LeftButton, {}, Viewer().rect().center());
  EXPECT_EQ(dialogs(), before + 1) << "the properties of the photo";
  EXPECT_EQ(Window().viewerPage().photoCommands().currentPath(), Viewer().photo(4).path);

  // Paging in a grid describes the first photo of the new page.
  ChooseView(QStringLiteral("2 Photos"));
  Button("nextPageButton")->click();
  EXPECT_EQ(Window().viewerPage().photoInfo().nameText(), QStringLiteral("photo1006.png"));
}

TEST_F(PhotoViewerWindowTest, FollowModeDuringAScanShowsEachSavedPhotoButNeverItsThumbnail) {
  trawlix::testing::TestSite site;
  site.AddPage("/g/index.html",
               "<html><body><a href=\"x1.bmp\">1</a><a href=\"x2.bmp\">2</a>"
               "<img src=\"x3.bmp\"></body></html>");
  // Photos of different sizes: the same bytes twice would be saved once.
  int side = 400;
  for (const char* name : {"/g/x1.bmp", "/g/x2.bmp", "/g/x3.bmp"}) {
    site.Add(name, "image/bmp",
             trawlix::testing::MakeTestPhoto(trawlix::testing::TestPhotoKind::Bmp, side++, 400));
  }
  session_->settings().Values().autoFollow = true;
  session_->settings().Values().displayScanResults = false;
  const int id = AddPhotoProject(5, "Followed");
  {
    ProjectsRecord project = *LoadProject(*session_, id);
    ProjectsRecord changed = project;
    changed.url = site.URL("/g/index.html");
    changed.bmp = true;
    changed.autoRename = false;
    changed.autoCreateThumbnails = true;
    changed.excludeThumbnailFolder = true;
    ASSERT_EQ(UpdateProject(*session_, project, changed, TitleRule::Any).outcome,
              SaveOutcome::Saved);
  }
  Open(id);
  ChooseView(QStringLiteral("2 Photos"));
  ASSERT_EQ(Viewer().count(), 5);
  EXPECT_FALSE(Button("followButton")->isChecked());

  Button("startButton")->click();
  ASSERT_TRUE(Window().isScanning());
  EXPECT_TRUE(Button("followButton")->isChecked()) << "the options switch it on";
  EXPECT_EQ(PagingEnabled(), (std::vector<bool>{false, false, false, false}));
  const auto rightClick = [this] {
    const QPoint point = Viewer().CellRect(Viewer().firstShown()).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, Viewer().mapToGlobal(point));
    QApplication::sendEvent(&Viewer(), &event);
  };
  rightClick();
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no photo menu while following";
  QTRY_VERIFY_WITH_TIMEOUT(!Window().isScanning(), 30000);

  ASSERT_EQ(Viewer().count(), 8) << "three photos, no thumbnail"
                                 << ::testing::PrintToString(sink_.Texts());
  const std::string last = Viewer().photo(7).name;
  EXPECT_EQ(last, "x3.bmp");
  EXPECT_EQ(Viewer().selectedIndex(), 7);
  EXPECT_EQ(Viewer().firstShown(), 6);
  EXPECT_EQ(Window().viewerPage().photoInfo().nameText(), QStringLiteral("x3.bmp"));
  EXPECT_EQ(PagingEnabled(), (std::vector<bool>{true, true, false, false}))
      << "looking back is allowed; forward is follow mode's";
  Button("firstPageButton")->click();
  EXPECT_TRUE(Button("followButton")->isChecked());
  EXPECT_EQ(PagingEnabled(), (std::vector<bool>{false, false, true, true}))
      << "after the scan the box only waits for the next one";
  Button("lastPageButton")->click();
  const std::filesystem::path folder = LoadProject(*session_, id)->thumbnailSaveTo;
  EXPECT_TRUE(std::filesystem::exists(folder / "x3.jpg") || !std::filesystem::is_empty(folder))
      << "thumbnails were made";

  rightClick();
  ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "the scan is over";
  QApplication::activePopupWidget()->close();

  Button("followButton")->click();
  EXPECT_EQ(PagingEnabled(), (std::vector<bool>{true, true, false, false}));
}

// While a scan stores photos under their own names without following them, the photo menu
// keeps Delete Photo back until it ends.
TEST_F(PhotoViewerWindowTest, DeletePhotoWaitsForAScanThatKeepsOwnNames) {
  trawlix::testing::TestSite site;
  site.AddPage("/g/index.html", "<html><body><img src=\"x.bmp\"></body></html>");
  site.Add("/g/x.bmp", "image/bmp",
           trawlix::testing::MakeTestPhoto(trawlix::testing::TestPhotoKind::Bmp, 400, 400));
  site.SetDelay(400ms);
  session_->settings().Values().autoFollow = false;
  session_->settings().Values().displayScanResults = false;
  const int id = AddPhotoProject(2, "Own Names");
  {
    ProjectsRecord project = *LoadProject(*session_, id);
    ProjectsRecord changed = project;
    changed.url = site.URL("/g/index.html");
    changed.bmp = true;
    changed.autoRename = false;
    ASSERT_EQ(UpdateProject(*session_, project, changed, TitleRule::Any).outcome,
              SaveOutcome::Saved);
  }
  Open(id);
  const auto deleteOffered = [this] {
    const QPoint point = Viewer().CellRect(Viewer().firstShown()).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, Viewer().mapToGlobal(point));
    QApplication::sendEvent(&Viewer(), &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(menu, nullptr);
    if (menu == nullptr) return false;
    bool enabled = false;
    for (const QAction* action : menu->actions()) {
      if (action->text() == QStringLiteral("Delete Photo")) enabled = action->isEnabled();
    }
    menu->close();
    return enabled;
  };
  Button("startButton")->click();
  ASSERT_TRUE(Window().isScanning());
  EXPECT_FALSE(deleteOffered());
  QTRY_VERIFY_WITH_TIMEOUT(!Window().isScanning(), 30000);
  EXPECT_TRUE(deleteOffered());
}

}  // namespace
}  // namespace trawlix::ui::testing
