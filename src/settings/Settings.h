#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/MessageBox.h"
#include "platform/DataFolderLayout.h"
#include "settings/SettingsValues.h"
#include "settings/UserAgent.h"

namespace trawlix {

// The settings file as bytes: every value in order, the two trailing ones always included.
std::string EncodeSettings(const SettingsValues& values);
// Reads a settings file's bytes over `values` (values the file lacks keep theirs). Returns
// false, leaving `values` untouched, when the bytes end early or hold a malformed length.
bool DecodeSettings(std::string_view bytes, SettingsValues& values);

// The program's options: the stored values, the data-folder paths they live beside and the
// built-in user-agent list. Saved whole after every change.
class Settings {
 public:
  static constexpr std::size_t kMaxFileSize = 1024 * 1024;

  enum class LoadResult { Loaded, Created, Recovered };

  explicit Settings(DataFolderLayout paths);

  const DataFolderLayout& Paths() const { return paths_; }
  void SetPaths(DataFolderLayout paths) { paths_ = std::move(paths); }

  const SettingsValues& Values() const { return values_; }
  SettingsValues& Values() { return values_; }

  // The resolution ResetToDefaults stores; 96 until a screen reports its own.
  void SetScreenDpi(int dpi) { screenDpi_ = dpi; }

  // Reads the settings file. A missing file is written with the defaults. A damaged one
  // is copied beside it as ".bad", replaced by the defaults, and the user told once.
  LoadResult LoadSettings(MessageSink& messages);
  // Writes the whole file as version 18 through a temporary file renamed into place;
  // false (and the file unchanged) when it cannot be written.
  bool SaveSettings();
  // Every stored value to its default; the version to 0 until the next save.
  void ResetToDefaults();
  // Whether a stored value differs from what was last loaded or saved.
  bool IsModified() const { return values_ != stored_; }

  std::span<const UserAgent> UserAgents() const { return UserAgentList(); }
  std::optional<std::string> UserAgentByName(std::string_view name) const;
  std::optional<std::string> UserAgentName(std::string_view userAgent) const;

 private:
  void Recover(MessageSink& messages);

  DataFolderLayout paths_;
  SettingsValues values_;
  SettingsValues stored_;
  int screenDpi_ = 96;
};

}  // namespace trawlix
