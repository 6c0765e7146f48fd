#include "platform/WritableFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace trawlix {

std::string FolderWriteProblem(const std::string& folder) {
  if (folder.empty()) return std::strerror(ENOENT);
  std::error_code error;
  if (std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error))
    return std::strerror(ENOTDIR);
  std::filesystem::create_directories(folder, error);
  if (error) return error.message();
  std::string probe = folder + (folder.back() == '/' ? "" : "/") + ".trawlix-probe-XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return std::strerror(errno);
  const bool written = ::write(fd, "x", 1) == 1;
  const int writeError = errno;
  ::close(fd);
  ::unlink(probe.c_str());
  return written ? std::string() : std::strerror(writeError);
}

}  // namespace trawlix
