#include "cli/CliContext.h"

#include "cli/CommandRegistry.h"

namespace trawlix::cli {

bool CliContext::OpenData() {
  if (session_) return true;
  std::string error;
  session_ = DataSession::Open(dataDir_, messages_, error);
  if (!session_) Fail(error);
  return session_ != nullptr;
}

int CliContext::Fail(const std::string& text) {
  err_ << "trawlix-cli: " << text << '\n';
  return kExitFailure;
}

}  // namespace trawlix::cli
