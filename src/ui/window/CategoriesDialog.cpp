#include "ui/window/CategoriesDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "operations/CategoryOperations.h"
#include "operations/ProjectOperations.h"
#include "ui/FormControls.h"
#include "ui/HelpGuide.h"

namespace trawlix::ui {

namespace {

constexpr int kIdRole = Qt::UserRole;

QPushButton* MakeButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setAccessibleName(SpokenText(caption));
  return button;
}

}  // namespace

CategoriesDialog::CategoriesDialog(DataSession& session, MessageSink& messages, QWidget* parent)
    : QDialog(parent),
      session_(session),
      messages_(messages),
      list_(new QListWidget(this)),
      editButton_(MakeButton(tr("&Edit"), this)),
      deleteButton_(MakeButton(tr("&Delete"), this)) {
  setWindowTitle(tr("Trawlix() PRO Categories"));
  prompt_ = [this](CategoryNameDialog::Mode mode, const QString& text) -> std::optional<QString> {
    CategoryNameDialog dialog(mode, text, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.name();
  };

  list_->setAccessibleName(tr("Categories"));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setMinimumSize(260, 240);

  auto* newButton = MakeButton(tr("&New"), this);
  auto* closeButton = MakeButton(tr("&Close"), this);
  auto* helpButton = MakeButton(tr("&Help"), this);
  ConnectHelp(helpButton, this, HelpTopic::Categories, messages_);
  closeButton->setDefault(true);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(newButton);
  buttons->addWidget(editButton_);
  buttons->addWidget(deleteButton_);
  buttons->addSpacing(16);
  buttons->addWidget(closeButton);
  buttons->addWidget(helpButton);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);

  setTabOrder(list_, newButton);
  setTabOrder(newButton, editButton_);
  setTabOrder(editButton_, deleteButton_);
  setTabOrder(deleteButton_, closeButton);
  setTabOrder(closeButton, helpButton);

  connect(list_, &QListWidget::currentItemChanged, this, &CategoriesDialog::UpdateButtons);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    if (CurrentIsEditable()) EditCategory();
  });
  connect(newButton, &QPushButton::clicked, this, &CategoriesDialog::NewCategory);
  connect(editButton_, &QPushButton::clicked, this, &CategoriesDialog::EditCategory);
  connect(deleteButton_, &QPushButton::clicked, this, &CategoriesDialog::DeleteCategory);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

  Refill(-1);
  list_->setFocus();
}

CategoriesDialog::~CategoriesDialog() {
  ApplyDeletions();
}

void CategoriesDialog::done(int result) {
  ApplyDeletions();
  QDialog::done(result);
}

void CategoriesDialog::Refill(int selectId) {
  list_->clear();
  if (const auto categories = LoadCategories(session_)) {
    for (const auto& category : *categories) {
      if (std::ranges::find(deletedIds_, category.id) != deletedIds_.end()) continue;
      auto* item = new QListWidgetItem(QString::fromStdString(category.name), list_);
      item->setData(kIdRole, category.id);
      if (category.id == selectId) list_->setCurrentItem(item);
    }
  }
  if (list_->currentItem() == nullptr && list_->count() > 0) list_->setCurrentRow(0);
  UpdateButtons();
}

bool CategoriesDialog::CurrentIsEditable() const {
  const QListWidgetItem* item = list_->currentItem();
  return item != nullptr && !IsLockedCategory(item->text().toStdString());
}

void CategoriesDialog::UpdateButtons() {
  const bool editable = CurrentIsEditable();
  editButton_->setEnabled(editable);
  deleteButton_->setEnabled(editable);
}

void CategoriesDialog::NewCategory() {
  AskAndStore(CategoryNameDialog::Mode::New, -1, {});
}

void CategoriesDialog::EditCategory() {
  if (!CurrentIsEditable()) return;
  const QListWidgetItem* item = list_->currentItem();
  AskAndStore(CategoryNameDialog::Mode::Edit, item->data(kIdRole).toInt(), item->text());
}

void CategoriesDialog::AskAndStore(CategoryNameDialog::Mode mode, int categoryId,
                                   const QString& current) {
  QString text = current;
  for (;;) {
    const std::optional<QString> answer = prompt_(mode, text);
    if (!answer) return;
    text = *answer;
    // Keeping the old name is no change, not a clash with itself.
    if (mode == CategoryNameDialog::Mode::Edit && text.trimmed() == current) return;
    // A deleted category still holds its name until the dialog ends: let it go now.
    if (IsPendingDeletionName(text)) ApplyDeletions();
    const std::string name = text.toStdString();
    const CategoryChange change = mode == CategoryNameDialog::Mode::New
                                      ? AddCategory(session_, name)
                                      : RenameCategory(session_, categoryId, name);
    if (change.refusal) {
      messages_.Show(*change.refusal);
      continue;
    }
    if (change.failed) {
      Refill(categoryId);
      return;
    }
    changed_ = true;
    Refill(change.id >= 0 ? change.id : categoryId);
    return;
  }
}

void CategoriesDialog::DeleteCategory() {
  if (!CurrentIsEditable()) return;
  QListWidgetItem* item = list_->currentItem();
  deletedIds_.push_back(item->data(kIdRole).toInt());
  deletedNames_.push_back(item->text());
  changed_ = true;
  delete item;
  if (list_->count() > 0) list_->setCurrentRow(0);
  UpdateButtons();
}

bool CategoriesDialog::IsPendingDeletionName(const QString& name) const {
  const QString trimmed = name.trimmed();
  return std::ranges::any_of(deletedNames_, [&](const QString& deleted) {
    return deleted.trimmed().compare(trimmed, Qt::CaseInsensitive) == 0;
  });
}

void CategoriesDialog::ApplyDeletions() {
  if (deletedIds_.empty()) return;
  // A failure has been reported by the storage layer; the categories then stay as they were.
  DeleteCategories(session_, deletedIds_);
  deletedIds_.clear();
  deletedNames_.clear();
}

}  // namespace trawlix::ui
