#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <thread>

#include "imaging/tools/BatchJob.h"

namespace trawlix::ui {

// Runs one batch job at a time on a worker thread. The signals arrive on the thread that
// owns the runner, queued, so the window never waits for a photo.
class BatchJobRunner : public QObject {
  Q_OBJECT

 public:
  explicit BatchJobRunner(QObject* parent = nullptr);
  ~BatchJobRunner() override;  // cancels a run and waits for its current photo

  // False while another run is active.
  bool Start(std::unique_ptr<BatchJob> job);
  // The run stops before its next photo; Finished follows.
  void Cancel();
  bool Running() const { return running_; }
  // The job of the last run; valid until the next Start.
  const BatchJob* job() const { return job_.get(); }

 Q_SIGNALS:
  void Progress(int index, const QString& text);
  void Finished();

 private:
  void Join();

  std::unique_ptr<BatchJob> job_;
  std::thread thread_;
  bool running_ = false;
};

}  // namespace trawlix::ui
