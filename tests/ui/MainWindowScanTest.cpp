#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "MainWindowTestFixture.h"
#include "scan/PipelineTestSite.h"
#include "scan/engine/ScanController.h"
#include "ui/window/ScanHistoryList.h"
#include "ui/window/StatusPanel.h"

namespace trawlix::ui::testing {
namespace {

using namespace std::chrono_literals;

QToolButton* Button(MainWindow& window, const char* name) {
  auto* button = window.findChild<QToolButton*>(QLatin1String(name));
  EXPECT_NE(button, nullptr) << name;
  return button;
}

TEST_F(MainWindowTest, ScanStartedFromTheWindowPausesResumesAndReportsItsResults) {
  trawlix::testing::TestSite site;
  site.AddPage("/gallery/index.html",
               "<html><body><a href=\"page2.html\">more</a>"
               "<a href=\"one.bmp\">1</a><img src=\"two.bmp\"></body></html>");
  site.AddPage("/gallery/page2.html", "<html><body><a href=\"three.bmp\">3</a></body></html>");
  // Photos of different sizes: the same bytes twice would be saved once.
  int side = 400;
  for (const char* name : {"/gallery/one.bmp", "/gallery/two.bmp", "/gallery/three.bmp"}) {
    site.Add(name, "image/bmp",
             trawlix::testing::MakeTestPhoto(trawlix::testing::TestPhotoKind::Bmp, side++, 400));
  }
  session_->settings().Values().newBMP = true;
  session_->settings().Values().displayScanResults = true;
  const int category = AddCategory("Local");
  const int id = AddProject("Local Gallery", category, site.URL("/gallery/index.html"));
  {
    ProjectsRecord project = *LoadProject(*session_, id);
    ProjectsRecord bmp = project;
    bmp.bmp = true;
    ASSERT_EQ(UpdateProject(*session_, project, bmp, TitleRule::Any).outcome, SaveOutcome::Saved);
  }
  ShowCategory(category);
  ASSERT_EQ(Window().currentProjectId(), id);
  EXPECT_FALSE(Window().enabledState().photoTools) << "no photo yet";
  // Slow enough to catch the scan half way.
  site.SetDelay(150ms);

  QToolButton* start = Button(Window(), "startButton");
  QToolButton* pause = Button(Window(), "pauseButton");
  start->click();
  ASSERT_TRUE(Window().isScanning());
  EXPECT_FALSE(start->isEnabled());
  EXPECT_TRUE(pause->isEnabled());
  EXPECT_TRUE(Button(Window(), "stopButton")->isEnabled());
  EXPECT_FALSE(List()->isEnabled()) << "no project change during a scan";
  Window().DeleteProject();
  EXPECT_TRUE(LoadProject(*session_, id).has_value()) << "refused while scanning";

  pause->click();
  EXPECT_EQ(pause->toolTip(), QStringLiteral("Click to resume..."));
  EXPECT_FALSE(Button(Window(), "stopButton")->isEnabled());
  auto* status = Window().findChild<StatusPanel*>(QStringLiteral("statusPanel"));
  QTRY_COMPARE_WITH_TIMEOUT(status->status(), QStringLiteral("Paused..."), 5000);
  pause->click();
  EXPECT_EQ(pause->toolTip(), QStringLiteral("Pause Scan"));

  // Closing the window during a scan only minimises it; Exit asks first.
  Window().close();
  EXPECT_TRUE(Window().isScanning());
  EXPECT_TRUE(Window().isMinimized());
  sink_.answers.push_back({MessageAnswer::No, false});
  Window().Exit();
  EXPECT_EQ(sink_.requests.back().text,
            "Trawlix() PRO is scanning for the project 'Local Gallery'\n"
            "Are you sure you want to cancel and exit?");
  EXPECT_TRUE(Window().isScanning()) << "No keeps scanning";

  sink_.answers.push_back({MessageAnswer::Ok, true});  // don't show the results again
  QTRY_VERIFY_WITH_TIMEOUT(!Window().isScanning(), 30000);
  EXPECT_FALSE(Window().isMinimized()) << "restored after the scan";
  ASSERT_FALSE(sink_.requests.empty());
  const std::string& results = sink_.requests.back().text;
  EXPECT_NE(results.find("scanned 2 pages"), std::string::npos) << results;
  EXPECT_TRUE(sink_.requests.back().offerDontAskAgain);
  EXPECT_EQ(sink_.requests.back().icon, MessageIcon::Information);
  EXPECT_FALSE(session_->settings().Values().displayScanResults);
  EXPECT_TRUE(start->isEnabled());
  EXPECT_TRUE(List()->isEnabled());

  const auto saveTo = std::filesystem::path(LoadProject(*session_, id)->saveTo);
  int photos = 0;
  for (const auto& entry : std::filesystem::directory_iterator(saveTo)) {
    photos += entry.is_regular_file() ? 1 : 0;
  }
  EXPECT_EQ(photos, 3);
  EXPECT_TRUE(Window().enabledState().photoTools) << "the folder holds photos now";
  auto* history = Window().findChild<ScanHistoryList*>(QStringLiteral("historyList"));
  ASSERT_EQ(history->rowCount(), 1);
  EXPECT_EQ(history->records().front().savedImages, 3);
}

TEST_F(MainWindowTest, ExitDuringAScanEndsItsWorkersAndCloses) {
  trawlix::testing::TestSite site;
  std::string page = "<html><body>";
  for (int i = 0; i < 40; ++i) page += "<a href=\"p" + std::to_string(i) + ".html\">p</a>";
  site.AddPage("/slow/index.html", page + "</body></html>");
  site.SetDelay(300ms);
  const int category = AddCategory("Slow");
  AddProject("Slow Site", category, site.URL("/slow/index.html"));
  ShowCategory(category);
  Window().show();

  Window().StartScan();
  ASSERT_TRUE(Window().isScanning());
  QTest::qWait(400);
  sink_.answers.push_back({MessageAnswer::Yes, true});
  Window().Exit();
  EXPECT_FALSE(Window().isScanning());
  EXPECT_FALSE(Window().isVisible());
  EXPECT_EQ(session_->settings().Values().confirmExitWhileScanning, 0) << "not asked again";
  EXPECT_LT(site.TotalRequests(), 40) << "the scan did not run on";
}

TEST_F(MainWindowTest, TheStartMenuResumesAStoppedScanAndRescansEverything) {
  trawlix::testing::TestSite site;
  std::string page = "<html><body>";
  for (int i = 0; i < 12; ++i) {
    const std::string name = "p" + std::to_string(i) + ".bmp";
    site.Add("/slow/" + name, "image/bmp",
             trawlix::testing::MakeTestPhoto(trawlix::testing::TestPhotoKind::Bmp, 400 + i, 400));
    page += "<img src=\"" + name + "\">";
  }
  site.AddPage("/slow/index.html", page + "</body></html>");
  site.SetDelay(60ms);
  session_->settings().Values().newBMP = true;
  session_->settings().Values().displayScanResults = false;
  const int category = AddCategory("Slow");
  AddProject("Slow Site", category, site.URL("/slow/index.html"));
  ShowCategory(category);
  Window().show();
  auto* start = Button(Window(), "startButton");
  ASSERT_NE(start->menu(), nullptr);
  const QList<QAction*> entries = start->menu()->actions();
  ASSERT_EQ(entries.size(), 3);
  const QList<QMenu*> menus = Window().findChildren<QMenu*>();
  EXPECT_TRUE(std::any_of(menus.begin(), menus.end(), [&](const QMenu* menu) {
    return menu->actions().contains(start->menu()->menuAction());
  })) << "the project list's menu offers the same, for the keyboard";
  const auto resumeEnabled = [&] {
    Q_EMIT start->menu()->aboutToShow();
    return entries[1]->isEnabled();
  };
  EXPECT_FALSE(resumeEnabled()) << "nothing to resume yet";

  Window().StartScan();
  QTRY_VERIFY_WITH_TIMEOUT(site.TotalRequests() >= 4, 10000);
  Window().StopScan();
  QTRY_VERIFY_WITH_TIMEOUT(!Window().isScanning(), 10000);
  EXPECT_TRUE(resumeEnabled());

  entries[1]->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!Window().isScanning(), 30000);
  EXPECT_FALSE(resumeEnabled()) << "the resumed scan ended by itself";
  auto* history = Window().findChild<ScanHistoryList*>(QStringLiteral("historyList"));
  ASSERT_EQ(history->rowCount(), 1) << "the resumed scan's row covers the whole";
  EXPECT_EQ(history->records().front().savedImages, 12);

  const int before = site.TotalRequests();
  entries[2]->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!Window().isScanning(), 30000);
  EXPECT_GE(site.TotalRequests() - before, 13) << "every photo fetched again";
}

}  // namespace
}  // namespace trawlix::ui::testing
