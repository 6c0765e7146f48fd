#include "scan/WebFile.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>

#include "base/TaskTimer.h"

namespace trawlix {

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kMaxRedirects = 10;
// The referer header is bounded like the request line.
constexpr std::size_t kMaxRefererHeader = 2047;
// Keeps seconds x 1000 inside a long.
constexpr int kMaxConnectTimeoutSeconds = INT_MAX / 1000;

struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

bool AppendHeader(HeaderList& list, const std::string& line) {
  curl_slist* head = curl_slist_append(list.get(), line.c_str());
  if (head == nullptr) return false;
  static_cast<void>(list.release());
  list.reset(head);
  return true;
}

// A referer comes from crawled pages: cut it at a NUL and drop line breaks so that it can
// never add a header of its own.
std::string RefererHeader(std::string_view referer) {
  referer = referer.substr(0, referer.find('\0'));
  std::string line = "Referer: ";
  for (char c : referer) {
    if (line.size() == kMaxRefererHeader) break;
    if (c != '\r' && c != '\n') line += c;
  }
  return line;
}

// Links are used as the page wrote them; the request line needs spaces, control bytes and
// non-ASCII bytes percent-encoded, as browsers do. The host is left alone.
std::string RequestURL(std::string_view url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::size_t pathStart = url.find("://");
  pathStart = pathStart == std::string_view::npos ? 0 : url.find_first_of("/?#", pathStart + 3);
  if (pathStart == std::string_view::npos) pathStart = url.size();
  std::string result(url.substr(0, pathStart));
  for (char c : url.substr(pathStart)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
      result += c;
    } else {
      result += '%';
      result += kHex[byte >> 4];
      result += kHex[byte & 0x0F];
    }
  }
  return result;
}

// Receives the body of an accepted response.
class BodySink {
 public:
  virtual ~BodySink() = default;
  // Called once when the response is accepted, before any byte; false ends the transfer.
  virtual bool Begin() = 0;
  virtual bool Store(std::string_view bytes) = 0;
};

class PageSink : public BodySink {
 public:
  explicit PageSink(std::string& text) : text_(text), builder_(text) {}
  bool Begin() override {
    text_.clear();
    return true;
  }
  bool Store(std::string_view bytes) override {
    builder_.Append(bytes);
    return true;
  }

 private:
  std::string& text_;
  PageTextBuilder builder_;
};

class FileSink : public BodySink {
 public:
  explicit FileSink(std::filesystem::path path) : path_(std::move(path)) {}
  ~FileSink() override { Discard(); }
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  bool Begin() override {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd_ >= 0;
  }

  bool Store(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }

  // Closes a complete file; false (and no file) when closing reports a lost write.
  bool Keep() {
    const bool closed = fd_ >= 0 && ::close(fd_) == 0;
    fd_ = -1;
    if (!closed) Remove();
    return closed;
  }

  // Closes and removes a file this sink created.
  void Discard() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    Remove();
  }

 private:
  void Remove() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }

  std::filesystem::path path_;
  int fd_ = -1;
};

// Why a transfer ended before libcurl finished it.
enum class TransferEnd { None, Stopped, Stalled, Rejected, Capped, SinkFailed };

// The state of one request, shared with libcurl's callbacks.
class Transfer {
 public:
  Transfer(const std::atomic<int>& stop, BodySink& sink, std::chrono::milliseconds stallTimeout,
           std::uint64_t byteLimit)
      : stop_(stop), sink_(sink), stallTimeout_(stallTimeout), byteLimit_(byteLimit) {}

  void Perform(CURL* handle, curl_slist* headers, const std::string& url) {
    handle_ = handle;
    lastActivity_ = Clock::now();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &Transfer::OnProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    code_ = curl_easy_perform(handle);
    // The header list dies with the caller; the handle must not keep pointing at it.
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, nullptr);
    // A response without a body never reached OnBody: accept or refuse it now.
    if (code_ == CURLE_OK && !begun_ && !Begin()) code_ = CURLE_WRITE_ERROR;
    timer_.Stop();
  }

  bool Completed() const { return code_ == CURLE_OK; }
  bool Begun() const { return begun_; }
  TransferEnd End() const { return end_; }
  std::int64_t Bytes() const { return static_cast<std::int64_t>(bytes_); }
  int Seconds() const { return static_cast<int>(timer_.ElapsedSeconds()); }

 private:
  bool Begin() {
    long status = 0;
    curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
    if (!CXWebFile::IsAcceptedStatus(status)) {
      end_ = TransferEnd::Rejected;
      return false;
    }
    if (!sink_.Begin()) {
      end_ = TransferEnd::SinkFailed;
      return false;
    }
    begun_ = true;
    timer_.Start();
    return true;
  }

  std::size_t Receive(const char* data, std::size_t size) {
    lastActivity_ = Clock::now();
    if (!begun_ && !Begin()) return 0;
    if (stop_.load() != 0) {
      end_ = TransferEnd::Stopped;
      return 0;
    }
    const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(size, byteLimit_ - bytes_));
    bytes_ += take;
    if (!sink_.Store(std::string_view(data, take))) {
      end_ = TransferEnd::SinkFailed;
      return 0;
    }
    if (take < size) {
      end_ = TransferEnd::Capped;
      return 0;
    }
    return size;
  }

  // libcurl calls this at least once a second, also while nothing arrives.
  bool ShouldAbort() {
    if (stop_.load() != 0) {
      end_ = TransferEnd::Stopped;
      return true;
    }
    if (Clock::now() - lastActivity_ > stallTimeout_) {
      end_ = TransferEnd::Stalled;
      return true;
    }
    return false;
  }

  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<Transfer*>(self)->Receive(data, size * count);
  }
  static std::size_t OnHeader(char*, std::size_t size, std::size_t count, void* self) {
    static_cast<Transfer*>(self)->lastActivity_ = Clock::now();
    return size * count;
  }
  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(self)->ShouldAbort() ? 1 : 0;
  }

  const std::atomic<int>& stop_;
  BodySink& sink_;
  const std::chrono::milliseconds stallTimeout_;
  const std::uint64_t byteLimit_;
  CURL* handle_ = nullptr;
  CURLcode code_ = CURLE_FAILED_INIT;
  TransferEnd end_ = TransferEnd::None;
  bool begun_ = false;
  std::uint64_t bytes_ = 0;
  CXTaskTimer timer_;  // runs from the accepted response to the end of the body
  Clock::time_point lastActivity_;
};

// Sends one GET on the session; false when no request could be made.
bool Run(CURL* session, const WebFileOptions& options, Transfer& transfer,
         std::optional<std::string_view> referer, std::string_view url) {
  if (session == nullptr) return false;
  HeaderList headers;
  if (referer && !AppendHeader(headers, RefererHeader(*referer))) return false;
  if (options.noCache && (!AppendHeader(headers, "Pragma: no-cache") ||
                          !AppendHeader(headers, "Cache-Control: no-cache"))) {
    return false;
  }
  transfer.Perform(session, headers.get(), RequestURL(url));
  return true;
}

}  // namespace

void PageTextBuilder::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::uint64_t chunkEnd = (offset_ / kChunkSize + 1) * kChunkSize;
    const auto take =
        static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), chunkEnd - offset_));
    if (offset_ >= skipUntil_) {
      const std::string_view piece = bytes.substr(0, take);
      const std::size_t nul = piece.find('\0');
      text_.append(piece.substr(0, nul));
      if (nul != std::string_view::npos) skipUntil_ = chunkEnd;
    }
    offset_ += take;
    bytes.remove_prefix(take);
  }
}

void CXWebFile::SessionCloser::operator()(void* handle) const {
  curl_easy_cleanup(handle);
}

CXWebFile::CXWebFile(WebFileOptions options) : options_(std::move(options)) {
  OpenSession();
}

CXWebFile::~CXWebFile() = default;

void CXWebFile::OpenSession() {
  if (!options_ || session_) return;
  CURL* handle = curl_easy_init();
  if (handle == nullptr) return;
  session_.reset(handle);
  const int timeout = std::clamp(options_->connectTimeoutSeconds, 0, kMaxConnectTimeoutSeconds);
  curl_easy_setopt(handle, CURLOPT_USERAGENT, options_->userAgent.c_str());
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout) * 1000L);
  // Worker threads: no signals for name-resolution time-outs.
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
  // Crawled links must not reach local files or other protocols, neither directly nor
  // through a redirect.
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
}

bool CXWebFile::DownloadToString(std::optional<std::string_view> referer,
                                 const std::atomic<int>& stop, std::string_view url,
                                 std::string& text, std::int64_t& bytesRead, int& seconds) {
  if (url.size() > kMaxURLLength) return false;
  bytesRead = 0;
  seconds = 0;
  if (!options_) return false;
  PageSink sink(text);
  Transfer transfer(stop, sink, options_->stallTimeout, options_->maxPageBytes);
  if (!Run(session_.get(), *options_, transfer, referer, url)) return false;
  bytesRead = transfer.Bytes();
  seconds = transfer.Seconds();
  if (transfer.Completed()) return true;
  switch (transfer.End()) {
    case TransferEnd::Stopped:
      // Stopped before any response: nothing was received.
      if (!transfer.Begun()) text.clear();
      return true;
    case TransferEnd::Capped:
      return true;
    case TransferEnd::Rejected:
    case TransferEnd::SinkFailed:
      return false;
    case TransferEnd::None:
    case TransferEnd::Stalled:
      // A connection that broke or went silent mid-body still yields the text so far.
      return transfer.Begun();
  }
  return false;
}

bool CXWebFile::DownloadToFile(std::string_view referer, const std::atomic<int>& stop,
                               std::string_view url, const std::filesystem::path& path,
                               std::int64_t& bytesRead, int& seconds) {
  if (url.size() > kMaxURLLength) return false;
  bytesRead = 0;
  seconds = 0;
  if (!options_) return false;
  FileSink sink(path);
  Transfer transfer(stop, sink, options_->stallTimeout, UINT64_MAX);
  if (!Run(session_.get(), *options_, transfer, referer, url)) return false;
  bytesRead = transfer.Bytes();
  seconds = transfer.Seconds();
  // Anything short of the whole body is not a photo; the sink removes the partial file.
  return transfer.Completed() && sink.Keep();
}

}  // namespace trawlix
