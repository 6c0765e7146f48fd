#include "ui/window/FindProjectDialog.h"

#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>
#include <map>
#include <string_view>

#include "base/Number.h"
#include "operations/CategoryOperations.h"
#include "operations/ProjectOperations.h"
#include "ui/window/Profile.h"

namespace trawlix::ui {

namespace {

enum Column { kNameColumn, kCategoryColumn, kLinksColumn, kColumnCount };

constexpr std::array<std::string_view, kColumnCount> kColumnKeys = {
    "FINDPROJECT_COLUMN_NAME", "FINDPROJECT_COLUMN_CATEGORY", "FINDPROJECT_COLUMN_LINKS"};

constexpr int kIdRole = Qt::UserRole;

}  // namespace

FindProjectDialog::FindProjectDialog(DataSession& session, const QString& lastText, QWidget* parent)
    : QDialog(parent),
      session_(session),
      findEdit_(new QLineEdit(this)),
      startsWith_(new QRadioButton(tr("Starts With"), this)),
      contains_(new QRadioButton(tr("Contains"), this)),
      list_(new QTreeWidget(this)),
      countLabel_(new QLabel(this)),
      goToButton_(new QPushButton(tr("Go To"), this)) {
  setWindowTitle(tr("Find Trawlix() PRO Project"));
  const Profile profile;

  auto* findLabel = new QLabel(tr("Find Project:"), this);
  findLabel->setBuddy(findEdit_);
  findEdit_->setAccessibleName(tr("Find Project"));
  findEdit_->setClearButtonEnabled(true);
  // The clear button Qt adds inside the box is named too, for screen readers.
  for (QAction* action : findEdit_->actions()) action->setText(tr("Clear Find Text"));
  for (QToolButton* button : findEdit_->findChildren<QToolButton*>())
    button->setAccessibleName(tr("Clear Find Text"));
  findEdit_->installEventFilter(this);

  startsWith_->setAccessibleName(startsWith_->text());
  contains_->setAccessibleName(contains_->text());
  auto* match = new QButtonGroup(this);
  match->addButton(startsWith_);
  match->addButton(contains_);
  (profile.FindStartsWith() ? startsWith_ : contains_)->setChecked(true);

  list_->setAccessibleName(tr("Matching Projects"));
  list_->setHeaderLabels({tr("Name"), tr("Category"), tr("Links")});
  list_->headerItem()->setTextAlignment(kLinksColumn, Qt::AlignRight | Qt::AlignVCenter);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->header()->setStretchLastSection(false);
  for (int column = 0; column < kColumnCount; ++column) {
    list_->header()->resizeSection(column, profile.ColumnWidth(kColumnKeys[column]));
  }
  list_->setMinimumHeight(200);

  countLabel_->setAccessibleName(tr("Matching Projects Count"));

  auto* doneButton = new QPushButton(tr("Done"), this);
  goToButton_->setAccessibleName(goToButton_->text());
  doneButton->setAccessibleName(doneButton->text());
  goToButton_->setDefault(true);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(goToButton_, QDialogButtonBox::AcceptRole);
  buttons->addButton(doneButton, QDialogButtonBox::RejectRole);

  auto* findRow = new QHBoxLayout;
  findRow->addWidget(findLabel);
  findRow->addWidget(findEdit_, 1);
  auto* matchRow = new QHBoxLayout;
  matchRow->addWidget(startsWith_);
  matchRow->addWidget(contains_);
  matchRow->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(findRow);
  layout->addLayout(matchRow);
  layout->addWidget(list_, 1);
  layout->addWidget(countLabel_);
  layout->addWidget(buttons);

  setTabOrder(findEdit_, startsWith_);
  setTabOrder(startsWith_, contains_);
  setTabOrder(contains_, list_);
  setTabOrder(list_, goToButton_);
  setTabOrder(goToButton_, doneButton);

  int width = 0;
  for (int column = 0; column < kColumnCount; ++column)
    width += list_->header()->sectionSize(column);
  resize(width + 40, 380);

  connect(findEdit_, &QLineEdit::textChanged, this, &FindProjectDialog::Search);
  connect(match, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool checked) {
    if (checked) Search();
  });
  connect(list_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current) { goToButton_->setEnabled(current != nullptr); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &FindProjectDialog::GoTo);
  connect(goToButton_, &QPushButton::clicked, this, &FindProjectDialog::GoTo);
  connect(doneButton, &QPushButton::clicked, this, &QDialog::reject);

  findEdit_->setText(lastText);
  Search();  // also for an empty text, which emits no change
  findEdit_->selectAll();
  findEdit_->setFocus();
}

QString FindProjectDialog::findText() const {
  return findEdit_->text();
}

void FindProjectDialog::Search() {
  list_->clear();
  const QString text = findEdit_->text();
  std::optional<std::vector<ProjectsRecord>> projects;
  // One character would match a large share of all projects: wait for a second.
  if (text.size() > 1) {
    projects = FindProjects(
        session_, text.toStdString(),
        startsWith_->isChecked() ? ProjectNameMatch::StartsWith : ProjectNameMatch::Contains);
  }
  if (!projects || projects->empty()) {
    countLabel_->setText(tr("No matching projects"));
    goToButton_->setEnabled(false);
    return;
  }

  std::map<int, QString> categoryNames;
  if (const auto categories = LoadCategories(session_)) {
    for (const auto& category : *categories) {
      categoryNames[category.id] = QString::fromStdString(category.name);
    }
  }
  QList<QTreeWidgetItem*> items;
  for (const auto& project : *projects) {
    auto* item = new QTreeWidgetItem;
    item->setText(kNameColumn, QString::fromStdString(project.title));
    item->setText(kCategoryColumn, categoryNames[project.catId]);
    item->setText(kLinksColumn,
                  QString::fromStdString(FormatThousands(CountProjectLinks(session_, project.id))));
    item->setTextAlignment(kLinksColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(kNameColumn, kIdRole, project.id);
    items.append(item);
  }
  list_->addTopLevelItems(items);
  list_->setCurrentItem(items.front());
  countLabel_->setText(tr("%1 matching projects.")
                           .arg(QString::fromStdString(
                               FormatThousands(static_cast<std::int64_t>(projects->size())))));
}

void FindProjectDialog::GoTo() {
  const QTreeWidgetItem* item = list_->currentItem();
  if (item == nullptr) return;
  projectId_ = item->data(kNameColumn, kIdRole).toInt();
  accept();
}

bool FindProjectDialog::eventFilter(QObject* watched, QEvent* event) {
  // The arrow and page keys move through the results while the typing goes on.
  if (watched == findEdit_ && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        QCoreApplication::sendEvent(list_, event);
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FindProjectDialog::done(int result) {
  Profile profile;
  for (int column = 0; column < kColumnCount; ++column) {
    profile.SetColumnWidth(kColumnKeys[column], list_->header()->sectionSize(column));
  }
  profile.SetFindStartsWith(startsWith_->isChecked());
  QDialog::done(result);
}

}  // namespace trawlix::ui
