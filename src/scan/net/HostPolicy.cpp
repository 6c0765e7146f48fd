#include "scan/net/HostPolicy.h"

#include <algorithm>

#include "base/Text.h"

namespace trawlix {

HostPolicy::HostPolicy(bool honourRobots, std::chrono::milliseconds pause, int connections,
                       std::string userAgent, int waiting)
    : honourRobots_(honourRobots),
      pause_(pause),
      connections_(std::max(1, connections)),
      userAgent_(std::move(userAgent)),
      waiting_(std::max(0, waiting)) {}

std::string HostPolicy::HostOf(const std::string& url) {
  const std::size_t scheme = url.find("://");
  if (scheme == std::string::npos) return url;
  const std::size_t end = url.find_first_of("/?#", scheme + 3);
  std::string_view authority = std::string_view(url).substr(scheme + 3, end - scheme - 3);
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  const std::string name = ToLowerAscii(url.substr(0, scheme));
  const std::string_view defaultPort = name == "http" ? ":80" : name == "https" ? ":443" : "";
  if (!defaultPort.empty() && authority.ends_with(defaultPort))
    authority.remove_suffix(defaultPort.size());
  return name + "://" + ToLowerAscii(authority);
}

// The part after the host: what robots.txt lines are matched against.
namespace {
std::string PathOf(const std::string& url) {
  const std::size_t scheme = url.find("://");
  const std::size_t start =
      scheme == std::string::npos ? std::string::npos : url.find_first_of("/?#", scheme + 3);
  if (start == std::string::npos) return "/";
  const std::string_view rest = std::string_view(url).substr(start, url.find('#', start) - start);
  std::string path;
  if (rest.empty() || rest.front() != '/') path += '/';
  path += rest;
  return path;
}
}  // namespace

HostPolicy::Host& HostPolicy::HostFor(const std::string& url) {
  const auto [host, added] = hosts_.try_emplace(HostOf(url));
  if (added) host->second.connections = connections_;
  return host->second;
}

bool HostPolicy::RobotsAllow(Host& host, const std::string& url) {
  const auto [known, added] = host.allowed.try_emplace(url);
  if (added) known->second = host.robots->Allows(PathOf(url));
  return known->second;
}

HostPolicy::Verdict HostPolicy::Check(const std::string& url, std::size_t active,
                                      Clock::time_point now) {
  const auto found = hosts_.find(HostOf(url));
  if (found == hosts_.end()) return honourRobots_ ? Verdict::Wait : Verdict::Go;
  Host& host = found->second;
  if (host.rested >= kWaitingBudget) return Verdict::GivenUp;
  if (honourRobots_) {
    if (!host.robots) return Verdict::Wait;
    if (!RobotsAllow(host, url)) {
      host.allowed.erase(url);  // its caller drops it
      return Verdict::KeptOut;
    }
  }
  if (now < host.restUntil || now < host.nextRequest) return Verdict::Wait;
  const int waiting = host.busy ? 0 : waiting_;
  if (active >= static_cast<std::size_t>(host.connections + waiting)) return Verdict::Wait;
  return Verdict::Go;
}

std::optional<std::string> HostPolicy::RobotsToFetch(const std::string& url) {
  Host& host = HostFor(url);
  if (!honourRobots_ || host.robotsAsked) return std::nullopt;
  host.robotsAsked = true;
  return HostOf(url) + "/robots.txt";
}

void HostPolicy::RobotsArrived(const std::string& robotsURL, bool ok, const std::string& text) {
  HostFor(robotsURL).robots = ok ? RobotsRules::Parse(text, userAgent_) : RobotsRules();
}

void HostPolicy::Sent(const std::string& url, Clock::time_point now) {
  Host& host = HostFor(url);
  host.allowed.erase(url);
  if (pause_.count() > 0) host.nextRequest = now + pause_;
}

void HostPolicy::Busy(const std::string& url, std::chrono::seconds retryAfter,
                      Clock::time_point now) {
  Host& host = HostFor(url);
  const std::chrono::seconds rest =
      retryAfter.count() > 0 ? std::min(retryAfter, kLongestRest) : kDefaultRest;
  const Clock::time_point until = std::max(host.restUntil, now + rest);
  host.rested += until - std::max(host.restUntil, now);
  host.restUntil = until;
  host.connections = std::max(1, host.connections / 2);
  host.busy = true;
}

std::string HostPolicy::Resting(Clock::time_point now) const {
  for (const auto& [name, host] : hosts_) {
    if (now < host.restUntil) return name;
  }
  return {};
}

}  // namespace trawlix
