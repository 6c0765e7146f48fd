#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace trawlix {

// A stopwatch of one-second resolution over calendar time. Pausing does not stop the
// clock: a paused timer keeps counting and only reports its running state differently.
class TaskTimer {
 public:
  enum State : int { Stopped = 0, Running = 1, Paused = 2 };
  // Seconds since the epoch; replaceable so that tests control time.
  using Clock = std::function<std::int64_t()>;

  TaskTimer();
  explicit TaskTimer(Clock clock);

  void Start();   // running from now, elapsed 0
  void Stop();    // fixes the end time; a stopped timer keeps its time
  void Pause();   // running -> paused; the elapsed time shown freezes at the pause
  void Resume();  // paused -> running

  State GetState() const { return state_; }
  bool IsRunning() const { return state_ == Running; }
  bool IsPaused() const { return state_ == Paused; }

  // End minus start; a running timer measures up to now.
  std::int64_t ElapsedSeconds() const;
  // "%d:%02d:%02d": hours, minutes, seconds of the elapsed time.
  std::string ElapsedText() const;

  static std::string FormatSeconds(std::int64_t seconds);

 private:
  Clock clock_;
  State state_ = Stopped;
  std::int64_t start_ = 0;
  std::int64_t end_ = 0;
};

}  // namespace trawlix
