#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "MainWindowTestFixture.h"
#include "exchange/ExchangeFile.h"
#include "ui/HelpGuide.h"
#include "ui/exchange/ExportProjectDialog.h"
#include "ui/exchange/ExportProjectsDialog.h"
#include "ui/exchange/ImportDialog.h"
#include "ui/viewer/PhotoViewerLayout.h"
#include "ui/window/CategoriesDialog.h"

namespace trawlix::ui {
namespace {

constexpr HelpTopic kTopics[] = {
    HelpTopic::Contents, HelpTopic::GettingStarted, HelpTopic::Projects,   HelpTopic::Categories,
    HelpTopic::Scanning, HelpTopic::Viewer,         HelpTopic::BatchTools, HelpTopic::Exchange,
    HelpTopic::Import,   HelpTopic::Export,         HelpTopic::Options,    HelpTopic::CommandLine,
};

// Pages open into `opened` instead of a browser while the scope lives.
class OpenerScope {
 public:
  explicit OpenerScope(bool succeed = true)
      : previous_(SetHelpOpener([this, succeed](const QUrl& url) {
          opened.push_back(url);
          return succeed;
        })) {}
  ~OpenerScope() { SetHelpOpener(std::move(previous_)); }

  std::vector<QUrl> opened;

 private:
  HelpOpener previous_;
};

QString ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// Whether `page` (a file of the guide, with or without "#anchor") exists with its anchor.
bool PageExists(const QDir& guide, const QString& page) {
  const qsizetype hash = page.indexOf(QLatin1Char('#'));
  const QString file = guide.filePath(page.left(hash));
  if (!QFile::exists(file)) return false;
  if (hash < 0) return true;
  return ReadAll(file).contains(QStringLiteral("id=\"%1\"").arg(page.mid(hash + 1)));
}

TEST(HelpGuideTest, EveryTopicAndEveryLinkOfTheGuideLeadsToAPageThatExists) {
  const QString folder = FindGuideFolder();
  ASSERT_FALSE(folder.isEmpty()) << GuideFolderCandidates().join(u' ').toStdString();
  const QDir guide(folder);
  for (HelpTopic topic : kTopics) {
    EXPECT_TRUE(PageExists(guide, HelpPageName(topic))) << HelpPageName(topic).toStdString();
  }
  // Pages, anchors, pictures and the style sheet: nothing a page names may be missing.
  const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
  const QStringList pages = guide.entryList({QStringLiteral("*.html")}, QDir::Files);
  ASSERT_GE(pages.size(), 9);
  for (const QString& page : pages) {
    const QString text = ReadAll(guide.filePath(page));
    EXPECT_TRUE(text.contains(QStringLiteral("<title>"))) << page.toStdString();
    for (const QRegularExpressionMatch& match : reference.globalMatch(text)) {
      QString target = match.captured(1);
      if (target.startsWith(QStringLiteral("http"))) continue;
      if (target.startsWith(QLatin1Char('#'))) target.prepend(page);
      EXPECT_TRUE(PageExists(guide, target))
          << page.toStdString() << " -> " << target.toStdString();
    }
  }
}

// The guide names the views Ctrl+Plus steps through, in the viewer's own order.
TEST(HelpGuideTest, TheViewerPageListsTheViewsAsTheViewerHasThem) {
  const QString folder = FindGuideFolder();
  ASSERT_FALSE(folder.isEmpty());
  const QString text = ReadAll(QDir(folder).filePath(HelpPageName(HelpTopic::Viewer)));
  QStringList counts;
  for (int view = PhotoViewerLayout::kSingleView; view <= PhotoViewerLayout::kLastView; ++view)
    counts << QString::number(PhotoViewerLayout::View(view).perPage);
  const QString last = counts.takeLast();
  const QString listed = counts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
  EXPECT_TRUE(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).contains(listed))
      << listed.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("More or fewer photos a page")));
}

TEST(HelpGuideTest, TheGuideIsTakenFromTheFirstFolderThatHoldsIt) {
  trawlix::testing::TempDir temp;
  const QString empty = QString::fromStdString((temp / "empty").string());
  const QString installed = QString::fromStdString((temp / "installed").string());
  const QString source = QString::fromStdString((temp / "source").string());
  for (const QString& folder : {empty, installed, source}) QDir().mkpath(folder);
  for (const QString& folder : {installed, source}) {
    QFile index(QDir(folder).filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
  }
  struct Case {
    QStringList candidates;
    QString found;
  };
  const Case cases[] = {
      {{empty, installed, source}, installed},
      {{source, installed}, source},
      {{empty}, QString()},
      {{}, QString()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindGuideFolder(c.candidates), c.found) << c.candidates.join(u' ').toStdString();
  }
  const QUrl url = HelpPageUrl(source, HelpTopic::Categories);
  EXPECT_EQ(url.toLocalFile(), QDir(source).filePath(QStringLiteral("projects.html")));
  EXPECT_EQ(url.fragment(), QStringLiteral("categories"));
}

using HelpWindowTest = testing::MainWindowTest;

QAction* MenuAction(MainWindow& window, const QString& text) {
  auto* button = window.findChild<QPushButton*>(QStringLiteral("helpButton"));
  if (!button || !button->menu()) return nullptr;
  for (QAction* action : button->menu()->actions()) {
    if (action->text() == text) return action;
  }
  return nullptr;
}

TEST_F(HelpWindowTest, F1AndTheHelpMenuOpenTheirPagesOfTheGuide) {
  OpenerScope opener;
  Window().show();
  Window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  QTest::keyClick(&Window(), Qt::Key_F1);
  QAction* guide = MenuAction(Window(), QStringLiteral("User Guide"));
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(guide->shortcut(), QKeySequence(Qt::Key_F1));
  QAction* quickStart = MenuAction(Window(), QStringLiteral("QuickStart Guide"));
  ASSERT_NE(quickStart, nullptr);
  quickStart->trigger();

  ASSERT_EQ(opener.opened.size(), 2u);
  EXPECT_EQ(opener.opened[0].fileName(), QStringLiteral("index.html"));
  EXPECT_TRUE(opener.opened[0].isLocalFile());
  EXPECT_EQ(opener.opened[1].fileName(), QStringLiteral("getting-started.html"));
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(HelpWindowTest, APageNoBrowserTookIsReported) {
  OpenerScope opener(false);
  EXPECT_FALSE(OpenHelp(HelpTopic::Scanning, sink_));
  ASSERT_EQ(sink_.requests.size(), 1u);
  EXPECT_EQ(sink_.requests[0].icon, MessageIcon::Warning);
  EXPECT_NE(sink_.requests[0].text.find("scanning.html"), std::string::npos);
}

TEST_F(HelpWindowTest, EachDialogsHelpButtonAndF1OpenItsPage) {
  const int category = AddCategory("Exports");
  const int id = AddProject("Shore", category);
  const ProjectsRecord project = *LoadProject(*session_, id);
  struct Case {
    const char* dialog;
    std::function<std::unique_ptr<QDialog>()> make;
    const char* page;
    const char* anchor;
  };
  const Case cases[] = {
      {"categories", [&] { return std::make_unique<CategoriesDialog>(*session_, sink_); },
       "projects.html", "categories"},
      {"export one",
       [&] { return std::make_unique<ExportProjectDialog>(*session_, project, sink_); },
       "import-export.html", "export"},
      {"export several",
       [&] { return std::make_unique<ExportProjectsDialog>(*session_, sink_, category, id); },
       "import-export.html", "export"},
      {"import",
       [&] {
         return std::make_unique<ImportDialog>(*session_, "/tmp/none.txexport",
                                               exchange::ExchangeFile{}, sink_);
       },
       "import-export.html", "import"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog);
    OpenerScope opener;
    const std::unique_ptr<QDialog> dialog = c.make();
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QPushButton* help = nullptr;
    for (auto* button : dialog->findChildren<QPushButton*>()) {
      if (button->accessibleName() == QLatin1String("Help")) help = button;
    }
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isEnabled());
    help->click();
    QTest::keyClick(dialog.get(), Qt::Key_F1);
    ASSERT_EQ(opener.opened.size(), 2u);
    for (const QUrl& url : opener.opened) {
      EXPECT_EQ(url.fileName(), QLatin1String(c.page));
      EXPECT_EQ(url.fragment(), QLatin1String(c.anchor));
    }
  }
}

}  // namespace
}  // namespace trawlix::ui
