#pragma once

#include <string>
#include <vector>

namespace trawlix::cli {

// Runs one command line (without the program name); returns the process exit code.
int RunCli(const std::vector<std::string>& args);

}  // namespace trawlix::cli
