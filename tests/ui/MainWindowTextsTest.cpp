#include <optional>
#include <string>

#include "ui/window/MainWindowTexts.h"
#include "ui/window/ScanHistoryList.h"

namespace trawlix::ui {
namespace {

TEST(MainWindowTextsTest, PasteTakesOnlyANewWebAddress) {
  struct Case {
    const char* clipboard;
    const char* urlBox;
    std::optional<std::string> taken;
  };
  const Case cases[] = {
      {"  https://example.com/a/ \n", "http://old/", "https://example.com/a/"},
      {"HTTP://EXAMPLE.COM/", "", "HTTP://EXAMPLE.COM/"},
      {"example.com/gallery", "", std::nullopt},  // no scheme
      {"ftp://example.com/", "", std::nullopt},
      {"http://same/ ", " http://same/", std::nullopt},  // nothing new
      {"http://a/\nhttp://b/", "", std::nullopt},        // two lines
      {"", "http://old/", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PastedAddress(c.clipboard, c.urlBox), c.taken) << c.clipboard;
  }
}

TEST(MainWindowTextsTest, VisitOpensOnlyWebAddresses) {
  struct Case {
    const char* urlBox;
    std::optional<std::string> opened;
  };
  const Case cases[] = {
      {" http://example.com/ ", "http://example.com/"},
      {"URL #2 of 3:  https://example.com/b", "https://example.com/b"},
      {"/usr/bin/xterm", std::nullopt},
      {"file:///etc/passwd", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(VisitAddress(c.urlBox), c.opened) << c.urlBox;
}

TEST(MainWindowTextsTest, SaveToMenuNamesFoldersBelowTheProjectFolder) {
  ProjectsRecord project;
  project.title = "Salt & Sand";
  project.saveTo = "/p/Salt";
  project.thumbnailSaveTo = "/p/Salt/Thumbs/";
  project.mobileSaveTo = "/elsewhere/Mobile";
  SaveToMenuTexts texts = SaveToMenuLabels(project);
  EXPECT_EQ(texts.thumbnails, QStringLiteral("Open 'Thumbs' Folder"));
  EXPECT_EQ(texts.mobile, QStringLiteral("Open 'Mobile Photos' Folder"));
  EXPECT_EQ(texts.all, QStringLiteral("Open All 'Salt && Sand' Folders"));
  EXPECT_TRUE(texts.saveToSet && texts.thumbnailsSet && texts.mobileSet);

  project.thumbnailSaveTo = "/p/Salty";  // a sibling, not inside
  project.mobileSaveTo.clear();
  texts = SaveToMenuLabels(project);
  EXPECT_EQ(texts.thumbnails, QStringLiteral("Open 'Thumbnails' Folder"));
  EXPECT_FALSE(texts.mobileSet);
}

TEST(MainWindowTextsTest, HistorySummaryCountsWordsAndTimes) {
  const auto row = [](int pages, int found, int saved, int seconds, int transfer, int bytes) {
    ScanHistoryRecord r;
    r.pages = pages;
    r.totalImages = found;
    r.savedImages = saved;
    r.totalTimeInSeconds = seconds;
    r.transferTimeInSeconds = transfer;
    r.totalBytes = bytes;
    return r;
  };
  struct Case {
    std::vector<ScanHistoryRecord> rows;
    const char* summary;
  };
  const Case cases[] = {
      {{}, "No scanning sessions."},
      {{row(1, 1, 1, 0, 0, 0)}, "Scanned 1 Page in 0:00:00 - Found 1 Photo (1 Photo Saved). "},
      {{row(1000, 2, 0, 3661, 1, 2048), row(234, 1, 1, 1, 1, 2048)},
       "Scanned 1,234 Pages in 1:01:02 - Found 3 Photos (1 Photo Saved). 4.00 KB @ 2.00 KB/Sec"},
      {{row(1, 1, 1, 5, 0, 0), row(-1, 1, 1, 5, 0, 0)}, "No scanning sessions."},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanHistoryList::SummaryText(c.rows), c.summary);
}

TEST(MainWindowTextsTest, LabelAndMenuAmpersands) {
  EXPECT_EQ(PlainText("Downloading && Processing photos"),
            QStringLiteral("Downloading & Processing photos"));
  EXPECT_EQ(MenuItemText("Rock & Roll"), QStringLiteral("Rock && Roll"));
  ProjectsRecord project;
  project.title = "Q&A";
  EXPECT_EQ(WindowCaption(&project), QStringLiteral("Trawlix() PRO - 'Q&A'"));
  EXPECT_EQ(WindowCaption(nullptr), QStringLiteral("Trawlix() PRO"));
}

}  // namespace
}  // namespace trawlix::ui
