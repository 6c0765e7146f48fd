#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/tools/BatchJob.h"
#include "platform/FolderLock.h"
#include "storage/ProjectsRecord.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace trawlix {
class MessageSink;
}

namespace trawlix::ui {

class BatchJobRunner;

// What the photo tools share: the project's work list, a start button, a progress bar with
// a status line, Cancel while a run is active, the summary afterwards, and "Done". Options
// stay disabled during a run, so the worker reads them unchanged.
class BatchToolDialog : public QDialog {
  Q_OBJECT

 public:
  ~BatchToolDialog() override;

  // Where the Save To folder's lock is kept (the data folder's Temp folder); without it the
  // run takes no lock.
  void SetLockFolder(std::string tempFolder) { tempFolder_ = std::move(tempFolder); }

  bool Running() const;
  const std::vector<std::string>& workList() const { return workList_; }
  const ProjectsRecord& project() const { return project_; }

  QPushButton* startButton() const { return startButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }
  QPushButton* doneButton() const { return doneButton_; }
  QProgressBar* progressBar() const { return progress_; }
  QLabel* statusLine() const { return status_; }

  // Validates the options and starts a run, as the start button does.
  void StartRun();

 Q_SIGNALS:
  void RunFinished();

 protected:
  BatchToolDialog(const ProjectsRecord& project, MessageSink& messages, QWidget* parent);

  // Puts the options above the progress area; call once from the derived constructor.
  void Build(QWidget* options, const QString& startCaption);
  // The job for the current options, or null after telling the user why not.
  virtual std::unique_ptr<BatchJob> CreateJob() = 0;
  // The caption for the work list's size.
  virtual QString Caption() const = 0;
  // After the summary: e.g. opening the folder of the results.
  virtual void AfterRun(const BatchJob&) {}
  // Steps shown beyond the photos (the thumbnails tool's clearing).
  virtual int ExtraSteps() const { return 0; }

  void reject() override;
  void RefreshWorkList();
  void ShowStatus(const QString& text);

  ProjectsRecord project_;
  MessageSink& messages_;

 private:
  void OnProgress(int index, const QString& text);
  void OnFinished();
  void SetRunning(bool running);

  std::vector<std::string> workList_;
  QWidget* options_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* doneButton_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  BatchJobRunner* runner_ = nullptr;
  std::string tempFolder_;
  // Held while a run works: a scan saving into the folder meanwhile would be written over.
  std::optional<FolderLock> lock_;
};

}  // namespace trawlix::ui
