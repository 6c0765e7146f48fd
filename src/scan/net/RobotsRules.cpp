#include "scan/net/RobotsRules.h"

#include <algorithm>
#include <vector>

#include "base/Text.h"

namespace trawlix {

namespace {

// The product name an agent goes by: "Googlebot-Image/1.0" -> "googlebot-image".
std::string ProductName(std::string_view userAgent) {
  const std::size_t end = userAgent.find_first_of("/ ;(");
  return ToLowerAscii(userAgent.substr(0, end));
}

// Where `needle` first occurs in `text` at or after `from`, in time linear in both (KMP):
// a pattern of many near-misses must not make matching quadratic.
std::size_t FindFrom(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from;
  std::vector<std::size_t> border(needle.size(), 0);
  for (std::size_t i = 1, k = 0; i < needle.size(); ++i) {
    while (k > 0 && needle[i] != needle[k]) k = border[k - 1];
    if (needle[i] == needle[k]) ++k;
    border[i] = k;
  }
  for (std::size_t i = from, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != needle[k]) k = border[k - 1];
    if (text[i] == needle[k]) ++k;
    if (k == needle.size()) return i + 1 - k;
  }
  return std::string_view::npos;
}

// "*" matches any run of characters, a final "$" the end of the path. The pieces between
// stars are taken at their earliest place in turn, which finds a match whenever there is one,
// so nothing is ever tried twice.
bool Matches(std::string_view pattern, std::string_view path) {
  const bool anchored = !pattern.empty() && pattern.back() == '$';
  if (anchored) pattern.remove_suffix(1);
  const std::size_t firstStar = pattern.find('*');
  const std::string_view head = pattern.substr(0, firstStar);
  if (!path.starts_with(head)) return false;
  if (firstStar == std::string_view::npos) return !anchored || path.size() == head.size();
  const std::size_t lastStar = pattern.rfind('*');
  const std::string_view tail = pattern.substr(lastStar + 1);
  std::size_t at = head.size();
  std::string_view middle =
      lastStar > firstStar ? pattern.substr(firstStar + 1, lastStar - firstStar - 1) : "";
  while (!middle.empty()) {
    const std::size_t star = middle.find('*');
    const std::string_view piece = middle.substr(0, star);
    middle.remove_prefix(star == std::string_view::npos ? middle.size() : star + 1);
    const std::size_t found = FindFrom(path, piece, at);
    if (found == std::string_view::npos) return false;
    at = found + piece.size();
  }
  if (!anchored) return FindFrom(path, tail, at) != std::string_view::npos;
  return path.size() >= at + tail.size() && path.ends_with(tail);
}

}  // namespace

RobotsRules RobotsRules::Parse(std::string_view text, std::string_view userAgent) {
  text = text.substr(0, kMaxFileBytes);
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
      if (value.empty() || value.size() > kMaxPatternLength) continue;  // "Disallow:" allows all
      const Rule rule{std::string(value), field == "allow"};
      if (inMine && mine.size() < kMaxRules) mine.push_back(rule);
      if (inAnyone && anyone.size() < kMaxRules) anyone.push_back(rule);
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
