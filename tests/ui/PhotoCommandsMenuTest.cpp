#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <fstream>
#include <iterator>
#include <memory>

#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/PhotoCodec.h"
#include "operations/DataSession.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/viewer/PhotoCommandsMenu.h"
#include "ui/viewer/PhotoPropertiesDialog.h"

namespace trawlix::ui::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class RecordingRunner : public DesktopCommandRunner {
 public:
  int Run(const DesktopCommand& command, std::string* /*output*/) override {
    commands.push_back(command);
    return status;
  }
  std::vector<DesktopCommand> commands;
  int status = 0;
};

class PhotoCommandsMenuTest : public ::testing::Test {
 protected:
  PhotoCommandsMenuTest() : home_(temp_.str()) {
    InitImaging();
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    EXPECT_NE(session_, nullptr) << error;
    fs::create_directories(temp_ / "photos");
    commands_ = std::make_unique<PhotoCommandsMenu>(*session_, sink_, &parent_);
    commands_->SetCommandRunner(runner_);
    commands_->SetLauncher([this](const DesktopCommand& command) {
      launched_.push_back(command);
      return true;
    });
    commands_->SetApplicationFolders({});
  }

  std::string Photo(const std::string& name, int width = 40, int height = 20) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < width * height; ++i) {
      pixels.insert(pixels.end(), {static_cast<std::uint8_t>(i % 251), 90, 200});
    }
    const std::string bmp = (temp_ / "source.bmp").string();
    std::ofstream(bmp, std::ios::binary) << bmp::EncodeBmp(pixels.data(), width, height, 3, 0, 0);
    const std::string folder = (temp_ / "photos").string();
    EXPECT_TRUE(
        SavePhotoAs(bmp, folder, name, std::nullopt, PhotoEncoding(PhotoFormatFromPath(name)))
            .written);
    return folder + "/" + name;
  }

  // The viewer's photos, current the one at `current`.
  void Show(const std::vector<std::string>& names, int current) {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back((temp_ / "photos" / name).string());
    commands_->SetPhotos(paths, current);
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const std::string& path : commands_->photos()) {
      names.push_back(fs::path(path).filename().string());
    }
    return names;
  }

  trawlix::testing::TempDir temp_;
  trawlix::testing::HomeOverride home_;
  trawlix::testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
  QWidget parent_;
  RecordingRunner runner_;
  std::vector<DesktopCommand> launched_;
  std::unique_ptr<PhotoCommandsMenu> commands_;
};

TEST_F(PhotoCommandsMenuTest, MenuOffersTheCommandsInOrderAndNeedsAPhoto) {
  QStringList texts;
  for (const QAction* action : commands_->menu()->actions()) {
    if (!action->isSeparator()) texts << action->text();
  }
  EXPECT_EQ(texts,
            (QStringList{"View Photo", "Edit Photo", "E-mail Photo", "Delete Photo",
                         "Rotate Right 90º", "Mirror Photo", "Flip Top-Bottom",
                         "Convert to Grayscale", "Copy Photo to...", "Copy Photo to Clipboard",
                         "Copy Photo Path to Clipboard", "Set Desktop Background",
                         "Clear Desktop Background", "Open Containing Folder", "Properties"}));
  QStringList styles;
  for (const QAction* action : commands_->menu()->actions()) {
    if (action->menu() == nullptr) continue;
    for (const QAction* style : action->menu()->actions()) styles << style->text();
  }
  EXPECT_EQ(styles,
            (QStringList{"Tiled", "Stretched", "Centered", "Centered (Resized)", "", "Fit"}));

  commands_->SetPhotos({}, -1);
  commands_->Popup(QPoint(0, 0));
  for (const QAction* action : commands_->menu()->actions()) {
    if (action->isSeparator()) continue;
    EXPECT_EQ(action->isEnabled(), action->text() == "Clear Desktop Background")
        << action->text().toStdString();
  }
  commands_->menu()->hide();
}

TEST_F(PhotoCommandsMenuTest, CopiesJoinTheListAsTheCurrentPhotoUnlessReplacing) {
  Photo("photo.jpg");
  Photo("zebra.jpg");
  const std::string original = ReadAll((temp_ / "photos" / "photo.jpg").string());
  QSignalSpy added(commands_.get(), &PhotoCommandsMenu::photoAdded);
  QSignalSpy changed(commands_.get(), &PhotoCommandsMenu::photoChanged);
  QSignalSpy current(commands_.get(), &PhotoCommandsMenu::currentChanged);

  struct Step {
    int behavior;  // PhotoTransformBehavior
    bool control;
    int currentBefore;
    std::vector<std::string> names;
    int currentAfter;
  };
  const Step steps[] = {
      {0, false, 0, {"photo.jpg", "photoa.jpg", "zebra.jpg"}, 1},
      {0, false, 0, {"photo.jpg", "photoa.jpg", "photob.jpg", "zebra.jpg"}, 2},
      // "Replace" with Ctrl held still makes a copy: of photoa.jpg, photoaa.jpg.
      {1, true, 1, {"photo.jpg", "photoa.jpg", "photoaa.jpg", "photob.jpg", "zebra.jpg"}, 2},
      {1, false, 4, {"photo.jpg", "photoa.jpg", "photoaa.jpg", "photob.jpg", "zebra.jpg"}, 4},
  };
  std::vector<std::string> names = {"photo.jpg", "zebra.jpg"};
  for (const Step& step : steps) {
    session_->settings().Values().PhotoTransformBehavior = step.behavior;
    Show(names, step.currentBefore);
    commands_->Transform(PhotoTransform::RotateRight, step.control);
    names = Names();
    EXPECT_EQ(names, step.names);
    EXPECT_EQ(commands_->current(), step.currentAfter);
  }
  EXPECT_EQ(added.count(), 3);
  EXPECT_EQ(added.at(1).at(0).toInt(), 2);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toString().toStdString(),
            (temp_ / "photos" / "zebra.jpg").string());
  EXPECT_EQ(current.count(), 3);
  EXPECT_EQ(ReadPhotoSize((temp_ / "photos" / "zebra.jpg").string()), (PhotoSize{20, 40}));
  EXPECT_EQ(ReadAll((temp_ / "photos" / "photo.jpg").string()), original);
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(PhotoCommandsMenuTest, ATransformWhoseSaveFailsLeavesThePhotoUnchanged) {
  const std::string damaged = (temp_ / "photos" / "damaged.png").string();
  std::ofstream(damaged, std::ios::binary) << "\x89PNG\r\n\x1a\n truncated";
  const std::string bytes = ReadAll(damaged);
  QSignalSpy added(commands_.get(), &PhotoCommandsMenu::photoAdded);
  QSignalSpy changed(commands_.get(), &PhotoCommandsMenu::photoChanged);
  for (const int behavior : {1, 0}) {
    session_->settings().Values().PhotoTransformBehavior = behavior;
    Show({"damaged.png"}, 0);
    commands_->Transform(PhotoTransform::Grayscale, false);
  }
  EXPECT_EQ(ReadAll(damaged), bytes);
  EXPECT_EQ(Names(), std::vector<std::string>{"damaged.png"});
  // Nothing half-written is left beside it either.
  EXPECT_EQ(std::distance(fs::directory_iterator(temp_ / "photos"), fs::directory_iterator()), 1);
  EXPECT_EQ(added.count() + changed.count(), 0);
  ASSERT_EQ(sink_.requests.size(), 2u);
  EXPECT_EQ(sink_.requests[0].text,
            "The photo 'damaged.png' could not be changed. It was left as it was.");
  EXPECT_EQ(sink_.requests[0].icon, MessageIcon::Warning);
}

TEST_F(PhotoCommandsMenuTest, DeletingTheLastAndTheOnlyPhoto) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) Photo(name);
  QSignalSpy removed(commands_.get(), &PhotoCommandsMenu::photoRemoved);
  QSignalSpy current(commands_.get(), &PhotoCommandsMenu::currentChanged);

  struct Step {
    std::vector<std::string> shown;
    int current;
    MessageAnswer answer;
    std::vector<std::string> left;
    int newCurrent;  // -2: no change reported
  };
  const Step steps[] = {
      {{"a.jpg", "b.jpg", "c.jpg"}, 2, MessageAnswer::No, {"a.jpg", "b.jpg", "c.jpg"}, -2},
      {{"a.jpg", "b.jpg", "c.jpg"}, 2, MessageAnswer::Yes, {"a.jpg", "b.jpg"}, 1},
      {{"a.jpg", "b.jpg"}, 0, MessageAnswer::Yes, {"b.jpg"}, 0},
      {{"b.jpg"}, 0, MessageAnswer::Yes, {}, -1},
  };
  for (const Step& step : steps) {
    Show(step.shown, step.current);
    const std::string path = commands_->currentPath();
    sink_.answers.push_back({step.answer, false});
    current.clear();
    commands_->DeletePhoto();
    EXPECT_EQ(sink_.requests.back().text, "Are you sure you want to delete the photo '" +
                                              fs::path(path).filename().string() +
                                              "?'\n\nImportant: This action cannot be undone.");
    EXPECT_EQ(sink_.requests.back().buttons, MessageButtons::YesNo);
    EXPECT_TRUE(sink_.requests.back().offerDontAskAgain);
    EXPECT_EQ(Names(), step.left);
    EXPECT_EQ(fs::exists(path), step.answer == MessageAnswer::No);
    if (step.newCurrent == -2) {
      EXPECT_EQ(current.count(), 0);
    } else {
      ASSERT_EQ(current.count(), 1);
      EXPECT_EQ(current.at(0).at(0).toInt(), step.newCurrent);
    }
  }
  EXPECT_EQ(removed.count(), 3);
  EXPECT_EQ(removed.at(0).at(0).toInt(), 2);
}

TEST_F(PhotoCommandsMenuTest, DontAskAgainSticksAndAFileThatStaysIsNotDropped) {
  Photo("a.jpg");
  Photo("b.jpg");
  Show({"a.jpg", "b.jpg"}, 0);
  sink_.answers.push_back({MessageAnswer::Yes, true});
  commands_->DeletePhoto();
  EXPECT_EQ(session_->settings().Values().confirmDeletePhotos, 0);
  EXPECT_FALSE(session_->settings().IsModified()) << "saved at once";

  // The file vanished behind the program's back: nothing is deleted, so nothing leaves.
  Show({"a.jpg", "b.jpg"}, 0);
  const std::size_t asked = sink_.requests.size();
  QSignalSpy removed(commands_.get(), &PhotoCommandsMenu::photoRemoved);
  commands_->DeletePhoto();
  ASSERT_EQ(sink_.requests.size(), asked + 1) << "no question, one report";
  EXPECT_EQ(sink_.requests.back().text, "The photo 'a.jpg' could not be deleted.");
  EXPECT_EQ(removed.count(), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

// The file dialog of "Copy Photo to..." opens wide enough for its size and date columns.
TEST_F(PhotoCommandsMenuTest, TheCopyDialogOpensWide) {
  Photo("wide.png");
  Show({"wide.png"}, 0);
  int width = 0;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    width = dialog->width();
    dialog->reject();
  });
  commands_->CopyPhotoTo();
  EXPECT_GE(width, 820);
}

TEST_F(PhotoCommandsMenuTest, CopiesClipboardAndDesktopCommands) {
  const std::string photo = Photo("beach.png", 30, 12);
  Show({"beach.png"}, 0);

  QString offeredFilter;
  const std::string target = (temp_ / "elsewhere.png").string();
  commands_->SetTargetChooser([&](const QString& suggested, const QString& filter) {
    EXPECT_EQ(suggested.toStdString(), photo);
    offeredFilter = filter;
    return QString::fromStdString(target);
  });
  commands_->CopyPhotoTo();
  EXPECT_EQ(offeredFilter.toStdString(), PhotoFormatDisplayName(PhotoFormat::Png) + " (*.png)");
  EXPECT_EQ(ReadAll(target), ReadAll(photo));

  commands_->CopyPhotoPathToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), photo);
  commands_->CopyPhotoToClipboard();
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(30, 12));

  commands_->EmailPhoto();
  EXPECT_THAT(launched_, ElementsAre(EmailPhotoCommand(photo)));

  runner_.status = 0;
  commands_->OpenContainingFolder();
  EXPECT_THAT(runner_.commands, ElementsAre(ShowInFileManagerCommand(photo)));

  runner_.commands.clear();
  commands_->SetDesktop(DesktopKind::Gnome);
  commands_->SetDesktopBackground(WallpaperStyle::Tiled);
  const std::string wallpaper = session_->settings().Paths().wallpaperPath;
  EXPECT_EQ(ReadAll(wallpaper).substr(0, 2), "BM");
  ASSERT_EQ(runner_.commands.size(), 3u);
  EXPECT_EQ(runner_.commands[1].arguments.back(), FileUri(wallpaper));
  EXPECT_TRUE(sink_.requests.empty());

  commands_->SetDesktop(DesktopKind::Unknown);
  commands_->ClearDesktopBackground();
  ASSERT_EQ(sink_.requests.size(), 1u);
  EXPECT_THAT(sink_.requests.back().text,
              HasSubstr("This desktop offers no way for programs to clear its background."));
}

TEST_F(PhotoCommandsMenuTest, PropertiesShowThePreviewAndTheDetails) {
  Photo("tall.jpg", 20, 50);
  Show({"tall.jpg"}, 0);
  commands_->ShowProperties();
  auto* dialog = parent_.findChild<PhotoPropertiesDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->hasPreview());
  EXPECT_THAT(dialog->detailsText().toStdString(), HasSubstr("Width x Height: 20 x 50 pixels"));
  EXPECT_THAT(dialog->detailsText().toStdString(), HasSubstr("Photo Format: (JPEG)"));
  dialog->close();
}

}  // namespace
}  // namespace trawlix::ui::testing
