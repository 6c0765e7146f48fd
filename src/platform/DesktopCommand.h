#pragma once

#include <string>
#include <vector>

namespace trawlix {

// A program of the desktop and its arguments, run without a shell.
struct DesktopCommand {
  std::string program;
  std::vector<std::string> arguments;

  bool operator==(const DesktopCommand&) const = default;
};

// Runs desktop programs; tests record the commands instead.
class DesktopCommandRunner {
 public:
  virtual ~DesktopCommandRunner() = default;
  // Runs the command to its end; its exit status, or -1 when it could not be started.
  virtual int Run(const DesktopCommand& command, std::string* output = nullptr) = 0;
};

// Searches PATH like a shell; the standard output is captured when asked for.
class DesktopProcessRunner : public DesktopCommandRunner {
 public:
  int Run(const DesktopCommand& command, std::string* output = nullptr) override;
};

// Whether a program of that name is on PATH.
bool ProgramOnPath(const std::string& program);

// A new message of the desktop's mail program with the photo attached.
DesktopCommand EmailPhotoCommand(const std::string& photoPath);

// Asks the file manager to open the file's folder with the file selected; the command fails
// when no file manager offers that.
DesktopCommand ShowInFileManagerCommand(const std::string& path);

// "file:///home/a%20b/x.jpg": a local path as a URI.
std::string FileUri(const std::string& path);

}  // namespace trawlix
