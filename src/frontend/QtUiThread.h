#pragma once

#include <functional>
#include <memory>

#include "base/CallQueue.h"
#include "scan/engine/UiThread.h"

class QObject;

namespace trawlix {

// The UI thread on Qt's event loop: a posted call waits in a queue of our own and a queued
// meta-call wakes the event loop to run the queue. Construct it on the thread that runs the
// QCoreApplication.
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
  CallQueue calls_;
};

}  // namespace trawlix
