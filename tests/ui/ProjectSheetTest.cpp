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
#include "ui/ProjectSheet.h"

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
  CProjectsRecord Stored() const {
    CProjectsRecord r;
    r.m_nId = 12;
    r.m_nCatId = categories_[1].m_lId;
    r.m_lpszTitle = "Harbour Lights";
    r.m_lpszURL = "http://harbour.example/gallery/";
    r.m_lpszSaveTo = Folder();
    r.m_nJPEG = 0;
    r.m_nPNG = 1;
    r.m_nGIF = 1;
    r.m_nBMP = 0;
    r.m_nICO = 1;
    r.m_nCreateFolders = 1;
    r.m_nSearchSubFolders = 0;
    r.m_lpszKeywords = "dock, pier";
    r.m_nFilterMinimumSize = 0;
    r.m_nMinimumSize = 777;
    r.m_nAutoRename = 1;
    r.m_nIncludePhotoSize = 1;
    r.m_nReplaceSpaces = 1;
    r.m_nPadNumbers = 0;
    r.m_nPadding = 6;
    r.m_lpszNamePrefix = "harbour_";
    r.m_nAutoResize = 1;
    r.m_nResizeBoundingBox = 2048;
    r.m_nAutoConvert = 1;
    r.m_nConvertToFormat = 3;
    r.m_nAutoCreateThumbnails = 1;
    r.m_nThumbnailBoundingBox = 120;
    r.m_nThumbnailFormat = 4;
    r.m_lpszThumbnailSaveTo = Folder("Thumbs");
    r.m_nExcludeThumbnailFolder = 0;
    r.m_nAutoCreateMobile = 1;
    r.m_nMobileBoundingBox = 640;
    r.m_nMobileFormat = 1;
    r.m_lpszMobileSaveTo = Folder("Mobile");
    r.m_nExcludeMobileFolder = 0;
    r.m_nKeywordMustExist = 1;
    r.m_nThumbnailOrientation = 2;
    r.m_nMobileOrientation = 1;
    r.m_nTIF = 1;
    r.m_nOrientation = 1;
    r.m_nThumbnailsSaveToLocation = 1;
    r.m_lpszThumbnailsLocalSaveTo = "T";
    r.m_lpszThumbnailsExternalSaveTo = "/elsewhere/t";
    r.m_nThumbnailsExternalIncludeTitle = 1;
    r.m_nMobileSaveToLocation = 0;
    r.m_lpszMobileLocalSaveTo = "M";
    r.m_lpszMobileExternalSaveTo = "/elsewhere/m";
    r.m_nMobileExternalIncludeTitle = 0;
    return r;
  }

  std::unique_ptr<ProjectSheet> Open(const CProjectsRecord& record) {
    return std::make_unique<ProjectSheet>(*session_, sink_, record,
                                          QStringLiteral("Edit Project - [x]"));
  }

  testing::TempDir temp_;
  testing::HomeOverride home_{temp_.str()};
  testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
  std::vector<CCategoriesRecord> categories_;
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
  CProjectsRecord noChoices = Stored();
  noChoices.m_nConvertToFormat = -1;
  noChoices.m_nThumbnailFormat = -1;
  noChoices.m_nMobileOrientation = -1;
  noChoices.m_nAutoCreateThumbnails = 0;
  noChoices.m_lpszThumbnailSaveTo = "";
  CProjectsRecord odd = Stored();
  odd.m_lpszKeywords = "";
  odd.m_nOrientation = 7;
  CProjectsRecord mended = odd;
  mended.m_nKeywordMustExist = 0;  // no keyword could ever be found
  mended.m_nOrientation = 0;       // an unknown filter would keep nothing
  const std::pair<CProjectsRecord, CProjectsRecord> cases[] = {
      {Stored(), Stored()}, {noChoices, noChoices}, {odd, mended}};
  for (const auto& [opened, expected] : cases) {
    auto sheet = Open(opened);
    EXPECT_EQ(Check(*sheet, "keywordMustExist")->isEnabled(), !opened.m_lpszKeywords.empty());
    sheet->accept();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(sheet->record(), expected);
  }
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(ProjectSheetTest, ApplyDefaultSettingsResetsOnlyItsPageOptions) {
  SettingsValues& s = Settings();
  s.newJPEG = 1, s.newPNG = 0, s.newGIF = 0, s.newBMP = 1, s.newTIF = 0;
  s.newCreateFolders = 0, s.newSearchSubFolders = 1, s.newFilterMinimumSize = 1;
  s.newMinimumSize = 123, s.newOrientation = 2;
  s.newAutoRename = 0, s.newIncludePhotoSize = 0, s.newPadNumbers = 1, s.newPadding = 4;
  s.newAutoResize = 0, s.newResizeBoundingBox = 999, s.newAutoConvert = 0;
  s.newConvertToFormat = 2;
  s.newAutoCreateThumbnails = 0, s.newThumbnailBoundingBox = 99, s.newThumbnailFormat = 2;
  s.newThumbnailOrientation = 1;
  s.newAutoCreateMobile = 0, s.newMobileBoundingBox = 333, s.newMobileFormat = 0;
  s.newMobileOrientation = 2;
  const CProjectsRecord d = NewProjectRecord(s, {});

  struct Case {
    Page page;
    std::function<void(CProjectsRecord&)> expect;
  };
  const Case cases[] = {
      {Page::General,
       [&](CProjectsRecord& r) {
         r.m_nJPEG = d.m_nJPEG, r.m_nPNG = d.m_nPNG, r.m_nGIF = d.m_nGIF, r.m_nBMP = d.m_nBMP;
         r.m_nTIF = d.m_nTIF, r.m_nCreateFolders = d.m_nCreateFolders;
         r.m_nSearchSubFolders = d.m_nSearchSubFolders;
         r.m_nFilterMinimumSize = d.m_nFilterMinimumSize, r.m_nMinimumSize = d.m_nMinimumSize;
         r.m_nOrientation = d.m_nOrientation;
       }},
      {Page::Convert,
       [&](CProjectsRecord& r) {
         r.m_nAutoRename = d.m_nAutoRename, r.m_nIncludePhotoSize = d.m_nIncludePhotoSize;
         r.m_nPadNumbers = d.m_nPadNumbers, r.m_nPadding = d.m_nPadding;
         r.m_nAutoResize = d.m_nAutoResize, r.m_nResizeBoundingBox = d.m_nResizeBoundingBox;
         r.m_nAutoConvert = d.m_nAutoConvert, r.m_nConvertToFormat = d.m_nConvertToFormat;
       }},
      {Page::ThumbsMobile,
       [&](CProjectsRecord& r) {
         r.m_nAutoCreateThumbnails = d.m_nAutoCreateThumbnails;
         r.m_nThumbnailBoundingBox = d.m_nThumbnailBoundingBox;
         r.m_nThumbnailFormat = d.m_nThumbnailFormat;
         r.m_nThumbnailOrientation = d.m_nThumbnailOrientation;
         r.m_nExcludeThumbnailFolder = d.m_nExcludeThumbnailFolder;
         r.m_nAutoCreateMobile = d.m_nAutoCreateMobile;
         r.m_nMobileBoundingBox = d.m_nMobileBoundingBox;
         r.m_nMobileFormat = d.m_nMobileFormat;
         r.m_nMobileOrientation = d.m_nMobileOrientation;
         r.m_nExcludeMobileFolder = d.m_nExcludeMobileFolder;
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
    CProjectsRecord expected = Stored();
    c.expect(expected);
    EXPECT_EQ(sheet->record(), expected);
  }
}

TEST_F(ProjectSheetTest, NewProjectFolderFollowsTheTitleAndOkCompletesIt) {
  Settings().defaultSaveTo = Folder();
  Settings().useProjectNameForSaveTo = 1;
  Settings().newAutoCreateThumbnails = 1;
  const CProjectsRecord fresh = NewProjectRecord(Settings(), categories_);
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
  CProjectsRecord expected = fresh;
  expected.m_lpszTitle = "Night Skies";
  expected.m_lpszURL = "http://sky.example/";
  expected.m_lpszSaveTo = DefaultSaveTo(Settings(), "Night Skies");
  CompleteNewProject(expected, Settings());
  EXPECT_EQ(expected.m_lpszNamePrefix, "Night_Skies_");
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
  EXPECT_EQ(combo->currentData().toInt(), Stored().m_nCatId);
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
