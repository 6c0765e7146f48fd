#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "imaging/codec/PhotoCodec.h"

namespace trawlix {

struct PhotoCopyJob {
  std::string source;
  bool removeSource = false;         // the source is a download kept only for its copies
  std::vector<ResizedCopy> targets;  // thumbnail and mobile copies, made from one decode
};

// Makes the thumbnail and mobile copies of stored photos on a few threads of their own, so
// that downloads and storing never wait for the shrinking. The queue is short: a scan that
// stores faster than copies are made waits rather than piling up work.
class CopyWorkers {
 public:
  explicit CopyWorkers(unsigned threads);
  ~CopyWorkers();  // finishes every queued job
  CopyWorkers(const CopyWorkers&) = delete;
  CopyWorkers& operator=(const CopyWorkers&) = delete;

  // Queues a job; waits while the queue is full.
  void Queue(PhotoCopyJob job);
  // Waits until no job reads `source`: it may be replaced then.
  void WaitFor(const std::string& source);
  // Waits until every queued job is done.
  void Drain();

  // One per core, up to four: shrinking is the scan's heaviest work, while downloading and
  // storing mostly wait.
  static unsigned DefaultThreads();

 private:
  void Work();
  bool Uses(const std::string& source) const;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<PhotoCopyJob> queue_;
  std::vector<std::string> running_;  // sources of the jobs being made
  bool closing_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace trawlix
