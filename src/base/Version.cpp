#include "base/Version.h"

#include <cstddef>
#include <vector>

namespace trawlix {

namespace {

// The four numbers of the version; missing ones are 0.
std::vector<std::string> Parts() {
  std::vector<std::string> parts;
  const std::string version = ProgramVersion();
  std::size_t start = 0;
  while (start <= version.size() && parts.size() < 4) {
    std::size_t end = version.find('.', start);
    if (end == std::string::npos) end = version.size();
    parts.push_back(version.substr(start, end - start));
    start = end + 1;
  }
  while (parts.size() < 4) parts.emplace_back("0");
  return parts;
}

}  // namespace

std::string ProgramVersion() {
  return TRAWLIX_VERSION;
}

std::string ReleaseNumber() {
  const std::vector<std::string> parts = Parts();
  return parts[0] + "." + parts[1];
}

std::string BuildNumber() {
  const std::vector<std::string> parts = Parts();
  return parts[2] + "." + parts[3];
}

}  // namespace trawlix
