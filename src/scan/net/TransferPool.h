#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/net/CookieJar.h"

namespace trawlix {

// What the network layer takes from the settings, plus the limits that keep a scan safe
// from broken or hostile servers.
struct WebFileOptions {
  std::string userAgent = "Googlebot-Image/1.0";
  int connectTimeoutSeconds = 4;
  // Ask every cache on the way for a fresh copy ("Pragma" and "Cache-Control" no-cache).
  bool noCache = true;
  // Transfers in flight to one host at a time; 1 fetches one address after the other.
  int connectionsPerHost = 6;
  // A transfer that receives nothing for this long is abandoned; without it one silent
  // server would hold a scan forever.
  std::chrono::milliseconds stallTimeout{30'000};
  // A page is read whole into memory, so its body is capped: links beyond 64 MiB are not
  // worth letting a hostile server exhaust the memory of the machine.
  std::size_t maxPageBytes = std::size_t{64} * 1024 * 1024;
  // No real photo comes near this; a larger one announced is refused, one that grows past
  // it while arriving is abandoned.
  std::uint64_t maxPhotoBytes = std::uint64_t{256} * 1024 * 1024;
  // A server that drips a byte now and then cannot hold a transfer: it must keep up this
  // rate over the window, and every transfer ends by the deadline.
  long minBytesPerSecond = 1024;
  std::chrono::seconds slowWindow{30};
  std::chrono::seconds transferDeadline{900};
  // An https address redirected to plain http is followed only when allowed.
  bool allowHttpsToHttp = false;
  // Loopback, private and link-local addresses are reached only when allowed.
  bool allowPrivateAddresses = true;
};

// Builds page text from body bytes as they arrive. The body is taken in 2,048-byte chunks
// counted from its first byte; a NUL byte drops the rest of its chunk. The result does not
// depend on the pieces the network happened to deliver.
class PageTextBuilder {
 public:
  static constexpr std::size_t kChunkSize = 2048;

  explicit PageTextBuilder(std::string& text) : text_(text) {}
  void Append(std::string_view bytes);

 private:
  std::string& text_;
  std::uint64_t offset_ = 0;     // body bytes seen so far
  std::uint64_t skipUntil_ = 0;  // end of the chunk that a NUL byte cut short
};

// What a photo's first bytes tell its caller.
enum class HeadVerdict {
  More,    // ask again with more bytes
  Keep,    // fetch the whole photo, asking no more
  Refuse,  // not wanted: end the transfer now
};

// One address to fetch: a page into memory, or a photo into a new file.
struct TransferRequest {
  std::uint64_t tag = 0;  // the caller's name for it, given back with the result
  std::string url;
  std::optional<std::string> referer;  // none: no Referer header
  // Photos only: created anew (never an existing file or link) and removed unless the whole
  // body arrives.
  std::optional<std::filesystem::path> file;
  // Photos only: asked with the bytes received so far, until it says Keep or Refuse.
  std::function<HeadVerdict(std::string_view head)> checkHead;
  // Pages only: the validators of the copy fetched before, for a conditional request.
  std::string etag;
  std::string lastModified;
  // Pages only: a tighter cap than maxPageBytes when not 0 (robots.txt).
  std::size_t maxBytes = 0;
  // Photos only: asked with the answer's Content-Type ("" when none) before any byte is
  // taken; false refuses the answer.
  std::function<bool(std::string_view contentType)> checkType{};
};

struct TransferResult {
  std::uint64_t tag = 0;
  // A photo: the whole body is in the file. A page: text was received; a broken or stalled
  // transfer and the page cap keep the text so far.
  bool ok = false;
  std::string text;  // a page's text, 8-bit bytes as received
  std::int64_t bytes = 0;
  std::string finalURL;  // after redirects
  std::string address;   // the server's IP address, when a connection was made
  std::string failure;   // why it failed, in words: "HTTP 404 Not Found", "connection refused"
  // The server asked to be left alone for a while (429 or 503); Retry-After, when given.
  bool busy = false;
  std::chrono::seconds retryAfter{0};
  // The page has not changed since the validators of the request (304 Not Modified).
  bool notModified = false;
  // checkHead refused the photo.
  bool refused = false;
  // A page that reached maxPageBytes (counted decoded): its text ends there.
  bool capped = false;
  std::string etag;  // the answer's validators, for the next conditional request
  std::string lastModified;
  std::string contentHash;     // a photo's: the hash of the whole body (ContentHash)
  std::filesystem::path file;  // a photo's file when ok
};

// Every transfer of a scan: one libcurl multi handle driven by the thread that calls Run,
// at most `connectionsPerHost` connections to one host, connections kept alive between
// requests, every encoding libcurl can decode asked for (the limits count decoded bytes).
// Single-threaded, but for Wakeup.
class TransferPool {
 public:
  static constexpr std::size_t kMaxURLLength = 2048;

  // Every transfer keeps its cookies in `cookies`; none given: in a jar of the pool's own.
  explicit TransferPool(WebFileOptions options, std::shared_ptr<CookieJar> cookies = nullptr);
  ~TransferPool();
  TransferPool(const TransferPool&) = delete;
  TransferPool& operator=(const TransferPool&) = delete;

  // Starts a transfer. A URL longer than kMaxURLLength fails at once, without network
  // activity: its result comes with the next Run.
  void Submit(TransferRequest request);

  // Moves the transfers on for up to `wait` (less when one ends or Wakeup is called) and
  // returns those that ended, in the order they ended.
  std::vector<TransferResult> Run(std::chrono::milliseconds wait);

  // Ends every transfer now, without results; their files are removed.
  void CancelAll();
  // Ends the transfer tagged `tag` now, without a result.
  void Cancel(std::uint64_t tag);

  // Keeps later transfers off loopback, private and link-local addresses.
  void RefuseLocalNetwork() { options_.allowPrivateAddresses = false; }

  // Makes a Run that waits return at once. Any thread.
  void Wakeup();

  std::size_t Active() const { return transfers_.size(); }
  // Bytes the pages in flight hold so far.
  std::size_t PageBytes() const;
  // The cookies every transfer sends and keeps.
  CookieJar& Cookies() const { return *cookies_; }

  // Client errors 400..415 are refused; everything else (also 416 and above, every 5xx and
  // 0 for an unknown status) is read like a success.
  static bool IsAcceptedStatus(long status) { return status < 400 || status > 415; }

 private:
  class Transfer;
  using Clock = std::chrono::steady_clock;

  void* NewHandle();
  void Release(void* handle);
  void Finish(void* handle, int code);

  WebFileOptions options_;
  std::shared_ptr<CookieJar> cookies_;  // outlives every handle, so declared before them
  std::unique_ptr<void, void (*)(void*)> multi_;
  std::map<void*, std::unique_ptr<Transfer>> transfers_;
  std::vector<void*> idleHandles_;
  std::deque<TransferResult> ended_;
};

}  // namespace trawlix
