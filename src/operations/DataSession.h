#pragma once

#include <memory>
#include <optional>
#include <string>

#include "base/MessageBox.h"
#include "settings/Settings.h"

namespace trawlix {

// What the front ends tell the user about a database file SQLite cannot read.
std::string DamagedDatabaseText(const std::string& path, const std::string& reason);

// The user's data, opened once per run of a front end: the data folder with its emptied Temp
// folder, the settings (a missing file is written with the defaults) and the database
// (created and seeded when new). Every user operation works on one.
class DataSession {
 public:
  // `dataDir` empty: the user's default data folder. Nothing after a failure, with `error`
  // saying what failed. `screenDpi`, where there is a screen, is the photo resolution that a
  // new settings file and a reset to the defaults take; without one it stays 96.
  static std::unique_ptr<DataSession> Open(const std::string& dataDir, MessageSink& messages,
                                           std::string& error,
                                           std::optional<int> screenDpi = std::nullopt);

  DataSession(const DataSession&) = delete;
  DataSession& operator=(const DataSession&) = delete;

  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }
  const std::string& databasePath() const { return settings_.Paths().databasePath; }
  MessageSink& messages() { return messages_; }
  // The database did not exist before this session created it.
  bool isNewDatabase() const { return newDatabase_; }

 private:
  DataSession(Settings settings, MessageSink& messages, bool newDatabase)
      : settings_(std::move(settings)), messages_(messages), newDatabase_(newDatabase) {}

  Settings settings_;
  MessageSink& messages_;
  bool newDatabase_;
};

}  // namespace trawlix
