#include <string>
#include <vector>

#include "cli/CliApp.h"

int main(int argc, char** argv) {
  return trawlix::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
