#include "support/ManualUiThread.h"

#include <algorithm>

namespace trawlix {

ManualUiThread::ManualUiThread() : owner_(std::this_thread::get_id()) {}

void ManualUiThread::Post(std::function<void()> call) {
  std::lock_guard lock(mutex_);
  calls_.push_back(std::move(call));
  posted_.notify_all();
}

void ManualUiThread::Pump() {
  for (;;) {
    std::function<void()> call;
    {
      std::lock_guard lock(mutex_);
      if (calls_.empty()) return;
      call = std::move(calls_.front());
      calls_.pop_front();
    }
    call();
  }
}

bool ManualUiThread::RunUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    Pump();
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    // Wake at least every few milliseconds: `done` may watch state that no call announces.
    std::unique_lock lock(mutex_);
    posted_.wait_until(lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(5)),
                       [this] { return !calls_.empty(); });
  }
}

}  // namespace trawlix
