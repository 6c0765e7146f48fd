#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <string>

namespace trawlix {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A new file beside `path` under a name nobody else has; mkstemp's 0600 would ignore the
// user's umask, so the file is made with 0666 and the umask decides.
int CreateTempBeside(const std::string& path, std::string& temp) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = path + ".tmp-" + std::to_string(random());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

ReadStatus ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadStatus::Failed;
  if (static_cast<std::size_t>(info.st_size) > maxBytes) return ReadStatus::TooLarge;
  std::string data;
  char buffer[64 * 1024];
  for (;;) {
    ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReadStatus::Failed;
    if (got == 0) break;
    data.append(buffer, static_cast<std::size_t>(got));
    if (data.size() > maxBytes) return ReadStatus::TooLarge;  // grew while reading
  }
  bytes = std::move(data);
  return ReadStatus::Ok;
}

std::string ReadFileHead(const std::string& path, std::size_t maxBytes) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return {};
  std::string head(maxBytes, '\0');
  std::size_t done = 0;
  while (done < maxBytes) {
    const ssize_t got = ::read(file.get(), head.data() + done, maxBytes - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  head.resize(done);
  return head;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
  std::string temp;
  FileDescriptor file(CreateTempBeside(path, temp));
  if (file.get() < 0) return false;
  // A replaced file keeps its mode.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(file.get(), old.st_mode & 07777);
  const bool written = WriteAll(file.get(), bytes) && ::fsync(file.get()) == 0;
  if (!file.Close() || !written || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  std::string folder = std::filesystem::path(path).parent_path().string();
  FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.get() >= 0) ::fsync(dir.get());
  return true;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  std::error_code error;
  return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                    error) &&
         !error;
}

}  // namespace trawlix
