#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "cli/StreamMessageSink.h"
#include "cli/TerminalStreamBuf.h"
#include "operations/DataSession.h"

namespace trawlix::cli {

// What every command shares: the output streams, the message boxes (printed to the error
// stream) and the data folder chosen on the command line. Both streams drop control
// characters and escape sequences, since what they print comes from files and databases
// that others may have written.
class CliContext {
 public:
  CliContext(std::ostream& out, std::ostream& err)
      : rawErr_(err), outBuf_(out), errBuf_(err), out_(&outBuf_), err_(&errBuf_), messages_(err_) {}
  CliContext(const CliContext&) = delete;
  CliContext& operator=(const CliContext&) = delete;

  std::ostream& out() { return out_; }
  std::ostream& err() { return err_; }
  // The error stream unfiltered, for the program's own terminal control (a progress line
  // rewritten in place). Texts written here must be cleaned with TerminalTextFilter::Clean.
  std::ostream& terminalErr() { return rawErr_; }
  MessageSink& messages() { return messages_; }

  // Empty means the default data folder.
  void SetDataDir(std::string dir) { dataDir_ = std::move(dir); }
  const std::string& dataDir() const { return dataDir_; }

  // Opens the user's data on first use; false after reporting a failure.
  bool OpenData();
  // Valid after OpenData succeeded.
  DataSession& session() { return *session_; }
  Settings& settings() { return session_->settings(); }
  const std::string& databasePath() const { return session_->databasePath(); }

  // Prints "trawlix-cli: TEXT" to the error stream; returns the exit code for a failure.
  int Fail(const std::string& text);

 private:
  std::ostream& rawErr_;
  TerminalStreamBuf outBuf_;
  TerminalStreamBuf errBuf_;
  std::ostream out_;
  std::ostream err_;
  StreamMessageSink messages_;
  std::string dataDir_;
  std::unique_ptr<DataSession> session_;
};

}  // namespace trawlix::cli
