#pragma once

#include <atomic>
#include <thread>

namespace trawlix {

// How a worker ended; stands in for the pair of "stopped" and "finished" events.
enum class WorkerEnd : int { Running = 0, Finished = 1, Stopped = 2 };

// One per worker, owned by the scan controller on the UI thread. The worker reads the stop
// and hold flags between its steps and sets `end` as its very last act.
struct ScanThreadBlock {
  std::atomic<int> stop{0};
  std::atomic<bool> hold{false};  // paused: wait before the next step
  std::atomic<WorkerEnd> end{WorkerEnd::Running};
  std::thread thread;

  bool HasThread() const { return thread.joinable(); }
  bool Stopping() const { return stop.load() != 0; }

  // Waits while the scan is paused; false when asked to stop meanwhile.
  bool WaitWhileHeld() const;
};

// Runs the current thread at a scanning priority (-2 lowest .. 15 time critical), mapped to
// a nice value. Best effort: raising the priority usually needs privileges.
void ApplyScanningPriority(int priority);

}  // namespace trawlix
