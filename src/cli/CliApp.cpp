#include "cli/CliApp.h"

#include <cstdio>

namespace trawlix::cli {

int RunCli(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fputs("usage: trawlix-cli [--data-dir DIR] COMMAND ...\n", stderr);
    return 2;
  }
  return 0;
}

}  // namespace trawlix::cli
