#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

// What a site's robots.txt allows one user agent: the group whose name is part of the
// agent's own name (or the "*" group), its Allow and Disallow lines with "*" and "$"
// patterns, the longest matching line deciding and Allow winning a tie. An empty or
// unreadable file allows everything.
class RobotsRules {
 public:
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
