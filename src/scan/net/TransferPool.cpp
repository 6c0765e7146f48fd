#include "scan/net/TransferPool.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>

#include "base/Text.h"
#include "platform/ContentHash.h"
#include "scan/markup/AddressRules.h"

namespace trawlix {

namespace {

constexpr long kMaxRedirects = 10;
// Headers made from what pages and servers say are bounded like the request line.
constexpr std::size_t kMaxHeaderLine = 2047;
// Keeps seconds x 1000 inside a long.
constexpr int kMaxConnectTimeoutSeconds = INT_MAX / 1000;
constexpr long kReceiveBuffer = 256L * 1024;

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

// A header whose value comes from a crawled page (the referer) or a server's earlier answer
// (validators): cut at a NUL, line breaks dropped, so that it can never add a header of its
// own.
std::string HeaderLine(std::string_view name, std::string_view value) {
  value = value.substr(0, value.find('\0'));
  std::string line(name);
  line += ": ";
  for (char c : value) {
    if (line.size() == kMaxHeaderLine) break;
    if (c != '\r' && c != '\n') line += c;
  }
  return line;
}

// The value of a header line "Name: value" when its name is `name` (any letter case).
std::optional<std::string_view> HeaderValue(std::string_view line, std::string_view name) {
  if (line.size() <= name.size() || line[name.size()] != ':' ||
      !EqualsNoCase(line.substr(0, name.size()), name))
    return std::nullopt;
  std::string_view value = line.substr(name.size() + 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
    value.remove_suffix(1);
  return value.substr(0, kMaxHeaderLine);
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
  // The transfer did not end well: nothing it wrote is kept.
  virtual void Discard() {}
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

  // Never opens a file or link that is already there: a link planted under the name cannot
  // redirect the write. The photo keeps the mode the user's umask gives.
  bool Begin() override {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return fd_ >= 0;
  }

  const std::filesystem::path& Path() const { return path_; }

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
  void Discard() override {
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

// Connects only to addresses outside this computer and the local network; `refused` is
// the transfer's note that it was kept from one.
curl_socket_t OpenPublicSocket(void* refused, curlsocktype, curl_sockaddr* address) {
  if (IsLocalNetworkAddress(address->addr)) {
    *static_cast<bool*>(refused) = true;
    return CURL_SOCKET_BAD;
  }
  return ::socket(address->family, address->socktype, address->protocol);
}

// Why a transfer ended before libcurl finished it.
enum class TransferEnd {
  None,
  Stalled,
  Rejected,
  Capped,
  TooLarge,
  SinkFailed,
  Refused,
  LocalNetwork
};

// A photo's head is never kept beyond this, whatever its judge says.
constexpr std::size_t kMaxHeadBytes = std::size_t{1} << 20;

std::string Megabytes(std::uint64_t bytes) {
  return std::to_string(bytes / (1024 * 1024)) + " MB";
}

// What a failed transfer tells the user, from libcurl's code.
std::string FailureText(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return "unknown host";
    case CURLE_COULDNT_CONNECT:
      return "connection refused";
    case CURLE_OPERATION_TIMEDOUT:
      return "timed out";
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
      return "connection closed before the whole answer arrived";
    case CURLE_TOO_MANY_REDIRECTS:
      return "too many redirects";
    case CURLE_UNSUPPORTED_PROTOCOL:
      return "not an http or https address";
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
      return std::string("TLS error: ") + curl_easy_strerror(code);
    default:
      return curl_easy_strerror(code);
  }
}

}  // namespace

// The state of one request, shared with libcurl's callbacks.
class TransferPool::Transfer {
 public:
  Transfer(const WebFileOptions& options, TransferRequest request)
      : tag_(request.tag),
        stallTimeout_(options.stallTimeout),
        byteLimit_(request.file           ? options.maxPhotoBytes
                   : request.maxBytes > 0 ? std::min(request.maxBytes, options.maxPageBytes)
                                          : options.maxPageBytes),
        keepHttps_(!options.allowHttpsToHttp && request.url.rfind("https:", 0) == 0),
        checkType_(std::move(request.checkType)),
        checkHead_(std::move(request.checkHead)),
        etag_(std::move(request.etag)),
        lastModified_(std::move(request.lastModified)) {
    if (request.file) {
      hash_.emplace();
      fileSink_.emplace(*request.file);
      sink_ = &*fileSink_;
    } else {
      pageSink_.emplace(result_.text);
      sink_ = &*pageSink_;
    }
    result_.tag = tag_;
    url_ = RequestURL(request.url);
  }

  // False when the request's headers could not be made.
  bool Attach(CURL* handle, const WebFileOptions& options,
              const std::optional<std::string>& referer, bool refuseLocalNetwork) {
    if (referer && !AppendHeader(headers_, HeaderLine("Referer", *referer))) return false;
    if (options.noCache && (!AppendHeader(headers_, "Pragma: no-cache") ||
                            !AppendHeader(headers_, "Cache-Control: no-cache"))) {
      return false;
    }
    if ((!etag_.empty() && !AppendHeader(headers_, HeaderLine("If-None-Match", etag_))) ||
        (!lastModified_.empty() &&
         !AppendHeader(headers_, HeaderLine("If-Modified-Since", lastModified_)))) {
      return false;
    }
    handle_ = handle;
    lastActivity_ = Clock::now();
    curl_easy_setopt(handle, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers_.get());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &Transfer::OnProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    // Set on every transfer: a handle kept from before the refusal must not skip it.
    curl_easy_setopt(handle, CURLOPT_OPENSOCKETFUNCTION,
                     refuseLocalNetwork ? &OpenPublicSocket : nullptr);
    curl_easy_setopt(handle, CURLOPT_OPENSOCKETDATA, &refusedAddress_);
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, keepHttps_ ? "https" : "http,https");
    return true;
  }

  TransferResult Finish(CURLcode code, bool refuseLocalNetwork) {
    // A response without a body never reached OnBody: accept or refuse it now.
    if (code == CURLE_OK && !begun_ && !Begin()) code = CURLE_WRITE_ERROR;
    result_.address = ConnectedAddress();
    // A connection kept alive from before the refusal is not opened again: the answer it
    // brought from the local network is refused here.
    if (refuseLocalNetwork && IsLocalNetworkAddress(result_.address)) {
      end_ = TransferEnd::LocalNetwork;
      refusedAddress_ = true;
      code = CURLE_COULDNT_CONNECT;
    }
    result_.bytes = static_cast<std::int64_t>(bytes_);
    if (fileSink_) {
      // Anything short of the whole body is not a photo; the sink removes the partial file.
      result_.ok = code == CURLE_OK && fileSink_->Keep();
      if (result_.ok) {
        result_.contentHash = hash_->Hex();
        result_.file = fileSink_->Path();
      }
    } else {
      result_.ok = code == CURLE_OK || PageKept();
      result_.capped = result_.ok && end_ == TransferEnd::Capped;
      if (!result_.ok) result_.text.clear();
    }
    if (!result_.ok) {
      sink_->Discard();
      result_.failure = Failure(code);
    }
    char* finalURL = nullptr;
    if (curl_easy_getinfo(handle_, CURLINFO_EFFECTIVE_URL, &finalURL) == CURLE_OK && finalURL)
      result_.finalURL = finalURL;
    return std::move(result_);
  }

  void Cancel() { sink_->Discard(); }
  std::uint64_t Tag() const { return tag_; }
  // A page's bytes so far; a photo's go to its file and count nothing here.
  std::size_t PageBytes() const { return fileSink_ ? 0 : result_.text.size(); }

 private:
  // A page cut short by its cap, or by a connection that broke or went silent mid-body,
  // still yields the text so far.
  bool PageKept() const {
    switch (end_) {
      case TransferEnd::Capped:
        return true;
      case TransferEnd::None:
      case TransferEnd::Stalled:
        return begun_;
      case TransferEnd::Rejected:
      case TransferEnd::TooLarge:
      case TransferEnd::SinkFailed:
      case TransferEnd::Refused:
      case TransferEnd::LocalNetwork:
        return false;
    }
    return false;
  }

  std::string Failure(CURLcode code) const {
    switch (end_) {
      case TransferEnd::Rejected:
        return statusLine_.empty() ? "refused by the server" : statusLine_;
      case TransferEnd::Stalled:
        return "stalled: nothing arrived for " +
               std::to_string(
                   std::chrono::duration_cast<std::chrono::seconds>(stallTimeout_).count()) +
               " seconds";
      case TransferEnd::TooLarge:
      case TransferEnd::Capped:
        return "larger than " + Megabytes(byteLimit_);
      case TransferEnd::SinkFailed:
        return "could not be written to disk";
      case TransferEnd::Refused:
        return "not wanted, by its first bytes";
      case TransferEnd::None:
      case TransferEnd::LocalNetwork:
        break;
    }
    if (refusedAddress_) return "leads to an address on this computer or the local network";
    if (code == CURLE_UNSUPPORTED_PROTOCOL && keepHttps_)
      return "a secure (https) address redirected to plain http";
    return FailureText(code);
  }

  bool Begin() {
    long status = 0;
    curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
    if (status == 429 || status == 503) {
      // Not an answer to read: the caller waits and asks again.
      result_.busy = true;
      curl_off_t wait = 0;
      if (curl_easy_getinfo(handle_, CURLINFO_RETRY_AFTER, &wait) == CURLE_OK && wait > 0)
        result_.retryAfter = std::chrono::seconds(wait);
      end_ = TransferEnd::Rejected;
      return false;
    }
    if (!IsAcceptedStatus(status)) {
      end_ = TransferEnd::Rejected;
      return false;
    }
    // Only a conditional request can be answered "not modified".
    result_.notModified = status == 304 && (!etag_.empty() || !lastModified_.empty());
    curl_off_t announced = -1;
    curl_easy_getinfo(handle_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (fileSink_ && announced > 0 && static_cast<std::uint64_t>(announced) > byteLimit_) {
      end_ = TransferEnd::TooLarge;
      return false;
    }
    if (checkType_ && !checkType_(ContentType())) {
      end_ = TransferEnd::Refused;
      result_.refused = true;
      return false;
    }
    if (!sink_->Begin()) {
      end_ = TransferEnd::SinkFailed;
      return false;
    }
    begun_ = true;
    return true;
  }

  std::string ConnectedAddress() const {
    char* address = nullptr;
    if (curl_easy_getinfo(handle_, CURLINFO_PRIMARY_IP, &address) != CURLE_OK || address == nullptr)
      return {};
    return address;
  }

  std::string_view ContentType() const {
    char* type = nullptr;
    if (curl_easy_getinfo(handle_, CURLINFO_CONTENT_TYPE, &type) != CURLE_OK || type == nullptr)
      return {};
    return type;
  }

  std::size_t Receive(const char* data, std::size_t size) {
    lastActivity_ = Clock::now();
    if (!begun_ && !Begin()) return 0;
    const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(size, byteLimit_ - bytes_));
    bytes_ += take;
    const std::string_view piece(data, take);
    if (!sink_->Store(piece)) {
      end_ = TransferEnd::SinkFailed;
      return 0;
    }
    if (hash_) hash_->Add(piece);
    if (checkHead_ && !JudgeHead(piece)) {
      end_ = TransferEnd::Refused;
      result_.refused = true;
      return 0;
    }
    if (take < size) {
      end_ = TransferEnd::Capped;
      return 0;
    }
    return size;
  }

  // False when the photo's judge refuses it; once it has decided, it is asked no more.
  bool JudgeHead(std::string_view piece) {
    head_.append(piece.substr(0, kMaxHeadBytes - std::min(kMaxHeadBytes, head_.size())));
    const HeadVerdict verdict =
        head_.size() >= kMaxHeadBytes ? HeadVerdict::Keep : checkHead_(head_);
    if (verdict == HeadVerdict::More) return true;
    checkHead_ = nullptr;
    head_ = std::string();
    return verdict == HeadVerdict::Keep;
  }

  // libcurl calls this whenever the transfer is driven, also while nothing arrives.
  bool Stalled() {
    if (Clock::now() - lastActivity_ <= stallTimeout_) return false;
    end_ = TransferEnd::Stalled;
    return true;
  }

  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<Transfer*>(self)->Receive(data, size * count);
  }
  // Keeps the status line of the latest response, "HTTP 404 Not Found", for the failure.
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto* transfer = static_cast<Transfer*>(self);
    transfer->lastActivity_ = Clock::now();
    const std::string_view line(data, size * count);
    if (const auto etag = HeaderValue(line, "ETag")) transfer->result_.etag = *etag;
    if (const auto modified = HeaderValue(line, "Last-Modified"))
      transfer->result_.lastModified = *modified;
    if (line.rfind("HTTP/", 0) == 0) {
      // Each response of a redirect chain brings its own validators.
      transfer->result_.etag.clear();
      transfer->result_.lastModified.clear();
      const std::size_t space = line.find(' ');
      std::string_view rest = space == std::string_view::npos ? "" : line.substr(space + 1);
      while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n')) rest.remove_suffix(1);
      transfer->statusLine_ = "HTTP " + std::string(rest.substr(0, 100));
    }
    return size * count;
  }
  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(self)->Stalled() ? 1 : 0;
  }

  const std::uint64_t tag_;
  const std::chrono::milliseconds stallTimeout_;
  const std::uint64_t byteLimit_;
  const bool keepHttps_;
  std::function<bool(std::string_view)> checkType_;
  std::function<HeadVerdict(std::string_view)> checkHead_;
  const std::string etag_;
  const std::string lastModified_;
  std::string head_;  // a photo's first bytes, while its judge waits for more
  std::optional<ContentHash> hash_;
  bool refusedAddress_ = false;  // a connection to the local network was refused
  std::string statusLine_;
  std::string url_;
  HeaderList headers_;
  TransferResult result_;
  std::optional<PageSink> pageSink_;
  std::optional<FileSink> fileSink_;
  BodySink* sink_ = nullptr;
  CURL* handle_ = nullptr;
  TransferEnd end_ = TransferEnd::None;
  bool begun_ = false;
  std::uint64_t bytes_ = 0;
  Clock::time_point lastActivity_;
};

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

namespace {

void CloseMulti(void* multi) {
  curl_multi_cleanup(multi);
}

}  // namespace

TransferPool::TransferPool(WebFileOptions options, std::shared_ptr<CookieJar> cookies)
    : options_(std::move(options)),
      cookies_(cookies ? std::move(cookies) : std::make_shared<CookieJar>()),
      multi_(curl_multi_init(), &CloseMulti) {
  if (!multi_) return;
  const long perHost = std::max(1, options_.connectionsPerHost);
  curl_multi_setopt(multi_.get(), CURLMOPT_MAX_HOST_CONNECTIONS, perHost);
  // Room in the cache for the kept-alive connections of a few hosts.
  curl_multi_setopt(multi_.get(), CURLMOPT_MAXCONNECTS, perHost * 4);
}

TransferPool::~TransferPool() {
  CancelAll();
  for (void* handle : idleHandles_) curl_easy_cleanup(handle);
}

void* TransferPool::NewHandle() {
  if (!idleHandles_.empty()) {
    void* handle = idleHandles_.back();
    idleHandles_.pop_back();
    return handle;
  }
  CURL* handle = curl_easy_init();
  if (handle == nullptr) return nullptr;
  const int timeout = std::clamp(options_.connectTimeoutSeconds, 0, kMaxConnectTimeoutSeconds);
  curl_easy_setopt(handle, CURLOPT_USERAGENT, options_.userAgent.c_str());
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
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, options_.minBytesPerSecond);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(options_.slowWindow.count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT, static_cast<long>(options_.transferDeadline.count()));
  // Photos are large: fewer, larger writes.
  curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBuffer);
  // Every encoding libcurl decodes; the body callback sees decoded bytes, so the size caps
  // hold against a compressed bomb too.
  curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
  cookies_->Attach(handle);
  return handle;
}

void TransferPool::Release(void* handle) {
  curl_multi_remove_handle(multi_.get(), handle);
  // The header list dies with its transfer; the handle must not keep pointing at it.
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, nullptr);
  idleHandles_.push_back(handle);
}

void TransferPool::Submit(TransferRequest request) {
  if (request.url.size() > kMaxURLLength || !multi_) {
    TransferResult refused;
    refused.tag = request.tag;
    refused.failure = multi_ ? "address too long" : "no network";
    ended_.push_back(std::move(refused));
    return;
  }
  const std::optional<std::string> referer = std::move(request.referer);
  auto transfer = std::make_unique<Transfer>(options_, std::move(request));
  void* handle = NewHandle();
  if (handle == nullptr ||
      !transfer->Attach(static_cast<CURL*>(handle), options_, referer,
                        !options_.allowPrivateAddresses) ||
      curl_multi_add_handle(multi_.get(), handle) != CURLM_OK) {
    if (handle != nullptr) idleHandles_.push_back(handle);
    ended_.push_back(transfer->Finish(CURLE_FAILED_INIT, false));
    return;
  }
  transfers_.emplace(handle, std::move(transfer));
}

void TransferPool::Finish(void* handle, int code) {
  const auto found = transfers_.find(handle);
  if (found == transfers_.end()) return;
  ended_.push_back(
      found->second->Finish(static_cast<CURLcode>(code), !options_.allowPrivateAddresses));
  transfers_.erase(found);
  Release(handle);
}

std::vector<TransferResult> TransferPool::Run(std::chrono::milliseconds wait) {
  const auto drive = [this] {
    int running = 0;
    curl_multi_perform(multi_.get(), &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
      if (message->msg == CURLMSG_DONE) Finish(message->easy_handle, message->data.result);
    }
  };
  if (multi_) {
    drive();
    if (ended_.empty() && wait.count() > 0) {
      curl_multi_poll(multi_.get(), nullptr, 0, static_cast<int>(wait.count()), nullptr);
      drive();
    }
  }
  std::vector<TransferResult> ended(std::make_move_iterator(ended_.begin()),
                                    std::make_move_iterator(ended_.end()));
  ended_.clear();
  return ended;
}

void TransferPool::CancelAll() {
  for (auto& [handle, transfer] : transfers_) {
    transfer->Cancel();
    Release(handle);
  }
  transfers_.clear();
  ended_.clear();
}

void TransferPool::Cancel(std::uint64_t tag) {
  const auto found = std::find_if(transfers_.begin(), transfers_.end(),
                                  [tag](const auto& entry) { return entry.second->Tag() == tag; });
  if (found == transfers_.end()) return;
  found->second->Cancel();
  Release(found->first);
  transfers_.erase(found);
}

std::size_t TransferPool::PageBytes() const {
  std::size_t bytes = 0;
  for (const auto& [handle, transfer] : transfers_) bytes += transfer->PageBytes();
  return bytes;
}

void TransferPool::Wakeup() {
  if (multi_) curl_multi_wakeup(multi_.get());
}

}  // namespace trawlix
