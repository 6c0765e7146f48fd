#include "scan/net/TransferThread.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace trawlix {

namespace {

// How long the network thread sleeps when nothing moves; a command cuts it short.
constexpr auto kIdleWait = std::chrono::milliseconds(100);

// A result nobody will take leaves no file behind.
void Discard(const TransferResult& result) {
  if (result.file.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(result.file, ignored);
}

}  // namespace

TransferThread::TransferThread(WebFileOptions options, std::shared_ptr<CookieJar> cookies)
    : pool_(options, std::move(cookies)),
      inFlight_(static_cast<std::size_t>(std::max(1, options.connectionsPerHost))) {
  try {
    thread_ = std::thread([this] { Loop(); });
  } catch (const std::system_error&) {
    broken_ = true;
  }
}

TransferThread::~TransferThread() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  pool_.Wakeup();
  if (thread_.joinable()) thread_.join();
  for (const TransferResult& result : results_) Discard(result);
}

void TransferThread::Post(Command command) {
  {
    const std::lock_guard lock(mutex_);
    commands_.push_back(std::move(command));
  }
  pool_.Wakeup();
}

void TransferThread::Submit(TransferRequest request) {
  live_.insert(request.tag);
  Post({Command::Kind::Submit, std::move(request)});
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
  commands_.push_back({Command::Kind::CancelAll});
  const std::uint64_t asked = ++cancellingsAsked_;
  pool_.Wakeup();
  arrived_.wait(lock, [&] { return cancellingsDone_ >= asked || broken_; });
  for (const TransferResult& result : results_) Discard(result);
  results_.clear();
  live_.clear();
}

void TransferThread::Cancel(std::uint64_t tag) {
  if (live_.erase(tag) == 0) return;
  TransferRequest request;
  request.tag = tag;
  Post({Command::Kind::Cancel, std::move(request)});
}

void TransferThread::RefuseLocalNetwork() {
  Post({Command::Kind::RefuseLocalNetwork});
}

void TransferThread::Wakeup() {
  {
    const std::lock_guard lock(mutex_);
    woken_ = true;
  }
  arrived_.notify_all();
}

void TransferThread::Apply(Command& command) {
  switch (command.kind) {
    case Command::Kind::Submit:
      waiting_.push_back(std::move(command.request));
      break;
    case Command::Kind::Cancel:
      if (std::erase_if(waiting_, [&](const TransferRequest& request) {
            return request.tag == command.request.tag;
          }) == 0)
        pool_.Cancel(command.request.tag);
      break;
    case Command::Kind::CancelAll:
      waiting_.clear();
      pool_.CancelAll();
      break;
    case Command::Kind::RefuseLocalNetwork:
      pool_.RefuseLocalNetwork();
      break;
  }
}

void TransferThread::StartWaiting() {
  while (!waiting_.empty() && pool_.Active() < inFlight_) {
    pool_.Submit(std::move(waiting_.front()));
    waiting_.pop_front();
  }
}

// A failure of the machine (memory) on this thread ends it; the owner learns of it.
void TransferThread::Loop() {
  try {
    Serve();
  } catch (...) {
    const std::lock_guard lock(mutex_);
    broken_ = true;
    arrived_.notify_all();
  }
}

void TransferThread::Serve() {
  std::unique_lock lock(mutex_);
  while (!quit_) {
    std::vector<Command> commands;
    commands.swap(commands_);
    const std::uint64_t asked = cancellingsAsked_;
    lock.unlock();
    for (Command& command : commands) Apply(command);
    StartWaiting();
    lock.lock();
    if (cancellingsDone_ != asked) {
      cancellingsDone_ = asked;
      arrived_.notify_all();
    }
    lock.unlock();
    std::vector<TransferResult> ended = pool_.Run(kIdleWait);
    StartWaiting();
    pageBytes_ = pool_.PageBytes();
    busyMs_ = pool_.BusyTime().count();
    lock.lock();
    if (ended.empty()) continue;
    for (TransferResult& result : ended) results_.push_back(std::move(result));
    arrived_.notify_all();
  }
  lock.unlock();
  pool_.CancelAll();
}

}  // namespace trawlix
