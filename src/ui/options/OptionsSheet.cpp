#include "ui/options/OptionsSheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "storage/CategoriesTable.h"
#include "ui/Icons.h"
#include "ui/options/OptionsExchangePage.h"
#include "ui/options/OptionsGeneralPage.h"
#include "ui/options/OptionsNewProjectPage.h"
#include "ui/options/OptionsPageProblem.h"
#include "ui/options/OptionsScanningPage.h"

namespace trawlix::ui {

namespace {

enum Page { kGeneral, kScanning, kNewProject, kExchange };

// The category names, A to Z; none when there is no database yet, so that opening the
// options never creates one.
QStringList CategoryNames(const Settings& settings, MessageSink& messages) {
  QStringList names;
  const std::string& path = settings.Paths().databasePath;
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return names;
  CategoriesTable table(path, messages);
  if (!table.OpenTable() || !table.LoadAllCategories()) return names;
  for (const CategoriesRecord& record : table.Records()) {
    names << QString::fromStdString(record.name);
  }
  return names;
}

}  // namespace

OptionsSheet::OptionsSheet(const Settings& settings, MessageSink& messages, QWidget* parent)
    : QDialog(parent), messages_(messages), values_(settings.Values()) {
  setWindowTitle(QStringLiteral("Trawlix() PRO Options"));
  setWindowIcon(Icon(IconName::Options));

  const QStringList categories = CategoryNames(settings, messages);
  tabs_ = new QTabWidget(this);
  general_ = new OptionsGeneralPage(categories, tabs_);
  scanning_ = new OptionsScanningPage(tabs_);
  newProject_ = new OptionsNewProjectPage(categories, tabs_);
  exchange_ = new OptionsExchangePage(
      categories, QString::fromStdString(settings.Paths().defaultLogoPath), tabs_);
  tabs_->addTab(general_, QStringLiteral("General"));
  tabs_->addTab(scanning_, QStringLiteral("Scanning && Processing"));
  tabs_->addTab(newProject_, QStringLiteral("New Project - Default Settings"));
  tabs_->addTab(exchange_, QStringLiteral("Importing && Exporting"));
  tabs_->setAccessibleName(QStringLiteral("Options Pages"));

  general_->load(values_);
  scanning_->load(values_);
  newProject_->load(values_);
  exchange_->load(values_);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons_, &QDialogButtonBox::accepted, this, &OptionsSheet::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &OptionsSheet::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &OptionsSheet::pageChanged);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(buttons_);
  resize(sizeHint().expandedTo(QSize(640, 560)));
}

std::optional<std::string> OptionsSheet::newLogoPath() const {
  return exchange_->newLogoPath();
}

bool OptionsSheet::pagePasses(int index) {
  std::optional<OptionsPageProblem> problem;
  if (index == kGeneral) problem = general_->check();
  if (index == kScanning) problem = scanning_->check();
  if (!problem) return true;
  messages_.Inform(problem->message.toStdString());
  if (tabs_->currentIndex() != index) {
    returning_ = true;
    tabs_->setCurrentIndex(index);
    returning_ = false;
  }
  currentPage_ = index;
  if (problem->focus) problem->focus->setFocus(Qt::OtherFocusReason);
  return false;
}

// A page with a refusal cannot be left: the sheet goes back to it.
void OptionsSheet::pageChanged(int index) {
  if (returning_) return;
  const int left = currentPage_;
  currentPage_ = index;
  if (left != index) pagePasses(left);
}

void OptionsSheet::accept() {
  for (int page = 0; page < tabs_->count(); ++page) {
    if (!pagePasses(page)) return;
  }
  SettingsValues edited = values_;
  general_->store(edited);
  scanning_->store(edited);
  newProject_->store(edited);
  exchange_->store(edited);
  scanning_->storeProfile();
  values_ = std::move(edited);
  QDialog::accept();
}

}  // namespace trawlix::ui
