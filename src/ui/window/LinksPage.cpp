#include "ui/window/LinksPage.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "base/Number.h"
#include "operations/DataSession.h"
#include "operations/PanelOperations.h"
#include "ui/WebPageOpener.h"
#include "ui/window/MainWindowState.h"
#include "ui/window/Profile.h"
#include "ui/window/ProjectLinksList.h"
#include "ui/window/WindowControls.h"

namespace trawlix::ui {

namespace {

ProjectLinksList* MakeList() {
  auto* links = new ProjectLinksList;
  links->setObjectName(QStringLiteral("linksList"));
  links->RestoreColumnWidths(Profile());
  return links;
}

}  // namespace

LinksPage::LinksPage(DataSession& session, MessageSink& messages, const PageHost& host,
                     QWidget* parent)
    : CheckListPage(session, messages, host, MakeList(),
                    {"linksPanel", tr("Project Links Summary"), QString(), "linksSelect",
                     "linksDelete", tr("Delete Selected Project Links")},
                    parent),
      links_(findChild<ProjectLinksList*>()) {
  connect(links_, &ProjectLinksList::orderChanged, this, &LinksPage::Reload);
  connect(links_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OpenLinkOfRow(links_->indexOfTopLevelItem(item)); });
  rescanButton_ = IconButton(IconName::Rescan, tr("Rescan Selected URLs"), "rescanButton");
  connect(rescanButton_, &QToolButton::clicked, this, &LinksPage::rescanRequested);
  buttonRow().addWidget(rescanButton_);
}

void LinksPage::ApplyEnabled(const MainWindowEnabled& enabled) {
  SetButtonsEnabled(enabled.selectLinks, enabled.deleteLinks);
  rescanButton_->setEnabled(enabled.rescan);
}

QString LinksPage::LoadRows(int projectId) {
  links_->Load(session_, projectId);
  return QStringLiteral("Project Links: %1 ")
      .arg(QString::fromStdString(FormatThousands(links_->rowCount())));
}

void LinksPage::ClearRows() {
  links_->Clear();
}

bool& LinksPage::DeleteQuestionOption() {
  return session_.settings().Values().confirmDeleteProjectLinks;
}

void LinksPage::DeleteRows(int projectId, const std::vector<int>& ids) {
  DeleteProjectLinkRows(session_, projectId, ids);
}

void LinksPage::OpenLinkOfRow(int row) {
  // The row may be older than the table: the stored link decides.
  const auto link = LoadProjectLink(session_, links_->idAt(row));
  if (link && !link->url.empty()) OpenWebPage(QString::fromStdString(link->url));
}

}  // namespace trawlix::ui
