#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "hostile/RawServer.h"
#include "imaging/codec/PhotoCodec.h"
#include "platform/FileMove.h"
#include "platform/FolderLock.h"
#include "platform/ProcessTempFolder.h"
#include "scan/PipelineFixture.h"
#include "scan/markup/AddressRules.h"
#include "scan/net/NetworkGuard.h"
#include "scan/net/TransferPool.h"
#include "support/TempDir.h"

namespace trawlix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const NetworkGuard network;

// Runs one photo transfer to its end.
TransferResult FetchPhoto(TransferPool& pool, const std::string& url, const fs::path& file) {
  pool.Submit({1, url, std::nullopt, file, {}, {}, {}, 0});
  for (;;) {
    std::vector<TransferResult> ended = pool.Run(50ms);
    if (!ended.empty()) return std::move(ended.front());
  }
}

TEST(HostileServer, EveryAbuseEndsItsTransferSoonAndLeavesNoFile) {
  httplib::Server server;
  std::atomic<bool> closing{false};
  const auto drip = [&](std::size_t piece, std::chrono::milliseconds every) {
    return [&, piece, every](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("image/jpeg",
                                       [&, piece, every](std::size_t, httplib::DataSink& sink) {
                                         if (closing) return false;
                                         std::this_thread::sleep_for(every);
                                         const std::string bytes(piece, 'x');
                                         return sink.write(bytes.data(), bytes.size());
                                       });
    };
  };
  server.Get("/drip", drip(1, 100ms));
  server.Get("/steady", drip(20'000, 50ms));
  server.Get("/announced", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(2 * 1024 * 1024, 'x'), "image/jpeg");
  });
  server.Get("/growing", drip(256 * 1024, 1ms));
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(1ms);
  RawServer shortBody("HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" + std::string(5000, 'x'));

  const struct {
    std::string url;
    std::string reason;
  } cases[] = {
      {"/drip", "timed out"},              // below the minimum rate
      {"/steady", "timed out"},            // past the deadline
      {"/announced", "larger than 1 MB"},  // refused before a byte is written
      {"/growing", "larger than 1 MB"},    // abandoned on the way
      {shortBody.URL("/short"), "connection closed before the whole answer arrived"},
  };
  TempDir dir;
  WebFileOptions options;
  options.minBytesPerSecond = 1000;
  options.slowWindow = 1s;
  options.transferDeadline = 2s;
  options.maxPhotoBytes = 1024 * 1024;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    TransferPool pool(options);
    const std::string url =
        c.url.front() == '/' ? "http://127.0.0.1:" + std::to_string(port) + c.url : c.url;
    const fs::path file = dir / "photo.jpg";
    const auto started = Clock::now();
    const TransferResult result = FetchPhoto(pool, url, file);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure, c.reason);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_LT(Clock::now() - started, 5s);
  }
  closing = true;
  server.stop();
  thread.join();
}

TEST(HostileServer, TheLocalNetworkIsRefusedWhenAsked) {
  const auto v4 = [](const char* text) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, text, &address.sin_addr);
    return IsLocalNetworkAddress(reinterpret_cast<const sockaddr&>(address));
  };
  const auto v6 = [](const char* text) {
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    inet_pton(AF_INET6, text, &address.sin6_addr);
    return IsLocalNetworkAddress(reinterpret_cast<const sockaddr&>(address));
  };
  for (const char* local : {"127.0.0.1", "10.1.2.3", "172.16.0.1", "172.31.255.255", "192.168.1.1",
                            "169.254.169.254", "0.0.0.0", "100.64.0.1"})
    EXPECT_TRUE(v4(local)) << local;
  for (const char* public_ : {"8.8.8.8", "172.32.0.1", "192.169.0.1", "1.1.1.1"})
    EXPECT_FALSE(v4(public_)) << public_;
  for (const char* local : {"::1", "::", "fe80::1", "fd00::5", "::ffff:192.168.0.9"})
    EXPECT_TRUE(v6(local)) << local;
  for (const char* public_ : {"2001:4860:4860::8888", "::ffff:8.8.8.8"})
    EXPECT_FALSE(v6(public_)) << public_;
  // As libcurl names the address it connected to.
  for (const char* local : {"127.0.0.1", "10.0.0.7", "::1", "fe80::1", "::ffff:10.0.0.1"})
    EXPECT_TRUE(IsLocalNetworkAddress(std::string(local))) << local;
  for (const char* other : {"8.8.8.8", "2001:db8::1", "", "localhost", "10.0.0.256"})
    EXPECT_FALSE(IsLocalNetworkAddress(std::string(other))) << other;

  // A name that also resolves to a public address is a public site: the refusal stays on.
  const auto list = [](std::vector<const char*> texts) {
    static std::vector<sockaddr_in> storage;
    static std::vector<addrinfo> entries;
    storage.assign(texts.size(), sockaddr_in{});
    entries.assign(texts.size(), addrinfo{});
    for (std::size_t i = 0; i < texts.size(); ++i) {
      storage[i].sin_family = AF_INET;
      inet_pton(AF_INET, texts[i], &storage[i].sin_addr);
      entries[i].ai_family = AF_INET;
      entries[i].ai_addr = reinterpret_cast<sockaddr*>(&storage[i]);
      entries[i].ai_next = i + 1 < texts.size() ? &entries[i + 1] : nullptr;
    }
    return AllLocalNetworkAddresses(entries.empty() ? nullptr : entries.data());
  };
  EXPECT_TRUE(list({"127.0.0.1", "10.1.2.3"}));
  EXPECT_FALSE(list({"93.184.216.34", "10.1.2.3"}));
  EXPECT_FALSE(list({"10.1.2.3", "93.184.216.34"}));
  EXPECT_FALSE(list({}));

  // Refused from the moment it is asked for, also through a connection kept alive and a
  // transfer handle kept from before.
  RawServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
  TempDir dir;
  TransferPool pool(WebFileOptions{});
  const TransferResult before = FetchPhoto(pool, server.URL("/a.jpg"), dir / "a.jpg");
  EXPECT_TRUE(before.ok);
  EXPECT_EQ(before.address, "127.0.0.1");
  pool.RefuseLocalNetwork();
  const TransferResult result = FetchPhoto(pool, server.URL("/b.jpg"), dir / "b.jpg");
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(fs::exists(dir / "b.jpg"));
  EXPECT_EQ(result.failure, "leads to an address on this computer or the local network");
}

TEST(HostileFolders, ProcessesAndScansKeepOutOfEachOthersFiles) {
  TempDir dir;
  const fs::path shared = dir / "Temp";
  fs::create_directories(shared / "pid-999999999");  // no such process
  std::ofstream(shared / "pid-999999999" / "left.jpg") << "x";
  const std::string own = MakeProcessTempFolder(shared.string());
  EXPECT_FALSE(fs::exists(shared / "pid-999999999"));
  EXPECT_EQ(own, (shared / ("pid-" + std::to_string(::getpid()))).string());
  EXPECT_TRUE(fs::is_empty(own));

  {
    std::optional<FolderLock> first = FolderLock::Take(shared.string(), "/photos/beach");
    ASSERT_TRUE(first);
    EXPECT_FALSE(FolderLock::Take(shared.string(), "/photos/beach/"));
    EXPECT_TRUE(FolderLock::Take(shared.string(), "/photos/forest"));
  }
  EXPECT_TRUE(FolderLock::Take(shared.string(), "/photos/beach"));

  // A name taken since it was chosen, by a file or a planted link, is never replaced.
  const fs::path victim = dir / "victim.txt";
  std::ofstream(victim) << "keep";
  std::ofstream(dir / "taken.jpg") << "first";
  fs::create_symlink(victim, dir / "linked.jpg");
  for (const char* name : {"taken.jpg", "linked.jpg"}) {
    std::ofstream(dir / "new.jpg") << "second";
    EXPECT_EQ(MoveFileInto((dir / "new.jpg").string(), (dir / name).string(), false),
              MoveResult::NameTaken)
        << name;
  }
  EXPECT_EQ(std::ifstream(dir / "taken.jpg").rdbuf() != nullptr, true);
  std::string kept;
  std::ifstream(victim) >> kept;
  EXPECT_EQ(kept, "keep");
  EXPECT_EQ(MoveFileInto((dir / "new.jpg").string(), (dir / "taken.jpg").string(), true),
            MoveResult::Moved);
}

class HostileSite : public PipelineTest {};

// A body cut short by a server that closes the connection passes the header check; with
// "Overwrite" it must still not replace the good photo already there.
TEST_F(HostileSite, ATruncatedPhotoNeverReplacesAGoodOne) {
  const std::string jpeg = MakeTestPhoto(TestPhotoKind::Jpeg, 1600, 1200);
  RawServer server("HTTP/1.0 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" +
                   jpeg.substr(0, jpeg.size() / 2));
  site.AddPage("/gallery/index.html",
               "<html><body><img src=\"" + server.URL("/land.jpg") + "\"></body></html>");
  fs::create_directories(SaveTo());
  const std::string good = MakeTestPhoto(TestPhotoKind::Jpeg, 800, 600);
  std::ofstream(InSaveTo("land.jpg"), std::ios::binary) << good;
  options.duplicates = DuplicateHandling::Overwrite;
  options.setResolution = false;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(ReadPhotoSize(InSaveTo("land.jpg")), (PhotoSize{800, 600}));
  EXPECT_EQ(controller.Counters().photosSkipped, 1);
}

// A site folder named like the thumbnails or mobile folder must not mirror into it, where
// the copy of a photo would be written over the photo itself.
TEST_F(HostileSite, ASiteFolderNamedLikeACopiesFolderKeepsItsOriginals) {
  site.AddPage("/gallery/index.html",
               R"(<a href="Thumbs/p.html">t</a><a href="Mobile/p.html">m</a>)");
  for (const std::string folder : {"Thumbs", "Mobile"}) {
    site.AddPage("/gallery/" + folder + "/p.html", "<img src=\"" + folder + ".jpg\">");
    site.Add("/gallery/" + folder + "/" + folder + ".jpg", "image/jpeg",
             MakeTestPhoto(TestPhotoKind::Jpeg, 1200, 900));
  }
  project.createFolders = 1;
  project.autoCreateThumbnails = project.autoCreateMobile = 1;
  project.mobileFormat = project.thumbnailFormat;
  project.thumbnailSaveTo += "/";  // spelt unlike the mirrored folder
  options.setResolution = false;
  ASSERT_TRUE(RunScan());
  for (const char* original : {"Thumbs (site)/Thumbs.jpg", "Mobile (site)/Mobile.jpg"})
    EXPECT_EQ(ReadPhotoSize(InSaveTo(original)), (PhotoSize{1200, 900})) << original;
  EXPECT_EQ(ReadPhotoSize(InSaveTo("Thumbs/Thumbs.jpg")), (PhotoSize{100, 75}));
  EXPECT_EQ(ReadPhotoSize(InSaveTo("Mobile/Mobile.jpg")), (PhotoSize{200, 150}));
}

TEST_F(HostileSite, RedirectedPagesResolveAgainstWhereTheyLanded) {
  site.AddRedirect("/gallery/index.html", "/gallery/deep/page.html");
  site.AddPage("/gallery/deep/page.html", R"(<html><body><img src="p.jpg"></body></html>)");
  site.Add("/gallery/deep/p.jpg", "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 400, 300));
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"p.jpg"}));
}

TEST_F(HostileSite, LimitsAndALowDiskEndTheScanAndSaySo) {
  std::string html = "<html><body>";
  for (int i = 0; i < 40; ++i) {
    const std::string name = "/gallery/p" + std::to_string(i) + ".jpg";
    site.Add(name, "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 300, 200));
    html += "<img src=\"" + name + "\">";
  }
  site.AddPage("/gallery/index.html", html + "</body></html>");
  options.limits.photoLinksPerPage = 30;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()).size(), 30u);
  EXPECT_NE(observer.results.find("A page held more than 30 photos; the rest were left out."),
            std::string::npos)
      << observer.results;

  options.limits.lowDiskBytes = UINT64_MAX;
  project.saveTo = (dir / "Second").string();
  ASSERT_TRUE(RunScan());
  EXPECT_LT(FilesIn(SaveTo()).size(), 30u);
  EXPECT_NE(observer.results.find("The scan stopped because the disk is nearly full."),
            std::string::npos)
      << observer.results;
  EXPECT_EQ(StoredHistory().size(), 2u);
}

}  // namespace
}  // namespace trawlix::testing
