#include "operations/OptionsOperations.h"

#include <filesystem>

#include "imaging/codec/PhotoCodec.h"
#include "operations/OptionsSchema.h"

namespace trawlix {

namespace {

constexpr int kLogoBox = 256;
constexpr int kLogoQuality = 95;
constexpr int kLogoDpi = 96;

// The values the sheet neither shows nor edits are kept as the session holds them, so a
// stale copy cannot undo what the window stored while the sheet was open.
void KeepUnedited(SettingsValues& values, const SettingsValues& current) {
  values.version = current.version;
  values.fileName = current.fileName;
  values.panelColor = current.panelColor;
  values.reserved4 = current.reserved4;
  values.reserved10 = current.reserved10;
  values.reserved64 = current.reserved64;
  values.reserved26 = current.reserved26;
  values.reserved58 = current.reserved58;
  values.reserved59 = current.reserved59;
  values.exportOption67 = current.exportOption67;
  values.chooserIncludeSubFolders = current.chooserIncludeSubFolders;
  values.windowLeft = current.windowLeft;
  values.windowTop = current.windowTop;
  values.windowWidth = current.windowWidth;
  values.windowHeight = current.windowHeight;
  values.reserved92 = current.reserved92;
  values.PhotoTransformBehavior = current.PhotoTransformBehavior;
}

bool SaveLogo(const std::string& source, const std::string& logoPath) {
  const std::filesystem::path target(logoPath);
  const SavedPhoto saved =
      SavePhotoAs(source, target.parent_path().string(), target.filename().string(), kLogoBox,
                  PhotoEncoding(PhotoFormat::Jpeg, kLogoQuality, kLogoDpi));
  return saved.written;
}

}  // namespace

OptionsChange ApplyOptions(DataSession& session, const SettingsValues& edited,
                           const std::optional<std::string>& newLogoPath) {
  Settings& settings = session.settings();
  const SettingsValues before = settings.Values();

  SettingsValues values = edited;
  KeepUnedited(values, before);
  if (auto problem = CheckOptionValues(values, before)) {
    session.messages().Show(MessageRequest{*problem, kAppCaption, MessageIcon::Warning});
    OptionsChange refused;
    refused.failure = *problem;
    return refused;
  }
  values.clearedByOptions12 = 0;
  values.clearedByOptions27 = 0;
  values.clearedByOptions28 = 0;
  settings.Values() = values;

  OptionsChange change;
  change.thumbnailViewChanged = values.thumbnailView != before.thumbnailView;
  change.tooltipsChanged = values.showTooltips != before.showTooltips;
  change.autoFollowSwitchedOn = values.autoFollow && !before.autoFollow;
  change.panelColourChanged = values.panelColor != before.panelColor;

  std::string failure;
  if (newLogoPath && !newLogoPath->empty()) {
    change.logoSaved = SaveLogo(*newLogoPath, settings.Paths().defaultLogoPath);
    if (!change.logoSaved) {
      failure = "The logo picture \"" + *newLogoPath + "\" could not be saved as the default logo.";
    }
  }
  change.saved = settings.SaveSettings();
  if (!change.saved) {
    if (!failure.empty()) failure += "\n\n";
    failure += "The options could not be saved to \"" + settings.Paths().settingsPath + "\".";
  }
  if (!failure.empty()) {
    session.messages().Show(MessageRequest{failure, kAppCaption, MessageIcon::Warning});
    change.failure = failure;
  }
  return change;
}

}  // namespace trawlix
