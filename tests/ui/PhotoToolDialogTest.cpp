#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <set>

#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/FolderBrowser.h"
#include "ui/tools/DeletePhotosToolDialog.h"
#include "ui/tools/GrayscaleToolDialog.h"
#include "ui/tools/RenameToolDialog.h"
#include "ui/tools/ResizeToolDialog.h"
#include "ui/tools/ThumbnailToolDialog.h"

namespace trawlix::ui {
namespace {

namespace fs = std::filesystem;

class PhotoToolDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
    sink_.requests.clear();
    fs::create_directories(Folder());
    project_.id = 7;
    project_.title = "Harbour";
    project_.saveTo = Folder();
    project_.thumbnailSaveTo = Folder("Thumbs");
    project_.mobileSaveTo = Folder("Mobile");
  }

  std::string Folder(const std::string& name = "") const {
    return (temp_ / "Harbour" / name).lexically_normal().string();
  }
  void Photo(const std::string& name, int width = 24, int height = 16) const {
    const fs::path path = fs::path(Folder()) / name;
    fs::create_directories(path.parent_path());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    ASSERT_TRUE(image.save(QString::fromStdString(path.string())));
  }
  std::set<std::string> Files(const std::string& folder = "") const {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(Folder(folder)))
      if (entry.is_regular_file())
        files.insert(fs::relative(entry.path(), Folder(folder)).string());
    return files;
  }
  // Starts a run with the start button and waits for its summary.
  std::string Run(BatchToolDialog& dialog) {
    sink_.requests.clear();
    QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.Running(); }, 20000));
    return sink_.requests.empty() ? "" : sink_.requests.back().text;
  }

  trawlix::testing::TempDir temp_;
  trawlix::testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
  ProjectsRecord project_;
};

TEST_F(PhotoToolDialogTest, CaptionsCountTheWorkListWithoutThumbnails) {
  Photo("a.png");
  Photo("Thumbs/a.png");
  Photo("Mobile/a.png");
  Photo("skip.jpeg");
  ResizeToolDialog resize(*session_, project_, sink_);
  EXPECT_EQ(resize.windowTitle(), "Resize & Convert Photos - Harbour, 1 Photo");
  Photo("sub/b.png");
  ThumbnailToolDialog thumbs(*session_, project_, sink_);
  EXPECT_EQ(thumbs.windowTitle(), "Create Thumbnails & Mobile Photos - Harbour, 2 Photos");
  RenameToolDialog rename(project_, sink_);
  EXPECT_EQ(rename.windowTitle(), "Rename 2 Photos - Harbour");
  project_.saveTo = Folder("empty");
  GrayscaleToolDialog gray(project_, sink_);
  EXPECT_EQ(gray.windowTitle(), "Convert To Grayscale 0 Photos - Harbour");
  EXPECT_EQ(gray.startButton()->accessibleName(), "Convert");
  EXPECT_TRUE(gray.startButton()->isDefault());
}

TEST_F(PhotoToolDialogTest, ThumbnailsRefuseTheProjectFolderInAnySpelling) {
  Photo("a.png");
  const std::string plain = (temp_ / "Harbour").string();
  const std::string upper = (temp_ / "HARBOUR").string();
  for (const std::string& folder : {plain, plain + "/", upper + "/"}) {
    ThumbnailToolDialog dialog(*session_, project_, sink_);
    dialog.thumbnails().create->setChecked(true);
    dialog.thumbnails().folder->setPath(QString::fromStdString(folder));
    dialog.show();
    sink_.requests.clear();
    QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.Running());
    EXPECT_EQ(
        sink_.Texts(),
        std::vector<std::string>{"The Thumbnail folder cannot be the same as the project's main "
                                 "folder."})
        << folder;
    EXPECT_EQ(dialog.focusWidget(), dialog.thumbnails().folder->edit());
  }
  EXPECT_EQ(Files(), std::set<std::string>{"a.png"});
}

TEST_F(PhotoToolDialogTest, ThumbnailsAreMadeAndStoredWithTheProject) {
  Photo("a.png", 40, 20);
  project_.autoCreateThumbnails = true;
  project_.thumbnailBoundingBox = 10;
  project_.thumbnailFormat = 0;
  ThumbnailToolDialog dialog(*session_, project_, sink_);
  dialog.thumbnails().clear->setChecked(true);
  EXPECT_EQ(Run(dialog),
            "Trawlix() PRO created 1 thumbnails with a bounding-box of 10 pixels,\n"
            "stored in JPEG (Joint Photographic Experts Group) format and saved to '" +
                Folder("Thumbs") + "'");
  EXPECT_EQ(Run(dialog).substr(0, 24), "Trawlix() PRO created 1 ");  // no thumbnails of thumbnails
  EXPECT_EQ(Files(), (std::set<std::string>{"a.png", "Thumbs/a.jpg"}));
  EXPECT_EQ(QImage(QString::fromStdString(Folder("Thumbs/a.jpg"))).size(), QSize(10, 5));
}

TEST_F(PhotoToolDialogTest, PngToJpegLeavesOnlyJpegFiles) {
  Photo("a.png");
  Photo("b.png");
  ResizeToolDialog dialog(*session_, project_, sink_);
  dialog.convertCheck()->setChecked(true);
  dialog.formatCombo()->setCurrentIndex(dialog.formatCombo()->findData(0));
  EXPECT_EQ(Run(dialog),
            "Trawlix() PRO converted 2 Photos to JPEG (Joint Photographic Experts Group) "
            "format\nand saved them to '" +
                Folder() + "'");
  EXPECT_EQ(Files(), (std::set<std::string>{"a.jpg", "b.jpg"}));
  EXPECT_TRUE(dialog.doneButton()->isEnabled());
}

TEST_F(PhotoToolDialogTest, RenameByFolderName) {
  Photo("Boats/x.png");
  Photo("Boats/y.png");
  Photo("z.png");
  RenameToolDialog dialog(project_, sink_);
  dialog.folderRadio()->setChecked(true);
  dialog.spacesCheck()->setChecked(true);
  EXPECT_FALSE(dialog.prefixEdit()->isEnabled());
  EXPECT_EQ(Run(dialog), "Successfully renamed 3 photos.");
  EXPECT_EQ(Files(),
            (std::set<std::string>{"Boats/Boats_1.png", "Boats/Boats_2.png", "Harbour_1.png"}));
  EXPECT_EQ(dialog.windowTitle(), "Rename 3 Photos - Harbour");
}

TEST_F(PhotoToolDialogTest, GrayscaleIntoAnotherFolderOpensIt) {
  Photo("a.png");
  const std::string out = (temp_ / "Gray").string();
  GrayscaleToolDialog dialog(project_, sink_);
  QString opened;
  dialog.SetFolderOpener([&](const QString& folder) { opened = folder; });
  dialog.folderRadio()->setChecked(true);
  dialog.folderBrowser()->setPath(QString::fromStdString(out));
  dialog.openCheck()->setChecked(true);
  EXPECT_EQ(Run(dialog),
            "Successfully converted 1 photos to grayscale\nand saved to: '" + out + "'");
  EXPECT_EQ(opened.toStdString(), out);
  const QColor gray = QImage(QString::fromStdString(out + "/a.png")).pixelColor(2, 2);
  EXPECT_EQ(gray.red(), gray.green());
  EXPECT_EQ(QImage(QString::fromStdString(Folder("a.png"))).pixelColor(2, 2), QColor(200, 40, 90));
}

TEST_F(PhotoToolDialogTest, CancelHalfWayLeavesEveryPhotoWhole) {
  constexpr int kPhotos = 60;
  for (int i = 0; i < kPhotos; ++i)
    Photo(QString("p%1.png").arg(i, 2, 10, QChar('0')).toStdString(), 400, 300);
  GrayscaleToolDialog dialog(project_, sink_);
  dialog.show();
  QObject::connect(dialog.progressBar(), &QProgressBar::valueChanged, &dialog, [&](int value) {
    if (value > 0 && dialog.cancelButton()->isEnabled())
      QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
  });
  const std::string summary = Run(dialog);
  EXPECT_EQ(summary.substr(0, 14), "Stopped after ") << summary;
  const auto files = Files();
  EXPECT_EQ(files.size(), static_cast<std::size_t>(kPhotos));
  for (const std::string& name : files)
    EXPECT_FALSE(QImage(QString::fromStdString(Folder(name))).isNull()) << name;
  EXPECT_TRUE(dialog.startButton()->isEnabled());
  EXPECT_FALSE(dialog.cancelButton()->isEnabled());
}

TEST_F(PhotoToolDialogTest, DeletePhotosOnlyAfterYes) {
  Photo("a.png");
  Photo("Thumbs/a.png");
  DeletePhotosToolDialog dialog(project_, sink_);
  EXPECT_EQ(dialog.windowTitle(), "Delete Photos - Harbour, 1 Photo");
  sink_.answers.push_back({MessageAnswer::No, false});
  EXPECT_EQ(Run(dialog).substr(0, 29), "Delete 1 Photo of the project");
  EXPECT_EQ(Files(), (std::set<std::string>{"a.png", "Thumbs/a.png"}));
  sink_.answers.push_back({MessageAnswer::Yes, false});
  EXPECT_EQ(Run(dialog), "Deleted 1 Photo.");
  EXPECT_EQ(Files(), std::set<std::string>{"Thumbs/a.png"});
  EXPECT_EQ(dialog.windowTitle(), "Delete Photos - Harbour, 0 Photos");
}

}  // namespace
}  // namespace trawlix::ui
