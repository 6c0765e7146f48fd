#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "MainWindowTestFixture.h"
#include "exchange/ExchangeFile.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"
#include "ui/exchange/ExportDialogDetails.h"
#include "ui/exchange/ExportProjectDialog.h"
#include "ui/exchange/ExportProjectsDialog.h"
#include "ui/exchange/ImportExportDialogList.h"

namespace trawlix::ui::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ExportDialogTest : public MainWindowTest {
 protected:
  ExportDialogTest() {
    coast_ = AddCategory("Coast");
    city_ = AddCategory("City");
    harbour_ = AddProject("Harbour", coast_, "http://coast.example/harbour");
    AddLink(harbour_, "http://coast.example/harbour/2");
    AddLink(harbour_, "http://coast.example/harbour/3");
    AddScan(harbour_, 12);
    AddScan(harbour_, 30);
    dunes_ = AddProject("Dunes & Sand", coast_, "http://coast.example/dunes");
    bridges_ = AddProject("Bridges", city_, "http://city.example/bridges");
    AddLink(bridges_, "http://city.example/bridges/night");
    sink_.requests.clear();
  }

  void AddLink(int projectId, const std::string& url) {
    ProjectLinksRecord link;
    link.projectId = projectId;
    link.date = "12/01/2026";
    link.url = url;
    link.photos = 0;
    link.searchSubFolders = true;
    link.keywordMustExist = false;
    ASSERT_TRUE(AddProjectLink(session_->databasePath(), sink_, link));
  }
  void AddScan(int projectId, int saved) {
    ScanHistoryTable history(session_->databasePath(), sink_);
    ASSERT_TRUE(history.OpenTable());
    ScanHistoryRecord row;
    row.projectId = projectId;
    row.scanDate = "12/01/2026";
    row.totalTime = "0:00:10";
    row.url = "http://coast.example/";
    row.pages = row.totalImages = row.savedImages = saved;
    row.skippedImages = row.status = row.type = row.searchSubFolders = false;
    row.totalTimeInSeconds = row.transferTimeInSeconds = 10;
    row.totalBytes = 1000;
    ASSERT_TRUE(history.InsertScanHistory(row));
  }
  std::string Photo() {
    const std::string path = (temp_ / "logo.png").string();
    QImage image(600, 300, QImage::Format_RGB32);
    image.fill(QColor(20, 120, 200));
    EXPECT_TRUE(image.save(QString::fromStdString(path)));
    return path;
  }
  exchange::ExchangeFile ReadBack(const std::string& path) {
    const exchange::ExchangeReadResult read = exchange::ReadExchangeFile(path);
    EXPECT_TRUE(read.ok) << read.error;
    return read.file;
  }
  static std::vector<std::string> Titles(const exchange::ExchangeFile& file) {
    std::vector<std::string> titles;
    for (const auto& p : file.projects) titles.push_back(p.title);
    return titles;
  }

  int coast_ = -1, city_ = -1, harbour_ = -1, dunes_ = -1, bridges_ = -1;
};

// The header's details follow "Include My Info:", the photo the choice, and the project
// comes with its links and the photos its scans saved.
TEST_F(ExportDialogTest, OneProjectReadsBackAsTheDialogSetItUp) {
  struct Case {
    const char* name;
    bool include;
    bool photo;
    const char* description;
  };
  const Case cases[] = {
      {"details and photo", true, true, "Harbour walks"},
      {"details left out", false, true, ""},
      {"no photo", true, false, "Line one\nLine two"},
  };
  SettingsValues& values = session_->settings().Values();
  values.exporterName = "Ann Lee";
  values.exporterEmail = "ann@example.com";
  values.exporterWebsite = "https://ann.example";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    values.exportIncludeInfo = c.include ? 1 : 0;
    sink_.requests.clear();
    const std::string target = (temp_ / (std::string(c.name) + ".txexport")).string();
    ExportProjectDialog dialog(*session_, *LoadProject(*session_, harbour_), sink_);
    EXPECT_EQ(dialog.windowTitle(), "Export Trawlix() PRO Project - Harbour");
    ExportDialogDetails& details = *dialog.details();
    EXPECT_EQ(details.includeInfo()->isChecked(), c.include);
    EXPECT_EQ(details.nameEdit()->isEnabled(), c.include) << "details follow the check box";
    EXPECT_EQ(details.nameEdit()->text(), "Ann Lee");
    EXPECT_FALSE(dialog.exportButton()->isEnabled()) << "no file chosen yet";
    details.SetSaveChooser([&](QWidget*, const QString&, const QString& start, const QString&) {
      EXPECT_TRUE(start.endsWith("Harbour.txexport")) << start.toStdString();
      return QString::fromStdString(target);
    });
    details.BrowsePath();
    EXPECT_TRUE(dialog.exportButton()->isEnabled());
    if (c.photo) {
      ASSERT_TRUE(details.ChoosePhoto(QString::fromStdString(Photo())));
      EXPECT_FALSE(details.photo()->pixmap().isNull());
    }
    details.descriptionEdit()->setPlainText(QString::fromUtf8(c.description));
    QTest::mouseClick(dialog.exportButton(), Qt::LeftButton);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(sink_.requests.size(), 1u);
    EXPECT_EQ(sink_.requests[0].text,
              "Successfully Exported Project:\n   Harbour (2 links)\nto "
              "File:\n   " +
                  target);
    const exchange::ExchangeFile file = ReadBack(target);
    ASSERT_EQ(file.projects.size(), 1u);
    const exchange::ImportedProject& p = file.projects[0];
    EXPECT_EQ(p.title, "Harbour");
    EXPECT_EQ(p.category, "Coast");
    EXPECT_EQ(p.numPhotos, 42);
    ASSERT_EQ(p.links.size(), 2u);
    EXPECT_EQ(p.links[1].url, "http://coast.example/harbour/3");
    EXPECT_EQ(file.header.description, c.description);
    EXPECT_EQ(file.header.name, c.include ? "Ann Lee" : "");
    EXPECT_EQ(file.header.website, c.include ? "https://ann.example" : "");
    EXPECT_EQ(file.photo.empty(), !c.photo);
  }
}

// The file's name: the extension is added, and a file typed over an existing one is replaced
// only when the user agrees; a refusal or a failure keeps the dialog open.
TEST_F(ExportDialogTest, TargetFileRules) {
  const std::string existing = (temp_ / "old.txexport").string();
  struct Case {
    const char* name;
    std::string typed;
    std::optional<MessageAnswer> answer;  // to the replace question
    std::string written;                  // empty: nothing may be written
    std::string message;                  // start of the last message
  };
  const Case cases[] = {
      {"extension added", (temp_ / "new").string(), std::nullopt, (temp_ / "new.txexport").string(),
       "Successfully Exported Project:"},
      {"upper-case extension kept", (temp_ / "Up.TXEXPORT").string(), std::nullopt,
       (temp_ / "Up.TXEXPORT").string(), "Successfully"},
      {"replace declined", existing, MessageAnswer::No, "", "The file\n   "},
      {"replace agreed", existing, MessageAnswer::Yes, existing, "Successfully"},
      {"a folder", temp_.str(), std::nullopt, "", temp_.str() + " is a folder."},
      {"missing folder", (temp_ / "nowhere" / "x.txexport").string(), std::nullopt, "",
       "Unable to export to File:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    { std::ofstream(existing) << "keep me"; }
    sink_.requests.clear();
    if (c.answer) sink_.answers.push_back({*c.answer});
    ExportProjectDialog dialog(*session_, *LoadProject(*session_, harbour_), sink_);
    dialog.details()->pathEdit()->setText(QString::fromStdString(c.typed));
    dialog.Export();
    ASSERT_FALSE(sink_.requests.empty());
    EXPECT_EQ(sink_.requests.back().text.rfind(c.message, 0), 0u) << sink_.requests.back().text;
    EXPECT_EQ(dialog.result() == QDialog::Accepted, !c.written.empty());
    if (!c.written.empty()) {
      EXPECT_EQ(ReadBack(c.written).projects.size(), 1u);
    } else {
      std::ifstream in(existing);
      std::string text;
      std::getline(in, text);
      EXPECT_EQ(text, "keep me");
    }
    if (c.answer) {
      EXPECT_EQ(sink_.requests.front().buttons, MessageButtons::YesNo);
    }
  }
}

TEST_F(ExportDialogTest, SeveralProjectsAreTheCheckedRowsInListOrder) {
  ExportProjectsDialog dialog(*session_, sink_, coast_, harbour_);
  EXPECT_EQ(dialog.windowTitle(), "Export Trawlix() PRO Projects");
  ImportExportDialogList& list = *dialog.list();
  const auto rows = [&list] {
    std::vector<std::string> texts;
    for (int r = 0; r < list.rowCount(); ++r) {
      const QTreeWidgetItem* item = list.topLevelItem(r);
      texts.push_back(QStringList{item->text(0), item->text(1), item->text(2), item->text(3),
                                  item->checkState(0) == Qt::Checked ? "x" : "-"}
                          .join('|')
                          .toStdString());
    }
    return texts;
  };
  // The window's category, with its selected project checked.
  EXPECT_EQ(dialog.categoryBox()->currentText(), "Coast");
  EXPECT_THAT(rows(), ElementsAre("Dunes & Sand|0|0|Coast|-", "Harbour|2|42|Coast|x"));
  EXPECT_EQ(dialog.counter()->text(), "1 Project Selected");

  // A check survives a change of category that hides its row for a while.
  dialog.categoryBox()->setCurrentIndex(dialog.categoryBox()->findText("City"));
  EXPECT_THAT(rows(), ElementsAre("Bridges|1|0|City|-"));
  EXPECT_EQ(dialog.counter()->text(), "Choose Projects to Export...");
  list.SelectAll();
  dialog.categoryBox()->setCurrentIndex(dialog.categoryBox()->findText("All"));
  ASSERT_EQ(list.rowCount(), 6);  // with the three sample projects
  EXPECT_EQ(dialog.counter()->text(), "2 Projects Selected");
  list.topLevelItem(list.rowCount() - 1)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(dialog.counter()->text(), "3 Projects Selected");
  const std::string lastTitle = list.titleAt(list.rowCount() - 1).toStdString();

  EXPECT_FALSE(dialog.exportButton()->isEnabled()) << "no file yet";
  const std::string target = (temp_ / "several.txexport").string();
  dialog.details()->pathEdit()->setText(QString::fromStdString(target));
  ASSERT_TRUE(dialog.exportButton()->isEnabled());
  QTest::mouseClick(dialog.exportButton(), Qt::LeftButton);
  ASSERT_EQ(sink_.Texts().size(), 1u);
  EXPECT_EQ(sink_.Texts()[0], "Successfully Exported 3 projects to:\n" + target + ".");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const exchange::ExchangeFile file = ReadBack(target);
  EXPECT_THAT(Titles(file), ElementsAre("Bridges", "Harbour", lastTitle));
  EXPECT_EQ(file.header.projects, 3);
  EXPECT_EQ(file.projects[0].links.size(), 1u);

  list.DeselectAll();
  EXPECT_FALSE(dialog.exportButton()->isEnabled());
}

TEST_F(ExportDialogTest, UnreadablePhotoKeepsThePreviousOne) {
  ExportProjectDialog dialog(*session_, *LoadProject(*session_, harbour_), sink_);
  ExportDialogDetails& details = *dialog.details();
  ASSERT_TRUE(details.ChoosePhoto(QString::fromStdString(Photo())));
  const std::string bad = (temp_ / "bad.jpg").string();
  { std::ofstream(bad) << "not a photo"; }
  EXPECT_FALSE(details.ChoosePhoto(QString::fromStdString(bad)));
  ASSERT_EQ(sink_.requests.size(), 1u);
  EXPECT_THAT(sink_.requests[0].text, HasSubstr("cannot be read"));
  EXPECT_EQ(details.photoPath(), (temp_ / "logo.png").string());
}

}  // namespace
}  // namespace trawlix::ui::testing
