#pragma once

#include <string>
#include <vector>

namespace trawlix::app {

// What the desktop program's command line asks for.
struct StartArguments {
  std::string dataDir;  // empty: the user's default data folder
  bool splash = true;
  bool help = false;
  // Arguments that are no options; the first is a file to open.
  std::vector<std::string> files;
  // Set when the command line cannot be used; says why.
  std::string error;

  const std::string& FirstFile() const;
};

// `arguments` are those after the program's name.
StartArguments ParseStartArguments(const std::vector<std::string>& arguments);

// The usage text printed by --help.
std::string StartUsage();

}  // namespace trawlix::app
