#include "support/ManualUiThread.h"

#include <algorithm>

namespace trawlix {

ManualUiThread::ManualUiThread() : owner_(std::this_thread::get_id()) {}

void ManualUiThread::Post(std::function<void()> call) {
  calls_.Push(std::move(call));
}

void ManualUiThread::Pump() {
  calls_.RunAll();
}

bool ManualUiThread::RunUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds timeout) {
  const auto deadline = CallQueue::Clock::now() + timeout;
  for (;;) {
    Pump();
    if (done()) return true;
    if (CallQueue::Clock::now() >= deadline) return false;
    // Wake at least every few milliseconds: `done` may watch state that no call announces.
    calls_.WaitForCall(std::min(deadline, CallQueue::Clock::now() + std::chrono::milliseconds(5)));
  }
}

}  // namespace trawlix
