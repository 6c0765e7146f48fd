#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "scan/net/NetworkGuard.h"

int main(int argc, char** argv) {
  // Process-wide set-up of the network library, before any thread starts. The image library
  // starts when a command first needs it (every imaging function makes sure of it): loading
  // its format modules takes longer than a small scan, whose photos' headers tell their
  // sizes without it.
  const trawlix::NetworkGuard network;
  return trawlix::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
