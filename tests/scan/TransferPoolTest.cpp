#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "scan/net/NetworkGuard.h"
#include "scan/net/TransferPool.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// libcurl is set up once, before any test starts a thread.
const NetworkGuard network;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct SeenRequest {
  std::string path;
  httplib::Headers headers;
  int remotePort = -1;

  std::string Header(const std::string& name) const {
    const auto it = headers.find(name);
    return it == headers.end() ? std::string() : it->second;
  }
  bool Has(const std::string& name) const { return headers.count(name) != 0; }
};

// An HTTP server on 127.0.0.1 that records every request it sees.
class TestServer {
 public:
  TestServer() {
    server_.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
      std::lock_guard lock(mutex_);
      seen_.push_back({request.path, request.headers, request.remote_port});
      return httplib::Server::HandlerResponse::Unhandled;
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() is ignored until the server runs, which would leave the thread in accept().
    while (!server_.is_running()) std::this_thread::sleep_for(1ms);
  }

  ~TestServer() {
    Release();
    server_.stop();
    thread_.join();
  }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  httplib::Server& server() { return server_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  std::vector<SeenRequest> Seen() {
    std::lock_guard lock(mutex_);
    return seen_;
  }

  // Handlers of a stalled server wait here until the test ends.
  void WaitForRelease() {
    std::unique_lock lock(mutex_);
    released_.wait_for(lock, 5s, [this] { return release_; });
  }
  void Release() {
    {
      std::lock_guard lock(mutex_);
      release_ = true;
    }
    released_.notify_all();
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool release_ = false;
  std::vector<SeenRequest> seen_;
};

constexpr std::size_t kLargeSize = std::size_t{256} * 1024 * 1024;
constexpr std::size_t kStopAfter = 1024 * 1024;

class TransferPoolTest : public ::testing::Test {
 protected:
  TransferPoolTest() {
    auto& server = server_.server();
    server.Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<html>hello</html>", "text/html");
    });
    server.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      res.status = std::stoi(req.matches[1]);
      res.set_content("body " + std::string(req.matches[1]), "text/html");
    });
    server.Get("/redirect", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("/page", 301);
    });
    server.Get("/loop", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("/loop", 302);
    });
    server.Get("/to-local-file", [](const httplib::Request&, httplib::Response& res) {
      res.set_redirect("file:///etc/hostname", 302);
    });
    server.Get("/body", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content(body_, "text/html");
    });
    server.Get("/with space.jpg", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("spaced", "image/jpeg");
    });
    server.Get(R"(/long/.*)", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("long", "text/html");
    });
    // Streams a large body and raises the client's stop flag part way through.
    server.Get("/large", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(kLargeSize, "image/jpeg",
                               [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                 if (offset == kStopAfter) {
                                   // Let the client drain what was sent, then stop it.
                                   std::this_thread::sleep_for(200ms);
                                   stop_ = 1;
                                 }
                                 static const std::string piece(64 * 1024, 'x');
                                 return sink.write(piece.data(), piece.size());
                               });
    });
    // Sends a little of the body, then nothing.
    server.Get("/stall-body", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(1000000, "image/jpeg",
                               [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                 if (offset > 0) {
                                   server_.WaitForRelease();
                                   return false;
                                 }
                                 const std::string piece(1000, 'y');
                                 return sink.write(piece.data(), piece.size());
                               });
    });
    // Accepts the connection and never answers.
    server.Get("/stall-head", [this](const httplib::Request&, httplib::Response& res) {
      server_.WaitForRelease();
      res.set_content("late", "text/html");
    });
  }

  TransferPool& Pool() {
    if (!pool_) pool_ = std::make_unique<TransferPool>(options_);
    return *pool_;
  }

  // Runs one transfer to its end; raising stop_ cancels it (no result).
  std::optional<TransferResult> Fetch(TransferRequest request) {
    Pool().Submit(std::move(request));
    for (;;) {
      if (stop_) {
        Pool().CancelAll();
        return std::nullopt;
      }
      std::vector<TransferResult> ended = Pool().Run(20ms);
      if (!ended.empty()) return std::move(ended.front());
    }
  }

  // Outputs change only when a result comes; the text only when it is usable.
  bool Take(const std::optional<TransferResult>& result) {
    if (!result) return false;
    bytes_ = result->bytes;
    if (result->ok && !result->text.empty()) text_ = result->text;
    return result->ok;
  }
  bool GetPage(const std::string& url, std::optional<std::string> referer = std::nullopt) {
    return Take(Fetch({1, url, std::move(referer), std::nullopt, {}, {}, {}, 0}));
  }
  bool GetFile(const std::string& url, std::string referer = "http://127.0.0.1") {
    return Take(Fetch({2, url, std::move(referer), file_, {}, {}, {}, 0}));
  }

  // Declared first so that it outlives the web file and its kept-alive connections.
  TestServer server_;
  testing::TempDir dir_;
  fs::path file_ = dir_ / "photo.jpg";
  WebFileOptions options_;
  std::unique_ptr<TransferPool> pool_;
  std::atomic<int> stop_{0};
  std::string body_;
  std::string text_ = "untouched";
  std::int64_t bytes_ = -7;
};

TEST(TransferStatus, RefusesClientErrorsUpTo415Only) {
  const struct {
    long status;
    bool accepted;
  } cases[] = {{0, true},    {200, true},  {301, true}, {399, true}, {400, false}, {403, false},
               {404, false}, {415, false}, {416, true}, {499, true}, {500, true},  {503, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(TransferPool::IsAcceptedStatus(c.status), c.accepted) << c.status;
  }
}

TEST_F(TransferPoolTest, StatusDecidesBetweenBodyAndFailure) {
  const struct {
    int status;
    bool accepted;
  } cases[] = {{200, true}, {403, false}, {404, false}, {416, true}, {500, true}};
  for (const auto& c : cases) {
    const std::string url = server_.Url("/status/" + std::to_string(c.status));
    const std::string body = "body " + std::to_string(c.status);
    text_ = "untouched";
    EXPECT_EQ(GetPage(url), c.accepted) << c.status;
    EXPECT_EQ(text_, c.accepted ? body : "untouched") << c.status;

    fs::remove(file_);
    EXPECT_EQ(GetFile(url), c.accepted) << c.status;
    EXPECT_EQ(fs::exists(file_), c.accepted) << c.status;
    if (c.accepted) {
      EXPECT_EQ(ReadFile(file_), body);
      EXPECT_EQ(bytes_, static_cast<std::int64_t>(body.size()));
    }
  }
}

TEST_F(TransferPoolTest, RedirectsAreFollowedWithinLimitsAndProtocols) {
  EXPECT_TRUE(GetPage(server_.Url("/redirect")));
  EXPECT_EQ(text_, "<html>hello</html>");
  EXPECT_TRUE(GetFile(server_.Url("/redirect")));
  EXPECT_EQ(ReadFile(file_), "<html>hello</html>");

  EXPECT_FALSE(GetPage(server_.Url("/loop")));
  // The first request and ten redirects.
  EXPECT_EQ(server_.Seen().back().path, "/loop");
  std::size_t loops = 0;
  for (const auto& seen : server_.Seen()) loops += seen.path == "/loop";
  EXPECT_EQ(loops, 11U);

  text_ = "untouched";
  EXPECT_FALSE(GetPage(server_.Url("/to-local-file")));
  EXPECT_EQ(text_, "untouched");
  std::ofstream(dir_ / "local.txt") << "secret";
  EXPECT_FALSE(GetPage("file://" + (dir_ / "local.txt").string()));
  EXPECT_EQ(text_, "untouched");
}

TEST_F(TransferPoolTest, RequestsCarryAgentRefererAndCacheHeaders) {
  options_.userAgent = "TestAgent/2.5";
  ASSERT_TRUE(GetPage(server_.Url("/page"), "http://site.example"));
  SeenRequest seen = server_.Seen().back();
  EXPECT_EQ(seen.Header("User-Agent"), "TestAgent/2.5");
  EXPECT_EQ(seen.Header("Referer"), "http://site.example");
  EXPECT_EQ(seen.Header("Pragma"), "no-cache");
  EXPECT_EQ(seen.Header("Cache-Control"), "no-cache");

  ASSERT_TRUE(GetPage(server_.Url("/page")));
  EXPECT_FALSE(server_.Seen().back().Has("Referer"));

  ASSERT_TRUE(GetFile(server_.Url("/page"), "http://site.example/gallery/index.html"));
  EXPECT_EQ(server_.Seen().back().Header("Referer"), "http://site.example/gallery/index.html");

  // A referer taken from a page cannot add headers of its own.
  fs::remove(file_);
  ASSERT_TRUE(GetFile(server_.Url("/page"), "http://a.example/\r\nX-Injected: 1"));
  seen = server_.Seen().back();
  EXPECT_FALSE(seen.Has("X-Injected"));
  EXPECT_EQ(seen.Header("Referer"), "http://a.example/X-Injected: 1");
}

TEST_F(TransferPoolTest, NoCacheHeadersOnlyWhenAsked) {
  options_.noCache = false;
  ASSERT_TRUE(GetPage(server_.Url("/page")));
  ASSERT_TRUE(GetFile(server_.Url("/page")));
  for (const auto& seen : server_.Seen()) {
    EXPECT_FALSE(seen.Has("Pragma"));
    EXPECT_FALSE(seen.Has("Cache-Control"));
  }
}

TEST_F(TransferPoolTest, SessionKeepsItsConnectionAlive) {
  ASSERT_TRUE(GetPage(server_.Url("/page")));
  ASSERT_TRUE(GetFile(server_.Url("/page")));
  const auto seen = server_.Seen();
  ASSERT_EQ(seen.size(), 2U);
  EXPECT_EQ(seen[0].remotePort, seen[1].remotePort);
}

TEST_F(TransferPoolTest, NulByteDropsTheRestOfItsChunkOnly) {
  body_ = std::string(100, 'a') + '\0' + std::string(1947, 'b') +  // chunk 0
          std::string(2048, 'c') +                                 // chunk 1
          std::string(10, 'd') + '\0' + std::string(5, 'e');       // chunk 2
  ASSERT_TRUE(GetPage(server_.Url("/body")));
  EXPECT_EQ(text_, std::string(100, 'a') + std::string(2048, 'c') + std::string(10, 'd'));
  EXPECT_EQ(bytes_, static_cast<std::int64_t>(body_.size()));

  // A photo keeps every byte.
  ASSERT_TRUE(GetFile(server_.Url("/body")));
  EXPECT_EQ(ReadFile(file_), body_);
}

TEST(PageTextBuilder, ResultDoesNotDependOnHowTheBodyArrives) {
  std::string body;
  for (int i = 0; i < 9000; ++i) body += static_cast<char>('a' + i % 26);
  // NULs at a chunk's first and last byte, mid-chunk, and two in one chunk.
  for (std::size_t at : {std::size_t{0}, std::size_t{2047}, std::size_t{3000}, std::size_t{3001},
                         std::size_t{3500}, std::size_t{8192}}) {
    body[at] = '\0';
  }
  const std::string expected = body.substr(2048, 3000 - 2048) + body.substr(4096, 8192 - 4096);

  for (std::size_t piece : {1U, 7U, 1000U, 2047U, 2048U, 2049U, 4096U, 9000U}) {
    std::string text;
    PageTextBuilder builder(text);
    for (std::size_t at = 0; at < body.size(); at += piece) {
      builder.Append(std::string_view(body).substr(at, piece));
    }
    EXPECT_EQ(text, expected) << "pieces of " << piece;
  }
}

TEST_F(TransferPoolTest, UrlLengthLimit) {
  const std::string prefix = server_.Url("/long/");
  const std::string longest =
      prefix + std::string(TransferPool::kMaxURLLength - prefix.size(), 'u');
  ASSERT_EQ(longest.size(), 2048U);
  EXPECT_TRUE(GetPage(longest));
  EXPECT_EQ(text_, "long");
  EXPECT_TRUE(GetFile(longest));
  const auto requests = server_.Seen().size();

  // One byte more: refused before any network activity, outputs untouched.
  text_ = "untouched";
  fs::remove(file_);
  EXPECT_FALSE(GetPage(longest + "u"));
  EXPECT_FALSE(GetFile(longest + "u"));
  EXPECT_EQ(text_, "untouched");
  EXPECT_EQ(bytes_, 0);
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(server_.Seen().size(), requests);
}

TEST_F(TransferPoolTest, LinksWithSpacesAreEncodedOnTheRequestLine) {
  ASSERT_TRUE(GetFile(server_.Url("/with space.jpg")));
  EXPECT_EQ(ReadFile(file_), "spaced");
}

TEST_F(TransferPoolTest, CancelHalfWayThroughAPhotoLeavesNoFile) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(GetFile(server_.Url("/large")));
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(Pool().Active(), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

// A file or link already at the photo's name is never written through.
TEST_F(TransferPoolTest, PhotosAreWrittenOnlyIntoNewFiles) {
  const fs::path victim = dir_ / "victim.txt";
  std::ofstream(victim) << "keep";
  fs::create_symlink(victim, file_);
  EXPECT_FALSE(GetFile(server_.Url("/page")));
  EXPECT_EQ(ReadFile(victim), "keep");
  EXPECT_TRUE(fs::is_symlink(file_));
}

TEST_F(TransferPoolTest, PageBodyIsCapped) {
  options_.maxPageBytes = 10000;
  body_ = std::string(100000, 'p');
  EXPECT_TRUE(GetPage(server_.Url("/body")));
  EXPECT_EQ(text_, std::string(10000, 'p'));
  EXPECT_EQ(bytes_, 10000);
  // Photos are not capped.
  EXPECT_TRUE(GetFile(server_.Url("/body")));
  EXPECT_EQ(fs::file_size(file_), 100000U);
}

// Each stall costs about a second: libcurl looks at an idle transfer once a second.
TEST_F(TransferPoolTest, StalledPhotoIsAbandonedAndRemoved) {
  options_.stallTimeout = 300ms;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(GetFile(server_.Url("/stall-body")));
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(bytes_, 1000);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

TEST_F(TransferPoolTest, StalledPageKeepsTheTextSoFar) {
  options_.stallTimeout = 300ms;
  EXPECT_TRUE(GetPage(server_.Url("/stall-body")));
  EXPECT_EQ(text_, std::string(1000, 'y'));
}

TEST_F(TransferPoolTest, ServerThatNeverAnswersFails) {
  options_.stallTimeout = 300ms;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(GetPage(server_.Url("/stall-head")));
  EXPECT_EQ(text_, "untouched");
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

// The bytes of pages still arriving are counted (a photo's go to its file), and one
// transfer can be ended alone, without a result.
TEST_F(TransferPoolTest, PagesInFlightCountTheirBytesAndEndOneByOne) {
  options_.stallTimeout = 5s;
  Pool().Submit({1, server_.Url("/stall-body"), std::nullopt, std::nullopt, {}, {}, {}, 0});
  Pool().Submit({2, server_.Url("/stall-body"), std::nullopt, file_, {}, {}, {}, 0});
  const auto deadline = std::chrono::steady_clock::now() + 3s;
  while (Pool().PageBytes() < 1000 && std::chrono::steady_clock::now() < deadline)
    EXPECT_TRUE(Pool().Run(10ms).empty());
  EXPECT_EQ(Pool().PageBytes(), 1000U);
  Pool().Cancel(1);
  EXPECT_EQ(Pool().Active(), 1U);
  EXPECT_EQ(Pool().PageBytes(), 0U);
  Pool().Submit({3, server_.Url("/page"), std::nullopt, std::nullopt, {}, {}, {}, 0});
  std::vector<TransferResult> ended;
  while (ended.empty() && std::chrono::steady_clock::now() < deadline) ended = Pool().Run(10ms);
  ASSERT_EQ(ended.size(), 1U);
  EXPECT_EQ(ended.front().tag, 3U);
  Pool().CancelAll();
}

TEST_F(TransferPoolTest, FailuresWithoutAResponse) {
  // Nothing listens on port 1; a missing folder cannot take the photo.
  EXPECT_FALSE(GetPage("http://127.0.0.1:1/page"));
  EXPECT_EQ(text_, "untouched");
  file_ = dir_ / "missing" / "photo.jpg";
  EXPECT_FALSE(GetFile(server_.Url("/page")));
  EXPECT_EQ(server_.Seen().size(), 1U);
}

// Transfers run side by side, never more than the per-host limit at once, each result
// carrying its tag, and the pool's busy time counts overlapping transfers once.
TEST(TransferPoolConcurrency, RunsUpToTheLimitAtOnceAndReusesConnections) {
  TestServer server;
  std::atomic<int> inFlight{0}, most{0};
  server.server().Get(R"(/slow/(\d+))", [&](const httplib::Request& req, httplib::Response& res) {
    const int now = ++inFlight;
    for (int seen = most.load(); now > seen && !most.compare_exchange_weak(seen, now);) {
    }
    std::this_thread::sleep_for(100ms);
    --inFlight;
    res.set_content("page " + std::string(req.matches[1]), "text/html");
  });
  WebFileOptions options;
  options.connectionsPerHost = 3;
  TransferPool pool(options);
  constexpr int kRequests = 9;
  for (int i = 0; i < kRequests; ++i)
    pool.Submit({static_cast<std::uint64_t>(i),
                 server.Url("/slow/" + std::to_string(i)),
                 {},
                 {},
                 {},
                 {},
                 {}});
  std::map<std::uint64_t, std::string> texts;
  const auto started = std::chrono::steady_clock::now();
  while (texts.size() < kRequests && std::chrono::steady_clock::now() - started < 10s) {
    for (TransferResult& result : pool.Run(50ms)) {
      EXPECT_TRUE(result.ok);
      texts[result.tag] = result.text;
    }
  }
  ASSERT_EQ(texts.size(), static_cast<std::size_t>(kRequests));
  for (int i = 0; i < kRequests; ++i) EXPECT_EQ(texts[i], "page " + std::to_string(i));
  EXPECT_EQ(most.load(), 3);
  std::set<int> ports;
  for (const SeenRequest& seen : server.Seen()) ports.insert(seen.remotePort);
  EXPECT_EQ(ports.size(), 3u) << "kept-alive connections serve the later requests";
}

}  // namespace
}  // namespace trawlix
