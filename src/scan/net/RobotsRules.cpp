#include "scan/net/RobotsRules.h"

#include <algorithm>

#include "base/Text.h"

namespace trawlix {

namespace {

// The product name an agent goes by: "Googlebot-Image/1.0" -> "googlebot-image".
std::string ProductName(std::string_view userAgent) {
  const std::size_t end = userAgent.find_first_of("/ ;(");
  return ToLowerAscii(userAgent.substr(0, end));
}

// "*" matches any run of characters, a final "$" the end of the path.
bool Matches(std::string_view pattern, std::string_view path) {
  const bool anchored = !pattern.empty() && pattern.back() == '$';
  if (anchored) pattern.remove_suffix(1);
  std::size_t p = 0;
  std::size_t s = 0;
  std::size_t star = std::string_view::npos;
  std::size_t resume = 0;
  while (s < path.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = s;
    } else if (p < pattern.size() && pattern[p] == path[s]) {
      ++p;
      ++s;
    } else if (p == pattern.size() && !anchored) {
      return true;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

RobotsRules RobotsRules::Parse(std::string_view text, std::string_view userAgent) {
  const std::string product = ProductName(userAgent);
  std::vector<Rule> mine, anyone;
  bool inMine = false, inAnyone = false, agentsEnded = true;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::string line = Trim(raw.substr(0, raw.find('#')));
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string field = ToLowerAscii(Trim(std::string_view(line).substr(0, colon)));
    const std::string value = Trim(std::string_view(line).substr(colon + 1));
    if (field == "user-agent") {
      if (agentsEnded) inMine = inAnyone = false;  // a new group starts
      agentsEnded = false;
      const std::string name = ToLowerAscii(value);
      if (name == "*")
        inAnyone = true;
      else if (!name.empty() && product.find(name) != std::string::npos)
        inMine = true;
    } else if (field == "allow" || field == "disallow") {
      agentsEnded = true;
      if (value.empty()) continue;  // "Disallow:" allows everything
      const Rule rule{std::string(value), field == "allow"};
      if (inMine) mine.push_back(rule);
      if (inAnyone) anyone.push_back(rule);
    } else {
      agentsEnded = true;
    }
  }
  RobotsRules rules;
  rules.rules_ = !mine.empty() ? std::move(mine) : std::move(anyone);
  return rules;
}

bool RobotsRules::Allows(std::string_view pathAndQuery) const {
  std::size_t longest = 0;
  bool allowed = true;
  for (const Rule& rule : rules_) {
    if (!Matches(rule.pattern, pathAndQuery)) continue;
    if (rule.pattern.size() > longest || (rule.pattern.size() == longest && rule.allow)) {
      longest = rule.pattern.size();
      allowed = rule.allow;
    }
  }
  return allowed;
}

}  // namespace trawlix
