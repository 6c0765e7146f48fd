#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace trawlix {

// A browser identity offered by the scanning options: the name shown and the string sent.
struct UserAgent {
  std::string name;
  std::string userAgent;
};

// The built-in list, in the order the options show it.
std::span<const UserAgent> UserAgentList();

// The string of the first entry with this name, or none.
std::optional<std::string> UserAgentByName(std::string_view name);
// The name of the first entry sending exactly this string, or none.
std::optional<std::string> UserAgentName(std::string_view userAgent);

}  // namespace trawlix
