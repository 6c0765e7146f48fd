#include "cli/CliContext.h"

#include "cli/CommandRegistry.h"

namespace trawlix::cli {

int CliContext::Fail(const std::string& text) {
  err_ << "trawlix-cli: " << text << '\n';
  return kExitFailure;
}

}  // namespace trawlix::cli
