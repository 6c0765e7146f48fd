#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace trawlix {

// What the network layer takes from the settings, plus the limits that keep a scan safe
// from broken or hostile servers.
struct WebFileOptions {
  std::string userAgent = "Googlebot-Image/1.0";
  int connectTimeoutSeconds = 4;
  // Ask every cache on the way for a fresh copy ("Pragma" and "Cache-Control" no-cache).
  bool noCache = true;
  // A transfer that receives nothing for this long is abandoned; without it one silent
  // server would hold a scan forever.
  std::chrono::milliseconds stallTimeout{30'000};
  // A page is read whole into memory, so its body is capped: links beyond 64 MiB are not
  // worth letting a hostile server exhaust the memory of the machine.
  std::size_t maxPageBytes = std::size_t{64} * 1024 * 1024;
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

// The only network access: one libcurl easy handle (the "session") per object, reused for
// every request so that connections are kept alive. One object serves one thread at a time.
class CXWebFile {
 public:
  static constexpr std::size_t kMaxURLLength = 2048;

  // Without options the object has no session and every download fails.
  CXWebFile() = default;
  // Opens the session at once.
  explicit CXWebFile(WebFileOptions options);
  virtual ~CXWebFile();
  CXWebFile(const CXWebFile&) = delete;
  CXWebFile& operator=(const CXWebFile&) = delete;

  // Opens the session unless it is open already or the object has no options. A failed
  // open is retried by the next call; an open session is never reopened.
  void OpenSession();
  bool HasSession() const { return session_ != nullptr; }

  // Fetches a page as text, 8-bit bytes as received. No referer means no Referer header.
  // A URL longer than kMaxURLLength fails at once and leaves every output untouched.
  // Otherwise bytesRead and seconds are reset first. A stop, a broken or stalled transfer
  // and the page cap end the body early; the text received so far is kept and the result
  // is true (the caller checks its stop flag to discard a stopped page).
  bool DownloadToString(std::optional<std::string_view> referer, const std::atomic<int>& stop,
                        std::string_view url, std::string& text, std::int64_t& bytesRead,
                        int& seconds);

  // Fetches a photo into path (created or truncated). True only when the whole body was
  // written: a transfer cut short by the stop flag, the network or a stall, or a failed
  // write, removes the partial file and reports false.
  bool DownloadToFile(std::string_view referer, const std::atomic<int>& stop, std::string_view url,
                      const std::filesystem::path& path, std::int64_t& bytesRead, int& seconds);

  // Client errors 400..415 are refused; everything else (also 416 and above, every 5xx and
  // 0 for an unknown status) is read like a success.
  static bool IsAcceptedStatus(long status) { return status < 400 || status > 415; }

 private:
  struct SessionCloser {
    void operator()(void* handle) const;
  };

  std::optional<WebFileOptions> options_;
  std::unique_ptr<void, SessionCloser> session_;
};

}  // namespace trawlix
