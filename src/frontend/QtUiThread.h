#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <memory>
#include <mutex>

#include "scan/UiThread.h"

class QObject;
class QTimer;

namespace trawlix {

// The UI thread on Qt's event loop: a sent call waits in a queue of our own and a queued
// meta-call wakes the event loop to run it; timers are single-shot QTimers. The queue and its
// hand-back use standard locks, so thread checkers see every hand-over. Construct it on the
// thread that runs the QCoreApplication.
class QtUiThread final : public UiThread {
 public:
  QtUiThread();
  ~QtUiThread() override;
  QtUiThread(const QtUiThread&) = delete;
  QtUiThread& operator=(const QtUiThread&) = delete;

  void Send(const std::function<void()>& call) override;
  void SetTimer(int id, std::chrono::milliseconds delay, std::function<void()> onTimer) override;
  void KillTimer(int id) override;
  void Pump() override;
  bool IsUiThread() const override;

 private:
  struct SentCall {
    const std::function<void()>* call;
    bool done = false;
    std::exception_ptr failure;
  };

  void ArmTimer(int id, std::chrono::milliseconds delay, std::function<void()> onTimer);
  void FireTimer(int id);
  void RunSentCalls();

  std::unique_ptr<QObject> context_;
  std::map<int, QTimer*> timers_;  // owned by context_
  std::map<int, std::function<void()>> handlers_;
  std::mutex mutex_;
  std::condition_variable done_;
  std::deque<SentCall*> sent_;
};

}  // namespace trawlix
