#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <map>
#include <set>

#include "MainWindowTestFixture.h"
#include "exchange/ExchangeFile.h"
#include "storage/ProjectLinksTable.h"
#include "ui/exchange/ExportProjectDialog.h"
#include "ui/exchange/ExportProjectsDialog.h"
#include "ui/exchange/ImportDialog.h"
#include "ui/exchange/ImportExportDialogList.h"
#include "ui/exchange/ImportInformationDialog.h"
#include "ui/exchange/ImportResultsDialog.h"
#include "ui/window/WelcomeDialog.h"

namespace trawlix::ui::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

exchange::ImportedProject FileProject(const std::string& title, const std::string& category,
                                      std::vector<std::string> links) {
  exchange::ImportedProject p;
  p.title = title;
  p.category = category;
  p.url = "http://file.example/" + title;
  p.jpeg = true;
  p.minimumSize = 100;
  for (const std::string& url : links) p.links.push_back({0, 1, 0, url, ""});
  p.numLinks = static_cast<std::int32_t>(p.links.size());
  p.numPhotos = 7;
  return p;
}

std::string JpegBytes(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(200, 120, 40));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG");
  return bytes.toStdString();
}

class ImportDialogTest : public MainWindowTest {
 protected:
  // A file with a project that the database has already ("Harbour Lights", one of its two
  // links too), another of the same category and one of a category of its own.
  std::string WriteFile(const std::string& name, const std::string& photo = {}) {
    exchange::ExchangeHeader header;
    header.description = "Coastal walks";
    header.name = "Ann Lee";
    header.emailAddress = "ann@example.com";
    const std::string path = (temp_ / name).string();
    std::string error;
    EXPECT_TRUE(exchange::WriteExchangeFile(
        path, header,
        {FileProject("Harbour Lights", "Coast", {"http://file.example/a", "http://file.example/b"}),
         FileProject("Old Town", "Coast", {"http://file.example/c"}),
         FileProject("Desert", "Dry Lands", {})},
        photo, error))
        << error;
    return path;
  }

  std::unique_ptr<ImportDialog> Open(DataSession& session, const std::string& path) {
    auto file = exchange::OpenImportFile(path, sink_);
    EXPECT_TRUE(file);
    if (!file) return nullptr;
    return std::make_unique<ImportDialog>(session, path, std::move(*file), sink_);
  }

  static std::vector<std::string> Rows(const QTreeWidget& list) {
    std::vector<std::string> rows;
    for (int r = 0; r < list.topLevelItemCount(); ++r) {
      QStringList texts;
      for (int c = 0; c < list.columnCount(); ++c) texts << list.topLevelItem(r)->text(c);
      if (list.topLevelItem(r)->data(0, Qt::CheckStateRole).isValid()) {
        texts << (list.topLevelItem(r)->checkState(0) == Qt::Checked ? "x" : "-");
      }
      rows.push_back(texts.join('|').toStdString());
    }
    return rows;
  }
};

// Each option as the dialog offers it, against a database that has "Harbour Lights" already.
TEST_F(ImportDialogTest, EachOptionImportsAsChosen) {
  enum Target { Models, ImportedProjects, FileCategories };
  struct Case {
    const char* name;
    Target target;
    bool merge;
    bool duplicatesEnabled;
    std::vector<std::string> results;                         // kind|action|message per project
    std::map<std::string, std::set<std::string>> categories;  // stored titles by category
    int existingLinks;  // links of the project that was there before
    const char* summary;
  };
  const Case cases[] = {
      {"into a category, duplicates skipped",
       Models,
       false,
       true,
       {"Skipped|Duplicate: Don't Import Project|Project (Harbour Lights) already exists in "
        "Category (Models)",
        "Imported|Import Into Selected Category|Project Old Town imported (1 link) to Category "
        "(Models)",
        "Imported|Import Into Selected Category|Project Desert imported (0 links) to Category "
        "(Models)"},
       {{"Models", {"Harbour Lights", "Old Town", "Desert"}}},
       1,
       "2 projects imported, 1 not imported (already there)."},
      {"into a category, links merged",
       Models,
       true,
       true,
       {"Merged|Duplicate: Merge Project's Links (Unique)|1 link merged into Harbour Lights "
        "project, category (Models)",
        "Imported|Import Into Selected Category|Project Old Town imported (1 link) to Category "
        "(Models)",
        "Imported|Import Into Selected Category|Project Desert imported (0 links) to Category "
        "(Models)"},
       {{"Models", {"Harbour Lights", "Old Town", "Desert"}}},
       2,
       "2 projects imported, 1 merged."},
      {"into Imported Projects every project is new",
       ImportedProjects,
       true,
       false,
       {"Imported|Duplicate: Import Into Selected Category|Project Harbour Lights imported (2 "
        "links) to Category (Imported Projects)",
        "Imported|Import Into Selected Category|Project Old Town imported (1 link) to Category "
        "(Imported Projects)",
        "Imported|Import Into Selected Category|Project Desert imported (0 links) to Category "
        "(Imported Projects)"},
       {{"Models", {"Harbour Lights"}},
        {"Imported Projects", {"Harbour Lights", "Old Town", "Desert"}}},
       1,
       "3 projects imported."},
      {"the file's categories, made once",
       FileCategories,
       false,
       true,
       {"Skipped|Duplicate: Don't Import Project|Project (Harbour Lights) already exists in "
        "Category (Models)",
        "Imported|Import Into Suggested Category|Project Old Town imported (1 link) to Category "
        "(Coast)",
        "Imported|Import Into Suggested Category|Project Desert imported (0 links) to Category "
        "(Dry Lands)"},
       {{"Models", {"Harbour Lights"}}, {"Coast", {"Old Town"}}, {"Dry Lands", {"Desert"}}},
       1,
       "2 projects imported, 1 not imported (already there).\nNew categories were created."},
  };
  const std::string path = WriteFile("coast.txexport");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    auto session = DataSession::Open((temp_ / c.name / "data").string(), sink_, error);
    ASSERT_TRUE(session) << error;
    const int models = [&] {
      const auto categories = LoadCategories(*session);
      for (const auto& category : *categories) {
        if (category.name == "Models") return category.id;
      }
      return -1;
    }();
    ProjectsRecord record = NewProjectRecord(session->settings().Values(), {});
    record.title = "Harbour Lights";
    record.catId = models;
    record.url = "http://file.example/a";
    record.saveTo = (temp_ / c.name / "photos").string();
    CompleteNewProject(record, session->settings().Values());
    const int existing = trawlix::AddProject(*session, record, TitleRule::Any).id;
    ProjectLinksRecord link;
    link.projectId = existing;
    link.url = "http://file.example/a";
    link.date = "12/01/2026";
    link.photos = link.searchSubFolders = link.keywordMustExist = false;
    ASSERT_TRUE(AddProjectLink(session->databasePath(), sink_, link));
    sink_.requests.clear();

    auto dialog = Open(*session, path);
    ASSERT_TRUE(dialog);
    QSignalSpy imported(dialog.get(), &ImportDialog::ProjectsImported);
    if (c.target == FileCategories) {
      dialog->useFileCategory()->click();
      EXPECT_FALSE(dialog->categoryBox()->isEnabled());
    } else {
      dialog->intoCategory()->click();
      EXPECT_TRUE(dialog->categoryBox()->isEnabled());
      dialog->categoryBox()->setCurrentText(c.target == Models ? "Models" : "Imported Projects");
    }
    (c.merge ? dialog->mergeDuplicates() : dialog->skipDuplicates())->setChecked(true);
    EXPECT_EQ(dialog->mergeDuplicates()->isEnabled(), c.duplicatesEnabled);
    EXPECT_EQ(dialog->skipDuplicates()->isEnabled(), c.duplicatesEnabled);

    QTest::mouseClick(dialog->importButton(), Qt::LeftButton);
    EXPECT_TRUE(sink_.requests.empty()) << sink_.requests.front().text;
    ASSERT_TRUE(dialog->lastSummary());
    std::vector<std::string> results;
    for (const auto& row : dialog->lastSummary()->rows) {
      results.push_back(std::string(exchange::ImportResultKindName(row.kind)) + '|' +
                        row.action.Name() + '|' + row.message);
    }
    EXPECT_EQ(results, c.results);
    ASSERT_EQ(imported.count(), 1);
    EXPECT_EQ(imported.at(0).at(0).toBool(), c.target == FileCategories);

    std::map<std::string, std::multiset<std::string>> stored;
    std::map<int, std::string> names;
    const auto categories = LoadCategories(*session);
    for (const auto& category : *categories) names[category.id] = category.name;
    const auto projects = LoadProjects(*session, kAllCategoriesId);
    for (const auto& project : *projects) {
      if (project.url.starts_with("http://file.example/")) {
        stored[names[project.catId]].insert(project.title);
      }
    }
    std::map<std::string, std::multiset<std::string>> expected;
    for (const auto& [category, titles] : c.categories) {
      expected[category].insert(titles.begin(), titles.end());
    }
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(CountProjectLinks(*session, existing), c.existingLinks);
    if (c.target == FileCategories) {
      EXPECT_GE(dialog->categoryBox()->findText("Dry Lands"), 0) << "the new category is offered";
    }

    // The results follow, one row per project.
    QTRY_VERIFY(dialog->results() != nullptr && dialog->results()->isVisible());
    EXPECT_EQ(dialog->results()->windowTitle(), "Import Results");
    EXPECT_EQ(dialog->results()->summary()->text().toStdString(), c.summary);
    ASSERT_EQ(dialog->results()->list()->topLevelItemCount(), 3);
    EXPECT_EQ(
        dialog->results()->list()->topLevelItem(0)->text(1),
        QString::fromStdString(c.results[0].substr(c.results[0].find('|') + 1)).section('|', 0, 0));
  }
}

TEST_F(ImportDialogTest, OnlyTheCheckedProjectsInListOrder) {
  auto dialog = Open(*session_, WriteFile("coast.txexport"));
  ImportExportDialogList& list = *dialog->list();
  EXPECT_EQ(dialog->windowTitle(), "Import Trawlix() PRO Projects");
  EXPECT_THAT(Rows(list), ElementsAre("Harbour Lights|2|7|Coast|x", "Old Town|1|7|Coast|x",
                                      "Desert|0|7|Dry Lands|x"));
  EXPECT_EQ(dialog->counter()->text(), "3 Projects Selected");
  list.DeselectAll();
  EXPECT_EQ(dialog->counter()->text(), "Select Project(s) to Import...");
  EXPECT_FALSE(dialog->importButton()->isEnabled());
  list.topLevelItem(2)->setCheckState(0, Qt::Checked);
  list.topLevelItem(1)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(dialog->counter()->text(), "2 Projects Selected");
  ASSERT_TRUE(dialog->importButton()->isEnabled());

  dialog->intoCategory()->click();
  dialog->categoryBox()->setCurrentText("Models");
  dialog->Import();
  ASSERT_TRUE(dialog->lastSummary());
  std::vector<std::string> titles;
  for (const auto& row : dialog->lastSummary()->rows) titles.push_back(row.title);
  EXPECT_THAT(titles, ElementsAre("Old Town", "Desert"));
  EXPECT_TRUE(LoadProjectsByTitle(*session_, "Harbour Lights")->empty());
  EXPECT_TRUE(dialog->progressText()->text().isEmpty());
  EXPECT_TRUE(dialog->importButton()->isEnabled()) << "ready for another choice";
}

// The exporter's details come from a file anyone can write: they are shown as text, and only
// web addresses and plain e-mail addresses become links.
TEST_F(ImportDialogTest, AuthorLineEscapesTheFilesTexts) {
  struct Case {
    const char* name;
    const char* email;
    const char* website;
    const char* html;
  };
  const Case cases[] = {
      {"Ann Lee", "ann@example.com", "https://ann.example/",
       "<b>Project created by:</b><br>Ann Lee, ann@example.com<br>"
       "<a href=\"mailto:ann@example.com\">Send E-mail</a>,&nbsp;"
       "<a href=\"https://ann.example/\">Visit My Website</a>"},
      {"", "", "www.ann.example",
       "<b>Project created by:</b><br>"
       "<a href=\"http://www.ann.example\">Visit My Website</a>"},
      {"<img src=x onerror=alert(1)>", "", "",
       "<b>Project created by:</b><br>&lt;img src=x onerror=alert(1)&gt;"},
      {"Eve", "eve@example.com?bcc=all@example.com", "javascript:alert(1)",
       "<b>Project created by:</b><br>Eve, eve@example.com?bcc=all@example.com"},
      {"Eve", "\"><script>", "file:///etc/passwd",
       "<b>Project created by:</b><br>Eve, &quot;&gt;&lt;script&gt;"},
      {"Eve", "", "https://x.example/\"onmouseover=\"a", "<b>Project created by:</b><br>Eve"},
      {"", "", "https://x.example/?a=1&b=2",
       "<b>Project created by:</b><br>"
       "<a href=\"https://x.example/?a=1&amp;b=2\">Visit My Website</a>"},
      {"  ", "", "", ""},
  };
  for (const Case& c : cases) {
    exchange::ExchangeHeader header;
    header.name = c.name;
    header.emailAddress = c.email;
    header.website = c.website;
    EXPECT_EQ(ImportDialog::AuthorHtml(header).toStdString(), c.html) << c.name << c.website;
  }
}

TEST_F(ImportDialogTest, InformationAndSamplePhoto) {
  struct Case {
    const char* name;
    std::string photo;
    bool shown;
  };
  const Case cases[] = {
      {"photo", JpegBytes(256, 180), true},
      {"none", "", false},
      {"damaged", "\xff\xd8\xff garbage", false},
      {"too large to be a sample", JpegBytes(5000, 8), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = WriteFile(std::string(c.name) + ".txexport", c.photo);
    auto dialog = Open(*session_, path);
    EXPECT_EQ(!dialog->photo()->pixmap().isNull(), c.shown);
    if (c.shown) {
      EXPECT_LE(dialog->photo()->pixmap().width(), 128);
    } else {
      EXPECT_EQ(dialog->photo()->text(), "No\nSample\nPhoto");
    }
    EXPECT_EQ(dialog->description()->toPlainText(), "Coastal walks");
    EXPECT_TRUE(dialog->author()->text().contains("Ann Lee"));

    ImportInformationDialog information(path, dialog->file());
    EXPECT_EQ(information.windowTitle(), "Import File Information");
    EXPECT_EQ(information.value("Import File:"), QString::fromStdString(c.name) + ".txexport");
    EXPECT_EQ(information.value("PathName:"), QString::fromStdString(temp_.str()));
    EXPECT_EQ(information.value("Projects:"), "3");
    EXPECT_EQ(information.value("Created by:"), "Ann Lee, ann@example.com");
    EXPECT_TRUE(information.value("Date:").contains(QRegularExpression(
        "^[A-Z][a-z]+day, [A-Z][a-z]+ \\d\\d, \\d{4}, \\d\\d:\\d\\d:\\d\\d[AP]M$")))
        << information.value("Date:").toStdString();
  }
}

// The first start names a file: after the welcome page the import dialog opens on it, and the
// projects come in only when the user imports them.
TEST_F(ImportDialogTest, StartupImportOpensTheDialogAfterTheWelcome) {
  const std::string path = WriteFile("shared.txexport");
  ASSERT_TRUE(session_->isNewDatabase());
  Window().SetStartupImport(path);
  WelcomeDialog* welcome = nullptr;
  QTRY_VERIFY_WITH_TIMEOUT((welcome = Window().findChild<WelcomeDialog*>()) != nullptr, 5000);
  QTest::qWait(1500);
  EXPECT_EQ(Window().findChild<ImportDialog*>(), nullptr) << "not before the welcome";
  welcome->accept();

  ImportDialog* dialog = nullptr;
  QTRY_VERIFY_WITH_TIMEOUT((dialog = Window().findChild<ImportDialog*>()) != nullptr, 5000);
  EXPECT_EQ(dialog->path(), path);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(Titles().contains("Old Town")) << "nothing before Import";
  dialog->intoCategory()->click();
  dialog->categoryBox()->setCurrentText("Imported Projects");
  QTest::mouseClick(dialog->importButton(), Qt::LeftButton);
  ShowCategory(kAllCategoriesId);
  EXPECT_TRUE(Titles().contains("Old Town")) << "the window lists what came in";
  QTRY_VERIFY(dialog->results() != nullptr);
  dialog->results()->close();
  dialog->doneButton()->click();
  QTRY_COMPARE(Window().findChild<ImportDialog*>(), nullptr);
}

// A second start hands its file over: the window comes forward and, once the dialog the user
// has open is closed, offers the import. A file that cannot be read is reported instead.
TEST_F(ImportDialogTest, HandOverWaitsForAnOpenDialog) {
  const std::string path = WriteFile("handed.txexport");
  Window().show();
  QTRY_VERIFY_WITH_TIMEOUT(Window().findChild<WelcomeDialog*>() != nullptr, 5000);
  Window().findChild<WelcomeDialog*>()->accept();
  sink_.requests.clear();

  Window().HandOver(path);
  QTest::qWait(1300);
  ImportDialog* dialog = nullptr;
  QTRY_VERIFY_WITH_TIMEOUT((dialog = Window().findChild<ImportDialog*>()) != nullptr, 3000);
  ASSERT_EQ(dialog->list()->rowCount(), 3);

  // A second file while that import is open waits for it.
  const std::string damaged = (temp_ / "damaged.txexport").string();
  { std::ofstream(damaged) << "not an archive"; }
  Window().HandOver(damaged);
  QTest::qWait(1500);
  EXPECT_TRUE(sink_.requests.empty());
  dialog->doneButton()->click();
  QTRY_VERIFY_WITH_TIMEOUT(!sink_.requests.empty(), 3000);
  EXPECT_EQ(sink_.requests.back().text, "The file is damaged: it is not a ZIP archive.");
  EXPECT_EQ(Window().findChild<ImportDialog*>(), nullptr);
}

// Every dialog can be used without a mouse: each control that takes the focus has a name for
// screen readers, mnemonics do not clash, and Enter presses the dialog's main button.
TEST_F(ImportDialogTest, DialogsAreNamedAndKeyboardReady) {
  const std::string path = WriteFile("keys.txexport");
  const int project = AddProject("Keys", AddCategory("Coast"));
  auto file = *exchange::OpenImportFile(path, sink_);
  exchange::ImportSummary summary;
  summary.rows.push_back({"Keys",
                          {exchange::ImportAction::kImportIntoSelectedCategory},
                          exchange::ImportResultKind::Imported,
                          "Project Keys imported"});
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.push_back(
      std::make_unique<ExportProjectDialog>(*session_, *LoadProject(*session_, project), sink_));
  dialogs.push_back(
      std::make_unique<ExportProjectsDialog>(*session_, sink_, kAllCategoriesId, project));
  dialogs.push_back(std::make_unique<ImportDialog>(*session_, path, file, sink_));
  dialogs.push_back(std::make_unique<ImportInformationDialog>(path, file));
  dialogs.push_back(std::make_unique<ImportResultsDialog>(summary));
  const std::vector<QString> defaults = {"Export", "Export", "Import", "OK", "Close"};
  for (std::size_t i = 0; i < dialogs.size(); ++i) {
    QDialog& dialog = *dialogs[i];
    SCOPED_TRACE(dialog.windowTitle().toStdString());
    dialog.show();
    std::map<QChar, QString> mnemonics;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
      if (!widget->isVisibleTo(&dialog)) continue;
      // Labels are read by their text; a combo box's or spin box's inner edit by its owner.
      const QWidget* owner = widget->parentWidget();
      if ((widget->focusPolicy() & Qt::TabFocus) && !qobject_cast<QLabel*>(widget) &&
          !qobject_cast<const QComboBox*>(owner) && !owner->inherits("QAbstractSpinBox")) {
        EXPECT_FALSE(widget->accessibleName().isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString();
      }
      QString text;
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
      if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy()) {
        text = label->text();
      }
      const int at = QString(text).replace("&&", "").indexOf('&');
      if (at < 0) continue;
      const QChar key = QString(text).replace("&&", "").at(at + 1).toLower();
      EXPECT_FALSE(mnemonics.contains(key))
          << "&" << QString(key).toStdString() << " in " << text.toStdString() << " and "
          << mnemonics[key].toStdString();
      mnemonics[key] = text;
    }
    QPushButton* main = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->isDefault()) main = button;
    }
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->accessibleName(), defaults[i]);
    dialog.hide();
  }
}

}  // namespace
}  // namespace trawlix::ui::testing
