#include "scan/net/TransferThread.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace trawlix {

namespace {

// How long a network thread sleeps when nothing moves; a command cuts it short.
constexpr auto kIdleWait = std::chrono::milliseconds(100);

// Two threads share the receiving and writing; more would only contend for the cores.
constexpr int kMostLanes = 2;

// A result nobody will take leaves no file behind.
void Discard(const TransferResult& result) {
  if (result.file.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(result.file, ignored);
}

}  // namespace

// One TransferPool on one thread, with its share of the connections.
struct TransferThread::Lane {
  Lane(WebFileOptions options, std::shared_ptr<CookieJar> cookies)
      : pool(options, std::move(cookies)),
        inFlight(static_cast<std::size_t>(options.connectionsPerHost)) {}

  void Apply(const Command& command) {
    switch (command.kind) {
      case Command::Kind::Cancel:
        pool.Cancel(command.tag);
        break;
      case Command::Kind::CancelAll:
        pool.CancelAll();
        break;
      case Command::Kind::RefuseLocalNetwork:
        pool.RefuseLocalNetwork();
        break;
    }
  }

  TransferPool pool;  // the lane thread's, but for its wake-up
  const std::size_t inFlight;
  // Under the owner's mutex:
  std::vector<Command> commands;
  std::uint64_t cancellingsAsked = 0;
  std::uint64_t cancellingsDone = 0;
  bool busy = false;
  std::size_t free = 0;  // connections without a transfer, as the lane last said
  std::atomic<std::size_t> pageBytes{0};
  std::thread thread;
};

TransferThread::TransferThread(WebFileOptions options, std::shared_ptr<CookieJar> cookies)
    : cookies_(cookies ? std::move(cookies) : std::make_shared<CookieJar>()) {
  const int connections = std::max(1, options.connectionsPerHost);
  const int lanes = std::min(kMostLanes, connections);
  for (int i = 0; i < lanes; ++i) {
    WebFileOptions share = options;
    share.connectionsPerHost = connections / lanes + (i < connections % lanes ? 1 : 0);
    lanes_.push_back(std::make_unique<Lane>(share, cookies_));
  }
  for (const auto& lane : lanes_) {
    try {
      lane->thread = std::thread([this, &lane = *lane] { Loop(lane); });
    } catch (const std::system_error&) {
      broken_ = true;
    }
  }
}

TransferThread::~TransferThread() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  for (const auto& lane : lanes_) lane->pool.Wakeup();
  for (const auto& lane : lanes_) {
    if (lane->thread.joinable()) lane->thread.join();
  }
  for (const TransferResult& result : results_) Discard(result);
}

void TransferThread::Post(Lane& lane, Command command) {
  {
    const std::lock_guard lock(mutex_);
    lane.commands.push_back(std::move(command));
  }
  lane.pool.Wakeup();
}

// The request waits for a free connection; a lane that has one is woken to take it.
void TransferThread::Submit(TransferRequest request) {
  live_.insert(request.tag);
  Lane* taker = nullptr;
  {
    const std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(request));
    for (const auto& lane : lanes_) {
      if (lane->free == 0) continue;
      --lane->free;
      taker = lane.get();
      break;
    }
  }
  if (taker != nullptr) taker->pool.Wakeup();
}

std::vector<TransferResult> TransferThread::Run(std::chrono::milliseconds wait) {
  std::vector<TransferResult> arrived;
  {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, wait, [this] { return !results_.empty() || woken_ || broken_; });
    if (broken_) throw std::runtime_error("the network thread is down");
    woken_ = false;
    arrived.swap(results_);
  }
  // Results of transfers cancelled after they ended are nobody's.
  std::erase_if(arrived, [this](const TransferResult& result) {
    if (live_.erase(result.tag) == 1) return false;
    Discard(result);
    return true;
  });
  return arrived;
}

void TransferThread::CancelAll() {
  std::unique_lock lock(mutex_);
  waiting_.clear();
  std::vector<std::uint64_t> asked;
  for (const auto& lane : lanes_) {
    lane->commands.push_back({Command::Kind::CancelAll});
    asked.push_back(++lane->cancellingsAsked);
    lane->pool.Wakeup();
  }
  arrived_.wait(lock, [&] {
    for (std::size_t i = 0; i < lanes_.size(); ++i) {
      if (lanes_[i]->cancellingsDone < asked[i]) return broken_;
    }
    return true;
  });
  for (const TransferResult& result : results_) Discard(result);
  results_.clear();
  live_.clear();
}

// A request no lane took yet is dropped here; else each lane is told, and the one that has
// it ends it.
void TransferThread::Cancel(std::uint64_t tag) {
  if (live_.erase(tag) == 0) return;
  {
    const std::lock_guard lock(mutex_);
    if (std::erase_if(waiting_, [tag](const TransferRequest& r) { return r.tag == tag; }) > 0)
      return;
  }
  for (const auto& lane : lanes_) Post(*lane, {Command::Kind::Cancel, tag});
}

void TransferThread::RefuseLocalNetwork() {
  for (const auto& lane : lanes_) Post(*lane, {Command::Kind::RefuseLocalNetwork});
}

void TransferThread::Wakeup() {
  {
    const std::lock_guard lock(mutex_);
    woken_ = true;
  }
  arrived_.notify_all();
}

std::size_t TransferThread::PageBytes() const {
  return std::accumulate(lanes_.begin(), lanes_.end(), std::size_t{0},
                         [](std::size_t sum, const auto& lane) { return sum + lane->pageBytes; });
}

std::chrono::milliseconds TransferThread::BusyTime() const {
  const std::lock_guard lock(mutex_);
  Clock::duration busy = busy_;
  if (busyLanes_ > 0) busy += Clock::now() - busySince_;
  return std::chrono::duration_cast<std::chrono::milliseconds>(busy);
}

// Under the mutex: what the lane has free, and the time any lane has a transfer in flight.
void TransferThread::NoteState(Lane& lane) {
  const std::size_t active = lane.pool.Active();
  lane.free = lane.inFlight - std::min(active, lane.inFlight);
  const bool busy = active > 0;
  if (lane.busy == busy) return;
  lane.busy = busy;
  if (busy && busyLanes_++ == 0) busySince_ = Clock::now();
  if (!busy && --busyLanes_ == 0) busy_ += Clock::now() - busySince_;
}

// Under the mutex, which it lets go while the lane starts what it took.
void TransferThread::StartWaiting(Lane& lane, std::unique_lock<std::mutex>& lock) {
  std::vector<TransferRequest> taken;
  for (std::size_t active = lane.pool.Active(); active < lane.inFlight && !waiting_.empty();
       ++active) {
    taken.push_back(std::move(waiting_.front()));
    waiting_.pop_front();
  }
  if (!taken.empty()) {
    lock.unlock();
    for (TransferRequest& request : taken) lane.pool.Submit(std::move(request));
    lock.lock();
  }
  NoteState(lane);
}

// A failure of the machine (memory) on a lane's thread ends it; the owner learns of it.
void TransferThread::Loop(Lane& lane) {
  try {
    Serve(lane);
  } catch (...) {
    const std::lock_guard lock(mutex_);
    broken_ = true;
    arrived_.notify_all();
  }
}

void TransferThread::Serve(Lane& lane) {
  std::unique_lock lock(mutex_);
  while (!quit_) {
    std::vector<Command> commands;
    commands.swap(lane.commands);
    const std::uint64_t asked = lane.cancellingsAsked;
    lock.unlock();
    for (const Command& command : commands) lane.Apply(command);
    lock.lock();
    StartWaiting(lane, lock);
    if (lane.cancellingsDone != asked) {
      lane.cancellingsDone = asked;
      arrived_.notify_all();
    }
    lock.unlock();
    std::vector<TransferResult> ended = lane.pool.Run(kIdleWait);
    lane.pageBytes = lane.pool.PageBytes();
    lock.lock();
    StartWaiting(lane, lock);
    if (ended.empty()) continue;
    for (TransferResult& result : ended) results_.push_back(std::move(result));
    arrived_.notify_all();
  }
  lock.unlock();
  lane.pool.CancelAll();
}

}  // namespace trawlix
