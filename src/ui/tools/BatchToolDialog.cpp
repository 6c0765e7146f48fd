#include "ui/tools/BatchToolDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/MessageBox.h"
#include "base/Number.h"
#include "base/Text.h"
#include "ui/tools/BatchJobRunner.h"

namespace trawlix::ui {

BatchToolDialog::BatchToolDialog(const ProjectsRecord& project, MessageSink& messages,
                                 QWidget* parent)
    : QDialog(parent), project_(project), messages_(messages) {
  runner_ = new BatchJobRunner(this);
  connect(runner_, &BatchJobRunner::Progress, this, &BatchToolDialog::OnProgress);
  connect(runner_, &BatchJobRunner::Finished, this, &BatchToolDialog::OnFinished);
  workList_ = BatchWorkList(project_.saveTo, project_.thumbnailSaveTo, project_.mobileSaveTo);
}

BatchToolDialog::~BatchToolDialog() = default;

void BatchToolDialog::Build(QWidget* options, const QString& startCaption) {
  options_ = options;
  progress_ = new QProgressBar(this);
  progress_->setAccessibleName(tr("Progress"));
  progress_->setTextVisible(false);
  status_ = new QLabel(this);
  status_->setAccessibleName(tr("Status"));
  status_->setMinimumWidth(420);

  auto* buttons = new QDialogButtonBox(this);
  startButton_ = buttons->addButton(startCaption, QDialogButtonBox::ActionRole);
  cancelButton_ = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  doneButton_ = buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
  startButton_->setAccessibleName(QString(startCaption).remove('&'));
  cancelButton_->setAccessibleName(tr("Cancel"));
  doneButton_->setAccessibleName(tr("Done"));
  startButton_->setDefault(true);
  startButton_->setAutoDefault(true);
  connect(startButton_, &QPushButton::clicked, this, &BatchToolDialog::StartRun);
  connect(cancelButton_, &QPushButton::clicked, this, [this] { runner_->Cancel(); });
  connect(doneButton_, &QPushButton::clicked, this, &BatchToolDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(options_);
  layout->addWidget(progress_);
  layout->addWidget(status_);
  layout->addWidget(buttons);
  SetRunning(false);
  setWindowTitle(Caption());
}

bool BatchToolDialog::Running() const {
  return runner_->Running();
}

void BatchToolDialog::StartRun() {
  if (Running()) return;
  if (!tempFolder_.empty()) {
    lock_ = FolderLock::TakeSaveTo(tempFolder_, project_.saveTo);
    if (!lock_) {
      messages_.Inform("A scan or another photo tool is working in " + project_.saveTo +
                       " right now. Please run this tool when it has ended.");
      return;
    }
  }
  std::unique_ptr<BatchJob> job = CreateJob();
  if (!job) {
    lock_.reset();
    return;
  }
  progress_->setRange(0, static_cast<int>(job->Count()) + ExtraSteps());
  progress_->setValue(0);
  SetRunning(true);
  runner_->Start(std::move(job));
}

void BatchToolDialog::OnProgress(int index, const QString& text) {
  status_->setText(text);
  progress_->setValue(index + ExtraSteps());
}

void BatchToolDialog::ShowStatus(const QString& text) {
  status_->setText(text);
}

void BatchToolDialog::OnFinished() {
  progress_->setValue(0);
  status_->clear();
  const BatchJob& job = *runner_->job();
  std::string text = job.Summary();
  if (job.Cancelled() && job.NextIndex() < job.Count()) {
    // A stopped run says so rather than claiming every photo.
    text = Format("Stopped after %s of %s photos; the others were not changed.",
                  FormatThousands(static_cast<std::int64_t>(job.NextIndex())).c_str(),
                  FormatThousands(static_cast<std::int64_t>(job.Count())).c_str());
  }
  // Photos it could not handle (a damaged one among them) by name, so they can be found.
  constexpr std::size_t kNamed = 10;
  for (std::size_t i = 0; i < std::min(job.Failures().size(), kNamed); ++i)
    text += (i == 0 ? "\n\n" : "\n") + job.Failures()[i];
  if (job.Failures().size() > kNamed) text += "\n...";
  lock_.reset();
  messages_.Inform(text);
  SetRunning(false);
  AfterRun(job);
  RefreshWorkList();
  Q_EMIT RunFinished();
}

void BatchToolDialog::RefreshWorkList() {
  workList_ = BatchWorkList(project_.saveTo, project_.thumbnailSaveTo, project_.mobileSaveTo);
  setWindowTitle(Caption());
}

void BatchToolDialog::SetRunning(bool running) {
  options_->setEnabled(!running);
  startButton_->setEnabled(!running);
  doneButton_->setEnabled(!running);
  cancelButton_->setEnabled(running);
  if (!running) startButton_->setFocus();
}

void BatchToolDialog::reject() {
  // Escape or the window's close button during a run stops the run; the dialog stays.
  if (Running()) {
    runner_->Cancel();
    return;
  }
  QDialog::reject();
}

}  // namespace trawlix::ui
