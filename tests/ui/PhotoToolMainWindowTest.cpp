#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "MainWindowTestFixture.h"
#include "ui/tools/ResizeToolDialog.h"
#include "ui/viewer/PhotoViewer.h"
#include "ui/window/MainWindow.h"
#include "ui/window/ViewerPage.h"

namespace trawlix::ui {
namespace {

namespace fs = std::filesystem;

class PhotoToolMainWindowTest : public testing::MainWindowTest {};

TEST_F(PhotoToolMainWindowTest, ResizeButtonRunsTheToolAndKeepsItsChoices) {
  const int id = AddProject("Quay", 1);
  const fs::path folder = temp_ / "photos" / "Quay";
  fs::create_directories(folder);
  QImage image(30, 20, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  ASSERT_TRUE(image.save(QString::fromStdString((folder / "a.png").string())));
  Window().show();
  ShowCategory(1);
  SelectTitle("Quay");
  auto* button = Window().findChild<QToolButton*>(QStringLiteral("resizeButton"));
  ASSERT_TRUE(button);
  ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }, 5000));

  bool seen = false;
  const auto convertToJpeg = [&] {
    seen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<ResizeToolDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      seen = true;
      dialog->convertCheck()->setChecked(true);
      dialog->formatCombo()->setCurrentIndex(dialog->formatCombo()->findData(0));
      dialog->StartRun();
      EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->Running(); }, 10000));
      dialog->doneButton()->click();
    });
    button->click();
  };
  convertToJpeg();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(fs::exists(folder / "a.jpg"));
  EXPECT_FALSE(fs::exists(folder / "a.png"));
  const PhotoViewer& viewer = Window().viewerPage().viewer();
  ASSERT_EQ(viewer.count(), 1);
  EXPECT_EQ(viewer.photo(0).name, "a.jpg") << "the viewer was reloaded";

  // Without the reload option the viewer keeps what it showed.
  session_->settings().Values().reloadViewerAfterChanges = false;
  ASSERT_TRUE(image.save(QString::fromStdString((folder / "b.png").string())));
  convertToJpeg();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(fs::exists(folder / "b.jpg"));
  EXPECT_EQ(viewer.count(), 1);
  const auto stored = LoadProject(*session_, id);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->convertToFormat, 0);
  EXPECT_EQ(Window().currentProject()->convertToFormat, 0);
}

}  // namespace
}  // namespace trawlix::ui
