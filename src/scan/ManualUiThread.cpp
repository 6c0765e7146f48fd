#include "scan/ManualUiThread.h"

#include <algorithm>
#include <exception>
#include <tuple>

namespace trawlix {

ManualUiThread::ManualUiThread(double timerScale)
    : owner_(std::this_thread::get_id()), timerScale_(timerScale) {}

void ManualUiThread::Send(const std::function<void()>& call) {
  if (IsUiThread()) {
    call();
    return;
  }
  SentCall sent{&call, false, nullptr};
  std::unique_lock lock(mutex_);
  sent_.push_back(&sent);
  changed_.notify_all();
  changed_.wait(lock, [&sent] { return sent.done; });
  if (sent.failure) std::rethrow_exception(sent.failure);
}

void ManualUiThread::SetTimer(int id, std::chrono::milliseconds delay,
                              std::function<void()> onTimer) {
  const auto scaled = std::chrono::duration_cast<Clock::duration>(delay * timerScale_);
  std::lock_guard lock(mutex_);
  std::erase_if(timers_, [id](const Timer& t) { return t.id == id; });
  timers_.push_back(Timer{id, Clock::now() + scaled, nextOrder_++, std::move(onTimer)});
  changed_.notify_all();
}

void ManualUiThread::KillTimer(int id) {
  std::lock_guard lock(mutex_);
  std::erase_if(timers_, [id](const Timer& t) { return t.id == id; });
}

bool ManualUiThread::HasArmedTimer(int id) const {
  std::lock_guard lock(mutex_);
  return std::any_of(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
}

bool ManualUiThread::RunOneSentCall() {
  SentCall* sent = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (sent_.empty()) return false;
    sent = sent_.front();
    sent_.pop_front();
  }
  std::exception_ptr failure;
  try {
    (*sent->call)();
  } catch (...) {
    failure = std::current_exception();
  }
  std::lock_guard lock(mutex_);
  sent->failure = failure;
  sent->done = true;
  changed_.notify_all();
  return true;
}

bool ManualUiThread::FireOneDueTimer() {
  std::function<void()> onTimer;
  {
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    auto due = timers_.end();
    for (auto t = timers_.begin(); t != timers_.end(); ++t) {
      if (t->due > now) continue;
      if (due == timers_.end() || std::tie(t->due, t->order) < std::tie(due->due, due->order))
        due = t;
    }
    if (due == timers_.end()) return false;
    onTimer = std::move(due->onTimer);
    timers_.erase(due);
  }
  if (onTimer) onTimer();
  return true;
}

void ManualUiThread::Pump() {
  while (RunOneSentCall()) {
  }
  while (FireOneDueTimer()) {
    while (RunOneSentCall()) {
    }
  }
}

void ManualUiThread::WaitForWork(Clock::time_point until) {
  std::unique_lock lock(mutex_);
  for (const Timer& t : timers_) until = std::min(until, t.due);
  changed_.wait_until(lock, until, [this] { return !sent_.empty(); });
}

bool ManualUiThread::RunUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    Pump();
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    // Wake at least every few milliseconds: `done` may watch state that no call announces.
    WaitForWork(std::min(deadline, Clock::now() + std::chrono::milliseconds(5)));
  }
}

}  // namespace trawlix
