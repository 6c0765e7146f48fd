#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "MainWindowTestFixture.h"
#include "exchange/ExchangeFile.h"
#include "ui/project/ProjectSheet.h"
#include "ui/window/StatusPanel.h"
#include "ui/window/WelcomeDialog.h"

namespace trawlix::ui::testing {
namespace {

using ::testing::ElementsAre;

// The command line made the data folder first: the window's own first start still welcomes
// the user, once.
TEST_F(MainWindowTest, TheWindowsFirstStartWelcomesAfterTheCommandLine) {
  session_.reset();
  std::string error;
  session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
  ASSERT_NE(session_, nullptr) << error;
  ASSERT_FALSE(session_->isNewDatabase());
  QTRY_VERIFY_WITH_TIMEOUT(Window().findChild<WelcomeDialog*>() != nullptr, 5000);
  Window().findChild<WelcomeDialog*>()->accept();
  window_.reset();
  Window();
  QTest::qWait(1500);
  EXPECT_EQ(Window().findChild<WelcomeDialog*>(), nullptr);
}

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
  // In the list, on a button of the window that has no use for arrows, in the find box.
  QWidget* newButton = Window().findChild<QWidget*>(QStringLiteral("newProjectButton"));
  QWidget* findBox = Window().findChild<QWidget*>(QStringLiteral("findBox"));
  for (QWidget* target : {static_cast<QWidget*>(List()), newButton, findBox}) {
    SelectTitle(QStringLiteral("One"));
    for (const Step& step : steps) {
      QTest::keyClick(target, step.key);
      EXPECT_EQ(SelectedTitle(), step.selected) << target->objectName().toStdString();
      EXPECT_EQ(List()->currentItem()->text().toStdString(), step.selected);
    }
  }
}

// Go To in the find dialog leaves its text in the find box; a scan scrolls its project to
// the top of the list.
TEST_F(MainWindowTest, GoToKeepsItsTextAndAScanBringsItsProjectToTheTop) {
  const int category = AddCategory("Many");
  for (int i = 0; i < 40; ++i) AddProject("Project " + std::to_string(100 + i), category);
  Window().resize(900, 500);
  Window().show();
  ShowCategory(category);
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    for (auto* edit : dialog->findChildren<QLineEdit*>()) {
      if (edit->accessibleName() == QStringLiteral("Find Project")) edit->setText("Project 110");
    }
    for (auto* button : dialog->findChildren<QAbstractButton*>()) {
      if (button->text() != QStringLiteral("Go To")) continue;
      QTRY_VERIFY(button->isEnabled());
      button->click();
    }
  });
  Window().FindProject();
  EXPECT_EQ(SelectedTitle(), "Project 110");
  EXPECT_EQ(Window().findChild<QLineEdit*>(QStringLiteral("findBox"))->text(),
            QStringLiteral("Project 110"));

  List()->scrollToTop();
  Window().StartScan();
  EXPECT_LE(List()->visualItemRect(List()->currentItem()).top(), 1);
  QTRY_VERIFY_WITH_TIMEOUT(!Window().isScanning(), 30000);
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
      EXPECT_TRUE(find->accessibleDescription().isEmpty()) << c.text;
    } else {
      EXPECT_EQ(SelectedTitle(), before) << c.text;
      EXPECT_EQ(find->selectedText(), find->text()) << "no match selects the text: " << c.text;
      EXPECT_TRUE(find->accessibleDescription().startsWith("No project title starts with"))
          << "and says so: " << c.text;
    }
  }
  QTest::keyClick(find, Qt::Key_A);
  EXPECT_TRUE(find->accessibleDescription().isEmpty()) << "typing clears the sign";
}

TEST_F(MainWindowTest, EveryControlIsNamedAndToolTipsFollowTheOption) {
  for (const int showTooltips : {1, 0}) {
    session_->settings().Values().showTooltips = showTooltips;
    window_.reset();
    QList<QWidget*> controls;
    for (auto* w : Window().findChildren<QAbstractButton*>()) controls << w;
    for (auto* w : Window().findChildren<QLineEdit*>()) controls << w;
    for (auto* w : Window().findChildren<QComboBox*>()) controls << w;
    for (auto* w : Window().findChildren<QAbstractItemView*>()) controls << w;
    for (auto* w : Window().findChildren<QTabWidget*>()) controls << w;
    ASSERT_GT(controls.size(), 40);
    for (QWidget* control : controls) {
      // Qt's own parts (the tab bar's scroll arrows, the combo's list) name themselves.
      if (control->objectName().startsWith(QLatin1String("qt_")) ||
          !control->isVisibleTo(&Window()))
        continue;
      EXPECT_FALSE(control->accessibleName().isEmpty())
          << control->metaObject()->className() << " " << control->objectName().toStdString();
    }
    for (QToolButton* button : Window().findChildren<QToolButton*>()) {
      if (qobject_cast<QTabBar*>(button->parentWidget()) != nullptr) continue;  // its scroll arrows
      EXPECT_EQ(button->toolTip(), showTooltips != 0 ? button->accessibleName() : QString())
          << button->objectName().toStdString();
      EXPECT_FALSE(button->accessibleName().contains(QLatin1String("&&")));
    }
  }
  // The split "Start Scanning" button's default (first) action starts the scan; the menu is
  // its second.
  QAccessibleInterface* start = QAccessible::queryAccessibleInterface(
      Window().findChild<QToolButton*>(QStringLiteral("startButton")));
  ASSERT_NE(start, nullptr);
  ASSERT_NE(start->actionInterface(), nullptr);
  const QStringList actions = start->actionInterface()->actionNames();
  EXPECT_EQ(actions, (QStringList{QAccessibleActionInterface::pressAction(),
                                  QAccessibleActionInterface::showMenuAction()}));
  EXPECT_EQ(start->text(QAccessible::Name), QStringLiteral("Start Scanning"));
}

// Fills in the project sheet the window opens, as a user would, and confirms it.
void OnNextSheet(const std::function<void(ProjectSheet&)>& fill) {
  QTimer::singleShot(0, [fill] {
    auto* sheet = qobject_cast<ProjectSheet*>(QApplication::activeModalWidget());
    ASSERT_NE(sheet, nullptr);
    fill(*sheet);
    sheet->accept();
  });
  // A sheet that refused its values would stay open: close it so the test ends.
  QTimer::singleShot(3000, [] {
    if (auto* sheet = qobject_cast<ProjectSheet*>(QApplication::activeModalWidget())) {
      sheet->reject();
    }
  });
}

QLineEdit* Field(ProjectSheet& sheet, const char* name) {
  return sheet.findChild<QLineEdit*>(QLatin1String(name));
}

TEST_F(MainWindowTest, NewAndEditedProjectsAreStoredAndShownInTheirCategory) {
  const int hills = AddCategory("Hills");
  AddProject("Ridge", hills);
  ShowCategory(hills);

  OnNextSheet([](ProjectSheet& sheet) {
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("New Trawlix() PRO Project"));
    Field(sheet, "title")->setText(QStringLiteral("Night Market"));
    Field(sheet, "url")->setText(QStringLiteral("https://night.example/"));
  });
  Window().NewProject();
  ASSERT_EQ(SelectedTitle(), "Night Market") << ::testing::PrintToString(sink_.Texts());
  const ProjectsRecord created = *Window().currentProject();
  EXPECT_NE(created.catId, hills);
  EXPECT_EQ(Window().filterCategoryId(), created.catId) << "the filter shows its category";
  EXPECT_EQ(created.namePrefix, "Night_Market_");
  EXPECT_TRUE(std::filesystem::is_directory(created.saveTo));
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Trawlix() PRO - 'Night Market'"));

  ShowCategory(kAllCategoriesId);
  SelectTitle(QStringLiteral("Night Market"));
  OnNextSheet([](ProjectSheet& sheet) {
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Edit Project - [Night Market]"));
    Field(sheet, "title")->setText(QStringLiteral("Morning Market"));
    Field(sheet, "url")->setText(QStringLiteral("https://morning.example/"));
  });
  Window().EditProject();
  EXPECT_EQ(SelectedTitle(), "Morning Market");
  EXPECT_TRUE(Titles().contains(QStringLiteral("Morning Market")));
  EXPECT_FALSE(Titles().contains(QStringLiteral("Night Market")));
  EXPECT_EQ(Window().findChild<QLineEdit*>(QStringLiteral("urlBox"))->text(),
            QStringLiteral("https://morning.example/"));
  EXPECT_EQ(LoadProject(*session_, created.id)->url, "https://morning.example/");
}

TEST_F(MainWindowTest, ExitStoresTheSizeAndTheSelectionForTheNextStart) {
  const int coast = AddCategory("Coast");
  AddProject("Beach", coast);
  AddProject("Pier", coast);
  session_->settings().Values().rememberLastProject = true;
  ShowCategory(coast);
  SelectTitle(QStringLiteral("Pier"));
  Window().resize(900, 650);
  const QSize size = Window().size();
  Window().Exit();
  EXPECT_FALSE(Window().isVisible());
  window_.reset();
  session_.reset();

  std::string error;
  session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
  ASSERT_NE(session_, nullptr) << error;
  ASSERT_FALSE(session_->isNewDatabase());
  EXPECT_EQ(session_->settings().Values().windowWidth, size.width());
  EXPECT_EQ(session_->settings().Values().windowHeight, size.height());
  EXPECT_EQ(Window().filterCategoryId(), coast);
  EXPECT_EQ(SelectedTitle(), "Pier");
}

TEST_F(MainWindowTest, MovingAProjectOutOfTheShownCategorySelectsThePreviousRow) {
  const int coast = AddCategory("Coast");
  const int hills = AddCategory("Hills");
  AddProject("Bay", coast);
  AddProject("Cliff", coast);
  AddProject("Dune", coast);
  ShowCategory(coast);

  struct Step {
    const char* move;
    int to;
    const char* selectedAfter;
    QStringList left;
  };
  const Step steps[] = {
      {"Cliff", coast, "Cliff", {"Bay", "Cliff", "Dune"}},  // its own category: nothing moves
      {"Dune", hills, "Cliff", {"Bay", "Cliff"}},
      {"Bay", hills, "Cliff", {"Cliff"}},
  };
  for (const Step& step : steps) {
    SelectTitle(QString::fromLatin1(step.move));
    Window().MoveProjectToCategory(step.to);
    EXPECT_EQ(SelectedTitle(), step.selectedAfter) << step.move;
    EXPECT_EQ(Titles(), step.left) << step.move;
  }
  EXPECT_EQ(LoadProjects(*session_, hills)->size(), 2u);

  ShowCategory(kAllCategoriesId);
  SelectTitle(QStringLiteral("Cliff"));
  Window().MoveProjectToCategory(hills);
  EXPECT_EQ(SelectedTitle(), "Cliff") << "with every category shown it stays";
}

TEST_F(MainWindowTest, PasteAndGoStoresOnlyANewWebAddress) {
  const int category = AddCategory("Paste");
  const int id = AddProject("Target", category, "http://old.example/");
  ShowCategory(category);
  auto* urlBox = Window().findChild<QLineEdit*>(QStringLiteral("urlBox"));

  struct Step {
    const char* clipboard;
    const char* stored;
  };
  const Step steps[] = {
      {"no address here", "http://old.example/"},
      {"  https://new.example/gallery/ \n", "https://new.example/gallery/"},
      {"https://new.example/gallery/", "https://new.example/gallery/"},
  };
  for (const Step& step : steps) {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(step.clipboard));
    Window().PasteAndGo();
    EXPECT_EQ(LoadProject(*session_, id)->url, step.stored) << step.clipboard;
    EXPECT_EQ(urlBox->text().toStdString(), step.stored);
  }
  EXPECT_FALSE(Window().isScanning()) << "paste-and-go behaviour 0 does not start";
}

}  // namespace
}  // namespace trawlix::ui::testing
