#include <gtest/gtest.h>

#include <string>

#include "scan/PipelineFixture.h"
#include "scan/net/HostPolicy.h"
#include "scan/net/RobotsRules.h"

namespace trawlix::testing {
namespace {

using namespace std::chrono_literals;

// Each pattern against paths that make a backtracking matcher try every split, and the
// edge cases of "*" and "$" a matcher that never goes back could get wrong.
TEST(HostileRobots, PatternsMatchWithoutGoingBack) {
  const struct {
    const char* pattern;
    std::string path;
    bool disallowed;
  } cases[] = {
      {"/a*aab", "/aaaab", true},
      {"/a*b*c$", "/axxbyyc", true},
      {"/a*b*c$", "/axxbyycd", false},
      {"/*.jpg$", "/x.jpg.jpg", true},
      {"/*.jpg$", "/x.jpg.png", false},
      {"/**b", "/ab", true},
      {"/x$", "/x", true},
      {"/x$", "/xy", false},
      {"/p*", "/p", true},
      {"*q", "/pq/r", true},
      {"/*a*a*a*a*a*a*a*a*b", "/" + std::string(1000, 'a'), false},
      {"/*a*a*a*a*a*a*a*a*b", "/" + std::string(1000, 'a') + "b", true},
  };
  for (const auto& c : cases) {
    const RobotsRules rules =
        RobotsRules::Parse("User-agent: *\nDisallow: " + std::string(c.pattern) + "\n", "x");
    EXPECT_EQ(rules.Allows(c.path), !c.disallowed) << c.pattern << " " << c.path.substr(0, 20);
  }
}

// Lines past the bounds are ignored, which only ever lets more through.
TEST(HostileRobots, AFileBeyondItsBoundsIsReadOnlyUpToThem) {
  const std::string group = "User-agent: *\n";
  std::string manyRules = group;
  for (std::size_t i = 0; i < RobotsRules::kMaxRules; ++i)
    manyRules += "Disallow: /filler" + std::to_string(i) + "\n";
  const std::string longPattern = "/" + std::string(RobotsRules::kMaxPatternLength, 'a');
  const std::string padding(RobotsRules::kMaxFileBytes, '#');
  const struct {
    std::string text;
    std::string path;
  } cases[] = {
      {manyRules + "Disallow: /late\n", "/late"},
      {group + "Disallow: " + longPattern + "\n", longPattern},
      {group + padding + "\nDisallow: /\n", "/a.jpg"},
  };
  for (const auto& c : cases) EXPECT_TRUE(RobotsRules::Parse(c.text, "x").Allows(c.path));
  EXPECT_FALSE(RobotsRules::Parse(manyRules, "x").Allows("/filler1999"));
}

// User info, letter case and a default port name the same host: its robots.txt is asked
// once and its rest and connections are shared.
TEST(HostileRobots, HostsAreKnownBySchemeHostAndPortAlone) {
  for (const char* url : {"http://u1@example.org/a", "http://u2:pw@EXAMPLE.org:80/b?c",
                          "HTTP://example.org#x", "http://a@b@example.org/"})
    EXPECT_EQ(HostPolicy::HostOf(url), "http://example.org") << url;
  EXPECT_EQ(HostPolicy::HostOf("https://x@[::1]:8443/p"), "https://[::1]:8443");
  EXPECT_EQ(HostPolicy::HostOf("https://example.org:443/"), "https://example.org");
  EXPECT_EQ(HostPolicy::HostOf("http://example.org:8080/"), "http://example.org:8080");

  HostPolicy policy(true, 0ms, 2, "x");
  EXPECT_TRUE(policy.RobotsToFetch("http://u1@example.org/a.jpg"));
  EXPECT_FALSE(policy.RobotsToFetch("http://u2@Example.org:80/b.jpg"));
}

// Each busy answer may ask for a minute's rest; a host that has asked for the whole budget
// is given up, its waiting addresses failed rather than held for ever.
TEST(HostileRobots, ABusyHostIsGivenUpAfterItsWaitingBudget) {
  HostPolicy policy(false, 0ms, 2, "x");
  const std::string url = "http://example.org/a.jpg";
  auto now = HostPolicy::Clock::now();
  EXPECT_EQ(policy.Check(url, 0, now), HostPolicy::Verdict::Go);
  const auto answers = HostPolicy::kWaitingBudget / HostPolicy::kLongestRest;
  for (int i = 0; i < answers; ++i) {
    EXPECT_NE(policy.Check(url, 0, now), HostPolicy::Verdict::GivenUp) << i;
    // Answers arriving together add no more than the longest of their rests.
    policy.Busy(url, 600s, now);
    policy.Busy("http://u@EXAMPLE.org/b.jpg", 600s, now);
    now += HostPolicy::kLongestRest;
  }
  EXPECT_EQ(policy.Check("http://example.org/c.jpg", 0, now), HostPolicy::Verdict::GivenUp);
  EXPECT_EQ(policy.Check("http://other.example/c.jpg", 0, now), HostPolicy::Verdict::Go);
}

// Requests wait their turn beyond a host's connections only until it first answers busy;
// from then on it takes half the connections and nothing more.
TEST(HostileRobots, ABusyHostTakesHalfTheConnectionsAndNoneWaiting) {
  HostPolicy policy(false, 0ms, 6, "x", 3);
  const std::string url = "http://example.org/a.jpg";
  EXPECT_FALSE(policy.RobotsToFetch(url));
  auto now = HostPolicy::Clock::now();
  EXPECT_EQ(policy.Check(url, 8, now), HostPolicy::Verdict::Go);
  EXPECT_EQ(policy.Check(url, 9, now), HostPolicy::Verdict::Wait);
  policy.Busy(url, 1s, now);
  now += 2s;
  EXPECT_EQ(policy.Check(url, 2, now), HostPolicy::Verdict::Go);
  EXPECT_EQ(policy.Check(url, 3, now), HostPolicy::Verdict::Wait);
}

class HostileRobotsSite : public PipelineTest {};

// A robots.txt of many megabytes is read only up to its cap: a rule beyond it has no say.
TEST_F(HostileRobotsSite, OnlyTheFirstPartOfAHugeRobotsTxtCounts) {
  site.Add("/robots.txt", "text/plain",
           "User-agent: *\n" + std::string(4 * 1024 * 1024, '#') + "\nDisallow: /\n");
  site.AddPage("/gallery/index.html", R"(<img src="a.jpg">)");
  site.Add("/gallery/a.jpg", "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 300, 200));
  project.filterMinimumSize = 0;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"a.jpg"}));
  EXPECT_EQ(site.Requests("/robots.txt"), 1);
}

}  // namespace
}  // namespace trawlix::testing
