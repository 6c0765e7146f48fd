#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "cli/StreamMessageSink.h"
#include "operations/DataSession.h"

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

  // Opens the user's data on first use; false after reporting a failure.
  bool OpenData();
  // Valid after OpenData succeeded.
  DataSession& session() { return *session_; }
  CXSettings& settings() { return session_->settings(); }
  const std::string& databasePath() const { return session_->databasePath(); }

  // Prints "trawlix-cli: TEXT" to the error stream; returns the exit code for a failure.
  int Fail(const std::string& text);

 private:
  std::ostream& out_;
  std::ostream& err_;
  StreamMessageSink messages_;
  std::string dataDir_;
  std::unique_ptr<DataSession> session_;
};

}  // namespace trawlix::cli
