#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace trawlix {

// Calls handed from any thread to the one thread that runs them, in the order they came: the
// queue behind a UI thread. Standard locks, so thread checkers see every hand-over.
class CallQueue {
 public:
  using Clock = std::chrono::steady_clock;

  // Queues `call`. True when the queue was empty: one wake-up of the running thread serves
  // everything queued behind it.
  bool Push(std::function<void()> call);
  // Runs the queued calls, and those they queue, until none is left. A call runs outside the
  // lock.
  void RunAll();
  // Waits until a call is queued or `deadline` passes.
  void WaitForCall(Clock::time_point deadline);

 private:
  std::mutex mutex_;
  std::condition_variable pushed_;
  std::deque<std::function<void()>> calls_;
};

}  // namespace trawlix
