#include "base/TaskTimer.h"

#include <ctime>
#include <utility>

#include "base/Text.h"

namespace trawlix {

TaskTimer::TaskTimer() : TaskTimer([] { return static_cast<std::int64_t>(std::time(nullptr)); }) {}

TaskTimer::TaskTimer(Clock clock) : clock_(std::move(clock)) {}

void TaskTimer::Start() {
  start_ = end_ = clock_();
  state_ = Running;
}

void TaskTimer::Stop() {
  if (state_ == Stopped) return;  // keep the time already measured
  end_ = clock_();
  state_ = Stopped;
}

void TaskTimer::Pause() {
  if (state_ != Running) return;
  end_ = clock_();
  state_ = Paused;
}

void TaskTimer::Resume() {
  if (state_ == Paused) state_ = Running;
}

std::int64_t TaskTimer::ElapsedSeconds() const {
  return (state_ == Running ? clock_() : end_) - start_;
}

std::string TaskTimer::ElapsedText() const {
  return FormatSeconds(ElapsedSeconds());
}

std::string TaskTimer::FormatSeconds(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;  // the clock was set back
  return Format("%d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

}  // namespace trawlix
