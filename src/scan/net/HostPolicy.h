#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>

#include "scan/net/RobotsRules.h"

namespace trawlix {

// How a scan treats each host: what its robots.txt allows, a rest after it answered 429 or
// 503 (as its Retry-After says, at most a minute) with fewer connections from then on, and
// an optional pause between requests. A host that has had kWaitingBudget of rests in all is
// given up: otherwise one page of busy photos could hold a scan for weeks.
class HostPolicy {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::seconds kLongestRest{60};
  static constexpr std::chrono::seconds kDefaultRest{5};
  static constexpr std::chrono::minutes kWaitingBudget{5};

  // A host takes `connections` transfers at once, and `waiting` more handed out to wait
  // their turn, until it first answers busy; from then on half as many, none waiting.
  HostPolicy(bool honourRobots, std::chrono::milliseconds pause, int connections,
             std::string userAgent, int waiting = 0);

  enum class Verdict { Go, Wait, KeptOut, GivenUp };
  // Whether a request for `url` may go now, with `active` transfers to its host in flight.
  // robots.txt is matched once per waiting address, not on every call.
  Verdict Check(const std::string& url, std::size_t active, Clock::time_point now);
  // The robots.txt address to fetch before `url`'s host is asked anything, once per host.
  std::optional<std::string> RobotsToFetch(const std::string& url);
  // An absent or unreadable robots.txt allows everything.
  void RobotsArrived(const std::string& robotsURL, bool ok, const std::string& text);

  void Sent(const std::string& url, Clock::time_point now);
  void Busy(const std::string& url, std::chrono::seconds retryAfter, Clock::time_point now);
  // A host being waited on, for the progress line; empty when none.
  std::string Resting(Clock::time_point now) const;

  // "http://host:port" of an address, in lower case, without user info or a default port:
  // one host however its addresses spell it.
  static std::string HostOf(const std::string& url);

 private:
  struct Host {
    std::optional<RobotsRules> robots;
    bool robotsAsked = false;
    Clock::time_point nextRequest{};
    Clock::time_point restUntil{};
    Clock::duration rested{};  // the rests it asked for, in all
    int connections = 1;
    bool busy = false;                    // it has asked to be left alone once
    std::map<std::string, bool> allowed;  // robots.txt's word on addresses still waiting
  };
  bool RobotsAllow(Host& host, const std::string& url);
  Host& HostFor(const std::string& url);

  const bool honourRobots_;
  const std::chrono::milliseconds pause_;
  const int connections_;
  const std::string userAgent_;
  const int waiting_;
  std::map<std::string, Host> hosts_;
};

}  // namespace trawlix
