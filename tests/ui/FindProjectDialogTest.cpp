#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/window/FindProjectDialog.h"
#include "ui/window/Profile.h"

namespace trawlix::ui {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr const char* kNone = "No matching projects";

class FindProjectDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((temp_ / "config").string()));
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
  }

  std::unique_ptr<FindProjectDialog> MakeDialog(const QString& text) {
    auto dialog = std::make_unique<FindProjectDialog>(*session_, text);
    dialog->show();
    return dialog;
  }

  template <class Widget>
  static Widget* Find(QWidget& dialog, const char* name) {
    for (auto* widget : dialog.findChildren<Widget*>()) {
      if (widget->accessibleName() == QLatin1String(name)) return widget;
    }
    throw std::runtime_error(std::string("no control ") + name);
  }
  static QTreeWidget* List(QWidget& dialog) { return dialog.findChild<QTreeWidget*>(); }
  static std::vector<std::string> Column(QWidget& dialog, int column) {
    std::vector<std::string> texts;
    for (int i = 0; i < List(dialog)->topLevelItemCount(); ++i) {
      texts.push_back(List(dialog)->topLevelItem(i)->text(column).toStdString());
    }
    return texts;
  }
  static std::string CountLine(QWidget& dialog) {
    return Find<QLabel>(dialog, "Matching Projects Count")->text().toStdString();
  }

  testing::TempDir temp_;
  testing::HomeOverride home_{temp_.str()};
  testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
};

TEST_F(FindProjectDialogTest, ListsTheMatchingTitles) {
  struct Case {
    const char* text;
    bool startsWith;
    std::vector<std::string> titles;
  };
  const Case cases[] = {
      {"", true, {}},
      {"N", true, {}},  // one character: no search at all
      {"#", false, {}},
      {"LIVIA", true, {"Livia Brandt"}},
      {"an", true, {}},
      {"an", false, {"Livia Brandt"}},
      {"M#wick", true, {"Marisol Fenwick"}},  // "#" is a wildcard
      {"#Day", true, {"NASA Image of the Day"}},
      {"##", true, {"Livia Brandt", "Marisol Fenwick", "NASA Image of the Day"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.startsWith ? " starts" : " contains"));
    Profile().SetFindStartsWith(c.startsWith);
    auto dialog = MakeDialog(QString::fromUtf8(c.text));
    EXPECT_EQ(Find<QRadioButton>(*dialog, "Starts With")->isChecked(), c.startsWith);
    EXPECT_THAT(Column(*dialog, 0), ElementsAreArray(c.titles));
    EXPECT_EQ(CountLine(*dialog),
              c.titles.empty() ? kNone : std::to_string(c.titles.size()) + " matching projects.");
    EXPECT_EQ(Find<QPushButton>(*dialog, "Go To")->isEnabled(), !c.titles.empty());
  }
  // Every button of the dialog has a name, the find box's own clear button too.
  auto dialog = MakeDialog(QStringLiteral("Livia"));
  const auto buttons = dialog->findChildren<QAbstractButton*>();
  ASSERT_FALSE(buttons.isEmpty());
  for (const QAbstractButton* button : buttons)
    EXPECT_FALSE(button->accessibleName().isEmpty() && button->text().isEmpty())
        << button->metaObject()->className();
}

TEST_F(FindProjectDialogTest, TypingAndSwitchingSearchAgain) {
  auto dialog = MakeDialog(QString());
  auto* edit = Find<QLineEdit>(*dialog, "Find Project");
  QTest::keyClicks(edit, QStringLiteral("an"));
  EXPECT_EQ(CountLine(*dialog), kNone);

  Find<QRadioButton>(*dialog, "Contains")->click();
  EXPECT_THAT(Column(*dialog, 0), ElementsAre("Livia Brandt"));
  EXPECT_THAT(Column(*dialog, 1), ElementsAre("Sample Projects"));
  EXPECT_THAT(Column(*dialog, 2), ElementsAre("3"));  // its links

  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(List(*dialog)->topLevelItemCount(), 0);
  EXPECT_EQ(CountLine(*dialog), kNone);
}

TEST_F(FindProjectDialogTest, GoToHandsBackTheChosenProject) {
  using Choose = void (*)(FindProjectDialog&);
  const std::pair<const char*, Choose> ways[] = {
      {"Go To", [](FindProjectDialog& d) { Find<QPushButton>(d, "Go To")->click(); }},
      {"Enter",
       [](FindProjectDialog& d) {
         QTest::keyClick(Find<QLineEdit>(d, "Find Project"), Qt::Key_Return);
       }},
      {"double click",
       [](FindProjectDialog& d) {
         const QPoint point = List(d)->visualItemRect(List(d)->currentItem()).center();
         QTest::mouseClick(List(d)->viewport(), Qt::LeftButton, {}, point);
         QTest::mouseDClick(List(d)->viewport(), Qt::LeftButton, {}, point);
       }},
      {"Done", [](FindProjectDialog& d) { Find<QPushButton>(d, "Done")->click(); }},
      {"Esc", [](FindProjectDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
  };
  const int marisol = LoadProjectsByTitle(*session_, "Marisol Fenwick").value().at(0).id;
  for (const auto& [name, choose] : ways) {
    SCOPED_TRACE(name);
    auto dialog = MakeDialog(QStringLiteral("#a"));
    // The arrow keys pick a row while the focus stays in the find box.
    QTest::keyClick(Find<QLineEdit>(*dialog, "Find Project"), Qt::Key_Down);
    choose(*dialog);

    const bool chosen = std::string(name) != "Done" && std::string(name) != "Esc";
    EXPECT_EQ(dialog->result(), chosen ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(dialog->projectId(), chosen ? marisol : -1);
    EXPECT_EQ(dialog->findText(), QStringLiteral("#a"));
  }
}

TEST_F(FindProjectDialogTest, ColumnsAndMatchModeAreKeptInTheProfile) {
  {
    auto dialog = MakeDialog(QString());
    const QHeaderView* header = List(*dialog)->header();
    EXPECT_THAT(
        (std::vector{header->sectionSize(0), header->sectionSize(1), header->sectionSize(2)}),
        ElementsAre(223, 146, 64));
    EXPECT_TRUE(Find<QRadioButton>(*dialog, "Starts With")->isChecked());
    List(*dialog)->header()->resizeSection(1, 180);
    Find<QRadioButton>(*dialog, "Contains")->click();
    Find<QPushButton>(*dialog, "Done")->click();
  }
  auto dialog = MakeDialog(QString());
  EXPECT_EQ(List(*dialog)->header()->sectionSize(1), 180);
  EXPECT_TRUE(Find<QRadioButton>(*dialog, "Contains")->isChecked());
}

TEST_F(FindProjectDialogTest, ProfileFallsBackOnDamagedValues) {
  QSettings settings("Quillmoor", "Trawlix() PRO");
  const std::tuple<const char*, QVariant, int> widths[] = {
      {"PROJECTLINKS_COLUMN_URL", QVariant(), 442},
      {"FINDPROJECT_COLUMN_NAME", "wide", 223},
      {"EXPORT_COLUMN_LINKS", -5, 69},
      {"IMPORT_COLUMN_CATEGORY", 90000, 117},
      {"IMPORT_COLUMN_LINKS", 300, 300},
      {"NO_SUCH_COLUMN", QVariant(), 100},
  };
  for (const auto& [key, stored, width] : widths) {
    if (stored.isValid()) settings.setValue(QStringLiteral("Columns/") + key, stored);
    settings.sync();
    EXPECT_EQ(Profile().ColumnWidth(key), width) << key;
  }
  // One flag per radio button: only "Contains" alone means contains.
  const std::tuple<int, int, bool> flags[] = {{0, 1, false}, {1, 1, true}, {0, 0, true}};
  for (const auto& [startsWith, contains, expected] : flags) {
    settings.setValue("Options/FINDPROJECT_STARTSWITH", startsWith);
    settings.setValue("Options/FINDPROJECT_CONTAINS", contains);
    settings.sync();
    EXPECT_EQ(Profile().FindStartsWith(), expected) << startsWith << contains;
  }
}

}  // namespace
}  // namespace trawlix::ui
