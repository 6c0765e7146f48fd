#include <QLineEdit>

#include "operations/ProjectOperations.h"
#include "storage/ProjectValidation.h"
#include "support/RecordingMessageSink.h"
#include "ui/window/RenameProjectDialog.h"

namespace trawlix::ui {
namespace {

const char* const kNoFolderName = "Please type in a folder name for this Trawlix() PRO project.";
const char* const kBadFolderName =
    "The folder name cannot contain \"/\" or \"\\\", nor be \".\" or \"..\".\n"
    "Please type in another folder name.";

ProjectsRecord Project(const std::string& saveTo) {
  ProjectsRecord project;
  project.id = 3;
  project.title = "Old Harbour";
  project.saveTo = saveTo;
  return project;
}

TEST(RenameProjectDialogTest, OffersTheTitleAndTheFolderName) {
  testing::RecordingMessageSink sink;
  for (const char* saveTo : {"/home/u/Pictures/Old Harbour", "/home/u/Pictures/Old Harbour/",
                             "  /home/u/Pictures/Old Harbour  "}) {
    RenameProjectDialog dialog(Project(saveTo), sink);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Rename Trawlix() PRO Project"));
    const ProjectRename offered = dialog.rename();
    EXPECT_EQ(offered.title, "Old Harbour");
    EXPECT_EQ(offered.folderName, "Old Harbour") << saveTo;
  }
}

TEST(RenameProjectDialogTest, OkRefusesNamesThatCannotBeUsed) {
  struct Case {
    const char* title;
    const char* folder;
    const char* message;  // nullptr: accepted
    const char* focus;
  };
  const Case cases[] = {
      {"", "Harbour", kNoNameMessage, "title"},
      {"  ", "", kNoNameMessage, "title"},
      {"Harbour", " ", kNoFolderName, "folderName"},
      {"Harbour", "../Harbour", kBadFolderName, "folderName"},
      {"Harbour", "a/b", kBadFolderName, "folderName"},
      {"Harbour", "a\\b", kBadFolderName, "folderName"},
      {"Harbour", ".", kBadFolderName, "folderName"},
      {"Harbour", " .. ", kBadFolderName, "folderName"},
      {"  New Harbour ", " New Harbour. ", nullptr, nullptr},
      {"Harbour", "..Harbour", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.title) + "|" + c.folder);
    testing::RecordingMessageSink sink;
    RenameProjectDialog dialog(Project("/p/Old Harbour"), sink);
    dialog.findChild<QLineEdit*>(QStringLiteral("title"))->setText(QString::fromUtf8(c.title));
    dialog.findChild<QLineEdit*>(QStringLiteral("folderName"))
        ->setText(QString::fromUtf8(c.folder));
    dialog.accept();
    if (c.message == nullptr) {
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      EXPECT_TRUE(sink.requests.empty());
      EXPECT_EQ(dialog.rename().title, QString::fromUtf8(c.title).trimmed().toStdString());
      EXPECT_EQ(dialog.rename().folderName, QString::fromUtf8(c.folder).trimmed().toStdString());
      continue;
    }
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(sink.Texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(sink.requests[0].caption, "Trawlix() PRO");
    ASSERT_NE(dialog.focusWidget(), nullptr);
    EXPECT_EQ(dialog.focusWidget()->objectName().toStdString(), c.focus);
  }
}

}  // namespace
}  // namespace trawlix::ui
