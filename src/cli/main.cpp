#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "imaging/codec/PhotoCodec.h"
#include "scan/net/NetworkGuard.h"

int main(int argc, char** argv) {
  // Process-wide set-up of the network and image libraries, before any thread starts.
  const trawlix::NetworkGuard network;
  trawlix::InitImaging();
  return trawlix::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
