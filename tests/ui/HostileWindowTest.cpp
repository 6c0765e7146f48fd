#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTreeWidget>

#include "support/TempDir.h"
#include "ui/WebPageOpener.h"
#include "ui/exchange/ImportResultsDialog.h"
#include "ui/viewer/PhotoPropertiesDialog.h"
#include "ui/window/ScanResultsDialog.h"

namespace trawlix::ui {
namespace {

// Links of a project and the address of a scan come from exchange files and web pages; the
// desktop's opener gets only web pages.
TEST(HostileWindow, OnlyWebPagesReachTheDesktopsOpener) {
  for (const char* page : {"http://example.com/", " HTTPS://example.com/a?b#c ", "http://[::1]:8/"})
    EXPECT_TRUE(WebPageURL(QString::fromUtf8(page))) << page;
  for (const char* other :
       {"file:///etc/passwd", "javascript:alert(1)", "smb://host/share/x.desktop", "/usr/bin/xterm",
        "example.com", "http://", "http:///etc/passwd", ""})
    EXPECT_FALSE(WebPageURL(QString::fromUtf8(other))) << other;
}

// Titles, names and messages from files and web pages show as typed, never as markup.
TEST(HostileWindow, TextFromOutsideShowsAsPlainText) {
  const std::string markup = "<h1>Big</h1><img src=x>";
  testing::TempDir dir;
  const std::string photo = (dir / "<h1>Big<h1>.jpg").string();
  ASSERT_TRUE(QImage(40, 30, QImage::Format_RGB32).save(QString::fromStdString(photo), "JPG"));
  ScanHistoryRecord scan;
  scan.url = "http://example.com/" + markup;
  exchange::ImportSummary summary;
  summary.rows.push_back({markup,
                          {exchange::ImportAction::kImportIntoSelectedCategory},
                          exchange::ImportResultKind::Imported,
                          "Project " + markup + " imported"});
  ScanResultsDialog results(markup, scan);
  PhotoPropertiesDialog properties(photo);
  ImportResultsDialog imported(summary);
  for (QDialog* dialog : std::initializer_list<QDialog*>{&results, &properties}) {
    int shown = 0;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      if (!label->text().contains(QStringLiteral("<h1>"))) continue;
      ++shown;
      EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    }
    EXPECT_GT(shown, 0) << dialog->windowTitle().toStdString();
  }
  const QString tip = imported.findChild<QTreeWidget*>()->topLevelItem(0)->toolTip(2);
  EXPECT_TRUE(tip.contains(QStringLiteral("&lt;h1&gt;"))) << tip.toStdString();
}

}  // namespace
}  // namespace trawlix::ui
