#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>

#include "scan/PipelineFixture.h"
#include "scan/net/HostPolicy.h"
#include "scan/net/RobotsRules.h"

namespace trawlix::testing {
namespace {

using namespace std::chrono_literals;

TEST(RobotsRules, TheLongestMatchingLineOfTheAgentsGroupDecides) {
  const std::string text =
      "# comment\n"
      "User-agent: *\nDisallow: /private/\nDisallow: /*.gif$\nAllow: /private/open\n\n"
      "User-agent: OtherBot\nDisallow: /\n";
  const RobotsRules anyone = RobotsRules::Parse(text, "Googlebot-Image/1.0");
  const struct {
    const char* path;
    bool allowed;
  } cases[] = {{"/gallery/a.jpg", true}, {"/private/a.jpg", false}, {"/private/open/a.jpg", true},
               {"/a.gif", false},        {"/a.gif?x=1", true},      {"/", true}};
  for (const auto& c : cases) EXPECT_EQ(anyone.Allows(c.path), c.allowed) << c.path;
  EXPECT_FALSE(RobotsRules::Parse(text, "OtherBot/2.0").Allows("/gallery/a.jpg"));
  for (const char* broken : {"", "<html>not found</html>", "Disallow: /\n", "User-agent: *\n"})
    EXPECT_TRUE(RobotsRules::Parse(broken, "x").Allows("/a.jpg")) << broken;
}

class PoliteCrawling : public PipelineTest {
 protected:
  void SetUp() override {
    project.filterMinimumSize = false;
    photo_ = MakeTestPhoto(TestPhotoKind::Jpeg, 300, 200);
  }
  std::string photo_;
};

TEST_F(PoliteCrawling, RobotsTxtKeepsPagesAndPhotosOut) {
  site.Add("/robots.txt", "text/plain",
           "User-agent: *\nDisallow: /gallery/private/\nDisallow: /gallery/secret\n");
  site.AddPage("/gallery/index.html",
               R"(<a href="private/p.html">p</a><a href="open.html">o</a>)"
               R"(<img src="a.jpg"><img src="secret1.jpg"><img src="secret2.jpg">)");
  site.AddPage("/gallery/private/p.html", R"(<img src="b.jpg">)");
  site.AddPage("/gallery/open.html", R"(<img src="c.jpg">)");
  for (const char* name : {"a", "b", "c", "secret1", "secret2"})
    site.Add("/gallery/" + std::string(name) + ".jpg", "image/jpeg", photo_);
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"a.jpg", "c.jpg"}));
  for (const char* path : {"/gallery/private/p.html", "/gallery/secret1.jpg"})
    EXPECT_EQ(site.Requests(path), 0) << path;
  EXPECT_EQ(site.Requests("/robots.txt"), 1);
  EXPECT_NE(observer.results.find("robots.txt kept 3 links out."), std::string::npos)
      << observer.results;
}

TEST_F(PoliteCrawling, ABusyHostIsWaitedForAsItAsksThenGivenUp) {
  char date[64];
  const std::time_t soon = std::time(nullptr) + 2;
  std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S GMT", std::gmtime(&soon));
  site.AddBusy("/gallery/seconds.jpg", "image/jpeg", photo_, 429, 1, "1");
  site.AddBusy("/gallery/date.jpg", "image/jpeg", photo_, 503, 1, date);
  site.AddBusy("/gallery/never.jpg", "image/jpeg", photo_, 503, -1, "1");
  site.AddPage("/gallery/index.html",
               R"(<img src="seconds.jpg"><img src="date.jpg"><img src="never.jpg">)");
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(RunScan());
  EXPECT_GE(std::chrono::steady_clock::now() - started, 1s);
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"date.jpg", "seconds.jpg"}));
  EXPECT_EQ(site.Requests("/gallery/seconds.jpg"), 2);
  EXPECT_EQ(site.Requests("/gallery/never.jpg"), 4) << "the first try and three more";
  ASSERT_EQ(StoredHistory().size(), 1u);
  EXPECT_EQ(StoredHistory()[0].savedImages, 2);
  EXPECT_TRUE(std::any_of(
      observer.pageLines.begin(), observer.pageLines.end(), [&](const std::string& line) {
        return line == "Waiting for " + site.URL("") + " (it asked for a pause)...";
      }));
}

}  // namespace
}  // namespace trawlix::testing
