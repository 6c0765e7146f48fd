#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <deque>
#include <memory>

#include "operations/CategoryOperations.h"
#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/window/CategoriesDialog.h"

namespace trawlix::ui {
namespace {

using Mode = CategoryNameDialog::Mode;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char* const kAlreadyExists = "The category already exists.\nPlease try again.";

class CategoriesDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((temp_ / "config").string()));
    OpenSession(temp_);
  }
  void OpenSession(const testing::TempDir& dir) {
    std::string error;
    session_ = DataSession::Open((dir / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
  }

  // The name dialog answers from `answers_` (cancel when empty) and records what it offered.
  std::unique_ptr<CategoriesDialog> MakeDialog() {
    auto dialog = std::make_unique<CategoriesDialog>(*session_, sink_);
    dialog->setNamePrompt([this](Mode mode, const QString& text) -> std::optional<QString> {
      offered_.emplace_back(mode, text);
      if (answers_.empty()) return std::nullopt;
      const QString answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
    dialog->show();
    return dialog;
  }

  static QPushButton* Button(QWidget& dialog, const char* name) {
    for (auto* button : dialog.findChildren<QPushButton*>()) {
      if (button->accessibleName() == QLatin1String(name)) return button;
    }
    throw std::runtime_error(std::string("no button ") + name);
  }
  static QListWidget* List(QWidget& dialog) { return dialog.findChild<QListWidget*>(); }
  static std::vector<std::string> Listed(QWidget& dialog) {
    std::vector<std::string> names;
    for (int i = 0; i < List(dialog)->count(); ++i) {
      names.push_back(List(dialog)->item(i)->text().toStdString());
    }
    return names;
  }
  static void Select(QWidget& dialog, const char* name) {
    List(dialog)->setCurrentItem(
        List(dialog)->findItems(QLatin1String(name), Qt::MatchExactly).value(0));
  }

  std::vector<CategoriesRecord> Stored() {
    return LoadCategories(*session_).value_or(std::vector<CategoriesRecord>{});
  }
  std::vector<std::string> StoredNames() {
    std::vector<std::string> names;
    for (const auto& category : Stored()) {
      names.push_back(category.name);
    }
    return names;
  }
  int StoredId(const std::string& name) {
    for (const auto& category : Stored()) {
      if (category.name == name) return category.id;
    }
    return -1;
  }
  int HomeId() { return StoredId(session_->settings().Values().newProjectCategory); }

  testing::TempDir temp_;
  testing::HomeOverride home_{temp_.str()};
  testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
  std::deque<QString> answers_;
  std::vector<std::pair<Mode, QString>> offered_;
};

TEST_F(CategoriesDialogTest, RefusedNamesAreShownAndOfferedAgain) {
  struct Case {
    const char* typed;
    const char* message;
    const char* caption;
  };
  const Case cases[] = {
      {"All", kAlreadyExists, "Trawlix() PRO"},
      {"aLL", kAlreadyExists, "Trawlix() PRO"},
      {"  all ", kAlreadyExists, "Trawlix() PRO"},
      {" Models ", kAlreadyExists, "Trawlix() PRO"},
      {"   ", "Please type in category name.", "Trawlix()PRO"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    sink_.requests.clear();
    offered_.clear();
    answers_ = {QString::fromUtf8(c.typed)};
    auto dialog = MakeDialog();
    Button(*dialog, "New")->click();

    ASSERT_EQ(sink_.requests.size(), 1u);
    EXPECT_EQ(sink_.requests[0].text, c.message);
    EXPECT_EQ(sink_.requests[0].caption, c.caption);
    EXPECT_THAT(offered_, ElementsAre(std::make_pair(Mode::New, QString()),
                                      std::make_pair(Mode::New, QString::fromUtf8(c.typed))));
    EXPECT_FALSE(dialog->changed());
    EXPECT_EQ(StoredNames().size(), 4u);
  }
}

TEST_F(CategoriesDialogTest, NewAndEditStoreTheCorrectedNameAndSelectIt) {
  answers_ = {"ALL", " Landscapes ", "Models ", "Actresses", "Fashion"};
  auto dialog = MakeDialog();
  Button(*dialog, "New")->click();
  EXPECT_EQ(List(*dialog)->currentItem()->text(), QStringLiteral("Landscapes"));

  // Keeping the old name is no change and no clash with itself.
  Select(*dialog, "Models");
  Button(*dialog, "Edit")->click();
  Button(*dialog, "Edit")->click();

  EXPECT_THAT(sink_.Texts(), ElementsAre(kAlreadyExists, kAlreadyExists));
  EXPECT_EQ(offered_.back(), std::make_pair(Mode::Edit, QStringLiteral("Actresses")));
  EXPECT_THAT(Listed(*dialog), ElementsAre("Actresses", "Fashion", "Imported Projects",
                                           "Landscapes", "Sample Projects"));
  EXPECT_EQ(Listed(*dialog), StoredNames());
  EXPECT_EQ(List(*dialog)->currentItem()->text(), QStringLiteral("Fashion"));
  EXPECT_TRUE(dialog->changed());
}

TEST_F(CategoriesDialogTest, ImportedProjectsCanBeNeitherEditedNorDeleted) {
  auto dialog = MakeDialog();
  QListWidget* list = List(*dialog);
  EXPECT_THAT(Listed(*dialog),
              ElementsAre("Actresses", "Imported Projects", "Models", "Sample Projects"));
  for (int row = 0; row < list->count(); ++row) {
    const QString name = list->item(row)->text();
    SCOPED_TRACE(name.toStdString());
    offered_.clear();
    const QPoint point = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);

    const bool editable = name != QStringLiteral("Imported Projects");
    EXPECT_EQ(Button(*dialog, "Edit")->isEnabled(), editable);
    EXPECT_EQ(Button(*dialog, "Delete")->isEnabled(), editable);
    EXPECT_EQ(offered_.size(), editable ? 1u : 0u);  // a double click edits
  }
}

// However the dialog ends, deleted categories go together with the move of their projects to
// the category for new projects, and not before: no project is left in a deleted category.
TEST_F(CategoriesDialogTest, DeletionsAreStoredWithTheMoveOfTheirProjects) {
  using End = void (*)(std::unique_ptr<CategoriesDialog>&);
  const std::pair<const char*, End> endings[] = {
      {"Close", [](auto& dialog) { Button(*dialog, "Close")->click(); }},
      {"Esc", [](auto& dialog) { QTest::keyClick(dialog.get(), Qt::Key_Escape); }},
      {"window closed", [](auto& dialog) { dialog->close(); }},
      {"destroyed", [](auto& dialog) { dialog.reset(); }},
  };
  for (const auto& [name, end] : endings) {
    SCOPED_TRACE(name);
    testing::TempDir temp;
    OpenSession(temp);
    const auto samples = LoadProjects(*session_, kAllCategoriesId).value();
    ASSERT_TRUE(MoveProjectToCategory(*session_, samples.at(0).id, StoredId("Models")));

    auto dialog = MakeDialog();
    Select(*dialog, "Models");
    Button(*dialog, "Delete")->click();
    Select(*dialog, "Sample Projects");
    Button(*dialog, "Delete")->click();
    EXPECT_THAT(Listed(*dialog), ElementsAre("Actresses", "Imported Projects"));
    EXPECT_EQ(List(*dialog)->currentRow(), 0);
    EXPECT_TRUE(dialog->changed());
    end(dialog);

    EXPECT_THAT(StoredNames(), ElementsAre("Actresses", "Imported Projects",
                                           session_->settings().Values().newProjectCategory));
    const auto projects = LoadProjects(*session_, kAllCategoriesId).value();
    EXPECT_EQ(projects.size(), 3u);
    for (const auto& project : projects) EXPECT_EQ(project.catId, HomeId());
    dialog.reset();
    session_.reset();
  }
}

// A deleted category's name may be taken again at once; its projects stay moved.
TEST_F(CategoriesDialogTest, ADeletedNameCanBeTakenAgainAtOnce) {
  const int oldId = StoredId("Models");
  const int projectId = LoadProjects(*session_, kAllCategoriesId).value().at(0).id;
  ASSERT_TRUE(MoveProjectToCategory(*session_, projectId, oldId));
  answers_ = {"Models"};
  auto dialog = MakeDialog();
  Select(*dialog, "Models");
  Button(*dialog, "Delete")->click();
  Button(*dialog, "New")->click();
  Button(*dialog, "Close")->click();

  EXPECT_THAT(sink_.requests, IsEmpty());
  EXPECT_NE(StoredId("Models"), -1);
  EXPECT_NE(StoredId("Models"), oldId);
  EXPECT_EQ(LoadProject(*session_, projectId)->catId, HomeId());
}

TEST_F(CategoriesDialogTest, NameDialogWorksFromTheKeyboard) {
  for (const auto& [key, result] : {std::pair{Qt::Key_Return, QDialog::Accepted},
                                    std::pair{Qt::Key_Escape, QDialog::Rejected}}) {
    CategoryNameDialog dialog(Mode::Edit, QStringLiteral("Models"));
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>();
    EXPECT_EQ(edit->accessibleName(), QStringLiteral("Category Name"));
    QTest::keyClicks(edit, QStringLiteral("Fashion"));  // replaces the selected old name
    QTest::keyClick(edit, key);
    EXPECT_EQ(dialog.result(), result);
    EXPECT_EQ(dialog.name(), QStringLiteral("Fashion"));
  }
}

}  // namespace
}  // namespace trawlix::ui
