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

// The scan's transfers on threads of their own: bodies are read and written, and a finished
// connection takes its next request, while the owner scans pages and stores photos. The
// connections are shared out between two lanes, each a TransferPool on its own thread, so
// that receiving and writing one body does not hold up the answers on the other lane's
// connections. At most `connectionsPerHost` transfers are in flight; requests submitted
// beyond that wait here, in order, and the first lane with a free connection takes the next
// one the moment a transfer ends, without a round trip to the owner (nor a clock of
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
  // Raises std::runtime_error once a network thread could not start or went down.
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
  // As the pools last counted them.
  std::size_t PageBytes() const;
  CookieJar& Cookies() const { return *cookies_; }
  // Time during which at least one transfer was in flight.
  std::chrono::milliseconds BusyTime() const;

 private:
  // What the owner tells a lane; requests go to the shared queue instead.
  struct Command {
    enum class Kind { Cancel, CancelAll, RefuseLocalNetwork } kind;
    std::uint64_t tag = 0;  // Cancel's
  };
  struct Lane;
  using Clock = std::chrono::steady_clock;

  void Post(Lane& lane, Command command);
  void Loop(Lane& lane);
  void Serve(Lane& lane);
  void StartWaiting(Lane& lane, std::unique_lock<std::mutex>& lock);
  void NoteState(Lane& lane);

  std::shared_ptr<CookieJar> cookies_;
  std::vector<std::unique_ptr<Lane>> lanes_;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;      // results, a wake-up, a cancelling done
  std::deque<TransferRequest> waiting_;  // submitted, not yet taken by a lane
  std::vector<TransferResult> results_;
  bool woken_ = false;
  bool quit_ = false;
  bool broken_ = false;  // a thread could not start or went down
  std::size_t busyLanes_ = 0;
  Clock::duration busy_{};
  Clock::time_point busySince_{};
  std::unordered_set<std::uint64_t> live_;  // the owner's
};

}  // namespace trawlix
