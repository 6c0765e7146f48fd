#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

// What a site's robots.txt allows one user agent: the group whose name is part of the
// agent's own name (or the "*" group), its Allow and Disallow lines with "*" and "$"
// patterns, the longest matching line deciding and Allow winning a tie. An empty or
// unreadable file allows everything.
//
// A hostile file must not cost a scan its memory or time: only its first kMaxFileBytes are
// read (as the major crawlers do), lines past kMaxRules and patterns longer than
// kMaxPatternLength are ignored, and a match never backtracks.
class RobotsRules {
 public:
  static constexpr std::size_t kMaxFileBytes = 500 * 1024;
  static constexpr std::size_t kMaxRules = 2000;
  static constexpr std::size_t kMaxPatternLength = 512;

  RobotsRules() = default;
  static RobotsRules Parse(std::string_view text, std::string_view userAgent);

  // `pathAndQuery` as it appears after the host: "/gallery/a.jpg?x=1".
  bool Allows(std::string_view pathAndQuery) const;

 private:
  struct Rule {
    std::string pattern;
    bool allow = false;
  };
  std::vector<Rule> rules_;
};

}  // namespace trawlix
