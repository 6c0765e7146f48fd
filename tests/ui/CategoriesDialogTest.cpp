#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>

#include "operations/CategoryOperations.h"
#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/CategoriesDialog.h"

namespace trawlix::ui {
namespace {

// A user's double click: the first click of it lands as a click.
void DoubleClick(QAbstractItemView* view, QPoint point) {
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
}

using Mode = CategoryNameDialog::Mode;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char* const kAlreadyExists = "The category already exists.\nPlease try again.";

// Answers the name dialog from a script and records what it offered each time.
struct ScriptedPrompt {
  std::deque<std::optional<QString>> answers;
  std::vector<std::pair<Mode, QString>> offered;

  CategoriesDialog::NamePrompt Prompt() {
    return [this](Mode mode, const QString& text) -> std::optional<QString> {
      offered.emplace_back(mode, text);
      if (answers.empty()) return std::nullopt;
      auto answer = answers.front();
      answers.pop_front();
      return answer;
    };
  }
};

class CategoriesDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((temp_ / "config").string()));
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
  }

  std::unique_ptr<CategoriesDialog> MakeDialog() {
    auto dialog = std::make_unique<CategoriesDialog>(*session_, sink_);
    dialog->setNamePrompt(prompt_.Prompt());
    dialog->show();
    return dialog;
  }

  static QPushButton* Button(QWidget& dialog, const char* name) {
    for (auto* button : dialog.findChildren<QPushButton*>()) {
      if (button->accessibleName() == QLatin1String(name)) return button;
    }
    ADD_FAILURE() << "no button " << name;
    return nullptr;
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
    const auto found = List(dialog)->findItems(QLatin1String(name), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name;
    List(dialog)->setCurrentItem(found.front());
  }

  std::vector<CCategoriesRecord> Stored() {
    std::optional<std::vector<CCategoriesRecord>> categories = LoadCategories(*session_);
    EXPECT_TRUE(categories.has_value());
    return categories ? std::move(*categories) : std::vector<CCategoriesRecord>{};
  }
  std::vector<std::string> StoredNames() {
    std::vector<std::string> names;
    for (const auto& category : Stored()) names.push_back(category.m_lpszName);
    return names;
  }
  int StoredId(const std::string& name) {
    for (const auto& category : Stored()) {
      if (category.m_lpszName == name) return category.m_lId;
    }
    return -1;
  }

  testing::TempDir temp_;
  testing::HomeOverride home_{temp_.str()};
  testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
  ScriptedPrompt prompt_;
};

TEST_F(CategoriesDialogTest, ListsTheCategoriesAToZ) {
  auto dialog = MakeDialog();
  EXPECT_THAT(Listed(*dialog),
              ElementsAre("Actresses", "Imported Projects", "Models", "Sample Projects"));
}

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
      {"Models", kAlreadyExists, "Trawlix() PRO"},
      {" Models ", kAlreadyExists, "Trawlix() PRO"},
      {"", "Please type in category name.", "Trawlix()PRO"},
      {"   ", "Please type in category name.", "Trawlix()PRO"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    sink_.requests.clear();
    prompt_ = {};
    prompt_.answers = {QString::fromUtf8(c.typed), std::nullopt};
    auto dialog = MakeDialog();
    Button(*dialog, "New")->click();

    ASSERT_EQ(sink_.requests.size(), 1u);
    EXPECT_EQ(sink_.requests[0].text, c.message);
    EXPECT_EQ(sink_.requests[0].caption, c.caption);
    ASSERT_EQ(prompt_.offered.size(), 2u);
    EXPECT_EQ(prompt_.offered[0], std::make_pair(Mode::New, QString()));
    EXPECT_EQ(prompt_.offered[1], std::make_pair(Mode::New, QString::fromUtf8(c.typed)));
    EXPECT_FALSE(dialog->changed());
    EXPECT_EQ(StoredNames().size(), 4u);
  }
}

TEST_F(CategoriesDialogTest, NewNameAfterARefusalIsStoredAndSelected) {
  prompt_.answers = {QStringLiteral("ALL"), QStringLiteral(" Landscapes ")};
  auto dialog = MakeDialog();
  Button(*dialog, "New")->click();

  EXPECT_THAT(sink_.Texts(), ElementsAre(kAlreadyExists));
  EXPECT_THAT(Listed(*dialog), ElementsAre("Actresses", "Imported Projects", "Landscapes", "Models",
                                           "Sample Projects"));
  EXPECT_EQ(List(*dialog)->currentItem()->text(), QStringLiteral("Landscapes"));
  EXPECT_TRUE(dialog->changed());
}

TEST_F(CategoriesDialogTest, EditRenamesUnderTheSameRules) {
  prompt_.answers = {QStringLiteral("Actresses"), QStringLiteral("Fashion")};
  auto dialog = MakeDialog();
  Select(*dialog, "Models");
  Button(*dialog, "Edit")->click();

  EXPECT_THAT(sink_.Texts(), ElementsAre(kAlreadyExists));
  ASSERT_EQ(prompt_.offered.size(), 2u);
  EXPECT_EQ(prompt_.offered[0], std::make_pair(Mode::Edit, QStringLiteral("Models")));
  EXPECT_EQ(prompt_.offered[1], std::make_pair(Mode::Edit, QStringLiteral("Actresses")));
  EXPECT_THAT(StoredNames(),
              ElementsAre("Actresses", "Fashion", "Imported Projects", "Sample Projects"));
  EXPECT_EQ(List(*dialog)->currentItem()->text(), QStringLiteral("Fashion"));
  EXPECT_TRUE(dialog->changed());
}

TEST_F(CategoriesDialogTest, KeepingTheNameIsNoClash) {
  prompt_.answers = {QStringLiteral("Models ")};
  auto dialog = MakeDialog();
  Select(*dialog, "Models");
  Button(*dialog, "Edit")->click();

  EXPECT_THAT(sink_.requests, IsEmpty());
  EXPECT_FALSE(dialog->changed());
}

TEST_F(CategoriesDialogTest, ImportedProjectsCanBeNeitherEditedNorDeleted) {
  auto dialog = MakeDialog();
  for (const char* name : {"Actresses", "Imported Projects", "Models", "Sample Projects"}) {
    SCOPED_TRACE(name);
    Select(*dialog, name);
    const bool editable = std::string(name) != "Imported Projects";
    EXPECT_EQ(Button(*dialog, "Edit")->isEnabled(), editable);
    EXPECT_EQ(Button(*dialog, "Delete")->isEnabled(), editable);
  }

  Select(*dialog, "Imported Projects");
  QListWidget* list = List(*dialog);
  const QRect row = list->visualItemRect(list->currentItem());
  DoubleClick(list, row.center());
  EXPECT_THAT(prompt_.offered, IsEmpty());
  EXPECT_THAT(StoredNames(), ::testing::Contains("Imported Projects"));
}

TEST_F(CategoriesDialogTest, DoubleClickEditsAnUnlockedCategory) {
  auto dialog = MakeDialog();
  Select(*dialog, "Actresses");
  QListWidget* list = List(*dialog);
  DoubleClick(list, list->visualItemRect(list->currentItem()).center());
  ASSERT_EQ(prompt_.offered.size(), 1u);
  EXPECT_EQ(prompt_.offered[0], std::make_pair(Mode::Edit, QStringLiteral("Actresses")));
}

// However the dialog ends, deleted categories go and their projects move to the category for
// new projects: nothing can leave a project behind in a category that no longer exists.
TEST_F(CategoriesDialogTest, DeletionsAreStoredWithTheMoveOfTheirProjects) {
  struct Ending {
    const char* name;
    void (*end)(std::unique_ptr<CategoriesDialog>& dialog);
  };
  const Ending endings[] = {
      {"Close", [](auto& dialog) { Button(*dialog, "Close")->click(); }},
      {"Esc", [](auto& dialog) { QTest::keyClick(dialog.get(), Qt::Key_Escape); }},
      {"window closed", [](auto& dialog) { dialog->close(); }},
      {"destroyed", [](auto& dialog) { dialog.reset(); }},
  };
  for (const Ending& ending : endings) {
    SCOPED_TRACE(ending.name);
    testing::TempDir temp;
    std::string error;
    session_ = DataSession::Open((temp / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
    const auto samples = LoadProjects(*session_, kAllCategoriesId).value();
    ASSERT_EQ(samples.size(), 3u);
    ASSERT_TRUE(MoveProjectToCategory(*session_, samples[0].m_nId, StoredId("Models")));

    auto dialog = MakeDialog();
    Select(*dialog, "Models");
    Button(*dialog, "Delete")->click();
    Select(*dialog, "Sample Projects");
    Button(*dialog, "Delete")->click();
    EXPECT_THAT(Listed(*dialog), ElementsAre("Actresses", "Imported Projects"));
    EXPECT_EQ(List(*dialog)->currentRow(), 0);
    EXPECT_TRUE(dialog->changed());
    ending.end(dialog);

    const std::string home = session_->settings().Values().newProjectCategory;
    EXPECT_THAT(StoredNames(), ElementsAre("Actresses", "Imported Projects", home));
    const auto projects = LoadProjects(*session_, kAllCategoriesId).value();
    ASSERT_EQ(projects.size(), 3u);
    for (const auto& project : projects) EXPECT_EQ(project.m_nCatId, StoredId(home));
    dialog.reset();
    session_.reset();
  }
}

TEST_F(CategoriesDialogTest, NameDialogWorksFromTheKeyboard) {
  struct Case {
    Qt::Key key;
    int result;
  };
  for (const Case c : {Case{Qt::Key_Return, QDialog::Accepted}, Case{Qt::Key_Escape, 0}}) {
    CategoryNameDialog dialog(Mode::Edit, QStringLiteral("Models"));
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->accessibleName(), QStringLiteral("Category Name"));
    // The old name is selected, so typing replaces it.
    QTest::keyClicks(edit, QStringLiteral("Fashion"));
    QTest::keyClick(edit, c.key);
    EXPECT_EQ(dialog.result(), c.result);
    EXPECT_EQ(dialog.name(), QStringLiteral("Fashion"));
  }
}

// The new category of the same name is a new one: the old one's projects do not come back.
TEST_F(CategoriesDialogTest, ADeletedNameCanBeTakenAgainAtOnce) {
  const int oldId = StoredId("Models");
  const auto samples = LoadProjects(*session_, kAllCategoriesId).value();
  ASSERT_TRUE(MoveProjectToCategory(*session_, samples[0].m_nId, oldId));
  prompt_.answers = {QStringLiteral("Models")};
  auto dialog = MakeDialog();
  Select(*dialog, "Models");
  Button(*dialog, "Delete")->click();
  Button(*dialog, "New")->click();

  EXPECT_THAT(sink_.requests, IsEmpty());
  EXPECT_EQ(List(*dialog)->currentItem()->text(), QStringLiteral("Models"));
  Button(*dialog, "Close")->click();
  const int newId = StoredId("Models");
  EXPECT_NE(newId, -1);
  EXPECT_NE(newId, oldId);
  EXPECT_EQ(LoadProject(*session_, samples[0].m_nId)->m_nCatId,
            StoredId(session_->settings().Values().newProjectCategory));
}

}  // namespace
}  // namespace trawlix::ui
