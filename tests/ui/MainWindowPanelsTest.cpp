#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <fstream>

#include "MainWindowTestFixture.h"
#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/PhotoCodec.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"
#include "ui/viewer/PhotoCommandsMenu.h"
#include "ui/viewer/PhotoViewer.h"
#include "ui/window/ProjectLinksList.h"
#include "ui/window/ScanHistoryList.h"
#include "ui/window/ScanResultsDialog.h"
#include "ui/window/StatusPanel.h"

namespace trawlix::ui::testing {

// Takes the addresses the desktop would open.
class OpenedUrls : public QObject {
  Q_OBJECT

 public:
  OpenedUrls() {
    for (const char* scheme : {"http", "https"}) {
      QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "Open");
    }
  }
  ~OpenedUrls() override {
    for (const char* scheme : {"http", "https"}) {
      QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
  }
  Q_INVOKABLE void Open(const QUrl& url) { urls << url.toString(); }

  QStringList urls;
};

namespace {

ScanHistoryRecord Scan(int pages, int found, int saved, int seconds, int transferSeconds,
                       int bytes) {
  ScanHistoryRecord scan;
  scan.scanDate = "12/09/2026";
  scan.url = "http://example.com/gallery";
  scan.pages = pages;
  scan.totalImages = found;
  scan.savedImages = saved;
  scan.skippedImages = found - saved;
  scan.totalTimeInSeconds = seconds;
  scan.totalTime = "0:00:0" + std::to_string(seconds % 10);
  scan.transferTimeInSeconds = transferSeconds;
  scan.totalBytes = bytes;
  scan.status = scan.type = scan.searchSubFolders = false;
  return scan;
}

TEST(ScanHistorySummaryTest, SumsWithSingularWordsAndAnEmptyZeroTime) {
  struct Case {
    std::vector<ScanHistoryRecord> rows;
    std::string text;
  };
  const Case cases[] = {
      {{}, "No scanning sessions."},
      {{Scan(1, 1, 1, 0, 0, 0)}, "Scanned 1 Page in 0:00:00 - Found 1 Photo (1 Photo Saved). "},
      {{Scan(0, 0, 0, 0, 0, 0)}, "Scanned 0 Pages in 0:00:00 - Found 0 Photos (0 Photos Saved). "},
      {{Scan(600, 1200, 1, 3000, 10, 20480), Scan(634, 34, 0, 725, 10, 20480)},
       "Scanned 1,234 Pages in 1:02:05 - Found 1,234 Photos (1 Photo Saved). 40.0 KB @ 2.00 "
       "KB/Sec"},
      {{Scan(3, 3, 3, 5, 0, 1000)},
       "Scanned 3 Pages in 0:00:05 - Found 3 Photos (3 Photos Saved). "},
      {{Scan(1, 1, 1, 0, 0, 0), Scan(1, -1, 1, 0, 0, 0)}, "No scanning sessions."},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanHistoryList::SummaryText(c.rows), c.text);
}

class MainWindowPanelsTest : public MainWindowTest {
 protected:
  int ProjectWithRows(int links, int scans) {
    const int category = AddCategory("Coast");
    const int id = AddProject("Beach", category);
    for (int i = 0; i < links; ++i) {
      ProjectLinksRecord link;
      link.projectId = id;
      link.date = "12/0" + std::to_string(9 - i) + "/2026";
      link.url = "http://example.com/" + std::string(1, static_cast<char>('c' - i % 3)) +
                 std::to_string(i);
      link.photos = 10 * i;
      link.searchSubFolders = link.keywordMustExist = false;
      EXPECT_TRUE(AddProjectLink(session_->databasePath(), sink_, link));
    }
    for (int i = 0; i < scans; ++i) {
      ScanHistoryRecord scan = Scan(1, 2, 1, 1, 1, 1024);
      scan.projectId = id;
      scan.url = "http://example.com/scan" + std::to_string(i);
      ScanHistoryTable table(session_->databasePath(), sink_);
      EXPECT_TRUE(table.OpenTable() && table.InsertScanHistory(scan));
    }
    ShowCategory(category);
    EXPECT_EQ(Window().currentProjectId(), id);
    return id;
  }

  ProjectLinksList* Links() { return Window().findChild<ProjectLinksList*>("linksList"); }
  ScanHistoryList* History() { return Window().findChild<ScanHistoryList*>("historyList"); }
  QString PanelText(const char* name) {
    return Window().findChild<StatusPanel*>(QLatin1String(name))->detail();
  }
  void Check(MainWindowCheckList* list, const std::vector<int>& rows) {
    for (int row : rows) list->topLevelItem(row)->setCheckState(0, Qt::Checked);
  }
  QStringList Column(MainWindowCheckList* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->rowCount(); ++i) texts << list->topLevelItem(i)->text(column);
    return texts;
  }
};

TEST_F(MainWindowPanelsTest, DeletingCheckedLinksAsksFirstAndKeepsTheRest) {
  ProjectWithRows(4, 0);
  EXPECT_EQ(PanelText("linksPanel"), "Project Links: 4 ");
  auto* remove = Window().findChild<QToolButton*>("linksDelete");
  EXPECT_FALSE(remove->isEnabled()) << "nothing checked";

  struct Step {
    std::vector<int> check;
    MessageReply reply;
    const char* question;
    int rowsLeft;
  };
  const Step steps[] = {
      {{0, 2}, {MessageAnswer::No, false}, "Delete 2 links from Beach project?", 4},
      {{}, {MessageAnswer::Yes, false}, "Delete 2 links from Beach project?", 2},
      {{1}, {MessageAnswer::Yes, true}, "Delete 1 link from Beach project?", 1},
  };
  for (const Step& step : steps) {
    Check(Links(), step.check);
    ASSERT_TRUE(remove->isEnabled());
    sink_.answers.push_back(step.reply);
    remove->click();
    EXPECT_EQ(sink_.requests.back().text, step.question);
    EXPECT_EQ(sink_.requests.back().buttons, MessageButtons::YesNo);
    EXPECT_EQ(Links()->rowCount(), step.rowsLeft);
  }
  EXPECT_EQ(Column(Links(), 2), QStringList{"http://example.com/b1"});
  EXPECT_EQ(PanelText("linksPanel"), "Project Links: 1 ");
  EXPECT_EQ(session_->settings().Values().confirmDeleteProjectLinks, 0);

  // Switched off: no more questions.
  const std::size_t asked = sink_.requests.size();
  Check(Links(), {0});
  remove->click();
  EXPECT_EQ(sink_.requests.size(), asked);
  EXPECT_EQ(Links()->rowCount(), 0);
  EXPECT_FALSE(remove->isEnabled());
}

TEST_F(MainWindowPanelsTest, HistoryRowsSummaryChecksAndDelete) {
  ProjectWithRows(0, 3);
  EXPECT_EQ(Column(History(), 0), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(PanelText("historyPanel"),
            "Scanned 3 Pages in 0:00:03 - Found 6 Photos (3 Photos Saved). 3.00 KB @ 1.00 KB/Sec");

  History()->SelectAll();
  EXPECT_EQ(History()->checkedCount(), 3);
  History()->DeselectAll();
  Check(History(), {1});
  History()->InvertSelection();
  EXPECT_EQ(History()->checkedCount(), 2);
  EXPECT_EQ(History()->topLevelItem(1)->checkState(0), Qt::Unchecked);
  EXPECT_TRUE(Window().enabledState().deleteHistory);

  sink_.answers.push_back({MessageAnswer::Yes, false});
  Window().findChild<QToolButton*>("historyDelete")->click();
  EXPECT_EQ(sink_.requests.back().text, "Delete 2 links from Beach project?");
  EXPECT_EQ(Column(History(), 2), QStringList{"http://example.com/scan1"});
  EXPECT_EQ(Column(History(), 0), QStringList{"1"});
  EXPECT_EQ(PanelText("historyPanel"),
            "Scanned 1 Page in 0:00:01 - Found 2 Photos (1 Photo Saved). 1.00 KB @ 1.00 KB/Sec");
}

TEST_F(MainWindowPanelsTest, LinksSortByTheClickedColumnEitherWay) {
  ProjectWithRows(3, 0);
  // Dates 12/09, 12/08, 12/07; addresses c0, b1, a2; photos 0, 10, 20.
  struct Step {
    int section;
    LinkSortColumn column;
    bool ascending;
    QStringList urls;
  };
  const QStringList byId = {"http://example.com/c0", "http://example.com/b1",
                            "http://example.com/a2"};
  const QStringList reversed = {byId[2], byId[1], byId[0]};
  const Step steps[] = {
      {1, LinkSortColumn::Date, true, reversed},    {1, LinkSortColumn::Date, false, byId},
      {2, LinkSortColumn::URL, true, reversed},     {3, LinkSortColumn::Photos, true, byId},
      {3, LinkSortColumn::Photos, false, reversed}, {0, LinkSortColumn::Id, true, byId},
  };
  for (const Step& step : steps) {
    Q_EMIT Links()->header()->sectionClicked(step.section);
    EXPECT_EQ(Links()->order().column, step.column) << step.section;
    EXPECT_EQ(Links()->order().ascending, step.ascending) << step.section;
    EXPECT_EQ(Column(Links(), 2), step.urls) << step.section;
    EXPECT_EQ(Links()->header()->sortIndicatorOrder(),
              step.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
  }
}

TEST_F(MainWindowPanelsTest, DoubleClicksOpenTheLinkAndTheScansResults) {
  ProjectWithRows(2, 1);
  OpenedUrls opened;
  Q_EMIT Links()->itemDoubleClicked(Links()->topLevelItem(1), 2);
  EXPECT_EQ(opened.urls, QStringList{"http://example.com/b1"});

  Q_EMIT History()->itemDoubleClicked(History()->topLevelItem(0), 0);
  auto* results = Window().findChild<ScanResultsDialog*>();
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->windowTitle(), "Scan Results");
  EXPECT_TRUE(results->resultsText().contains("URL: http://example.com/scan0"));
  EXPECT_TRUE(results->resultsText().contains("Photos Saved: 1"));
  results->copyButton()->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "http://example.com/scan0");
  results->visitButton()->click();
  EXPECT_EQ(opened.urls.last(), "http://example.com/scan0");
  results->close();
}

TEST_F(MainWindowPanelsTest, PhotoMenuCommandsKeepTheViewerInStep) {
  const int category = AddCategory("Photos");
  const int id = AddProject("Album", category);
  const std::string folder = LoadProject(*session_, id)->saveTo;
  std::filesystem::create_directories(folder);
  const std::string bmp = (temp_ / "source.bmp").string();
  const std::vector<std::uint8_t> pixels(8 * 6 * 3, 128);
  std::ofstream(bmp, std::ios::binary) << bmp::EncodeBmp(pixels.data(), 8, 6, 3, 0, 0);
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
    ASSERT_TRUE(SavePhotoAs(bmp, folder, name, std::nullopt, PhotoEncoding()).written);
  }
  ShowCategory(category);
  PhotoViewer* viewer = &Window().viewerPage().viewer();
  ASSERT_EQ(viewer->count(), 3);
  session_->settings().Values().PhotoTransformBehavior = 0;

  const auto runOn = [&](int index, auto command) {
    viewer->SelectIndex(index);
    Window().viewerPage().ShowPhotoMenu(QPoint(10, 10));
    Window().viewerPage().photoCommands().menu()->hide();
    command(Window().viewerPage().photoCommands());
  };
  // A copy joins the viewer as its selection.
  runOn(0, [](PhotoCommandsMenu& menu) { menu.Transform(PhotoTransform::Mirror, false); });
  ASSERT_EQ(viewer->count(), 4);
  EXPECT_EQ(viewer->photo(viewer->selectedIndex()).name, "aa.jpg");

  // A copy into the project's folder joins the viewer without becoming the selection.
  runOn(1, [&](PhotoCommandsMenu& menu) {
    menu.SetTargetChooser(
        [&](const QString&, const QString&) { return QString::fromStdString(folder + "/d.jpg"); });
    menu.CopyPhotoTo();
  });
  ASSERT_EQ(viewer->count(), 5);
  EXPECT_EQ(viewer->photo(viewer->selectedIndex()).name, "aa.jpg");

  // Deleting the last photo selects the one before it.
  sink_.answers.push_back({MessageAnswer::Yes, false});
  runOn(4, [](PhotoCommandsMenu& menu) { menu.DeletePhoto(); });
  ASSERT_EQ(viewer->count(), 4);
  EXPECT_EQ(viewer->selectedIndex(), 3);
  EXPECT_EQ(viewer->photo(3).name, "c.jpg");
}

}  // namespace
}  // namespace trawlix::ui::testing

#include "MainWindowPanelsTest.moc"
