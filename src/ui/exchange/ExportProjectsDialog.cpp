#include "ui/exchange/ExportProjectsDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/MessageBox.h"
#include "operations/ExchangeOperations.h"
#include "operations/ProjectOperations.h"
#include "storage/CategoriesTable.h"
#include "ui/FormControls.h"
#include "ui/HelpGuide.h"
#include "ui/SelectionMenu.h"
#include "ui/exchange/ExportDialogDetails.h"
#include "ui/exchange/ImportExportDialogList.h"

namespace trawlix::ui {

namespace {

constexpr std::string_view kNoneChecked = "Choose Projects to Export...";

QPushButton* TextButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setAccessibleName(SpokenText(caption));
  return button;
}

// The progress shows only while projects are written; its room stays, so nothing moves.
void ShowProgress(QLabel* text, QProgressBar* bar, bool show) {
  for (QWidget* widget : std::initializer_list<QWidget*>{text, bar}) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    widget->setVisible(show);
  }
}

}  // namespace

ExportProjectsDialog::ExportProjectsDialog(DataSession& session, MessageSink& messages,
                                           int categoryId, int checkedProjectId, QWidget* parent)
    : QDialog(parent),
      session_(session),
      messages_(messages),
      details_(new ExportDialogDetails(NewExportRequest(session), tr("Untitled.txexport"), messages,
                                       this)),
      category_(new QComboBox(this)),
      list_(new ImportExportDialogList(ImportExportDialogList::Keys::Export,
                                       tr("Projects to Export"), this)),
      counter_(new QLabel(this)),
      progressText_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      exportButton_(TextButton(tr("&Export"), this)) {
  setWindowTitle(tr("Export Trawlix() PRO Projects"));
  if (checkedProjectId >= 0) keepChecked_.push_back(checkedProjectId);

  auto* categoryLabel = new QLabel(tr("&By Category:"), this);
  LabelField(categoryLabel, category_);
  category_->addItem(QString::fromStdString(std::string(kAllCategoriesName)), kAllCategoriesId);
  if (const auto categories = LoadCategories(session_)) {
    for (const CategoriesRecord& category : *categories) {
      category_->addItem(QString::fromStdString(category.name), category.id);
    }
  }
  const int start = category_->findData(categoryId);
  category_->setCurrentIndex(start >= 0 ? start : 0);
  category_->setMinimumContentsLength(18);
  auto* select = TextButton(tr("&Select"), this);
  select->setMenu(SelectionMenu(select, list_));
  auto* listRow = new QHBoxLayout;
  listRow->addWidget(categoryLabel);
  listRow->addWidget(category_);
  listRow->addStretch(1);
  listRow->addWidget(select);

  list_->setMinimumSize(520, 200);
  progressText_->setTextFormat(Qt::PlainText);  // project titles are the user's text
  progress_->setTextVisible(false);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  progress_->setAccessibleName(tr("Export Progress"));
  progress_->setFixedWidth(200);
  ShowProgress(progressText_, progress_, false);

  auto* cancel = TextButton(tr("&Cancel"), this);
  auto* help = TextButton(tr("&Help"), this);
  help->setObjectName(QStringLiteral("helpButton"));
  ConnectHelp(help, this, HelpTopic::Export, messages_);
  exportButton_->setDefault(true);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(exportButton_, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  buttons->addButton(help, QDialogButtonBox::HelpRole);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(details_);
  layout->addSpacing(8);
  layout->addLayout(listRow);
  layout->addWidget(list_, 1);
  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(counter_);
  statusRow->addStretch(1);
  statusRow->addWidget(progressText_);
  statusRow->addWidget(progress_);
  layout->addLayout(statusRow);
  layout->addWidget(buttons);

  connect(category_, &QComboBox::currentIndexChanged, this, &ExportProjectsDialog::FillList);
  connect(list_, &ImportExportDialogList::checksChanged, this, [this] {
    // A row's check is remembered when another category hides it for a while.
    for (int row = 0; row < list_->rowCount(); ++row) {
      std::erase(keepChecked_, list_->idAt(row));
    }
    for (const int id : list_->checkedIds()) keepChecked_.push_back(id);
    UpdateControls();
  });
  connect(details_, &ExportDialogDetails::pathChanged, this, &ExportProjectsDialog::UpdateControls);
  connect(exportButton_, &QPushButton::clicked, this, &ExportProjectsDialog::Export);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  setTabOrder(details_->descriptionEdit(), category_);
  setTabOrder(category_, select);
  setTabOrder(select, list_);
  setTabOrder(list_, exportButton_);
  setTabOrder(exportButton_, cancel);
  FillList();
  details_->pathEdit()->setFocus();
}

void ExportProjectsDialog::FillList() {
  const std::vector<int> keep = keepChecked_;
  list_->BeginRows();
  if (const auto rows = LoadExportList(session_, category_->currentData().toInt())) {
    for (const ExportListRow& row : *rows) {
      list_->AddProject(row.id, row.title, row.links, row.photos, row.category,
                        std::ranges::find(keep, row.id) != keep.end());
    }
  }
  list_->EndRows();
  // The first checked row is the one in view.
  for (int row = 0; row < list_->rowCount(); ++row) {
    if (list_->topLevelItem(row)->checkState(0) != Qt::Checked) continue;
    list_->setCurrentItem(list_->topLevelItem(row));
    list_->scrollToItem(list_->topLevelItem(row));
    break;
  }
}

void ExportProjectsDialog::UpdateControls() {
  const int checked = list_->checkedCount();
  counter_->setText(QString::fromStdString(ProjectsSelectedText(checked, kNoneChecked)));
  exportButton_->setEnabled(checked > 0 && !details_->path().isEmpty());
}

void ExportProjectsDialog::Export() {
  exchange::ExportRequest request = NewExportRequest(session_);
  request.projectIds = list_->checkedIds();
  if (request.projectIds.empty()) {
    messages_.Inform(std::string(kNoneChecked));
    return;
  }
  if (!details_->Fill(request)) return;

  // The window stays responsive to painting while the projects are read, not to input.
  details_->SetBusy(true);
  for (QWidget* control : std::initializer_list<QWidget*>{category_, list_, exportButton_}) {
    control->setEnabled(false);
  }
  progress_->setRange(0, static_cast<int>(request.projectIds.size()));
  ShowProgress(progressText_, progress_, true);
  const exchange::ExportResult result =
      ExportProjects(session_, request, [this](std::size_t index, const std::string& title) {
        progressText_->setText(tr("Exporting Project: %1").arg(QString::fromStdString(title)));
        progress_->setValue(static_cast<int>(index) + 1);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      });
  progressText_->clear();
  progress_->setValue(0);
  ShowProgress(progressText_, progress_, false);
  details_->SetBusy(false);
  category_->setEnabled(true);
  list_->setEnabled(true);
  UpdateControls();
  messages_.Show(result.Box());
  if (result.ok) accept();
}

}  // namespace trawlix::ui
