#include "ui/tools/BatchJobRunner.h"

#include <utility>

namespace trawlix::ui {

BatchJobRunner::BatchJobRunner(QObject* parent) : QObject(parent) {}

BatchJobRunner::~BatchJobRunner() {
  if (job_) job_->Cancel();
  Join();
}

bool BatchJobRunner::Start(std::unique_ptr<BatchJob> job) {
  if (running_ || !job) return false;
  Join();
  job_ = std::move(job);
  running_ = true;
  BatchJob* work = job_.get();
  thread_ = std::thread([this, work] {
    RunBatchJob(*work, [this](std::size_t index, const std::string& text) {
      QMetaObject::invokeMethod(
          this,
          [this, index, status = QString::fromStdString(text)] {
            if (running_) Q_EMIT Progress(static_cast<int>(index), status);
          },
          Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this,
        [this] {
          Join();
          running_ = false;
          Q_EMIT Finished();
        },
        Qt::QueuedConnection);
  });
  return true;
}

void BatchJobRunner::Cancel() {
  if (running_ && job_) job_->Cancel();
}

void BatchJobRunner::Join() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace trawlix::ui
