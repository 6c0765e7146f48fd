#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "operations/CategoryOperations.h"
#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "storage/ProjectDefaults.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/window/MainWindow.h"
#include "ui/window/ViewerPage.h"

namespace trawlix::ui::testing {

// A data folder of its own (seeded as on a first start) and a main window over it.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : home_(temp_.str()) {
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    EXPECT_NE(session_, nullptr) << error;
  }
  ~MainWindowTest() override { window_.reset(); }

  int AddCategory(const std::string& name) {
    const CategoryChange change = trawlix::AddCategory(*session_, name);
    EXPECT_TRUE(change.Done()) << name;
    return change.id;
  }

  int AddProject(const std::string& title, int categoryId, const std::string& url = {}) {
    ProjectsRecord record = NewProjectRecord(session_->settings().Values(), {});
    record.title = title;
    record.catId = categoryId;
    record.url = url.empty() ? "http://127.0.0.1:9/" + title : url;
    record.saveTo = (temp_ / "photos" / title).string();
    CompleteNewProject(record, session_->settings().Values());
    const ProjectSaveResult saved = trawlix::AddProject(*session_, record, TitleRule::Any);
    EXPECT_EQ(saved.outcome, SaveOutcome::Saved) << title;
    return saved.id;
  }

  MainWindow& Window() {
    if (!window_) window_ = std::make_unique<MainWindow>(*session_, sink_);
    return *window_;
  }
  QListWidget* List() { return Window().findChild<QListWidget*>(QStringLiteral("projectList")); }
  QComboBox* Filter() { return Window().findChild<QComboBox*>(QStringLiteral("categoryFilter")); }

  void ShowCategory(int categoryId) {
    Filter()->setCurrentIndex(Filter()->findData(categoryId));
    ASSERT_EQ(Window().filterCategoryId(), categoryId);
  }
  void SelectTitle(const QString& title) {
    const auto items = List()->findItems(title, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << title.toStdString();
    List()->setCurrentItem(items.front());
  }
  std::string SelectedTitle() {
    return Window().currentProject() ? Window().currentProject()->title : std::string();
  }
  QStringList Titles() {
    QStringList titles;
    for (int i = 0; i < List()->count(); ++i) titles << List()->item(i)->text();
    return titles;
  }

  trawlix::testing::TempDir temp_;
  trawlix::testing::HomeOverride home_;
  trawlix::testing::RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace trawlix::ui::testing
