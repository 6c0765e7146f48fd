#pragma once

#include <ostream>
#include <string>

#include "cli/StreamMessageSink.h"

namespace trawlix::cli {

// What every command shares: the output streams, the message boxes (printed to the error
// stream) and the data folder chosen on the command line.
class CliContext {
 public:
  CliContext(std::ostream& out, std::ostream& err) : out_(out), err_(err), messages_(err) {}
  CliContext(const CliContext&) = delete;
  CliContext& operator=(const CliContext&) = delete;

  std::ostream& out() { return out_; }
  std::ostream& err() { return err_; }
  MessageSink& messages() { return messages_; }

  // Empty means the default data folder.
  void SetDataDir(std::string dir) { dataDir_ = std::move(dir); }
  const std::string& dataDir() const { return dataDir_; }

  // Prints "trawlix-cli: TEXT" to the error stream; returns the exit code for a failure.
  int Fail(const std::string& text);

 private:
  std::ostream& out_;
  std::ostream& err_;
  StreamMessageSink messages_;
  std::string dataDir_;
};

}  // namespace trawlix::cli
