#include "ui/window/CheckListPage.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "operations/DataSession.h"
#include "operations/PanelOperations.h"
#include "ui/ConfirmQuestion.h"
#include "ui/SelectionMenu.h"
#include "ui/window/MainWindowCheckList.h"
#include "ui/window/PageHost.h"
#include "ui/window/StatusPanel.h"
#include "ui/window/WindowControls.h"

namespace trawlix::ui {

CheckListPage::CheckListPage(DataSession& session, MessageSink& messages, const PageHost& host,
                             MainWindowCheckList* list, const Names& names, QWidget* parent)
    : QWidget(parent),
      session_(session),
      host_(host),
      messages_(messages),
      list_(list),
      emptySummary_(names.emptySummary) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  connect(list_, &MainWindowCheckList::checksChanged, this, &CheckListPage::rowsChanged);
  layout->addWidget(list_, 1);
  panel_ = new StatusPanel;
  panel_->setObjectName(QLatin1String(names.panel));
  panel_->setAccessibleName(names.panelAccessibleName);
  panel_->setDetail(emptySummary_);
  layout->addWidget(panel_);

  buttons_ = ButtonRow();
  selectButton_ = IconButton(IconName::SelectAll, tr("Select/Deselect All"), names.selectButton);
  selectButton_->setPopupMode(QToolButton::InstantPopup);
  selectButton_->setMenu(SelectionMenu(this, list_));
  deleteButton_ = IconButton(IconName::DeleteSelected, names.deleteToolTip, names.deleteButton);
  connect(deleteButton_, &QToolButton::clicked, this, &CheckListPage::DeleteChecked);
  buttons_->addWidget(selectButton_);
  buttons_->addWidget(deleteButton_);
  buttons_->addStretch(1);
  layout->addLayout(buttons_);
}

void CheckListPage::Reload() {
  const ProjectsRecord* project = host_.shownProject();
  if (project == nullptr) {
    Clear();
    return;
  }
  panel_->setDetail(LoadRows(project->id));
  Q_EMIT rowsChanged();
}

void CheckListPage::Clear() {
  ClearRows();
  panel_->setDetail(emptySummary_);
}

void CheckListPage::FocusList() {
  list_->setFocus();
}

void CheckListPage::SetPanelColor(int colorRef) {
  panel_->setPanelColor(colorRef);
}

void CheckListPage::ApplyToolTips(bool on) {
  for (QToolButton* button : findChildren<QToolButton*>()) {
    button->setToolTip(on ? button->accessibleName() : QString());
  }
}

void CheckListPage::SaveColumnWidths(Profile& profile) const {
  list_->SaveColumnWidths(profile);
}

void CheckListPage::SetButtonsEnabled(bool select, bool remove) {
  selectButton_->setEnabled(select);
  deleteButton_->setEnabled(remove);
}

void CheckListPage::DeleteChecked() {
  const ProjectsRecord* project = host_.shownProject();
  if (project == nullptr || host_.scanning()) return;
  const std::vector<int> ids = list_->checkedIds();
  if (ids.empty()) return;
  const int count = static_cast<int>(ids.size());
  if (!AskUnlessSwitchedOff(messages_, session_.settings(),
                            DeleteRowsQuestion(count, project->title), DeleteQuestionOption())) {
    return;
  }
  const int top = list_->topRow();
  DeleteRows(project->id, ids);
  Reload();
  list_->scrollToTopRow(top);
}

}  // namespace trawlix::ui
