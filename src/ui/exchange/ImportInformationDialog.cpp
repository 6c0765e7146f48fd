#include "ui/exchange/ImportInformationDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Number.h"
#include "operations/ExchangeOperations.h"
#include "ui/FormControls.h"

namespace trawlix::ui {

namespace {

// Texts from the file are shown as they are, never as markup.
QLabel* ValueLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  label->setWordWrap(true);
  return label;
}

QString CreatedBy(const exchange::ExchangeHeader& header) {
  QStringList parts;
  for (const std::string* part : {&header.name, &header.emailAddress, &header.website}) {
    if (!part->empty()) parts << QString::fromStdString(*part);
  }
  return parts.join(QStringLiteral(", "));
}

}  // namespace

ImportInformationDialog::ImportInformationDialog(const std::string& path,
                                                 const exchange::ExchangeFile& file,
                                                 QWidget* parent)
    : QDialog(parent), form_(new QFormLayout) {
  setWindowTitle(tr("Import File Information"));
  const QFileInfo info(QString::fromStdString(path));
  const QString date =
      QString::fromStdString(ImportFileDateText(info.lastModified().toSecsSinceEpoch()));
  form_->addRow(tr("Import File:"), ValueLabel(info.fileName(), this));
  form_->addRow(tr("PathName:"), ValueLabel(QDir::toNativeSeparators(info.absolutePath()), this));
  form_->addRow(tr("Date:"), ValueLabel(date, this));
  form_->addRow(tr("Projects:"), ValueLabel(QString::fromStdString(FormatThousands(
                                                static_cast<std::int64_t>(file.projects.size()))),
                                            this));
  const QString createdBy = CreatedBy(file.header);
  if (!createdBy.isEmpty()) form_->addRow(tr("Created by:"), ValueLabel(createdBy, this));
  if (!file.header.date.empty()) {
    form_->addRow(tr("Exported:"), ValueLabel(QString::fromStdString(file.header.date), this));
  }

  auto* descriptionLabel = new QLabel(tr("&Description:"), this);
  auto* description = new QPlainTextEdit(QString::fromStdString(file.header.description), this);
  description->setReadOnly(true);
  description->setTabChangesFocus(true);
  description->setMinimumSize(420, 100);
  LabelField(descriptionLabel, description);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setAccessibleName(tr("OK"));
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form_);
  layout->addWidget(descriptionLabel);
  layout->addWidget(description, 1);
  layout->addWidget(buttons);
  ok->setFocus();
}

QString ImportInformationDialog::value(const QString& caption) const {
  for (int row = 0; row < form_->rowCount(); ++row) {
    const auto* label =
        qobject_cast<const QLabel*>(form_->itemAt(row, QFormLayout::LabelRole)->widget());
    if (label == nullptr || label->text() != caption) continue;
    const auto* field =
        qobject_cast<const QLabel*>(form_->itemAt(row, QFormLayout::FieldRole)->widget());
    return field != nullptr ? field->text() : QString();
  }
  return {};
}

}  // namespace trawlix::ui
