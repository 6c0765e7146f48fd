#include "platform/ProcessTempFolder.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace trawlix {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "pid-";

// The process id a folder name stands for; 0 when it is not one of ours.
pid_t OwnerOf(const std::string& name) {
  if (name.rfind(kPrefix, 0) != 0) return 0;
  pid_t pid = 0;
  const char* first = name.data() + kPrefix.size();
  const char* last = name.data() + name.size();
  const auto [end, error] = std::from_chars(first, last, pid);
  return error == std::errc() && end == last && pid > 0 ? pid : 0;
}

bool IsGone(pid_t pid) {
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string MakeProcessTempFolder(const std::string& sharedTempFolder) {
  std::error_code error;
  for (fs::directory_iterator it(sharedTempFolder, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code ignored;
    const pid_t owner = OwnerOf(it->path().filename().string());
    if (owner != 0 && owner != ::getpid() && !it->is_symlink(ignored) && IsGone(owner))
      fs::remove_all(it->path(), ignored);
  }
  const fs::path own =
      fs::path(sharedTempFolder) / (std::string(kPrefix) + std::to_string(::getpid()));
  fs::remove_all(own, error);
  if (!fs::create_directories(own, error) || error) return {};
  return own.string();
}

}  // namespace trawlix
