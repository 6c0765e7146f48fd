#include "scan/net/CookieJar.h"

#include <curl/curl.h>

#include <array>
#include <charconv>
#include <fstream>
#include <system_error>

namespace trawlix {

namespace {

constexpr std::string_view kHttpOnlyMark = "#HttpOnly_";

// Control bytes would end the line or the field.
bool IsPlainField(std::string_view field) {
  for (const char c : field) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

// One mutex for each kind of data libcurl shares (curl_lock_data).
struct CookieJar::Locks {
  std::array<std::mutex, CURL_LOCK_DATA_LAST> byData;

  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<Locks*>(self)->byData.at(static_cast<std::size_t>(data)).lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<Locks*>(self)->byData.at(static_cast<std::size_t>(data)).unlock();
  }
};

CookieJar::CookieJar() : locks_(std::make_unique<Locks>()) {
  share_ = curl_share_init();
  if (share_ == nullptr) return;
  curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &Locks::Lock);
  curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &Locks::Unlock);
  curl_share_setopt(share_, CURLSHOPT_USERDATA, locks_.get());
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  access_ = curl_easy_init();
  if (access_ != nullptr) Attach(access_);
}

CookieJar::~CookieJar() {
  if (access_ != nullptr) curl_easy_cleanup(access_);
  if (share_ != nullptr) curl_share_cleanup(share_);
}

void CookieJar::Attach(void* easyHandle) const {
  if (share_ == nullptr) return;
  curl_easy_setopt(easyHandle, CURLOPT_SHARE, share_);
  // An empty name switches the cookie engine on without reading a file.
  curl_easy_setopt(easyHandle, CURLOPT_COOKIEFILE, "");
}

std::optional<std::string> CookieJar::LoadFile(const std::filesystem::path& file) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error) return error.message();
  if (size > kMaxFileBytes)
    return "it is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB";
  std::ifstream in(file, std::ios::binary);
  if (!in) return "it could not be opened";
  bool any = false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (const std::optional<Cookie> cookie = ParseCookieLine(line)) {
      Add(*cookie);
      any = true;
    }
  }
  if (in.bad()) return "it could not be read";
  if (!any) return "it holds no cookie in the cookies.txt format";
  return std::nullopt;
}

void CookieJar::Add(const Cookie& cookie) {
  if (cookie.domain.empty() || cookie.domain == "." || cookie.name.empty()) return;
  const std::string line = CookieLine(cookie);
  if (!line.empty()) AddLine(line);
}

void CookieJar::AddLine(const std::string& line) {
  if (access_ == nullptr) return;
  const std::lock_guard<std::mutex> lock(accessLock_);
  curl_easy_setopt(access_, CURLOPT_COOKIELIST, line.c_str());
}

std::vector<Cookie> CookieJar::List() const {
  std::vector<Cookie> cookies;
  if (access_ == nullptr) return cookies;
  curl_slist* list = nullptr;
  {
    const std::lock_guard<std::mutex> lock(accessLock_);
    if (curl_easy_getinfo(access_, CURLINFO_COOKIELIST, &list) != CURLE_OK) return cookies;
  }
  for (const curl_slist* item = list; item != nullptr; item = item->next) {
    if (std::optional<Cookie> cookie = ParseCookieLine(item->data))
      cookies.push_back(std::move(*cookie));
  }
  curl_slist_free_all(list);
  return cookies;
}

std::string CookieLine(const Cookie& cookie) {
  for (const std::string* field : {&cookie.domain, &cookie.path, &cookie.name, &cookie.value}) {
    if (!IsPlainField(*field) || field->find('\t') != std::string::npos) return {};
  }
  std::string line = cookie.httpOnly ? std::string(kHttpOnlyMark) : std::string();
  line += cookie.domain + '\t' + (cookie.subdomains ? "TRUE" : "FALSE") + '\t' +
          (cookie.path.empty() ? "/" : cookie.path) + '\t' + (cookie.secure ? "TRUE" : "FALSE") +
          '\t' + std::to_string(cookie.expires) + '\t' + cookie.name + '\t' + cookie.value;
  return line;
}

std::optional<Cookie> ParseCookieLine(std::string_view line) {
  Cookie cookie;
  if (line.starts_with(kHttpOnlyMark)) {
    cookie.httpOnly = true;
    line.remove_prefix(kHttpOnlyMark.size());
  } else if (line.starts_with('#')) {
    return std::nullopt;  // a comment
  }
  std::array<std::string_view, 7> fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t tab = i + 1 < fields.size() ? line.find('\t') : line.size();
    if (tab == std::string_view::npos) return std::nullopt;
    fields[i] = line.substr(0, tab);
    line.remove_prefix(std::min(line.size(), tab + 1));
  }
  if (!IsPlainField(fields[0]) || fields[0].empty() || fields[5].empty()) return std::nullopt;
  const auto [end, error] =
      std::from_chars(fields[4].data(), fields[4].data() + fields[4].size(), cookie.expires);
  if (error != std::errc() || end != fields[4].data() + fields[4].size()) return std::nullopt;
  cookie.domain = fields[0];
  cookie.subdomains = fields[1] == "TRUE";
  cookie.path = fields[2];
  cookie.secure = fields[3] == "TRUE";
  cookie.name = fields[5];
  cookie.value = fields[6];
  if (!IsPlainField(cookie.path) || !IsPlainField(cookie.name) || !IsPlainField(cookie.value))
    return std::nullopt;
  return cookie;
}

}  // namespace trawlix
