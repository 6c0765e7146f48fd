#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "scan/net/NetworkGuard.h"
#include "scan/net/TransferThread.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const NetworkGuard network;

// Starts `server` on a free port of 127.0.0.1 and stops it at the end of the scope.
class Serving {
 public:
  explicit Serving(httplib::Server& server) : server_(server) {
    port_ = server.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(1ms);
  }
  ~Serving() {
    server_.stop();
    thread_.join();
  }
  Serving(const Serving&) = delete;
  Serving& operator=(const Serving&) = delete;

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
  }

  // Fetches each path into a file of `folder`, tagged by its place in `paths`, and gives the
  // results in the order they came.
  std::vector<TransferResult> FetchAll(TransferThread& transfers,
                                       const std::vector<std::string>& paths,
                                       const fs::path& folder) const {
    for (std::uint64_t tag = 0; tag < paths.size(); ++tag) {
      TransferRequest request;
      request.tag = tag;
      request.url = Url(paths[tag]);
      request.file = folder / std::to_string(tag);
      transfers.Submit(std::move(request));
    }
    std::vector<TransferResult> results;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (transfers.Active() > 0 && std::chrono::steady_clock::now() < deadline) {
      for (TransferResult& result : transfers.Run(100ms)) results.push_back(std::move(result));
    }
    return results;
  }

 private:
  httplib::Server& server_;
  int port_ = 0;
  std::thread thread_;
};

// Serves /N with N kilobytes, after a pause of N % 7 ms, so that transfers end in no
// particular order while the owner submits, cancels and collects.
void ServePhotos(httplib::Server& server) {
  server.Get(R"(/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
    const int number = std::stoi(request.matches[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(number % 7));
    response.set_content(std::string(static_cast<std::size_t>(number) * 1024, 'x'), "image/jpeg");
  });
}

std::set<std::string> FilesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().string());
  return names;
}

// Every transfer not cancelled gives exactly one result and its file; a cancelled one gives
// none and leaves no file, whether it was cancelled before, while or after it ended.
TEST(TransferThread, CancelledTransfersLeaveNeitherResultNorFile) {
  httplib::Server server;
  ServePhotos(server);
  const Serving serving(server);
  const testing::TempDir folder;
  TransferThread transfers({});
  std::set<std::uint64_t> cancelled;
  std::map<std::uint64_t, int> results;
  std::set<std::string> kept;
  const auto collect = [&](std::chrono::milliseconds wait) {
    for (TransferResult& result : transfers.Run(wait)) {
      ++results[result.tag];
      EXPECT_TRUE(result.ok) << result.failure;
      EXPECT_EQ(fs::file_size(result.file), result.tag * 1024);
      kept.insert(result.file.string());
    }
  };
  for (std::uint64_t tag = 1; tag <= 60; ++tag) {
    TransferRequest request;
    request.tag = tag;
    request.url = serving.Url(std::to_string(tag));
    request.file = folder / std::to_string(tag);
    transfers.Submit(std::move(request));
    if (tag % 3 == 0) {  // some at once, others when a later one is sent
      transfers.Cancel(tag % 2 == 0 ? tag : tag - 2);
      cancelled.insert(tag % 2 == 0 ? tag : tag - 2);
    }
    collect(0ms);
  }
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (transfers.Active() > 0 && std::chrono::steady_clock::now() < deadline) collect(50ms);
  collect(200ms);  // late results of cancelled transfers would come now

  EXPECT_EQ(transfers.Active(), 0u);
  for (std::uint64_t tag = 1; tag <= 60; ++tag)
    EXPECT_EQ(results[tag], cancelled.contains(tag) ? 0 : 1) << tag;
  EXPECT_EQ(FilesIn(folder.path()), kept);

  // Cancelling everything mid-flight ends it at once, with no result to come.
  for (std::uint64_t tag = 100; tag < 110; ++tag) {
    TransferRequest request;
    request.tag = tag;
    request.url = serving.Url(std::to_string(tag));
    request.file = folder / std::to_string(tag);
    transfers.Submit(std::move(request));
  }
  std::this_thread::sleep_for(5ms);
  transfers.CancelAll();
  EXPECT_EQ(transfers.Active(), 0u);
  EXPECT_TRUE(transfers.Run(200ms).empty());
  EXPECT_EQ(FilesIn(folder.path()), kept);
}

// Requests beyond the connections wait in the threads' queue, not in libcurl's, whose
// connect timeout would run while they wait: here each waits longer than that timeout.
TEST(TransferThread, RequestsBeyondTheConnectionsWaitWithoutTimingOut) {
  httplib::Server server;
  std::atomic<int> inFlight{0};
  std::atomic<int> most{0};
  server.Get("/slow", [&](const httplib::Request&, httplib::Response& response) {
    most = std::max(most.load(), ++inFlight);
    std::this_thread::sleep_for(600ms);
    --inFlight;
    response.set_content("photo", "image/jpeg");
  });
  const Serving serving(server);
  const testing::TempDir folder;
  WebFileOptions options;
  options.connectionsPerHost = 2;
  options.connectTimeoutSeconds = 1;
  TransferThread transfers(options);
  const std::vector<TransferResult> results =
      serving.FetchAll(transfers, std::vector<std::string>(6, "slow"), folder.path());
  EXPECT_EQ(results.size(), 6u);
  for (const TransferResult& result : results)
    EXPECT_TRUE(result.ok) << result.tag << ": " << result.failure;
  EXPECT_EQ(most.load(), 2);
  // Three rounds of 600 ms side by side on the two threads, not six one after the other.
  EXPECT_GE(transfers.BusyTime(), 1790ms);
  EXPECT_LT(transfers.BusyTime(), 3000ms);
}

// A waiting request goes to the first connection that frees, whichever thread holds it: it
// never waits behind a slow answer while another connection is idle.
TEST(TransferThread, AWaitingRequestTakesTheFirstFreeConnection) {
  httplib::Server server;
  server.Get(R"(/(\w+))", [](const httplib::Request& request, httplib::Response& response) {
    if (request.matches[1] == "slow") std::this_thread::sleep_for(800ms);
    response.set_content("photo", "image/jpeg");
  });
  const Serving serving(server);
  const testing::TempDir folder;
  WebFileOptions options;
  options.connectionsPerHost = 2;
  TransferThread transfers(options);
  std::vector<std::uint64_t> order;
  for (const TransferResult& result :
       serving.FetchAll(transfers, {"slow", "fast", "next", "last"}, folder.path()))
    order.push_back(result.tag);
  EXPECT_EQ(order, (std::vector<std::uint64_t>{1, 2, 3, 0}));
}

}  // namespace
}  // namespace trawlix
