#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <optional>
#include <string>

#include "RenderTestSupport.h"
#include "render/WebPageRenderer.h"
#include "scan/PipelineTestSite.h"
#include "support/HomeOverride.h"
#include "support/TempDir.h"

namespace trawlix::testing {
namespace {

using namespace std::chrono_literals;

class WebPageRendererTest : public ::testing::Test {
 protected:
  // Renders one address and waits for its result.
  RenderResult Render(RenderRequest request) {
    std::optional<RenderResult> result;
    renderer.Render(std::move(request), [&result](RenderResult r) { result = std::move(r); });
    EXPECT_TRUE(RunEventsUntil([&] { return result.has_value(); }, 60s));
    return result.value_or(RenderResult{});
  }
  RenderResult Render(const std::string& url) {
    RenderRequest request;
    request.url = url;
    request.refuseLocalNetwork = false;  // the test site is on this computer
    return Render(std::move(request));
  }

  static bool Has(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
  }

  TempDir home;
  HomeOverride homeOverride{home.path().string()};
  TestSite site;
  WebPageRenderer renderer{[] {
    RenderBounds bounds;
    bounds.time = 15s;
    bounds.settle = 600ms;
    return bounds;
  }()};
};

// Only http(s) is ever loaded: a start address of another scheme is refused before anything
// loads, and a page of the local network is refused to a scan of a public site.
TEST_F(WebPageRendererTest, RefusesAddressesItMayNotLoad) {
  site.AddPage("/page.html", "<html><body><img src='a.jpg'></body></html>");
  for (const std::string& url :
       {std::string("file:///etc/hostname"), std::string("data:text/html,<img src=x.jpg>"),
        std::string("ftp://127.0.0.1/x.html")}) {
    SCOPED_TRACE(url);
    const RenderResult result = Render(url);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.photoLinks.empty());
    EXPECT_GE(result.refused, 1U);
  }
  RenderRequest request;
  request.url = site.URL("/page.html");
  request.refuseLocalNetwork = true;
  EXPECT_FALSE(Render(std::move(request)).ok);
  EXPECT_EQ(site.Requests("/page.html"), 0);
}

// What a hostile page tries is turned away, and its links are still read: a file: frame and
// navigation, a download, a pop-up, permissions, dialogs.
TEST_F(WebPageRendererTest, RefusesWhatAPageTriesBeyondShowingItself) {
  site.Add("/secret.zip", "application/octet-stream", std::string(4096, 'z'));
  site.AddPage("/popped.html", "<html><body>pop</body></html>");
  struct Attempt {
    std::string name;
    std::string markup;
    bool counted;  // turned away by the renderer itself, not by Chromium's own rules
  };
  const std::vector<Attempt> attempts = {
      {"file-frame", "<iframe src='file:///etc/hostname'></iframe>", false},
      {"file-navigation", "<script>location.href = 'file:///etc/hostname';</script>", false},
      {"download", "<script>setTimeout(() => { location.href = '/secret.zip'; }, 300);</script>",
       true},
      {"download-link", "<a id=d href='/secret.zip' download>zip</a><script>d.click();</script>",
       true},
      {"pop-up", "<script>window.open('/popped.html');</script>", false},
      {"permissions",
       "<script>navigator.geolocation.getCurrentPosition(() => {});"
       "Notification.requestPermission();</script>",
       true},
      {"dialogs", "<script>alert('hi'); confirm('sure?'); prompt('name?');</script>", false},
  };
  for (const Attempt& attempt : attempts) {
    SCOPED_TRACE(attempt.name);
    const std::string path = "/" + attempt.name + ".html";
    site.AddPage(path, "<html><body><img src='kept.jpg'>" + attempt.markup + "</body></html>");
    const RenderResult result = Render(site.URL(path));
    ASSERT_TRUE(result.ok) << result.failure;
    EXPECT_TRUE(Has(result.photoLinks, site.URL("/kept.jpg")));
    EXPECT_EQ(result.finalURL, site.URL(path));
    if (attempt.counted) {
      EXPECT_GE(result.refused, 1U);
    }
  }
  EXPECT_EQ(site.Requests("/popped.html"), 0);
  // Nothing was saved below the home folder.
  EXPECT_TRUE(QDir(QString::fromStdString(home.path().string() + "/Downloads")).isEmpty());
}

// The scan's cookies reach the page, and the cookies the page sets come back for the scan's
// transfers: the page shows the members' photo only with the member cookie.
TEST_F(WebPageRendererTest, SharesCookiesBothWays) {
  site.AddPage("/members.html", R"(<html><body><script>
    if (document.cookie.includes('member=yes')) {
      const img = document.createElement('img');
      img.src = 'members-only.jpg';
      document.body.appendChild(img);
    }
    document.cookie = 'seen=1; path=/';
  </script></body></html>)");
  RenderRequest request;
  request.url = site.URL("/members.html");
  request.refuseLocalNetwork = false;
  request.cookies = {"127.0.0.1\tFALSE\t/\tFALSE\t0\tmember\tyes"};
  const RenderResult member = Render(request);
  ASSERT_TRUE(member.ok) << member.failure;
  EXPECT_TRUE(Has(member.photoLinks, site.URL("/members-only.jpg")));
  EXPECT_TRUE(std::any_of(member.cookies.begin(), member.cookies.end(), [](const auto& line) {
    return line.find("\tseen\t1") != std::string::npos && line.starts_with("127.0.0.1\t");
  }));

  request.cookies.clear();
  EXPECT_FALSE(Has(Render(request).photoLinks, site.URL("/members-only.jpg")));
}

}  // namespace
}  // namespace trawlix::testing
