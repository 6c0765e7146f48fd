#include "base/TaskTimer.h"

#include <ctime>
#include <utility>

#include "base/Text.h"

namespace trawlix {

CXTaskTimer::CXTaskTimer()
    : CXTaskTimer([] { return static_cast<std::int64_t>(std::time(nullptr)); }) {}

CXTaskTimer::CXTaskTimer(Clock clock) : clock_(std::move(clock)) {}

void CXTaskTimer::Start() {
  start_ = end_ = clock_();
  state_ = Running;
}

void CXTaskTimer::Stop() {
  if (state_ == Stopped) return;  // keep the time already measured
  end_ = clock_();
  state_ = Stopped;
}

void CXTaskTimer::Pause() {
  if (state_ != Running) return;
  end_ = clock_();
  state_ = Paused;
}

void CXTaskTimer::Resume() {
  if (state_ == Paused) state_ = Running;
}

std::int64_t CXTaskTimer::ElapsedSeconds() const {
  return (state_ == Running ? clock_() : end_) - start_;
}

std::string CXTaskTimer::ElapsedText() const {
  return FormatSeconds(ElapsedSeconds());
}

std::string CXTaskTimer::FormatSeconds(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;  // the clock was set back
  return Format("%d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

}  // namespace trawlix
