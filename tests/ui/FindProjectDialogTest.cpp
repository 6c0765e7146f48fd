#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
#include "ui/FindProjectDialog.h"
#include "ui/Profile.h"

namespace trawlix::ui {
namespace {

// A user's double click: the first click of it lands as a click.
void DoubleClick(QAbstractItemView* view, QPoint point) {
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
}

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

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
    ADD_FAILURE() << "no control " << name;
    return nullptr;
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

  int ProjectId(const std::string& title) {
    const auto projects = LoadProjectsByTitle(*session_, title).value();
    return projects.size() == 1 ? projects.front().m_nId : -1;
  }

  testing::TempDir temp_;
  testing::HomeOverride home_{temp_.str()};
  testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
};

constexpr const char* kNone = "No matching projects";

TEST_F(FindProjectDialogTest, ListsTheMatchingTitles) {
  struct Case {
    const char* text;
    bool startsWith;
    std::vector<std::string> titles;
    const char* countLine;
  };
  const Case cases[] = {
      {"", true, {}, kNone},
      {"N", true, {}, kNone},  // one character: no search at all
      {"#", false, {}, kNone},
      {"li", true, {"Livia Brandt"}, "1 matching projects."},
      {"LIVIA", true, {"Livia Brandt"}, "1 matching projects."},
      {"an", true, {}, kNone},
      {"an", false, {"Livia Brandt"}, "1 matching projects."},
      {"Brandt", true, {}, kNone},
      {"Brandt", false, {"Livia Brandt"}, "1 matching projects."},
      {"M#wick", true, {"Marisol Fenwick"}, "1 matching projects."},
      {"#Day", true, {"NASA Image of the Day"}, "1 matching projects."},
      {"##",
       true,
       {"Livia Brandt", "Marisol Fenwick", "NASA Image of the Day"},
       "3 matching projects."},
      {"xyz", false, {}, kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.startsWith ? " starts" : " contains"));
    Profile().SetFindStartsWith(c.startsWith);
    auto dialog = MakeDialog(QString::fromUtf8(c.text));
    EXPECT_EQ(Find<QRadioButton>(*dialog, "Starts With")->isChecked(), c.startsWith);
    EXPECT_THAT(Column(*dialog, 0), ElementsAreArray(c.titles));
    EXPECT_EQ(CountLine(*dialog), c.countLine);
    EXPECT_EQ(Find<QPushButton>(*dialog, "Go To")->isEnabled(), !c.titles.empty());
  }
}

TEST_F(FindProjectDialogTest, RowsShowCategoryAndLinkCount) {
  auto dialog = MakeDialog(QStringLiteral("##"));
  EXPECT_THAT(Column(*dialog, 1),
              ElementsAre("Sample Projects", "Sample Projects", "Sample Projects"));
  EXPECT_THAT(Column(*dialog, 2), ElementsAre("3", "0", "0"));
}

TEST_F(FindProjectDialogTest, TypingAndSwitchingSearchAgain) {
  auto dialog = MakeDialog(QString());
  auto* edit = Find<QLineEdit>(*dialog, "Find Project");
  QTest::keyClicks(edit, QStringLiteral("an"));
  EXPECT_EQ(CountLine(*dialog), kNone);

  Find<QRadioButton>(*dialog, "Contains")->click();
  EXPECT_THAT(Column(*dialog, 0), ElementsAre("Livia Brandt"));

  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(List(*dialog)->topLevelItemCount(), 0);
  EXPECT_EQ(CountLine(*dialog), kNone);
}

TEST_F(FindProjectDialogTest, GoToHandsBackTheChosenProject) {
  struct Way {
    const char* name;
    void (*choose)(FindProjectDialog& dialog);
  };
  const Way ways[] = {
      {"Go To", [](FindProjectDialog& d) { Find<QPushButton>(d, "Go To")->click(); }},
      {"Enter",
       [](FindProjectDialog& d) {
         QTest::keyClick(Find<QLineEdit>(d, "Find Project"), Qt::Key_Return);
       }},
      {"double click",
       [](FindProjectDialog& d) {
         QTreeWidget* list = List(d);
         DoubleClick(list, list->visualItemRect(list->currentItem()).center());
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    auto dialog = MakeDialog(QStringLiteral("#a"));
    ASSERT_EQ(List(*dialog)->topLevelItemCount(), 3);
    // The arrow keys pick a row while the focus stays in the find box.
    QTest::keyClick(Find<QLineEdit>(*dialog, "Find Project"), Qt::Key_Down);
    way.choose(*dialog);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->projectId(), ProjectId("Marisol Fenwick"));
    EXPECT_EQ(dialog->findText(), QStringLiteral("#a"));
  }

  for (const char* name : {"Done", "Esc"}) {
    SCOPED_TRACE(name);
    auto dialog = MakeDialog(QStringLiteral("Livia"));
    if (std::string(name) == "Done") {
      Find<QPushButton>(*dialog, "Done")->click();
    } else {
      QTest::keyClick(dialog.get(), Qt::Key_Escape);
    }
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->projectId(), -1);
  }
}

TEST_F(FindProjectDialogTest, ColumnsAndMatchModeAreKeptInTheProfile) {
  {
    auto dialog = MakeDialog(QString());
    const QHeaderView* header = List(*dialog)->header();
    EXPECT_EQ(header->sectionSize(0), 223);
    EXPECT_EQ(header->sectionSize(1), 146);
    EXPECT_EQ(header->sectionSize(2), 64);
    EXPECT_TRUE(Find<QRadioButton>(*dialog, "Starts With")->isChecked());

    List(*dialog)->header()->resizeSection(1, 180);
    Find<QRadioButton>(*dialog, "Contains")->click();
    Find<QPushButton>(*dialog, "Done")->click();
  }
  const Profile profile;
  EXPECT_EQ(profile.ColumnWidth("FINDPROJECT_COLUMN_CATEGORY"), 180);
  EXPECT_FALSE(profile.FindStartsWith());

  auto dialog = MakeDialog(QString());
  EXPECT_EQ(List(*dialog)->header()->sectionSize(1), 180);
  EXPECT_TRUE(Find<QRadioButton>(*dialog, "Contains")->isChecked());
}

TEST_F(FindProjectDialogTest, ProfileFallsBackOnMissingOrDamagedValues) {
  struct Case {
    const char* key;
    QVariant stored;
    int width;
  };
  const Case cases[] = {
      {"HISTORY_COLUMN_URL", QVariant(), 229},
      {"PROJECTLINKS_COLUMN_URL", QVariant(), 442},
      {"FINDPROJECT_COLUMN_NAME", QStringLiteral("wide"), 223},
      {"FINDPROJECT_COLUMN_LINKS", 0, 64},
      {"EXPORT_COLUMN_LINKS", -5, 69},
      {"IMPORT_COLUMN_CATEGORY", 90000, 117},
      {"IMPORT_RESULTS_COLUMN_RESULT", 300, 300},
      {"NO_SUCH_COLUMN", QVariant(), 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    if (c.stored.isValid()) {
      QSettings("Quillmoor", "Trawlix() PRO")
          .setValue(QStringLiteral("Columns/") + QLatin1String(c.key), c.stored);
    }
    EXPECT_EQ(Profile().ColumnWidth(c.key), c.width);
  }

  // Each radio button has its own flag; only "Contains" alone means contains.
  struct Flags {
    QVariant startsWith;
    QVariant contains;
    bool expected;
  };
  const Flags flags[] = {
      {QVariant(), QVariant(), true}, {1, 0, true}, {0, 1, false}, {1, 1, true}, {0, 0, true}};
  for (const Flags& f : flags) {
    QSettings settings("Quillmoor", "Trawlix() PRO");
    settings.remove("Options");
    if (f.startsWith.isValid()) settings.setValue("Options/FINDPROJECT_STARTSWITH", f.startsWith);
    if (f.contains.isValid()) settings.setValue("Options/FINDPROJECT_CONTAINS", f.contains);
    settings.sync();
    EXPECT_EQ(Profile().FindStartsWith(), f.expected)
        << f.startsWith.toString().toStdString() << "/" << f.contains.toString().toStdString();
  }

  Profile().SetFindText(QStringLiteral("Livia #"));
  EXPECT_EQ(Profile().FindText(), QStringLiteral("Livia #"));
}

}  // namespace
}  // namespace trawlix::ui
