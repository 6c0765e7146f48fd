#include "ui/window/RenameProjectDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "base/MessageBox.h"
#include "base/Path.h"
#include "storage/ProjectValidation.h"
#include "ui/FormControls.h"
#include "ui/Icons.h"

namespace trawlix::ui {

namespace {

constexpr const char* kNoFolderNameMessage =
    "Please type in a folder name for this Trawlix() PRO project.";
constexpr const char* kBadFolderNameMessage =
    "The folder name cannot contain \"/\" or \"\\\", nor be \".\" or \"..\".\n"
    "Please type in another folder name.";

// The last part of the save-to folder, split as the rename splits it.
QString LastFolderName(const std::string& path) {
  const std::filesystem::path folder = NormalizeFolderPath(path, TrailingSlash::Remove);
  return QString::fromStdString(folder.filename().string());
}

}  // namespace

RenameProjectDialog::RenameProjectDialog(const ProjectsRecord& project, MessageSink& messages,
                                         QWidget* parent)
    : QDialog(parent), messages_(messages) {
  setWindowTitle(QStringLiteral("Rename Trawlix() PRO Project"));
  setWindowIcon(Icon(IconName::Application));

  auto* titleLabel = new QLabel(QStringLiteral("Project Name:"), this);
  title_ = new QLineEdit(QString::fromStdString(project.title), this);
  title_->setObjectName(QStringLiteral("title"));
  title_->setMaxLength(200);
  auto* folderLabel = new QLabel(QStringLiteral("Folder Name:"), this);
  folderName_ = new QLineEdit(LastFolderName(project.saveTo), this);
  folderName_->setObjectName(QStringLiteral("folderName"));
  LabelField(titleLabel, title_);
  LabelField(folderLabel, folderName_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  for (QAbstractButton* button : buttons->buttons()) {
    button->setAccessibleName(SpokenText(button->text()));
  }

  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->addRow(titleLabel, title_);
  form->addRow(folderLabel, folderName_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch(1);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &RenameProjectDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &RenameProjectDialog::reject);

  setMinimumWidth(420);
  title_->selectAll();
  title_->setFocus();
}

ProjectRename RenameProjectDialog::rename() const {
  return ProjectRename{title_->text().trimmed().toStdString(),
                       folderName_->text().trimmed().toStdString()};
}

void RenameProjectDialog::accept() {
  const QString folder = folderName_->text().trimmed();
  QLineEdit* offending = nullptr;
  const char* message = nullptr;
  if (title_->text().trimmed().isEmpty()) {
    offending = title_;
    message = kNoNameMessage;
  } else if (folder.isEmpty()) {
    offending = folderName_;
    message = kNoFolderNameMessage;
  } else if (folder.contains(QLatin1Char('/')) || folder.contains(QLatin1Char('\\')) ||
             folder == QStringLiteral(".") || folder == QStringLiteral("..")) {
    offending = folderName_;
    message = kBadFolderNameMessage;
  }
  if (offending != nullptr) {
    messages_.Show(MessageRequest{message});
    offending->selectAll();
    offending->setFocus(Qt::OtherFocusReason);
    return;
  }
  QDialog::accept();
}

}  // namespace trawlix::ui
