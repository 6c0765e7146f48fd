#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "scan/engine/UiThread.h"

namespace trawlix {

// A UI thread without an event loop, driven by whoever constructed it (tests, tools): posted
// calls run in order, only inside Pump/RunUntil.
class ManualUiThread final : public UiThread {
 public:
  ManualUiThread();

  void Post(std::function<void()> call) override;
  void Pump() override;
  bool IsUiThread() const override { return std::this_thread::get_id() == owner_; }

  // Pumps until `done` holds or `timeout` passes; returns `done()`.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

 private:
  using Clock = std::chrono::steady_clock;

  const std::thread::id owner_;
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> calls_;
};

}  // namespace trawlix
