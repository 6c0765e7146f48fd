#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

#include "scan/net/TransferPool.h"

namespace trawlix {

// A TransferPool on a thread of its own: bodies are read and written, and a finished
// connection takes its next request, while the owner scans pages and stores photos. At most
// `connectionsPerHost` transfers are in flight; requests submitted beyond that wait here, in
// order, and start the moment one ends, without a round trip to the owner (nor a clock of
// libcurl's running while they wait). The owner's calls are the pool's; it collects the
// results with Run. One owner thread, but for Wakeup.
class TransferThread {
 public:
  explicit TransferThread(WebFileOptions options, std::shared_ptr<CookieJar> cookies = nullptr);
  ~TransferThread();  // ends every transfer
  TransferThread(const TransferThread&) = delete;
  TransferThread& operator=(const TransferThread&) = delete;

  void Submit(TransferRequest request);
  // The results that arrived, waiting up to `wait` for one (less when Wakeup is called).
  // Raises std::runtime_error once the network thread could not start or went down.
  std::vector<TransferResult> Run(std::chrono::milliseconds wait);
  // Ends every transfer before it returns; no result of them comes any more.
  void CancelAll();
  // No result of the transfer comes any more; a photo it finished is removed.
  void Cancel(std::uint64_t tag);
  void RefuseLocalNetwork();
  // Makes a Run that waits return at once. Any thread.
  void Wakeup();

  // Transfers submitted, in flight or waiting, whose results have not been collected nor
  // cancelled.
  std::size_t Active() const { return live_.size(); }
  // As the pool last counted them.
  std::size_t PageBytes() const { return pageBytes_.load(); }
  CookieJar& Cookies() const { return pool_.Cookies(); }
  std::chrono::milliseconds BusyTime() const { return std::chrono::milliseconds(busyMs_.load()); }

 private:
  struct Command {
    enum class Kind { Submit, Cancel, CancelAll, RefuseLocalNetwork } kind;
    TransferRequest request{};
  };

  void Post(Command command);
  void Loop();
  void Serve();
  void Apply(Command& command);
  void StartWaiting();

  TransferPool pool_;  // the network thread's, but for Cookies and its wake-up
  const std::size_t inFlight_;
  std::deque<TransferRequest> waiting_;  // the network thread's
  std::mutex mutex_;
  std::condition_variable arrived_;  // results, a wake-up, a cancelling done
  std::vector<Command> commands_;
  std::vector<TransferResult> results_;
  bool woken_ = false;
  bool quit_ = false;
  bool broken_ = false;  // the thread could not start or went down
  std::uint64_t cancellingsAsked_ = 0;
  std::uint64_t cancellingsDone_ = 0;
  std::atomic<std::size_t> pageBytes_{0};
  std::atomic<std::int64_t> busyMs_{0};
  std::unordered_set<std::uint64_t> live_;  // the owner's
  std::thread thread_;
};

}  // namespace trawlix
