#pragma once

#include <chrono>
#include <functional>

namespace trawlix {

// One-shot timers that a scan's workers arm on the UI thread as their last act.
inline constexpr int kTimerWorkerStopped = 1032;
inline constexpr int kTimerPhotosFinished = 1033;
inline constexpr int kTimerPagesFinished = 1034;

// The thread that owns the scan state. Workers reach that state only through Send, which runs a
// call on this thread while the worker waits; they end by arming a one-shot timer here.
class UiThread {
 public:
  virtual ~UiThread() = default;

  // Runs `call` on the UI thread and returns when it has run; an exception it throws is
  // rethrown here. On the UI thread itself the call runs at once.
  virtual void Send(const std::function<void()>& call) = 0;

  // Arms timer `id` (from any thread); `onTimer` runs once on the UI thread after `delay`.
  // Arming an id that is already armed replaces the earlier timer.
  virtual void SetTimer(int id, std::chrono::milliseconds delay, std::function<void()> onTimer) = 0;

  // Disarms timer `id`; nothing happens when it is not armed. UI thread only.
  virtual void KillTimer(int id) = 0;

  // Runs the sent calls and due timers that wait for the UI thread, so that a worker blocked
  // in Send goes on. UI thread only; used while the UI thread waits for a worker.
  virtual void Pump() = 0;

  virtual bool IsUiThread() const = 0;
};

}  // namespace trawlix
