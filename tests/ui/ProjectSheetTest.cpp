#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <memory>

#include "operations/CategoryOperations.h"
#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "storage/ProjectDefaults.h"
#include "storage/ProjectValidation.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/FolderBrowser.h"
#include "ui/project/ProjectSheet.h"

namespace trawlix::ui {
namespace {

using Page = ProjectSheet::Page;

template <class Widget>
Widget* Find(QWidget& parent, const char* name) {
  auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
  if (widget == nullptr) ADD_FAILURE() << "no control " << name;
  return widget;
}

QLineEdit* Edit(QWidget& w, const char* name) {
  return Find<QLineEdit>(w, name);
}
QCheckBox* Check(QWidget& w, const char* name) {
  return Find<QCheckBox>(w, name);
}

class ProjectSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
    sink_.requests.clear();
    std::filesystem::create_directories(temp_ / "photos" / "Thumbs");
    std::filesystem::create_directories(temp_ / "photos" / "Mobile");
    const auto categories = LoadCategories(*session_);
    ASSERT_TRUE(categories && categories->size() >= 2);
    categories_ = *categories;
  }

  SettingsValues& Settings() { return session_->settings().Values(); }
  std::string Folder(const std::string& name = "") const {
    return (temp_ / "photos" / name).lexically_normal().string();
  }

  // A stored project every check accepts, with every option away from the defaults.
  ProjectsRecord Stored() const {
    ProjectsRecord r;
    r.id = 12;
    r.catId = categories_[1].id;
    r.title = "Harbour Lights";
    r.url = "http://harbour.example/gallery/";
    r.saveTo = Folder();
    r.jpeg = false;
    r.png = true;
    r.gif = true;
    r.bmp = false;
    r.ico = true;
    r.createFolders = true;
    r.searchSubFolders = false;
    r.keywords = "dock, pier";
    r.filterMinimumSize = false;
    r.minimumSize = 777;
    r.autoRename = true;
    r.includePhotoSize = true;
    r.replaceSpaces = true;
    r.padNumbers = false;
    r.padding = 6;
    r.namePrefix = "harbour_";
    r.autoResize = true;
    r.resizeBoundingBox = 2048;
    r.autoConvert = true;
    r.convertToFormat = 3;
    r.autoCreateThumbnails = true;
    r.thumbnailBoundingBox = 120;
    r.thumbnailFormat = 4;
    r.thumbnailSaveTo = Folder("Thumbs");
    r.excludeThumbnailFolder = false;
    r.autoCreateMobile = true;
    r.mobileBoundingBox = 640;
    r.mobileFormat = 1;
    r.mobileSaveTo = Folder("Mobile");
    r.excludeMobileFolder = false;
    r.keywordMustExist = true;
    r.thumbnailOrientation = 2;
    r.mobileOrientation = 1;
    r.tif = true;
    r.orientation = 1;
    r.thumbnailsSaveToLocation = 1;
    r.thumbnailsLocalSaveTo = "T";
    r.thumbnailsExternalSaveTo = "/elsewhere/t";
    r.thumbnailsExternalIncludeTitle = true;
    r.mobileSaveToLocation = 0;
    r.mobileLocalSaveTo = "M";
    r.mobileExternalSaveTo = "/elsewhere/m";
    r.mobileExternalIncludeTitle = false;
    return r;
  }

  std::unique_ptr<ProjectSheet> Open(const ProjectsRecord& record) {
    return std::make_unique<ProjectSheet>(*session_, sink_, record,
                                          QStringLiteral("Edit Project - [x]"));
  }

  testing::TempDir temp_;
  testing::HomeOverride home_{temp_.str()};
  testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
  std::vector<CategoriesRecord> categories_;
};

TEST_F(ProjectSheetTest, OkRefusesTheFirstProblemOnItsPageAndFocusesItsControl) {
  struct Case {
    const char* what;
    Page startOn;  // the page the user is on when pressing OK
    bool autoCreateFolders;
    std::function<void(ProjectSheet&)> edit;
    const char* message;  // nullptr: accepted
    Page page;
    const char* focus;
  };
  const std::string missing = Folder("missing");
  const Case cases[] = {
      {"no category", Page::Convert, true,
       [](ProjectSheet& s) { Find<QComboBox>(s, "category")->setCurrentIndex(-1); },
       kNoCategoryMessage, Page::General, "category"},
      {"blank name before a bad URL", Page::ThumbsMobile, true,
       [](ProjectSheet& s) {
         Edit(s, "title")->setText("   ");
         Edit(s, "url")->setText("harbour.example");
       },
       kNoNameMessage, Page::General, "title"},
      {"blank name before a missing prefix", Page::Convert, true,
       [](ProjectSheet& s) {
         Edit(s, "title")->clear();
         Edit(s, "namePrefix")->clear();
       },
       kNoNameMessage, Page::General, "title"},
      {"URL without scheme", Page::Convert, true,
       [](ProjectSheet& s) { Edit(s, "url")->setText("www.harbour.example/"); }, kBadURLMessage,
       Page::General, "url"},
      {"scheme only", Page::General, true,
       [](ProjectSheet& s) { Edit(s, "url")->setText("http://"); }, kBadURLMessage, Page::General,
       "url"},
      {"https address", Page::General, true,
       [](ProjectSheet& s) { Edit(s, "url")->setText("https://harbour.example/"); }, nullptr,
       Page::General, nullptr},
      {"missing folder, no auto-create", Page::ThumbsMobile, false,
       [&](ProjectSheet& s) { Edit(s, "saveToPath")->setText(QString::fromStdString(missing)); },
       kNoSaveToMessage, Page::General, "saveToPath"},
      {"missing folder is made later", Page::General, true,
       [&](ProjectSheet& s) { Edit(s, "saveToPath")->setText(QString::fromStdString(missing)); },
       nullptr, Page::General, nullptr},
      {"no format", Page::Convert, true,
       [](ProjectSheet& s) {
         for (const char* f : {"jpeg", "png", "gif", "bmp", "tif"}) Check(s, f)->setChecked(false);
       },
       kNoFormatMessage, Page::General, "jpeg"},
      {"renaming without prefix", Page::ThumbsMobile, true,
       [](ProjectSheet& s) { Edit(s, "namePrefix")->clear(); }, kNoPrefixMessage, Page::Convert,
       "namePrefix"},
      {"no prefix while not renaming", Page::General, true,
       [](ProjectSheet& s) {
         Edit(s, "namePrefix")->clear();
         Check(s, "autoRename")->setChecked(false);
       },
       nullptr, Page::General, nullptr},
      {"thumbnails folder missing", Page::General, false,
       [&](ProjectSheet& s) {
         Edit(s, "thumbnailSaveTo")->setText(QString::fromStdString(missing));
         Edit(s, "mobileSaveTo")->setText(QString::fromStdString(missing));
       },
       kNoThumbnailFolderMessage, Page::ThumbsMobile, "thumbnailSaveTo"},
      {"mobile folder missing", Page::Convert, false,
       [&](ProjectSheet& s) { Edit(s, "mobileSaveTo")->clear(); }, kNoMobileFolderMessage,
       Page::ThumbsMobile, "mobileSaveTo"},
      {"missing folder of copies not made", Page::General, false,
       [&](ProjectSheet& s) {
         Edit(s, "mobileSaveTo")->clear();
         Check(s, "mobileCreate")->setChecked(false);
       },
       nullptr, Page::General, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Settings().autoCreateFolders = c.autoCreateFolders ? 1 : 0;
    sink_.requests.clear();
    auto sheet = Open(Stored());
    sheet->setCurrentPage(c.startOn);
    ASSERT_EQ(sheet->currentPage(), c.startOn);
    c.edit(*sheet);
    sheet->accept();
    EXPECT_FALSE(std::filesystem::exists(missing)) << "the sheet makes no folders";
    if (c.message == nullptr) {
      EXPECT_EQ(sheet->result(), QDialog::Accepted);
      EXPECT_TRUE(sink_.requests.empty());
      continue;
    }
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    ASSERT_EQ(sink_.requests.size(), 1u);
    EXPECT_EQ(sink_.requests[0].text, c.message);
    EXPECT_EQ(sink_.requests[0].caption, "Trawlix() PRO");
    EXPECT_EQ(sink_.requests[0].icon, MessageIcon::Information);
    EXPECT_EQ(sheet->currentPage(), c.page);
    ASSERT_NE(sheet->focusWidget(), nullptr);
    EXPECT_EQ(sheet->focusWidget()->objectName().toStdString(), c.focus);
  }
}

TEST_F(ProjectSheetTest, LeavingAPageWithAProblemStaysOnIt) {
  auto sheet = Open(Stored());
  Edit(*sheet, "title")->clear();
  sheet->setCurrentPage(Page::ThumbsMobile);
  EXPECT_EQ(sheet->currentPage(), Page::General);
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{kNoNameMessage});
  EXPECT_EQ(sheet->focusWidget(), Edit(*sheet, "title"));

  Edit(*sheet, "title")->setText("Harbour");
  sheet->setCurrentPage(Page::Convert);
  EXPECT_EQ(sheet->currentPage(), Page::Convert);
  Check(*sheet, "autoRename")->setChecked(true);
  Edit(*sheet, "namePrefix")->clear();
  sheet->setCurrentPage(Page::General);
  EXPECT_EQ(sheet->currentPage(), Page::Convert);
  EXPECT_EQ(sink_.Texts().back(), kNoPrefixMessage);

  // Cancel takes nothing of it.
  sheet->reject();
  EXPECT_EQ(sheet->record(), Stored());
}

TEST_F(ProjectSheetTest, OkHandsBackTheRecordAsOpened) {
  ProjectsRecord noChoices = Stored();
  noChoices.convertToFormat = -1;
  noChoices.thumbnailFormat = -1;
  noChoices.mobileOrientation = -1;
  noChoices.autoCreateThumbnails = false;
  noChoices.thumbnailSaveTo = "";
  ProjectsRecord odd = Stored();
  odd.keywords = "";
  odd.orientation = 7;
  ProjectsRecord mended = odd;
  mended.keywordMustExist = false;  // no keyword could ever be found
  mended.orientation = 0;           // an unknown filter would keep nothing
  const std::pair<ProjectsRecord, ProjectsRecord> cases[] = {
      {Stored(), Stored()}, {noChoices, noChoices}, {odd, mended}};
  for (const auto& [opened, expected] : cases) {
    auto sheet = Open(opened);
    EXPECT_EQ(Check(*sheet, "keywordMustExist")->isEnabled(), !opened.keywords.empty());
    sheet->accept();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(sheet->record(), expected);
  }
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(ProjectSheetTest, ApplyDefaultSettingsResetsOnlyItsPageOptions) {
  SettingsValues& s = Settings();
  s.newJPEG = 1, s.newPNG = 0, s.newGIF = 0, s.newBMP = 1, s.newTIF = false;
  s.newCreateFolders = 0, s.newSearchSubFolders = 1, s.newFilterMinimumSize = true;
  s.newMinimumSize = 123, s.newOrientation = 2;
  s.newAutoRename = 0, s.newIncludePhotoSize = 0, s.newPadNumbers = 1, s.newPadding = 4;
  s.newAutoResize = 0, s.newResizeBoundingBox = 999, s.newAutoConvert = false;
  s.newConvertToFormat = 2;
  s.newAutoCreateThumbnails = 0, s.newThumbnailBoundingBox = 99, s.newThumbnailFormat = 2;
  s.newThumbnailOrientation = 1;
  s.newAutoCreateMobile = 0, s.newMobileBoundingBox = 333, s.newMobileFormat = 0;
  s.newMobileOrientation = 2;
  const ProjectsRecord d = NewProjectRecord(s, {});

  struct Case {
    Page page;
    std::function<void(ProjectsRecord&)> expect;
  };
  const Case cases[] = {
      {Page::General,
       [&](ProjectsRecord& r) {
         r.jpeg = d.jpeg, r.png = d.png, r.gif = d.gif, r.bmp = d.bmp;
         r.tif = d.tif, r.createFolders = d.createFolders;
         r.searchSubFolders = d.searchSubFolders;
         r.filterMinimumSize = d.filterMinimumSize, r.minimumSize = d.minimumSize;
         r.orientation = d.orientation;
       }},
      {Page::Convert,
       [&](ProjectsRecord& r) {
         r.autoRename = d.autoRename, r.includePhotoSize = d.includePhotoSize;
         r.padNumbers = d.padNumbers, r.padding = d.padding;
         r.autoResize = d.autoResize, r.resizeBoundingBox = d.resizeBoundingBox;
         r.autoConvert = d.autoConvert, r.convertToFormat = d.convertToFormat;
       }},
      {Page::ThumbsMobile,
       [&](ProjectsRecord& r) {
         r.autoCreateThumbnails = d.autoCreateThumbnails;
         r.thumbnailBoundingBox = d.thumbnailBoundingBox;
         r.thumbnailFormat = d.thumbnailFormat;
         r.thumbnailOrientation = d.thumbnailOrientation;
         r.excludeThumbnailFolder = d.excludeThumbnailFolder;
         r.autoCreateMobile = d.autoCreateMobile;
         r.mobileBoundingBox = d.mobileBoundingBox;
         r.mobileFormat = d.mobileFormat;
         r.mobileOrientation = d.mobileOrientation;
         r.excludeMobileFolder = d.excludeMobileFolder;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.page));
    auto sheet = Open(Stored());
    sheet->setCurrentPage(c.page);
    auto* tabs = Find<QTabWidget>(*sheet, "pages");
    Find<QPushButton>(*tabs->currentWidget(), "applyDefaults")->click();
    sheet->accept();
    ASSERT_EQ(sheet->result(), QDialog::Accepted) << ::testing::PrintToString(sink_.Texts());
    ProjectsRecord expected = Stored();
    c.expect(expected);
    EXPECT_EQ(sheet->record(), expected);
  }
}

TEST_F(ProjectSheetTest, NewProjectFolderFollowsTheTitleAndOkCompletesIt) {
  Settings().defaultSaveTo = Folder();
  Settings().useProjectNameForSaveTo = true;
  Settings().newAutoCreateThumbnails = true;
  const ProjectsRecord fresh = NewProjectRecord(Settings(), categories_);
  ProjectSheet sheet(*session_, sink_, fresh, QStringLiteral("New Trawlix() PRO Project"));
  EXPECT_EQ(sheet.windowTitle(), QStringLiteral("New Trawlix() PRO Project"));
  EXPECT_EQ(sheet.focusWidget(), Edit(sheet, "title"));

  QLineEdit* saveTo = Edit(sheet, "saveToPath");
  Edit(sheet, "title")->setText("Night Sky");
  EXPECT_EQ(saveTo->text().toStdString(), DefaultSaveTo(Settings(), "Night Sky"));
  Edit(sheet, "title")->setText("Night Skies");
  EXPECT_EQ(saveTo->text().toStdString(), DefaultSaveTo(Settings(), "Night Skies"));
  Edit(sheet, "url")->setText("http://sky.example/");
  // Leaving the pages uses the defaults the project will get: no prefix or folder is asked.
  sheet.setCurrentPage(Page::Convert);
  sheet.setCurrentPage(Page::ThumbsMobile);
  sheet.setCurrentPage(Page::General);
  EXPECT_TRUE(sink_.requests.empty()) << ::testing::PrintToString(sink_.Texts());

  sheet.accept();
  ASSERT_EQ(sheet.result(), QDialog::Accepted) << ::testing::PrintToString(sink_.Texts());
  ProjectsRecord expected = fresh;
  expected.title = "Night Skies";
  expected.url = "http://sky.example/";
  expected.saveTo = DefaultSaveTo(Settings(), "Night Skies");
  CompleteNewProject(expected, Settings());
  EXPECT_EQ(expected.namePrefix, "Night_Skies_");
  EXPECT_EQ(sheet.record(), expected);

  // A folder the user typed stays put.
  ProjectSheet typed(*session_, sink_, fresh, QString());
  Edit(typed, "saveToPath")->setText("/my/own");
  Edit(typed, "title")->setText("Comets");
  EXPECT_EQ(Edit(typed, "saveToPath")->text(), QStringLiteral("/my/own"));
}

TEST_F(ProjectSheetTest, CategoriesManagedFromTheSheetRefillTheListKeepingTheChoice) {
  auto sheet = Open(Stored());
  auto* combo = Find<QComboBox>(*sheet, "category");
  EXPECT_EQ(combo->count(), static_cast<int>(categories_.size()));
  int calls = 0;
  sheet->SetManageCategories([&](QWidget* parent) {
    ++calls;
    EXPECT_EQ(parent, sheet.get());
    return calls == 2 && AddCategory(*session_, "Aardvarks").Done();
  });
  auto* manage = Find<QToolButton>(*sheet, "manageCategories");
  manage->click();
  EXPECT_FALSE(sheet->categoriesChanged());
  manage->click();
  EXPECT_TRUE(sheet->categoriesChanged());
  EXPECT_EQ(combo->count(), static_cast<int>(categories_.size()) + 1);
  EXPECT_EQ(combo->itemText(0), QStringLiteral("Aardvarks"));
  EXPECT_EQ(combo->currentData().toInt(), Stored().catId);
}

TEST_F(ProjectSheetTest, PasteFollowsTheClipboardAndBrowseTakesTheChosenFolder) {
  auto sheet = Open(Stored());
  QClipboard* clipboard = QGuiApplication::clipboard();
  auto* paste = Find<QToolButton>(*sheet, "pasteURL");
  clipboard->setText(QString());
  EXPECT_FALSE(paste->isEnabled());
  clipboard->setText(QStringLiteral("  https://pasted.example/a/  "));
  ASSERT_TRUE(paste->isEnabled());
  paste->click();
  EXPECT_EQ(Edit(*sheet, "url")->text(), QStringLiteral("https://pasted.example/a/"));

  auto* browser = Find<FolderBrowser>(*sheet, "thumbnailFolder");
  QString askedTitle;
  browser->SetChooser([&](QWidget*, const QString& title, const QString&) {
    askedTitle = title;
    return QStringLiteral("/chosen/thumbs");
  });
  browser->button()->click();
  EXPECT_EQ(askedTitle, QStringLiteral("Choose Folder to Save Thumbnails."));
  EXPECT_EQ(browser->path(), QStringLiteral("/chosen/thumbs"));
}

TEST_F(ProjectSheetTest, EveryControlHasAnAccessibleName) {
  auto sheet = Open(Stored());
  for (QWidget* w : sheet->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QSpinBox*>(w) || qobject_cast<QToolButton*>(w) ||
                         qobject_cast<QPushButton*>(w);
    if (!control || w->objectName().startsWith(QLatin1String("qt_"))) continue;
    if (qobject_cast<QTabBar*>(w->parentWidget())) continue;  // the tab bar's scroll arrows
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
  }
}

}  // namespace
}  // namespace trawlix::ui
