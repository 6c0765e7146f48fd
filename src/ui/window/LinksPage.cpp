#include "ui/window/LinksPage.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

#include "base/Number.h"
#include "operations/DataSession.h"
#include "operations/PanelOperations.h"
#include "ui/ConfirmQuestion.h"
#include "ui/SelectionMenu.h"
#include "ui/WebPageOpener.h"
#include "ui/window/MainWindowState.h"
#include "ui/window/PageHost.h"
#include "ui/window/Profile.h"
#include "ui/window/ProjectLinksList.h"
#include "ui/window/StatusPanel.h"
#include "ui/window/WindowControls.h"

namespace trawlix::ui {

LinksPage::LinksPage(DataSession& session, MessageSink& messages, const PageHost& host,
                     QWidget* parent)
    : QWidget(parent), session_(session), messages_(messages), host_(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  links_ = new ProjectLinksList;
  links_->setObjectName(QStringLiteral("linksList"));
  links_->RestoreColumnWidths(Profile());
  connect(links_, &ProjectLinksList::checksChanged, this, &LinksPage::rowsChanged);
  connect(links_, &ProjectLinksList::orderChanged, this, &LinksPage::Reload);
  connect(links_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OpenLinkOfRow(links_->indexOfTopLevelItem(item)); });
  layout->addWidget(links_, 1);
  panel_ = new StatusPanel;
  panel_->setObjectName(QStringLiteral("linksPanel"));
  panel_->setAccessibleName(tr("Project Links Summary"));
  layout->addWidget(panel_);

  auto* buttons = ButtonRow();
  selectButton_ = IconButton(IconName::SelectAll, tr("Select/Deselect All"), "linksSelect");
  selectButton_->setPopupMode(QToolButton::InstantPopup);
  selectButton_->setMenu(SelectionMenu(this, links_));
  deleteButton_ =
      IconButton(IconName::DeleteSelected, tr("Delete Selected Project Links"), "linksDelete");
  rescanButton_ = IconButton(IconName::Rescan, tr("Rescan Selected URLs"), "rescanButton");
  connect(deleteButton_, &QToolButton::clicked, this, &LinksPage::DeleteChecked);
  connect(rescanButton_, &QToolButton::clicked, this, &LinksPage::rescanRequested);
  buttons->addWidget(selectButton_);
  buttons->addWidget(deleteButton_);
  buttons->addStretch(1);
  buttons->addWidget(rescanButton_);
  layout->addLayout(buttons);
}

void LinksPage::Reload() {
  const ProjectsRecord* project = host_.shownProject();
  if (project == nullptr) {
    Clear();
    return;
  }
  links_->Load(session_, project->id);
  panel_->setDetail(QStringLiteral("Project Links: %1 ")
                        .arg(QString::fromStdString(FormatThousands(links_->rowCount()))));
  Q_EMIT rowsChanged();
}

void LinksPage::Clear() {
  links_->Clear();
  panel_->setDetail({});
}

void LinksPage::FocusList() {
  links_->setFocus();
}

void LinksPage::SetPanelColor(int colorRef) {
  panel_->setPanelColor(colorRef);
}

void LinksPage::ApplyToolTips(bool on) {
  for (QToolButton* button : {selectButton_, deleteButton_, rescanButton_}) {
    button->setToolTip(on ? button->accessibleName() : QString());
  }
}

void LinksPage::ApplyEnabled(const MainWindowEnabled& enabled) {
  selectButton_->setEnabled(enabled.selectLinks);
  deleteButton_->setEnabled(enabled.deleteLinks);
  rescanButton_->setEnabled(enabled.rescan);
}

void LinksPage::SaveColumnWidths(Profile& profile) const {
  links_->SaveColumnWidths(profile);
}

void LinksPage::DeleteChecked() {
  const ProjectsRecord* project = host_.shownProject();
  if (project == nullptr || host_.scanning()) return;
  const std::vector<int> ids = links_->checkedIds();
  if (ids.empty()) return;
  const int count = static_cast<int>(ids.size());
  if (!AskUnlessSwitchedOff(messages_, session_.settings(),
                            DeleteRowsQuestion(count, project->title),
                            session_.settings().Values().confirmDeleteProjectLinks)) {
    return;
  }
  const int top = links_->topRow();
  DeleteProjectLinkRows(session_, project->id, ids);
  Reload();
  links_->scrollToTopRow(top);
}

void LinksPage::OpenLinkOfRow(int row) {
  // The row may be older than the table: the stored link decides.
  const auto link = LoadProjectLink(session_, links_->idAt(row));
  if (link && !link->url.empty()) OpenWebPage(QString::fromStdString(link->url));
}

}  // namespace trawlix::ui
