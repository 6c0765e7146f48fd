#include "settings/UserAgent.h"

#include <array>

#include "base/Version.h"

namespace trawlix {

std::span<const UserAgent> UserAgentList() {
  static const std::array<UserAgent, 13> kList{{
      {"Trawlix() PRO v" + ReleaseNumber(),
       "Trawlix() PRO v" + ReleaseNumber() + " (https://www.quillmoor.example/)"},
      {"Internet Explorer 8.0", "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1)"},
      {"Internet Explorer 7.0", "Mozilla/5.0 (compatible; MSIE 7.0; Windows NT 6.0; en-US)"},
      {"AOL 9.5", "Mozilla/4.0 (compatible; MSIE 6.0; AOL 9.5; AOLBuild 4337.29; Windows NT 5.1)"},
      {"Google Chrome 2.0.177.0",
       "Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US) AppleWebKit/530.7 (KHTML, like Gecko) "
       "Chrome/2.0.177.0 Safari/530.7"},
      {"FireFox 3.1",
       "Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.9.0.6pre) Gecko/2009011606 "
       "Firefox/3.1"},
      {"Mozilla 1.9", "Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.9) Gecko"},
      {"Opera 9.7", "Opera 9.7 (Windows NT 5.2; U; en)"},
      {"Googlebot 2.1", "Googlebot/2.1 (+http://www.google.com/bot.html)"},
      {"Googlebot-Image 1.0", "Googlebot-Image/1.0"},
      {"msnbot 2.1", "msnbot/2.1"},
      {"Teoma", "Mozilla/2.0 (compatible; Ask Jeeves/Teoma)"},
      {"Yahoo! Slurp",
       "Mozilla/5.0 (compatible; Yahoo! Slurp; http://help.yahoo.com/help/us/ysearch/slurp)"},
  }};
  return kList;
}

std::optional<std::string> UserAgentByName(std::string_view name) {
  for (const UserAgent& agent : UserAgentList()) {
    if (agent.name == name) return agent.userAgent;
  }
  return std::nullopt;
}

std::optional<std::string> UserAgentName(std::string_view userAgent) {
  for (const UserAgent& agent : UserAgentList()) {
    if (agent.userAgent == userAgent) return agent.name;
  }
  return std::nullopt;
}

}  // namespace trawlix
