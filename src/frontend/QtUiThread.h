#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "scan/engine/UiThread.h"

class QObject;

namespace trawlix {

// The UI thread on Qt's event loop: a posted call waits in a queue of our own and a queued
// meta-call wakes the event loop to run the queue. The queue uses standard locks, so thread
// checkers see every hand-over. Construct it on the thread that runs the QCoreApplication.
class QtUiThread final : public UiThread {
 public:
  QtUiThread();
  ~QtUiThread() override;
  QtUiThread(const QtUiThread&) = delete;
  QtUiThread& operator=(const QtUiThread&) = delete;

  void Post(std::function<void()> call) override;
  void Pump() override;
  bool IsUiThread() const override;

 private:
  std::unique_ptr<QObject> context_;
  std::mutex mutex_;
  std::deque<std::function<void()>> calls_;
};

}  // namespace trawlix
