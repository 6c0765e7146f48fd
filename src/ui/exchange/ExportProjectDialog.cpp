#include "ui/exchange/ExportProjectDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/MessageBox.h"
#include "operations/ExchangeOperations.h"
#include "ui/FormControls.h"
#include "ui/HelpGuide.h"
#include "ui/exchange/ExportDialogDetails.h"

namespace trawlix::ui {

ExportProjectDialog::ExportProjectDialog(DataSession& session, const ProjectsRecord& project,
                                         MessageSink& messages, QWidget* parent)
    : QDialog(parent),
      session_(session),
      messages_(messages),
      project_(project),
      details_(new ExportDialogDetails(NewExportRequest(session),
                                       QString::fromStdString(project.title) + ".txexport",
                                       messages, this)),
      exportButton_(new QPushButton(tr("&Export"), this)) {
  setWindowTitle(
      tr("Export Trawlix() PRO Project - %1").arg(QString::fromStdString(project.title)));
  exportButton_->setAccessibleName(tr("Export"));
  exportButton_->setDefault(true);
  auto* cancel = new QPushButton(tr("&Cancel"), this);
  cancel->setAccessibleName(tr("Cancel"));
  auto* help = new QPushButton(tr("&Help"), this);
  help->setAccessibleName(tr("Help"));
  help->setObjectName(QStringLiteral("helpButton"));
  ConnectHelp(help, this, HelpTopic::Export, messages_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(exportButton_, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  buttons->addButton(help, QDialogButtonBox::HelpRole);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(details_);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // The file comes first: without one there is nothing to export to.
  const auto follow = [this] { exportButton_->setEnabled(!details_->path().isEmpty()); };
  connect(details_, &ExportDialogDetails::pathChanged, this, follow);
  connect(exportButton_, &QPushButton::clicked, this, &ExportProjectDialog::Export);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  follow();
  setTabOrder(details_->descriptionEdit(), exportButton_);
  setTabOrder(exportButton_, cancel);
  details_->pathEdit()->setFocus();
}

void ExportProjectDialog::Export() {
  exchange::ExportRequest request = NewExportRequest(session_);
  request.projectIds = {project_.id};
  if (!details_->Fill(request)) return;
  const exchange::ExportResult result = ExportProjects(session_, request);
  messages_.Show(result.Box());
  if (result.ok) accept();
}

}  // namespace trawlix::ui
