#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <fstream>
#include <memory>

#include "operations/DataSession.h"
#include "operations/OptionsSchema.h"
#include "operations/ScanPreferences.h"
#include "settings/UserAgent.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/FolderBrowser.h"
#include "ui/options/OptionsExchangePage.h"
#include "ui/options/OptionsGeneralPage.h"
#include "ui/options/OptionsNewProjectPage.h"
#include "ui/options/OptionsScanningPage.h"
#include "ui/options/OptionsSheet.h"
#include "ui/window/AboutSheet.h"

namespace trawlix::ui {
namespace {

constexpr int kGeneralPage = 0;
constexpr int kScanningPage = 1;
const char* const kInvalidLocation = kInvalidSaveToMessage;
const char* const kNoCustomAgent = kNoCustomUserAgentMessage;

class OptionsSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
    std::filesystem::create_directories(temp_ / "photos");
    Values().defaultSaveTo = (temp_ / "photos").string();
    sink_.requests.clear();
  }

  SettingsValues& Values() { return session_->settings().Values(); }

  std::unique_ptr<OptionsSheet> Open() {
    auto sheet = std::make_unique<OptionsSheet>(session_->settings(), sink_);
    sheet->show();
    return sheet;
  }

  // OK pressed: whether the sheet closed with the values.
  static bool Confirm(OptionsSheet& sheet) {
    sheet.accept();
    return sheet.result() == QDialog::Accepted && !sheet.isVisible();
  }

  static void ChooseAgent(OptionsSheet& sheet, int index, const QString& text = {}) {
    sheet.scanningPage()->userAgentCombo()->setCurrentIndex(index);
    if (!text.isNull()) sheet.scanningPage()->customUserAgentEdit()->setText(text);
  }
  static int CustomIndex(OptionsSheet& sheet) {
    return sheet.scanningPage()->userAgentCombo()->count() - 1;
  }

  testing::TempDir temp_;
  testing::HomeOverride home_{temp_.str()};
  testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
};

// Every value the pages edit, away from its default, comes back unchanged through OK.
TEST_F(OptionsSheetTest, OkHandsBackEveryValueAsOpened) {
  const std::string folder = Values().defaultSaveTo;
  SettingsValues changed = Values();
  changed.userAgent = UserAgentList()[4].userAgent;
  changed.scanPriority = 15;
  changed.thumbnailView = 9;
  changed.showTooltips = false;
  changed.confirmDeletePhotos = false;
  changed.startupCategory = "Models";
  changed.newProjectCategory = "Actresses";
  changed.confirmDeleteHistory = false;
  changed.reloadViewerAfterChanges = false;
  changed.useProjectNameForSaveTo = false;
  changed.autoCreateFolders = false;
  changed.confirmDeleteProjects = false;
  changed.thumbnailsFolderName = "Small";
  changed.mobileFolderName = "Phone";
  changed.jpegQuality = 42;
  changed.noCachePhotos = false;
  changed.newJPEG = false;
  changed.newPNG = changed.newGIF = changed.newBMP = changed.newTIF = true;
  changed.newCreateFolders = true;
  changed.newSearchSubFolders = false;
  changed.newMinimumSize = 777;
  changed.newAutoRename = false;
  changed.newIncludePhotoSize = true;
  changed.newPadNumbers = false;
  changed.newPadding = 7;
  changed.newAutoResize = true;
  changed.newResizeBoundingBox = 2048;
  changed.newAutoConvert = true;
  changed.newConvertToFormat = 3;
  changed.newAutoCreateThumbnails = true;
  changed.newThumbnailBoundingBox = 128;
  changed.newThumbnailFormat = 4;
  changed.newAutoCreateMobile = true;
  changed.newMobileBoundingBox = 640;
  changed.newMobileFormat = 1;
  changed.newOrientation = 2;
  changed.displayScanResults = false;
  changed.restoreWindowAfterScan = false;
  changed.confirmExitWhileScanning = false;
  changed.connectionTimeout = 30;
  changed.historyOnlySuccessfulScans = true;
  changed.autoFollow = false;
  changed.confirmDeleteProjectLinks = false;
  changed.exporterName = "Ann Example";
  changed.exporterEmail = "ann@example.com";
  changed.exporterWebsite = "https://example.com/ann";
  changed.exportIncludeInfo = true;
  changed.exportIncludeCategory = false;
  changed.importCategory = "Models";
  changed.pasteAndGo = true;
  changed.filesToIgnore = "a.jpg, b_thumb";
  changed.twoPassScanning = true;
  changed.setPhotoDpi = false;
  changed.photoDpi = 300;
  changed.importUseProjectCategory = true;
  changed.importDuplicateAction = 2;
  changed.exportUseLogo = true;
  changed.viewerDoubleClick = 3;
  changed.newThumbnailOrientation = 1;
  changed.newThumbnailsSaveToLocation = 1;
  changed.newThumbnailsExternalSaveTo = folder + "/thumbs";
  changed.newThumbnailsExternalIncludeTitle = false;
  changed.newMobileOrientation = 2;
  changed.newMobileSaveToLocation = 1;
  changed.newMobileExternalSaveTo = folder + "/mobile";
  changed.newMobileExternalIncludeTitle = false;
  changed.deleteDerivedOnRescan = true;
  changed.duplicateNameAction = 3;
  changed.rememberLastProject = true;
  changed.viewerDropShadow = true;
  changed.newFilterMinimumSize = false;
  SettingsValues custom = Values();
  custom.customUserAgent = true;
  custom.userAgent = "MyBot/2.0 (+https://example.com/bot)";

  for (const SettingsValues& values : {Values(), changed, custom}) {
    Values() = values;
    auto sheet = Open();
    ASSERT_TRUE(Confirm(*sheet)) << ::testing::PrintToString(sink_.Texts());
    EXPECT_EQ(sheet->values(), values);
  }
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(OptionsSheetTest, CancelHandsBackNothing) {
  auto sheet = Open();
  sheet->scanningPage()->qualitySlider()->setValue(10);
  sheet->generalPage()->saveToEdit()->clear();
  sheet->reject();
  EXPECT_EQ(sheet->values(), Values());
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(OptionsSheetTest, EachListedAgentStoresItsOwnString) {
  const auto agents = UserAgentList();
  for (std::size_t i = 0; i < agents.size(); ++i) {
    auto sheet = Open();
    // The custom box starts with another text: a list entry must not take it over.
    ChooseAgent(*sheet, CustomIndex(*sheet), QStringLiteral("Typed/1.0"));
    ChooseAgent(*sheet, static_cast<int>(i));
    EXPECT_FALSE(sheet->scanningPage()->customUserAgentEdit()->isEnabled());
    ASSERT_TRUE(Confirm(*sheet)) << agents[i].name;
    EXPECT_EQ(sheet->values().userAgent, agents[i].userAgent) << agents[i].name;
    EXPECT_EQ(sheet->values().customUserAgent, 0) << agents[i].name;
  }
}

struct AgentOpening {
  const char* name;
  int custom;
  std::string stored;
  int expectedIndex;  // -1: the custom entry
  bool boxEnabled;
};

TEST_F(OptionsSheetTest, OpeningSelectsTheStoredAgent) {
  const auto agents = UserAgentList();
  const AgentOpening cases[] = {
      {"listed", 0, agents[7].userAgent, 7, false},
      {"custom", 1, "MyBot/1.0", -1, true},
      {"custom flag with a listed string", 1, agents[2].userAgent, -1, true},
      {"unknown string", 0, "Unknown/0.1", 0, false},
  };
  for (const AgentOpening& c : cases) {
    Values().customUserAgent = c.custom;
    Values().userAgent = c.stored;
    auto sheet = Open();
    QComboBox* combo = sheet->scanningPage()->userAgentCombo();
    const int expected = c.expectedIndex < 0 ? CustomIndex(*sheet) : c.expectedIndex;
    EXPECT_EQ(combo->currentIndex(), expected) << c.name;
    EXPECT_EQ(sheet->scanningPage()->customUserAgentEdit()->isEnabled(), c.boxEnabled) << c.name;
    if (c.custom) {
      EXPECT_EQ(sheet->scanningPage()->customUserAgentEdit()->text().toStdString(), c.stored)
          << c.name;
    }
  }
  EXPECT_EQ(UserAgentList().size() + 1, 14u);
}

TEST_F(OptionsSheetTest, EmptyCustomAgentCannotBeConfirmedNorLeft) {
  for (const QString& text : {QString(""), QString("   ")}) {
    auto sheet = Open();
    sink_.requests.clear();
    ChooseAgent(*sheet, CustomIndex(*sheet), text);
    sheet->tabs()->setCurrentIndex(kScanningPage);

    // Leaving the page is refused and brings it back.
    sheet->tabs()->setCurrentIndex(kGeneralPage);
    EXPECT_EQ(sheet->tabs()->currentIndex(), kScanningPage);
    // So is OK, from any page.
    EXPECT_FALSE(Confirm(*sheet));
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->tabs()->currentIndex(), kScanningPage);
    EXPECT_EQ(sheet->focusWidget(), sheet->scanningPage()->customUserAgentEdit());
    EXPECT_EQ(sink_.Texts(), (std::vector<std::string>{kNoCustomAgent, kNoCustomAgent}));
    for (const MessageRequest& request : sink_.requests) {
      EXPECT_EQ(request.caption, "Trawlix() PRO");
      EXPECT_EQ(request.icon, MessageIcon::Information);
    }

    // Typed text (trimmed) is what is sent.
    sheet->scanningPage()->customUserAgentEdit()->setText(QStringLiteral("  MyBot/1.0  "));
    ASSERT_TRUE(Confirm(*sheet));
    EXPECT_EQ(sheet->values().userAgent, "MyBot/1.0");
    EXPECT_EQ(sheet->values().customUserAgent, 1);
  }
}

TEST_F(OptionsSheetTest, InvalidDefaultLocationIsRefused) {
  const std::string file = (temp_ / "photos" / "note.txt").string();
  std::ofstream(file) << "x";
  for (const std::string& location : {std::string(), (temp_ / "missing").string(), file}) {
    Values().defaultSaveTo = location;
    auto sheet = Open();
    sink_.requests.clear();
    sheet->tabs()->setCurrentIndex(kScanningPage);
    EXPECT_EQ(sheet->tabs()->currentIndex(), kGeneralPage) << location;

    sheet->tabs()->setCurrentIndex(kGeneralPage);
    EXPECT_FALSE(Confirm(*sheet)) << location;
    EXPECT_EQ(sheet->tabs()->currentIndex(), kGeneralPage);
    EXPECT_EQ(sheet->focusWidget(), sheet->generalPage()->saveToEdit());
    EXPECT_EQ(sink_.Texts(), (std::vector<std::string>{kInvalidLocation, kInvalidLocation}));

    const QString folder = QString::fromStdString((temp_ / "photos").string());
    sheet->generalPage()->saveToEdit()->setText(folder);
    ASSERT_TRUE(Confirm(*sheet));
    EXPECT_EQ(sheet->values().defaultSaveTo, folder.toStdString());
  }
}

// A new account without a Pictures folder: the default location is made, not refused.
TEST_F(OptionsSheetTest, AMissingPicturesFolderIsMadeAndTheSheetCanBeLeft) {
  const std::filesystem::path pictures = temp_ / "Pictures";
  ASSERT_FALSE(std::filesystem::exists(pictures));
  Values().defaultSaveTo = pictures.string();
  auto sheet = Open();
  sink_.requests.clear();
  sheet->tabs()->setCurrentIndex(kScanningPage);
  EXPECT_EQ(sheet->tabs()->currentIndex(), kScanningPage);
  EXPECT_TRUE(sink_.requests.empty()) << sink_.Texts().front();
  EXPECT_TRUE(std::filesystem::is_directory(pictures));
  EXPECT_TRUE(Confirm(*sheet));
}

TEST_F(OptionsSheetTest, OnlyAUsableCookiesFileIsKept) {
  const std::string cookies = (temp_ / "cookies.txt").string();
  std::ofstream(cookies) << "127.0.0.1\tFALSE\t/\tFALSE\t0\tsession\tabc\n";
  const std::string page = (temp_ / "saved.html").string();
  std::ofstream(page) << "<html>not cookies</html>";
  const auto choose = [](FolderBrowser* browser, const std::string& path) {
    browser->SetChooser(
        [path](QWidget*, const QString&, const QString&) { return QString::fromStdString(path); });
    browser->Browse();
  };

  auto sheet = Open();
  FolderBrowser* browser = sheet->scanningPage()->cookiesFileBrowser();
  choose(browser, page);
  EXPECT_FALSE(Confirm(*sheet));
  EXPECT_EQ(sheet->focusWidget(), browser->edit());
  ASSERT_FALSE(sink_.Texts().empty());
  EXPECT_NE(sink_.Texts().back().find("holds no cookie"), std::string::npos)
      << sink_.Texts().back();
  choose(browser, cookies);
  ASSERT_TRUE(Confirm(*sheet));
  EXPECT_EQ(CookiesFile(), cookies);

  // Emptied, scans send no cookies of the user's.
  auto again = Open();
  EXPECT_EQ(again->scanningPage()->cookiesFileBrowser()->path().toStdString(), cookies);
  again->scanningPage()->cookiesFileBrowser()->setPath(QString());
  ASSERT_TRUE(Confirm(*again));
  EXPECT_EQ(CookiesFile(), "");
}

TEST_F(OptionsSheetTest, ResolutionBoxFollowsItsCheckBox) {
  for (const int stored : {0, 1}) {
    Values().setPhotoDpi = stored;
    auto sheet = Open();
    QCheckBox* check = sheet->scanningPage()->setDpiCheck();
    QSpinBox* dpi = sheet->scanningPage()->dpiSpin();
    EXPECT_EQ(dpi->isEnabled(), stored == 1);
    check->click();
    EXPECT_EQ(dpi->isEnabled(), stored == 0);
    check->click();
    EXPECT_EQ(dpi->isEnabled(), stored == 1);
  }
}

TEST_F(OptionsSheetTest, SlidersShowTheirChoice) {
  auto sheet = Open();
  OptionsScanningPage* page = sheet->scanningPage();
  EXPECT_EQ(page->qualityLabel()->text(), QStringLiteral("95%"));
  EXPECT_EQ(page->qualitySlider()->pageStep(), 5);
  const std::pair<int, const char*> priorities[] = {
      {0, "Lowest"}, {2, "Normal"}, {5, "Time Critical"}};
  for (const auto& [position, name] : priorities) {
    page->prioritySlider()->setValue(position);
    EXPECT_EQ(page->priorityLabel()->text(), QString::fromLatin1(name));
  }
  page->qualitySlider()->setValue(7);
  EXPECT_EQ(page->qualityLabel()->text(), QStringLiteral("7%"));
  ASSERT_TRUE(Confirm(*sheet));
  EXPECT_EQ(sheet->values().scanPriority, 15);
  EXPECT_EQ(sheet->values().jpegQuality, 7);
}

TEST_F(OptionsSheetTest, OnlyAReadablePictureBecomesTheNewLogo) {
  const std::string picture = (temp_ / "logo.png").string();
  QImage image(300, 120, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  ASSERT_TRUE(image.save(QString::fromStdString(picture)));
  const std::string notPicture = (temp_ / "logo.jpg").string();
  std::ofstream(notPicture) << "plain text";

  auto sheet = Open();
  EXPECT_EQ(sheet->newLogoPath(), std::nullopt);
  EXPECT_FALSE(sheet->exchangePage()->chooseLogo(QString::fromStdString(notPicture)));
  EXPECT_EQ(sheet->newLogoPath(), std::nullopt);
  EXPECT_TRUE(sheet->exchangePage()->chooseLogo(QString::fromStdString(picture)));
  // A later unreadable choice keeps the good one.
  EXPECT_FALSE(sheet->exchangePage()->chooseLogo(QString::fromStdString(notPicture)));
  ASSERT_TRUE(Confirm(*sheet));
  EXPECT_EQ(sheet->newLogoPath(), picture);
}

// The sheet's number fields are the schema's options with the schema's limits, so the
// command line accepts exactly what the sheet can hold.
TEST_F(OptionsSheetTest, EveryNumberFieldHasTheSchemasRange) {
  auto sheet = Open();
  std::vector<QAbstractSlider*> sliders;
  for (QSlider* slider : sheet->findChildren<QSlider*>()) {
    // The priority slider walks the list of levels; the schema lists their values.
    if (slider->accessibleName() != QStringLiteral("Scanning Priority")) sliders.push_back(slider);
  }
  std::vector<std::pair<QWidget*, std::pair<int, int>>> fields;
  for (QSpinBox* spin : sheet->findChildren<QSpinBox*>()) {
    fields.push_back({spin, {spin->minimum(), spin->maximum()}});
  }
  for (QAbstractSlider* slider : sliders) {
    fields.push_back({slider, {slider->minimum(), slider->maximum()}});
  }
  EXPECT_EQ(fields.size(), 10u);
  for (const auto& [field, range] : fields) {
    const std::string name = field->objectName().toStdString();
    const OptionRule* rule = FindOption(name);
    ASSERT_NE(rule, nullptr) << field->accessibleName().toStdString() << " is no option";
    EXPECT_EQ(range, std::make_pair(rule->low, rule->high)) << name;
  }
}

// Screen readers name every control the keyboard reaches.
TEST_F(OptionsSheetTest, EveryControlHasAnAccessibleName) {
  auto sheet = Open();
  for (QWidget* page :
       {static_cast<QWidget*>(sheet->generalPage()), static_cast<QWidget*>(sheet->scanningPage()),
        static_cast<QWidget*>(sheet->newProjectPage()),
        static_cast<QWidget*>(sheet->exchangePage())}) {
    for (QWidget* control : page->findChildren<QWidget*>()) {
      // Parts of combo and spin boxes (and combo pop-ups) speak for their owner.
      const bool inner = control->window() != sheet.get() ||
                         qobject_cast<QComboBox*>(control->parentWidget()) ||
                         qobject_cast<QAbstractSpinBox*>(control->parentWidget());
      if (inner || !(control->focusPolicy() & Qt::TabFocus)) continue;
      EXPECT_FALSE(control->accessibleName().trimmed().isEmpty())
          << control->metaObject()->className() << " on " << page->metaObject()->className();
      EXPECT_FALSE(control->accessibleName().contains(u'&') &&
                   !control->accessibleName().contains(QStringLiteral(" & ")))
          << control->accessibleName().toStdString();
    }
  }
}

TEST_F(OptionsSheetTest, AboutSheetShowsTheDatabaseTotals) {
  AboutSheet about(*session_);
  const std::pair<const char*, const char*> expected[] = {
      {"Categories", "4"},
      {"Projects", "3"},
      {"Scanning Sessions", "0"},
      {"Average # Saved Photos per Project", "0"}};
  for (const auto& [name, value] : expected) {
    QLabel* found = nullptr;
    for (QLabel* label : about.findChildren<QLabel*>()) {
      if (label->accessibleName() == QLatin1String(name)) found = label;
    }
    ASSERT_NE(found, nullptr) << name;
    EXPECT_EQ(found->text(), QString::fromLatin1(value)) << name;
  }
  EXPECT_EQ(about.tabs()->count(), 3);
}

}  // namespace
}  // namespace trawlix::ui
