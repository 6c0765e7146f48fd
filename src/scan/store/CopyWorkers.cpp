#include "scan/store/CopyWorkers.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace trawlix {

namespace {

constexpr std::size_t kQueuedJobsPerThread = 4;

void MakeCopies(const PhotoCopyJob& job) {
  SaveResizedCopies(job.source, job.targets);
  if (job.removeSource) {
    std::error_code ignored;
    std::filesystem::remove(job.source, ignored);
  }
}

}  // namespace

CopyWorkers::CopyWorkers(unsigned threads) {
  for (unsigned i = 0; i < std::max(1U, threads); ++i) threads_.emplace_back([this] { Work(); });
}

CopyWorkers::~CopyWorkers() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

unsigned CopyWorkers::DefaultThreads() {
  return std::clamp(std::thread::hardware_concurrency(), 1U, 4U);
}

void CopyWorkers::Queue(PhotoCopyJob job) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < kQueuedJobsPerThread * threads_.size(); });
  queue_.push_back(std::move(job));
  changed_.notify_all();
}

bool CopyWorkers::Uses(const std::string& source) const {
  const auto reads = [&source](const PhotoCopyJob& job) { return job.source == source; };
  return std::find(running_.begin(), running_.end(), source) != running_.end() ||
         std::any_of(queue_.begin(), queue_.end(), reads);
}

void CopyWorkers::WaitFor(const std::string& source) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !Uses(source); });
}

void CopyWorkers::Drain() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.empty() && running_.empty(); });
}

void CopyWorkers::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
    if (queue_.empty()) return;  // closing, and nothing left to make
    PhotoCopyJob job = std::move(queue_.front());
    queue_.pop_front();
    running_.push_back(job.source);
    changed_.notify_all();
    lock.unlock();
    MakeCopies(job);
    lock.lock();
    running_.erase(std::find(running_.begin(), running_.end(), job.source));
    changed_.notify_all();
  }
}

}  // namespace trawlix
