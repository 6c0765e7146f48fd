#include <QLineEdit>
#include <QTest>

#include "MainWindowTestFixture.h"
#include "ui/StatusPanel.h"

namespace trawlix::ui::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(MainWindowTest, FilterChangeKeepsTheSelectedProjectWhileItIsListed) {
  const int coast = AddCategory("Coast");
  const int hills = AddCategory("Hills");
  const int empty = AddCategory("Empty & Quiet");
  AddProject("Beach", coast);
  AddProject("Pier", coast);
  AddProject("Ridge", hills);

  ShowCategory(kAllCategoriesId);
  SelectTitle(QStringLiteral("Pier"));
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Trawlix() PRO - 'Pier'"));

  struct Step {
    int category;
    const char* selected;  // "" for none
  };
  const Step steps[] = {
      {coast, "Pier"},              // still listed: kept
      {hills, "Ridge"},             // gone: the first row
      {kAllCategoriesId, "Ridge"},  // listed again
      {empty, ""},                  // nothing to select
      {coast, "Beach"},
  };
  for (const Step& step : steps) {
    ShowCategory(step.category);
    EXPECT_EQ(SelectedTitle(), step.selected) << step.category;
  }

  ShowCategory(empty);
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Trawlix() PRO"));
  EXPECT_FALSE(Window().enabledState().start);
  EXPECT_TRUE(Window().enabledState().newProject);
  EXPECT_TRUE(Window().findChild<QLineEdit*>(QStringLiteral("urlBox"))->text().isEmpty());
}

TEST_F(MainWindowTest, CategoryKeysStopAtTheEndsOfTheFilter) {
  Window();
  Filter()->setCurrentIndex(0);
  Window().SelectPreviousCategory();
  EXPECT_EQ(Filter()->currentIndex(), 0);
  for (int i = 1; i < Filter()->count(); ++i) {
    Window().SelectNextCategory();
    EXPECT_EQ(Filter()->currentIndex(), i);
  }
  Window().SelectNextCategory();
  EXPECT_EQ(Filter()->currentIndex(), Filter()->count() - 1);
}

TEST_F(MainWindowTest, UpAndDownStopAtTheFirstAndLastProject) {
  const int category = AddCategory("Trio");
  AddProject("One", category);
  AddProject("Three", category);
  AddProject("Two", category);
  ShowCategory(category);
  ASSERT_EQ(Titles(), (QStringList{"One", "Three", "Two"}));

  struct Step {
    Qt::Key key;
    const char* selected;
  };
  const Step steps[] = {{Qt::Key_Up, "One"},   {Qt::Key_Down, "Three"}, {Qt::Key_Down, "Two"},
                        {Qt::Key_Down, "Two"}, {Qt::Key_Up, "Three"},   {Qt::Key_Up, "One"},
                        {Qt::Key_Up, "One"}};
  SelectTitle(QStringLiteral("One"));
  for (const Step& step : steps) {
    QTest::keyClick(List(), step.key);
    EXPECT_EQ(SelectedTitle(), step.selected);
    EXPECT_EQ(List()->currentItem()->text().toStdString(), step.selected);
  }
}

TEST_F(MainWindowTest, DeleteSelectsThePreviousRowAndClearsAfterTheLast) {
  const int category = AddCategory("Doomed");
  AddProject("A", category);
  AddProject("B", category);
  AddProject("C", category);
  ShowCategory(category);

  struct Step {
    const char* remove;
    const char* selectedAfter;
    QStringList left;
  };
  const Step steps[] = {
      {"B", "A", {"A", "C"}},  // the row before
      {"A", "C", {"C"}},       // the first: the new first row
      {"C", "", {}},           // the only one
  };
  for (const Step& step : steps) {
    SelectTitle(QString::fromLatin1(step.remove));
    sink_.answers.push_back({MessageAnswer::Yes, false});
    Window().DeleteProject();
    EXPECT_EQ(sink_.requests.back().text, std::string("Delete the project ") + step.remove +
                                              "?\n\nNOTE: Downloaded photos are **NOT** deleted.");
    EXPECT_EQ(SelectedTitle(), step.selectedAfter);
    EXPECT_EQ(Titles(), step.left);
  }
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Trawlix() PRO"));
  EXPECT_EQ(Window().findChild<StatusPanel*>(QStringLiteral("historyPanel"))->detail(),
            QStringLiteral("No scanning sessions."));
  EXPECT_FALSE(Window().enabledState().deleteProject);
  EXPECT_TRUE(LoadProjects(*session_, category)->empty());
}

TEST_F(MainWindowTest, DeleteAsksUntilTheUserSaysNotTo) {
  const int category = AddCategory("Asked");
  AddProject("Keep", category);
  AddProject("Lose", category);
  AddProject("Lose Too", category);
  ShowCategory(category);

  SelectTitle(QStringLiteral("Keep"));
  sink_.answers.push_back({MessageAnswer::No, false});
  Window().DeleteProject();
  EXPECT_EQ(Titles().size(), 3) << "No keeps the project";

  SelectTitle(QStringLiteral("Lose"));
  sink_.answers.push_back({MessageAnswer::Yes, true});
  Window().DeleteProject();
  EXPECT_EQ(Titles(), (QStringList{"Keep", "Lose Too"}));
  EXPECT_EQ(session_->settings().Values().confirmDeleteProjects, 0);

  const std::size_t asked = sink_.requests.size();
  SelectTitle(QStringLiteral("Lose Too"));
  Window().DeleteProject();
  EXPECT_EQ(sink_.requests.size(), asked) << "not asked again";
  EXPECT_EQ(Titles(), (QStringList{"Keep"}));
}

TEST_F(MainWindowTest, QuickFindTakesHashAsAWildcardWithinTheFilter) {
  const int coast = AddCategory("Coast");
  const int hills = AddCategory("Hills");
  AddProject("Sunset Beach", coast);
  AddProject("Sunrise Hills", hills);
  AddProject("Sunny Cove", coast);
  AddProject("Moon Bay", coast);
  auto* find = Window().findChild<QLineEdit*>(QStringLiteral("findBox"));

  struct Case {
    int category;
    const char* text;
    const char* selected;  // nullptr: no match, the selection stays
  };
  const Case cases[] = {
      {kAllCategoriesId, "sun#hill", "Sunrise Hills"},
      {kAllCategoriesId, "#bay", "Moon Bay"},
      {coast, "Sun", "Sunny Cove"},
      {coast, "Sun#Hills", nullptr},  // in another category
      {kAllCategoriesId, "Sun'; --", nullptr},
      {hills, "#", "Sunrise Hills"},
  };
  for (const Case& c : cases) {
    ShowCategory(c.category);
    const std::string before = SelectedTitle();
    find->setText(QString::fromUtf8(c.text));
    find->deselect();
    QTest::keyClick(find, Qt::Key_Return);
    if (c.selected != nullptr) {
      EXPECT_EQ(SelectedTitle(), c.selected) << c.text;
    } else {
      EXPECT_EQ(SelectedTitle(), before) << c.text;
      EXPECT_EQ(find->selectedText(), find->text()) << "no match selects the text: " << c.text;
    }
  }
}

}  // namespace
}  // namespace trawlix::ui::testing
