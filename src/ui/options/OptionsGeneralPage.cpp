#include "ui/options/OptionsGeneralPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "operations/OptionsSchema.h"
#include "platform/UserFolders.h"
#include "settings/SettingsValues.h"
#include "ui/Icons.h"
#include "ui/options/OptionsControls.h"

namespace trawlix::ui {

using options::AddRow;
using options::MakeButton;

namespace {

// The photo viewer's layouts: view index and the photos a page shows.
struct ThumbnailViewChoice {
  int index;
  const char* caption;
};
constexpr ThumbnailViewChoice kThumbnailViews[] = {
    {0, "1 Photo"},   {1, "2 Photos"},  {2, "4 Photos"},   {3, "6 Photos"},
    {4, "8 Photos"},  {5, "10 Photos"}, {6, "12 Photos"},  {7, "16 Photos"},
    {8, "20 Photos"}, {9, "25 Photos"}, {10, "30 Photos"}, {11, "36 Photos"},
};

constexpr const char* kDoubleClickChoices[] = {
    "Show the Photo's Properties",
    "Switch to the Single Photo View",
    "Edit the Photo",
    "Open the Photo",
};

}  // namespace

OptionsGeneralPage::OptionsGeneralPage(const QStringList& categories, QWidget* parent)
    : QWidget(parent) {
  QGroupBox* saveToGroup = BuildSaveToGroup();
  QGroupBox* viewerGroup = BuildViewerGroup();
  QGroupBox* startGroup = BuildStartGroup(categories);
  QGroupBox* confirmGroup = BuildConfirmGroup();
  QGroupBox* afterGroup = BuildAfterScanGroup();
  auto* grid = new QGridLayout(this);
  grid->addWidget(saveToGroup, 0, 0, 1, 2);
  grid->addWidget(viewerGroup, 1, 0);
  grid->addWidget(confirmGroup, 1, 1);
  grid->addWidget(startGroup, 2, 0);
  grid->addWidget(afterGroup, 2, 1);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  grid->setRowStretch(3, 1);
  SetTabOrder();
}

QGroupBox* OptionsGeneralPage::BuildSaveToGroup() {
  auto* saveToGroup = new QGroupBox(tr("Default 'Save To' Location"), this);
  saveTo_ = new QLineEdit(saveToGroup);
  saveTo_->setAccessibleName(tr("Default 'Save To' Location"));
  browse_ = new QToolButton(saveToGroup);
  browse_->setIcon(Icon(IconName::Browse));
  browse_->setToolTip(tr("Select Folder"));
  browse_->setAccessibleName(tr("Select Folder"));
  useProjectName_ =
      MakeButton<QCheckBox>(tr("Use the Project's &Name for the 'Save To' Location"), saveToGroup);
  autoCreateFolders_ = MakeButton<QCheckBox>(
      tr("Automatically Create the 'Save To', 'Thumbnails' && 'Mobile Photo' &Folders"),
      saveToGroup);
  auto* saveToRow = new QHBoxLayout;
  saveToRow->addWidget(saveTo_, 1);
  saveToRow->addWidget(browse_);
  auto* saveToLayout = new QVBoxLayout(saveToGroup);
  saveToLayout->addLayout(saveToRow);
  saveToLayout->addWidget(useProjectName_);
  saveToLayout->addWidget(autoCreateFolders_);
  connect(browse_, &QToolButton::clicked, this, &OptionsGeneralPage::browseSaveTo);
  return saveToGroup;
}

QGroupBox* OptionsGeneralPage::BuildViewerGroup() {
  auto* viewerGroup = new QGroupBox(tr("Photo Viewer"), this);
  thumbnailView_ = new QComboBox(viewerGroup);
  for (const auto& choice : kThumbnailViews) {
    thumbnailView_->addItem(QString::fromLatin1(choice.caption), choice.index);
  }
  doubleClick_ = new QComboBox(viewerGroup);
  for (int i = 0; i < 4; ++i) doubleClick_->addItem(tr(kDoubleClickChoices[i]), i);
  showTooltips_ = MakeButton<QCheckBox>(tr("Show &Tooltips"), viewerGroup);
  dropShadow_ = MakeButton<QCheckBox>(tr("Display a Drop &Shadow around Photos"), viewerGroup);
  reloadViewer_ =
      MakeButton<QCheckBox>(tr("&Reload the Viewer after Photo Tools && Edits"), viewerGroup);
  autoFollow_ = MakeButton<QCheckBox>(tr("Enable &Auto Follow while Scanning"), viewerGroup);
  auto* viewerForm = new QFormLayout(viewerGroup);
  AddRow(viewerForm, tr("Thumbnail &View:"), thumbnailView_);
  AddRow(viewerForm, tr("Dou&ble-Click:"), doubleClick_);
  viewerForm->addRow(showTooltips_);
  viewerForm->addRow(dropShadow_);
  viewerForm->addRow(reloadViewer_);
  viewerForm->addRow(autoFollow_);
  return viewerGroup;
}

QGroupBox* OptionsGeneralPage::BuildStartGroup(const QStringList& categories) {
  auto* startGroup = new QGroupBox(tr("Start-up"), this);
  startupCategory_ = new QComboBox(startGroup);
  startupCategory_->addItem(QStringLiteral("All"));
  startupCategory_->addItems(categories);
  rememberLast_ = MakeButton<QCheckBox>(tr("Remember &Last Category && Project"), startGroup);
  pasteAndGo_ = new QComboBox(startGroup);
  pasteAndGo_->addItem(tr("Paste the URL Only"), 0);
  pasteAndGo_->addItem(tr("Paste the URL and Start Scanning"), 1);
  auto* startForm = new QFormLayout(startGroup);
  AddRow(startForm, tr("Startup Cate&gory:"), startupCategory_);
  startForm->addRow(rememberLast_);
  AddRow(startForm, tr("&Paste && Go:"), pasteAndGo_);
  return startGroup;
}

QGroupBox* OptionsGeneralPage::BuildConfirmGroup() {
  auto* confirmGroup = new QGroupBox(tr("Confirm before..."), this);
  confirmProjects_ = MakeButton<QCheckBox>(tr("Deleting Pro&jects"), confirmGroup);
  confirmPhotos_ = MakeButton<QCheckBox>(tr("Deleting P&hotos"), confirmGroup);
  confirmHistory_ = MakeButton<QCheckBox>(tr("Deleting Scan H&istory"), confirmGroup);
  confirmLinks_ = MakeButton<QCheckBox>(tr("Deleting Project Lin&ks"), confirmGroup);
  confirmExit_ = MakeButton<QCheckBox>(tr("E&xiting (if scanning)"), confirmGroup);
  auto* confirmLayout = new QVBoxLayout(confirmGroup);
  for (QCheckBox* box :
       {confirmProjects_, confirmPhotos_, confirmHistory_, confirmLinks_, confirmExit_}) {
    confirmLayout->addWidget(box);
  }
  confirmLayout->addStretch(1);
  return confirmGroup;
}

QGroupBox* OptionsGeneralPage::BuildAfterScanGroup() {
  auto* afterGroup = new QGroupBox(tr("After Scanning"), this);
  displayResults_ = MakeButton<QCheckBox>(tr("&Display Scan Results"), afterGroup);
  restoreWindow_ = MakeButton<QCheckBox>(tr("Restore &Window"), afterGroup);
  auto* afterLayout = new QVBoxLayout(afterGroup);
  afterLayout->addWidget(displayResults_);
  afterLayout->addWidget(restoreWindow_);
  afterLayout->addStretch(1);
  return afterGroup;
}

void OptionsGeneralPage::SetTabOrder() {
  QWidget* const order[] = {saveTo_,         browse_,       useProjectName_,  autoCreateFolders_,
                            thumbnailView_,  doubleClick_,  showTooltips_,    dropShadow_,
                            reloadViewer_,   autoFollow_,   confirmProjects_, confirmPhotos_,
                            confirmHistory_, confirmLinks_, confirmExit_,     startupCategory_,
                            rememberLast_,   pasteAndGo_,   displayResults_,  restoreWindow_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

void OptionsGeneralPage::load(const SettingsValues& v) {
  if (thumbnailView_->findData(v.thumbnailView) < 0) {
    thumbnailView_->addItem(tr("View %1").arg(v.thumbnailView), v.thumbnailView);
  }
  options::SelectData(thumbnailView_, v.thumbnailView);
  options::SelectData(doubleClick_, v.viewerDoubleClick);
  showTooltips_->setChecked(v.showTooltips);
  dropShadow_->setChecked(v.viewerDropShadow);
  reloadViewer_->setChecked(v.reloadViewerAfterChanges);
  autoFollow_->setChecked(v.autoFollow);
  options::SelectOrAddText(startupCategory_, QString::fromStdString(v.startupCategory));
  rememberLast_->setChecked(v.rememberLastProject);
  options::SelectData(pasteAndGo_, v.pasteAndGo);
  saveTo_->setText(QString::fromStdString(v.defaultSaveTo));
  useProjectName_->setChecked(v.useProjectNameForSaveTo);
  autoCreateFolders_->setChecked(v.autoCreateFolders);
  confirmProjects_->setChecked(v.confirmDeleteProjects);
  confirmPhotos_->setChecked(v.confirmDeletePhotos);
  confirmHistory_->setChecked(v.confirmDeleteHistory);
  confirmLinks_->setChecked(v.confirmDeleteProjectLinks);
  confirmExit_->setChecked(v.confirmExitWhileScanning);
  displayResults_->setChecked(v.displayScanResults);
  restoreWindow_->setChecked(v.restoreWindowAfterScan);
}

void OptionsGeneralPage::store(SettingsValues& v) const {
  v.thumbnailView = options::SelectedData(thumbnailView_, v.thumbnailView);
  v.viewerDoubleClick = options::SelectedData(doubleClick_, v.viewerDoubleClick);
  v.showTooltips = showTooltips_->isChecked();
  v.viewerDropShadow = dropShadow_->isChecked();
  v.reloadViewerAfterChanges = reloadViewer_->isChecked();
  v.autoFollow = autoFollow_->isChecked();
  v.startupCategory = startupCategory_->currentText().toStdString();
  v.rememberLastProject = rememberLast_->isChecked();
  v.pasteAndGo = options::SelectedData(pasteAndGo_, v.pasteAndGo);
  v.defaultSaveTo = saveTo_->text().trimmed().toStdString();
  v.useProjectNameForSaveTo = useProjectName_->isChecked();
  v.autoCreateFolders = autoCreateFolders_->isChecked();
  v.confirmDeleteProjects = confirmProjects_->isChecked();
  v.confirmDeletePhotos = confirmPhotos_->isChecked();
  v.confirmDeleteHistory = confirmHistory_->isChecked();
  v.confirmDeleteProjectLinks = confirmLinks_->isChecked();
  v.confirmExitWhileScanning = confirmExit_->isChecked();
  v.displayScanResults = displayResults_->isChecked();
  v.restoreWindowAfterScan = restoreWindow_->isChecked();
}

std::optional<OptionsPageProblem> OptionsGeneralPage::check() const {
  const QString folder = saveTo_->text().trimmed();
  // A new account may have no Pictures folder yet: the default location is made when first
  // needed rather than refused. A folder the user typed must exist.
  const bool isDefault =
      QDir::cleanPath(folder) == QDir::cleanPath(QString::fromStdString(PicturesFolder()));
  if (isDefault) QDir().mkpath(folder);
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return std::nullopt;
  return OptionsPageProblem{QString::fromLatin1(kInvalidSaveToMessage), saveTo_};
}

void OptionsGeneralPage::browseSaveTo() {
  const QString folder = QFileDialog::getExistingDirectory(
      this, tr("Choose default 'Save To' Folder."), saveTo_->text().trimmed());
  if (!folder.isEmpty()) saveTo_->setText(QDir::toNativeSeparators(folder));
}

}  // namespace trawlix::ui
