#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "base/CallQueue.h"
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
  const std::thread::id owner_;
  CallQueue calls_;
};

}  // namespace trawlix
