#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/StreamMessageSink.h"
#include "settings/Settings.h"

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

  // Readies the data on first use: the data folder and its emptied Temp folder, the settings
  // (a missing file is written with the defaults) and a new database, created and seeded.
  // False after reporting a failure.
  bool OpenData();
  // Valid after OpenData succeeded.
  CXSettings& settings() { return *settings_; }
  const std::string& databasePath() const { return settings_->Paths().databasePath; }

  // Prints "trawlix-cli: TEXT" to the error stream; returns the exit code for a failure.
  int Fail(const std::string& text);

 private:
  std::ostream& out_;
  std::ostream& err_;
  StreamMessageSink messages_;
  std::string dataDir_;
  std::optional<CXSettings> settings_;
};

}  // namespace trawlix::cli
