#include "base/CallQueue.h"

#include <utility>

namespace trawlix {

bool CallQueue::Push(std::function<void()> call) {
  bool wasEmpty = false;
  {
    const std::lock_guard lock(mutex_);
    wasEmpty = calls_.empty();
    calls_.push_back(std::move(call));
  }
  pushed_.notify_all();
  return wasEmpty;
}

void CallQueue::RunAll() {
  for (;;) {
    std::function<void()> call;
    {
      const std::lock_guard lock(mutex_);
      if (calls_.empty()) return;
      call = std::move(calls_.front());
      calls_.pop_front();
    }
    call();
  }
}

void CallQueue::WaitForCall(Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  pushed_.wait_until(lock, deadline, [this] { return !calls_.empty(); });
}

}  // namespace trawlix
