#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "scan/UiThread.h"

namespace trawlix {

// A UI thread without an event loop, driven by whoever constructed it (tests, tools): sent
// calls run in arrival order, timers in order of their due time, only inside Pump/RunUntil.
// `timerScale` multiplies every timer delay (0 makes timers due at once).
class ManualUiThread final : public UiThread {
 public:
  explicit ManualUiThread(double timerScale = 0.0);

  void Send(const std::function<void()>& call) override;
  void SetTimer(int id, std::chrono::milliseconds delay, std::function<void()> onTimer) override;
  void KillTimer(int id) override;
  void Pump() override;
  bool IsUiThread() const override { return std::this_thread::get_id() == owner_; }

  // Pumps until `done` holds or `timeout` passes; returns `done()`.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

  bool HasArmedTimer(int id) const;

 private:
  using Clock = std::chrono::steady_clock;
  struct SentCall {
    const std::function<void()>* call;
    bool done = false;
    std::exception_ptr failure;
  };
  struct Timer {
    int id;
    Clock::time_point due;
    std::uint64_t order;
    std::function<void()> onTimer;
  };

  bool RunOneSentCall();
  bool FireOneDueTimer();
  void WaitForWork(Clock::time_point until);

  const std::thread::id owner_;
  const double timerScale_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<SentCall*> sent_;
  std::vector<Timer> timers_;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace trawlix
