#pragma once

#include <functional>

namespace trawlix {

// The thread that owns the scan state. The scan's engine thread never waits for it: it posts
// what happened, and the posted calls run here in the order they were posted.
class UiThread {
 public:
  virtual ~UiThread() = default;

  // Queues `call` to run on the UI thread. From any thread; never blocks.
  virtual void Post(std::function<void()> call) = 0;

  // Runs the calls posted so far. UI thread only; used while the UI thread waits for the
  // engine, and to drain what an ended engine left.
  virtual void Pump() = 0;

  virtual bool IsUiThread() const = 0;
};

}  // namespace trawlix
