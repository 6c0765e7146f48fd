#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli/CliTestSupport.h"
#include "cli/CommandRegistry.h"

namespace trawlix::cli::testing {
namespace {

// The smallest GIF: one white pixel.
const std::string kPixel(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00,"
    "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
    43);

// A site on 127.0.0.1: /ok.html shows two photos that arrive and two that do not.
class ScanCommandTest : public CliTest {
 protected:
  ScanCommandTest() {
    server_.Get("/forbidden.html", [](const httplib::Request&, httplib::Response& res) {
      res.status = 403;
      res.set_content("no", "text/html");
    });
    server_.Get("/ok.html", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(R"(<img src="a.gif"><img src="b.gif"><img src="gone.gif"><img src="no.gif">)",
                      "text/html");
    });
    // Two different photos: the same bytes twice would be saved once.
    for (const char colour : {'\xff', '\x80'}) {
      std::string pixel = kPixel;
      pixel[13] = colour;  // the first palette entry
      server_.Get(colour == '\xff' ? "/a.gif" : "/b.gif",
                  [pixel](const httplib::Request&, httplib::Response& res) {
                    res.set_content(pixel, "image/gif");
                  });
    }
    server_.Get("/members.html", [](const httplib::Request& req, httplib::Response& res) {
      if (req.get_header_value("Cookie").find("member=yes-0451") == std::string::npos) {
        res.status = 403;
        res.set_content("members only", "text/html");
        return;
      }
      res.set_content(R"(<img src="a.gif"><img src="b.gif">)", "text/html");
    });
    server_.Get("/no.gif",
                [](const httplib::Request&, httplib::Response& res) { res.status = 403; });
    // A long gallery whose first photo asks the running scan to terminate, as a desktop
    // session ending or `kill` would.
    server_.Get("/long.html", [](const httplib::Request&, httplib::Response& res) {
      std::string html;
      for (int i = 0; i < 40; ++i) html += "<img src=\"slow" + std::to_string(i) + ".gif\">";
      res.set_content(html, "text/html");
    });
    server_.Get(R"(/slow\d+\.gif)", [this](const httplib::Request&, httplib::Response& res) {
      if (!terminated_.exchange(true)) ::kill(::getpid(), SIGTERM);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      res.set_content(kPixel, "image/gif");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~ScanCommandTest() override {
    server_.stop();
    thread_.join();
  }

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  int Scan(const std::string& url) {
    const std::string title = "Site " + std::to_string(++projects_);
    EXPECT_EQ(Run({"project", "add", "--title", title, "--url", url, "GIF=1", "FilterMinimumSize=0",
                   "AutoRename=0"}),
              0)
        << err_;
    return Run({"scan", title, "--json"});
  }

  int projects_ = 0;
  std::atomic<bool> terminated_{false};

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

TEST_F(ScanCommandTest, AStartPageThatNeverArrivesSaysWhyAndFails) {
  const struct {
    std::string url;
    std::string reason;
  } cases[] = {
      {"http://nonexistent.invalid/start.html", "unknown host"},
      {"http://127.0.0.1:1/start.html", "connection refused"},
      {Url("/missing.html"), "HTTP 404 Not Found"},
      {Url("/forbidden.html"), "HTTP 403 Forbidden"},
      {"https://127.0.0.1:" + std::to_string(port_) + "/ok.html", "TLS error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(Scan(c.url), kExitNothingFetched) << err_;
    EXPECT_TRUE(OutHas("The start page could not be downloaded: " + c.reason)) << out_;
    EXPECT_TRUE(ErrHas("page ")) << err_;
    EXPECT_TRUE(OutHas("\"reason\": \"" + c.reason)) << out_;
  }
}

TEST_F(ScanCommandTest, CookiesGivenForOneScanOpenAMembersPageAndStayUnshown) {
  const std::string cookies = (home() / "cookies.txt").string();
  std::ofstream(cookies) << "127.0.0.1\tFALSE\t/\tFALSE\t0\tmember\tyes-0451\n";
  EXPECT_EQ(Scan(Url("/members.html")), kExitNothingFetched) << err_;

  EXPECT_EQ(Run({"scan", "Site 1", "--cookies", cookies, "--json"}), kExitOk) << err_;
  EXPECT_TRUE(OutHas("\"photosSaved\": 2")) << out_;
  EXPECT_FALSE(OutHas("yes-0451")) << out_;
  EXPECT_FALSE(ErrHas("yes-0451")) << err_;

  EXPECT_EQ(Run({"scan", "Site 1", "--cookies", cookies + ".gone"}), kExitFailure);
  EXPECT_TRUE(ErrHas("The cookies file " + cookies + ".gone cannot be used")) << err_;
}

TEST_F(ScanCommandTest, FailedPhotosAreListedAndTheScanStillSucceeds) {
  EXPECT_EQ(Scan(Url("/ok.html")), kExitOk) << err_;
  EXPECT_TRUE(ErrHas("photo " + Url("/gone.gif") + ": HTTP 404 Not Found")) << err_;
  EXPECT_TRUE(ErrHas("photo " + Url("/no.gif") + ": HTTP 403 Forbidden")) << err_;
  EXPECT_TRUE(ErrHas("2 addresses could not be downloaded.")) << err_;
  EXPECT_TRUE(OutHas("\"photosSaved\": 2, \"photosSkipped\": 2")) << out_;
  EXPECT_TRUE(OutHas("\"pagesFailed\": 0, \"photosFailed\": 2")) << out_;
  EXPECT_FALSE(OutHas("could not be downloaded:")) << out_;
}

TEST_F(ScanCommandTest, ASaveToFolderThatCannotBeWrittenFailsWithTheReason) {
  const std::string folder = (dir_ / "photos").string();
  ASSERT_EQ(Run({"project", "add", "--title", "Blocked", "--url", Url("/ok.html"), "--save-to",
                 folder, "GIF=1", "FilterMinimumSize=0"}),
            0)
      << err_;
  std::filesystem::remove_all(folder);
  std::ofstream(folder) << "a file where the folder was";
  EXPECT_EQ(Run({"scan", "Blocked"}), kExitFailure);
  EXPECT_TRUE(ErrHas(folder)) << err_;
  EXPECT_TRUE(ErrHas("Not a directory")) << err_;
}

TEST_F(ScanCommandTest, TerminatingTheProgramStopsTheScanAndRecordsIt) {
  EXPECT_EQ(Scan(Url("/long.html")), kExitOk) << err_;
  EXPECT_TRUE(terminated_.load());
  EXPECT_TRUE(OutHas("\"TotalImages\": 40")) << out_;
  EXPECT_FALSE(OutHas("\"photosSaved\": 40")) << "stopped part way: " << out_;
}

}  // namespace
}  // namespace trawlix::cli::testing
