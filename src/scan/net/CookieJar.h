#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

// One cookie as a cookies.txt line describes it.
struct Cookie {
  std::string domain;       // a host, or the domain whose hosts all get it
  bool subdomains = false;  // true: every host under `domain`; false: that host alone
  std::string path = "/";
  bool secure = false;       // sent over https only
  std::int64_t expires = 0;  // seconds since 1970; 0: ends with the scan (a session cookie)
  bool httpOnly = false;
  std::string name;
  std::string value;
};

// The cookies of one scan, kept by libcurl's cookie engine with its domain, path, secure and
// expiry rules, and shared by every transfer of the scan, so that a cookie a page sets goes
// with the requests for its photos. Any thread may add and list cookies while transfers run
// (a page renderer feeds in what its scripts set, and takes what the servers set).
class CookieJar {
 public:
  // A cookies file larger than this is not a browser's export.
  static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{8} * 1024 * 1024;

  CookieJar();
  ~CookieJar();
  CookieJar(const CookieJar&) = delete;
  CookieJar& operator=(const CookieJar&) = delete;

  // Adds the cookies of a Netscape cookies.txt, as browsers' export add-ons write it; the
  // file is only read. Why not, in words, when it cannot be read or holds no cookie.
  std::optional<std::string> LoadFile(const std::filesystem::path& file);

  // Adds or replaces one cookie; one without a domain or name is ignored, as it could
  // otherwise go to every host.
  void Add(const Cookie& cookie);

  // Every cookie the scan holds now, those that servers set included.
  std::vector<Cookie> List() const;

  // Makes a libcurl easy handle send and keep its cookies here. The jar outlives the handle.
  void Attach(void* easyHandle) const;

 private:
  void AddLine(const std::string& line);

  struct Locks;
  std::unique_ptr<Locks> locks_;
  void* share_ = nullptr;
  // Feeds and reads the store; guarded, as an easy handle serves one thread at a time.
  mutable std::mutex accessLock_;
  void* access_ = nullptr;
};

// A cookies.txt line and back; nothing when the line is not a cookie.
std::string CookieLine(const Cookie& cookie);
std::optional<Cookie> ParseCookieLine(std::string_view line);

}  // namespace trawlix
