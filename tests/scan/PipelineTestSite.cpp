#include "scan/PipelineTestSite.h"

#include <httplib.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vips/vips8>

namespace trawlix::testing {

namespace {

void StartVips() {
  static const bool started = [] {
    if (VIPS_INIT("scan_tests") != 0) throw std::runtime_error("vips failed to start");
    vips_cache_set_max(0);
    return true;
  }();
  (void)started;
}

void PutLE(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// An uncompressed 24-bit bitmap, bottom-up rows padded to four bytes.
std::string MakeBmp(int width, int height) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const auto imageBytes = static_cast<std::uint32_t>(rowBytes * height);
  std::string out = "BM";
  PutLE(out, 54 + imageBytes, 4);
  PutLE(out, 0, 4);
  PutLE(out, 54, 4);
  PutLE(out, 40, 4);
  PutLE(out, static_cast<std::uint32_t>(width), 4);
  PutLE(out, static_cast<std::uint32_t>(height), 4);
  PutLE(out, 1, 2);
  PutLE(out, 24, 2);
  PutLE(out, 0, 4);
  PutLE(out, imageBytes, 4);
  PutLE(out, 2835, 4);
  PutLE(out, 2835, 4);
  PutLE(out, 0, 4);
  PutLE(out, 0, 4);
  std::string row(static_cast<std::size_t>(rowBytes), '\0');
  for (int x = 0; x < width; ++x) {
    row[static_cast<std::size_t>(x * 3)] = static_cast<char>(200);
    row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>(100);
    row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>(50);
  }
  for (int y = 0; y < height; ++y) out += row;
  return out;
}

}  // namespace

std::string MakeTestPhoto(TestPhotoKind kind, int width, int height) {
  if (kind == TestPhotoKind::Bmp) return MakeBmp(width, height);
  StartVips();
  vips::VImage image = vips::VImage::black(width, height, vips::VImage::option()->set("bands", 3)) +
                       std::vector<double>{50, 120, 200};
  image = image.cast(VIPS_FORMAT_UCHAR);
  const char* suffix = kind == TestPhotoKind::Jpeg   ? ".jpg"
                       : kind == TestPhotoKind::Png  ? ".png"
                       : kind == TestPhotoKind::Gif  ? ".gif"
                       : kind == TestPhotoKind::WebP ? ".webp"
                       : kind == TestPhotoKind::Avif ? ".heif[compression=av1]"
                                                     : ".tif";
  void* buffer = nullptr;
  std::size_t size = 0;
  image.write_to_buffer(suffix, &buffer, &size);
  std::string bytes(static_cast<const char*>(buffer), size);
  g_free(buffer);
  return bytes;
}

std::string Gzip(std::string_view bytes) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("gzip: no stream");
  std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("gzip: not finished");
  return out;
}

TestSite::TestSite(std::string host)
    : host_(std::move(host)), server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    int delay = delayMs_.load() + Jitter();
    if (request.path.ends_with(".html")) delay += pageDelayMs_.load();
    if (delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    std::lock_guard lock(mutex_);
    ++requests_[request.path];
    cookies_[request.path].push_back(request.get_header_value("Cookie"));
    // A resource added with its query answers that query alone.
    auto found = resources_.find(request.target);
    if (found == resources_.end()) found = resources_.find(request.path);
    if (found == resources_.end()) {
      response.status = 404;
      response.set_content("<html><body>Not Found</body></html>", "text/html");
      return;
    }
    Resource& resource = found->second;
    if (!resource.setCookie.empty()) response.set_header("Set-Cookie", resource.setCookie);
    if (!resource.needsCookie.empty() &&
        request.get_header_value("Cookie").find(resource.needsCookie) == std::string::npos) {
      response.status = 403;
      response.set_content("<html><body>Members only</body></html>", "text/html");
      return;
    }
    if (resource.gzipped) {
      response.set_header("Content-Encoding", "gzip");
      response.set_content(resource.body, resource.contentType);
      return;
    }
    if (resource.busyTimes != 0) {
      if (resource.busyTimes > 0) --resource.busyTimes;
      response.status = resource.busyStatus;
      if (!resource.retryAfter.empty()) response.set_header("Retry-After", resource.retryAfter);
      response.set_content("busy", "text/plain");
      return;
    }
    if (!resource.redirect.empty()) {
      response.set_redirect(resource.redirect, 302);
      return;
    }
    const std::string etag = "\"" + std::to_string(std::hash<std::string>{}(resource.body)) + "\"";
    const char* const modified = "Tue, 01 Dec 2026 10:00:00 GMT";
    // A server that has ETags judges by them alone.
    const bool unchanged = request.has_header("If-None-Match")
                               ? request.get_header_value("If-None-Match") == etag
                               : request.get_header_value("If-Modified-Since") == modified;
    if (unchanged) {
      ++notModified_;
      response.status = 304;
      return;
    }
    response.set_header("ETag", etag);
    response.set_header("Last-Modified", modified);
    if (resource.metered) {
      response.set_content_provider(resource.body.size(), resource.contentType,
                                    [this, body = resource.body, path = request.path](
                                        std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                      const std::size_t piece =
                                          std::min<std::size_t>(4096, body.size() - offset);
                                      // Paced, so that what went out shows when the client gave up,
                                      // not how much the
                                      // sockets' buffers hold.
                                      std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                      if (!sink.write(body.data() + offset, piece)) return false;
                                      std::lock_guard sent(mutex_);
                                      served_[path] += piece;
                                      return true;
                                    });
      return;
    }
    if (!resource.breakage) {
      response.set_content(resource.body, resource.contentType);
      return;
    }
    const std::string half = resource.body.substr(0, resource.body.size() / 2);
    const Breakage breakage = *resource.breakage;
    response.set_content_provider(
        resource.body.size(), resource.contentType,
        [this, half, breakage](std::size_t offset, std::size_t, httplib::DataSink& sink) {
          if (offset == 0) return sink.write(half.data(), half.size());
          while (breakage == Breakage::Stall && !closing_.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          return false;
        });
  });
  port_ = server_->bind_to_any_port(host_);
  if (port_ <= 0) throw std::runtime_error("test site: no port");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // A stop before the server runs would be lost and leave the thread serving for ever.
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestSite::~TestSite() {
  closing_ = true;
  server_->stop();
  thread_.join();
}

void TestSite::Add(const std::string& path, const std::string& contentType,
                   const std::string& body) {
  std::lock_guard lock(mutex_);
  resources_[path] = Resource{contentType, body, std::nullopt, {}, 0, 0, {}, false};
}

void TestSite::AddBroken(const std::string& path, const std::string& contentType,
                         const std::string& body, Breakage breakage) {
  std::lock_guard lock(mutex_);
  resources_[path] = Resource{contentType, body, breakage, {}, 0, 0, {}, false};
}

void TestSite::AddBusy(const std::string& path, const std::string& contentType,
                       const std::string& body, int status, int times,
                       const std::string& retryAfter) {
  std::lock_guard lock(mutex_);
  Resource resource{contentType, body, std::nullopt, {}, 0, 0, {}};
  resource.busyStatus = status;
  resource.busyTimes = times;
  resource.retryAfter = retryAfter;
  resources_[path] = std::move(resource);
}

void TestSite::AddMetered(const std::string& path, const std::string& contentType,
                          const std::string& body) {
  std::lock_guard lock(mutex_);
  Resource resource{contentType, body, std::nullopt, {}, 0, 0, {}, true};
  resources_[path] = std::move(resource);
}

std::size_t TestSite::BytesServed(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto found = served_.find(path);
  return found == served_.end() ? 0 : found->second;
}

int TestSite::NotModifiedAnswers() const {
  std::lock_guard lock(mutex_);
  return notModified_;
}

void TestSite::AddRedirect(const std::string& path, const std::string& target) {
  std::lock_guard lock(mutex_);
  resources_[path] = Resource{"text/html", {}, std::nullopt, target, 0, 0, {}, false};
}

int TestSite::Jitter() {
  const int most = jitterMs_.load();
  if (most <= 0) return 0;
  std::lock_guard lock(mutex_);
  jitterState_ = jitterState_ * 1103515245U + 12345U;
  return static_cast<int>((jitterState_ >> 16) % static_cast<unsigned>(most + 1));
}

std::string TestSite::URL(const std::string& path) const {
  return "http://" + host_ + ":" + std::to_string(port_) + path;
}

void TestSite::SetCookieOn(const std::string& path, const std::string& setCookie) {
  std::lock_guard lock(mutex_);
  resources_[path].setCookie = setCookie;
}

void TestSite::RequireCookie(const std::string& path, const std::string& cookie) {
  std::lock_guard lock(mutex_);
  resources_[path].needsCookie = cookie;
}

void TestSite::AddGzipped(const std::string& path, const std::string& contentType,
                          const std::string& gzipped) {
  std::lock_guard lock(mutex_);
  Resource resource{contentType, gzipped, std::nullopt, {}, 0, 0, {}, false};
  resource.gzipped = true;
  resources_[path] = std::move(resource);
}

std::vector<std::string> TestSite::CookiesReceived(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto found = cookies_.find(path);
  return found == cookies_.end() ? std::vector<std::string>{} : found->second;
}

int TestSite::Requests(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto found = requests_.find(path);
  return found == requests_.end() ? 0 : found->second;
}

int TestSite::TotalRequests() const {
  std::lock_guard lock(mutex_);
  int total = 0;
  for (const auto& [path, count] : requests_) total += count;
  return total;
}

}  // namespace trawlix::testing
