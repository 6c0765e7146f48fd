#include "platform/DesktopCommand.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>

extern char** environ;

namespace trawlix {

namespace {

void ReadAll(int fd, std::string& output) {
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) {
      // A setting read back is short; a runaway program is not allowed to fill the memory.
      if (output.size() < 1024 * 1024) output.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      return;
    }
  }
}

}  // namespace

int DesktopProcessRunner::Run(const DesktopCommand& command, std::string* output) {
  std::vector<std::string> words;
  words.push_back(command.program);
  words.insert(words.end(), command.arguments.begin(), command.arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int pipeFds[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (devNull >= 0) posix_spawn_file_actions_adddup2(&actions, devNull, STDIN_FILENO);
  if (output != nullptr && pipe2(pipeFds, O_CLOEXEC) == 0) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  } else if (devNull >= 0) {
    posix_spawn_file_actions_adddup2(&actions, devNull, STDOUT_FILENO);
  }
  pid_t child = -1;
  const int spawned =
      posix_spawnp(&child, command.program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (devNull >= 0) close(devNull);
  if (pipeFds[1] >= 0) close(pipeFds[1]);
  if (spawned == 0 && pipeFds[0] >= 0) ReadAll(pipeFds[0], *output);
  if (pipeFds[0] >= 0) close(pipeFds[0]);
  if (spawned != 0) return -1;

  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  // 127: the program was not found after all.
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) return -1;
  return WEXITSTATUS(status);
}

bool ProgramOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr || program.empty()) return false;
  std::string_view rest(path);
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    if (folder.empty()) continue;
    const std::string candidate = std::string(folder) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate)) {
      return true;
    }
  }
  return false;
}

std::string FileUri(const std::string& path) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0x0F];
    }
  }
  return uri;
}

DesktopCommand ShowInFileManagerCommand(const std::string& path) {
  // --print-reply waits for the answer, so a missing file manager shows in the exit status.
  return {
      "dbus-send",
      {"--session", "--print-reply", "--reply-timeout=5000", "--dest=org.freedesktop.FileManager1",
       "--type=method_call", "/org/freedesktop/FileManager1",
       "org.freedesktop.FileManager1.ShowItems", "array:string:" + FileUri(path), "string:"}};
}

DesktopCommand EmailPhotoCommand(const std::string& photoPath) {
  return {"xdg-email", {"--subject", "Photo Attached!", "--attach", photoPath}};
}

}  // namespace trawlix
