#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace trawlix::testing {

// Encoded photos for the test sites, solid colour, of the given size.
enum class TestPhotoKind { Jpeg, Png, Gif, Bmp, Tif, WebP, Avif };
std::string MakeTestPhoto(TestPhotoKind kind, int width, int height);
// The bytes as a gzip stream.
std::string Gzip(std::string_view bytes);

// A web site on 127.0.0.1 (or another loopback address) served by an in-process HTTP server.
// Paths not added answer 404.
class TestSite {
 public:
  explicit TestSite(std::string host = "127.0.0.1");
  ~TestSite();
  TestSite(const TestSite&) = delete;
  TestSite& operator=(const TestSite&) = delete;

  // A path with a query ("/a.jpg?w=9") answers only that query; the bare path any other.
  void Add(const std::string& path, const std::string& contentType, const std::string& body);
  void AddPage(const std::string& path, const std::string& html) { Add(path, "text/html", html); }

  // "http://127.0.0.1:PORT" + path.
  std::string URL(const std::string& path) const;
  // Every response waits this long first, so a scan can be caught half way.
  void SetDelay(std::chrono::milliseconds delay) { delayMs_ = static_cast<int>(delay.count()); }
  // The same for pages (".html") only.
  void SetPageDelay(std::chrono::milliseconds delay) {
    pageDelayMs_ = static_cast<int>(delay.count());
  }
  // Every response also waits a random 0..max, drawn from a fixed seed.
  void SetJitter(std::chrono::milliseconds max) { jitterMs_ = static_cast<int>(max.count()); }
  // A response that sends part of its body and then goes silent until the site closes, or
  // closes the connection at once.
  enum class Breakage { Stall, Reset };
  void AddBroken(const std::string& path, const std::string& contentType, const std::string& body,
                 Breakage breakage);
  // Answers `status` (429 or 503) with this Retry-After the first `times` requests, then
  // serves the body; times < 0 answers so for ever.
  void AddBusy(const std::string& path, const std::string& contentType, const std::string& body,
               int status, int times, const std::string& retryAfter);
  // Served 4 KiB a millisecond, counting the bytes that went out (BytesServed).
  void AddMetered(const std::string& path, const std::string& contentType, const std::string& body);
  std::size_t BytesServed(const std::string& path) const;
  // Answers with a redirect to `target` (a path of this site).
  void AddRedirect(const std::string& path, const std::string& target);
  // Answers the path with this Set-Cookie header too.
  void SetCookieOn(const std::string& path, const std::string& setCookie);
  // Answers the path 403 unless the request's Cookie header holds `cookie` ("name=value").
  void RequireCookie(const std::string& path, const std::string& cookie);
  // Serves `gzipped` as the gzip-encoded body of the path, whatever the request accepts.
  void AddGzipped(const std::string& path, const std::string& contentType,
                  const std::string& gzipped);
  // The Cookie headers of every request for the path, empty ones included.
  std::vector<std::string> CookiesReceived(const std::string& path) const;
  int Requests(const std::string& path) const;
  int TotalRequests() const;
  // Requests answered 304 Not Modified: every resource has an ETag and a Last-Modified date,
  // and a request naming either as it stands gets no body.
  int NotModifiedAnswers() const;

 private:
  struct Resource {
    std::string contentType;
    std::string body;
    std::optional<Breakage> breakage;
    std::string redirect;
    int busyStatus = 0;
    int busyTimes = 0;
    std::string retryAfter;
    bool metered = false;
    bool gzipped = false;
    std::string setCookie{};
    std::string needsCookie{};
  };

  int Jitter();

  std::string host_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<int> delayMs_{0};
  std::atomic<int> pageDelayMs_{0};
  std::atomic<int> jitterMs_{0};
  std::atomic<bool> closing_{false};
  unsigned jitterState_ = 12345;  // guarded by mutex_
  mutable std::mutex mutex_;
  std::map<std::string, Resource> resources_;
  std::map<std::string, int> requests_;
  std::map<std::string, std::vector<std::string>> cookies_;
  std::map<std::string, std::size_t> served_;
  int notModified_ = 0;
};

}  // namespace trawlix::testing
