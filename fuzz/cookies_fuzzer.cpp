// Any bytes as a cookies.txt line: parsing and storing it must neither crash nor give back a
// cookie that writes as a line of more than one line or none at all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scan/net/CookieJar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::optional<trawlix::Cookie> cookie = trawlix::ParseCookieLine(line);
  if (!cookie) return 0;
  const std::string written = trawlix::CookieLine(*cookie);
  if (written.find('\n') != std::string::npos || written.find('\0') != std::string::npos)
    std::abort();
  trawlix::CookieJar jar;
  jar.Add(*cookie);
  for (const trawlix::Cookie& kept : jar.List()) {
    if (kept.name.empty() || kept.domain.empty()) std::abort();
  }
  return 0;
}
