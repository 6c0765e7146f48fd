#include "settings/Settings.h"

#include "base/Text.h"
#include "platform/FileIO.h"
#include "platform/UserFolders.h"
#include "settings/Archive.h"

namespace trawlix {

std::string EncodeSettings(const SettingsValues& values) {
  SettingsValues copy = values;
  copy.version = SettingsValues::kCurrentVersion;
  ArchiveWriter writer;
  VisitSettings(copy, writer);
  return writer.bytes();
}

bool DecodeSettings(std::string_view bytes, SettingsValues& values) {
  SettingsValues read = values;
  ArchiveReader reader(bytes);
  VisitSettings(read, reader);
  if (!reader.ok()) return false;
  values = std::move(read);
  return true;
}

Settings::Settings(DataFolderLayout paths) : paths_(std::move(paths)) {
  ResetToDefaults();
  stored_ = values_;
}

Settings::LoadResult Settings::LoadSettings(MessageSink& messages) {
  std::string bytes;
  const ReadStatus status = ReadWholeFile(paths_.settingsPath, kMaxFileSize, bytes);
  if (status == ReadStatus::Missing) {
    ResetToDefaults();
    values_.version = SettingsValues::kCurrentVersion;
    SaveSettings();
    return LoadResult::Created;
  }
  if (status != ReadStatus::Ok || !DecodeSettings(bytes, values_)) {
    Recover(messages);
    return LoadResult::Recovered;
  }
  stored_ = values_;
  return LoadResult::Loaded;
}

void Settings::Recover(MessageSink& messages) {
  const std::string badPath = paths_.settingsPath + ".bad";
  const bool kept = CopyFileReplacing(paths_.settingsPath, badPath);
  ResetToDefaults();
  const bool saved = SaveSettings();
  std::string text =
      "The settings file could not be read, so the default settings have been "
      "restored.";
  if (kept) text += Format("\n\nA copy of the damaged file was kept as:\n%s", badPath.c_str());
  if (!saved) {
    text += Format("\n\nThe settings could not be saved to:\n%s", paths_.settingsPath.c_str());
  }
  MessageRequest request{text};
  request.icon = MessageIcon::Warning;
  messages.Show(request);
}

bool Settings::SaveSettings() {
  values_.version = SettingsValues::kCurrentVersion;
  if (!WriteFileAtomic(paths_.settingsPath, EncodeSettings(values_))) return false;
  stored_ = values_;
  return true;
}

void Settings::ResetToDefaults() {
  values_ = SettingsValues{};
  values_.version = 0;
  values_.defaultSaveTo = PicturesFolder();
  values_.photoDpi = screenDpi_;
}

std::optional<std::string> Settings::UserAgentByName(std::string_view name) const {
  return trawlix::UserAgentByName(name);
}

std::optional<std::string> Settings::UserAgentName(std::string_view userAgent) const {
  return trawlix::UserAgentName(userAgent);
}

}  // namespace trawlix
