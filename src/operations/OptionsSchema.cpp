#include "operations/OptionsSchema.h"

#include <algorithm>
#include <utility>

#include "base/Text.h"
#include "operations/ScanPreferences.h"
#include "settings/ScanPriorityLevels.h"

namespace trawlix {

namespace {

constexpr int kMaxSide = 100000;
constexpr int kFormats = 4;       // JPEG, BMP, PNG, TIFF, GIF
constexpr int kOrientations = 2;  // any, landscape, portrait

OptionRule Flag(std::string_view name, bool SettingsValues::*member) {
  return {name, OptionKind::Flag, nullptr, member};
}
OptionRule Range(std::string_view name, std::int32_t SettingsValues::*member, int low, int high) {
  return {name, OptionKind::Range, member, nullptr, nullptr, low, high};
}
OptionRule Words(std::string_view name, std::string SettingsValues::*member,
                 OptionKind kind = OptionKind::Text) {
  return {name, kind, nullptr, nullptr, member};
}

OptionRule Choice(std::string_view name, std::int32_t SettingsValues::*member,
                  std::vector<int> choices) {
  return {name, OptionKind::Choice, member, nullptr, nullptr, 0, 0, std::move(choices)};
}

OptionRule AnyCategory(std::string_view name, std::string SettingsValues::*member) {
  return {name, OptionKind::Category, nullptr, nullptr, member, 0, 1, {}, true};
}

OptionRule ProfileNumber(std::string_view name, int low, int high, int (*read)(),
                         void (*write)(int)) {
  return {name, OptionKind::Profile, nullptr, nullptr, nullptr, low, high, {}, false, read, write};
}

OptionRule ProfilePath(std::string_view name, std::string (*read)(),
                       void (*write)(const std::string&),
                       std::optional<std::string> (*problem)(const std::string&)) {
  return {name,    OptionKind::ProfileFile,
          nullptr, nullptr,
          nullptr, 0,
          0,       {},
          false,   nullptr,
          nullptr, read,
          write,   problem};
}

std::vector<int> PriorityChoices() {
  std::vector<int> values;
  for (const auto& level : ScanPriorityLevels()) values.push_back(level.value);
  return values;
}

const std::vector<OptionRule>& Rules() {
  static const std::vector<OptionRule> rules = {
      // General
      Words("defaultSaveTo", &SettingsValues::defaultSaveTo, OptionKind::SaveTo),
      Flag("useProjectNameForSaveTo", &SettingsValues::useProjectNameForSaveTo),
      Flag("autoCreateFolders", &SettingsValues::autoCreateFolders),
      Range("thumbnailView", &SettingsValues::thumbnailView, 0, 11),
      Range("viewerDoubleClick", &SettingsValues::viewerDoubleClick, 0, 3),
      Flag("showTooltips", &SettingsValues::showTooltips),
      Flag("viewerDropShadow", &SettingsValues::viewerDropShadow),
      Flag("reloadViewerAfterChanges", &SettingsValues::reloadViewerAfterChanges),
      Flag("autoFollow", &SettingsValues::autoFollow),
      AnyCategory("startupCategory", &SettingsValues::startupCategory),
      Flag("rememberLastProject", &SettingsValues::rememberLastProject),
      Flag("pasteAndGo", &SettingsValues::pasteAndGo),
      Flag("confirmDeleteProjects", &SettingsValues::confirmDeleteProjects),
      Flag("confirmDeletePhotos", &SettingsValues::confirmDeletePhotos),
      Flag("confirmDeleteHistory", &SettingsValues::confirmDeleteHistory),
      Flag("confirmDeleteProjectLinks", &SettingsValues::confirmDeleteProjectLinks),
      Flag("confirmExitWhileScanning", &SettingsValues::confirmExitWhileScanning),
      Flag("displayScanResults", &SettingsValues::displayScanResults),
      Flag("restoreWindowAfterScan", &SettingsValues::restoreWindowAfterScan),
      // Scanning
      Words("userAgent", &SettingsValues::userAgent, OptionKind::UserAgent),
      Range("connectionTimeout", &SettingsValues::connectionTimeout, 1, 300),
      Flag("noCachePhotos", &SettingsValues::noCachePhotos),
      Choice("scanPriority", &SettingsValues::scanPriority, PriorityChoices()),
      Words("filesToIgnore", &SettingsValues::filesToIgnore),
      Flag("twoPassScanning", &SettingsValues::twoPassScanning),
      Flag("historyOnlySuccessfulScans", &SettingsValues::historyOnlySuccessfulScans),
      Range("jpegQuality", &SettingsValues::jpegQuality, 1, 100),
      Flag("setPhotoDpi", &SettingsValues::setPhotoDpi),
      Range("photoDpi", &SettingsValues::photoDpi, 1, 2400),
      Flag("deleteDerivedOnRescan", &SettingsValues::deleteDerivedOnRescan),
      Range("duplicateNameAction", &SettingsValues::duplicateNameAction, 0, 3),
      // New projects
      Words("newProjectCategory", &SettingsValues::newProjectCategory, OptionKind::Category),
      Flag("newJPEG", &SettingsValues::newJPEG),
      Flag("newPNG", &SettingsValues::newPNG),
      Flag("newGIF", &SettingsValues::newGIF),
      Flag("newBMP", &SettingsValues::newBMP),
      Flag("newTIF", &SettingsValues::newTIF),
      Flag("newCreateFolders", &SettingsValues::newCreateFolders),
      Flag("newSearchSubFolders", &SettingsValues::newSearchSubFolders),
      Flag("newFilterMinimumSize", &SettingsValues::newFilterMinimumSize),
      Range("newMinimumSize", &SettingsValues::newMinimumSize, 0, kMaxSide),
      Range("newOrientation", &SettingsValues::newOrientation, 0, kOrientations),
      Flag("newAutoRename", &SettingsValues::newAutoRename),
      Flag("newIncludePhotoSize", &SettingsValues::newIncludePhotoSize),
      Flag("newPadNumbers", &SettingsValues::newPadNumbers),
      Range("newPadding", &SettingsValues::newPadding, 1, 10),
      Flag("newAutoResize", &SettingsValues::newAutoResize),
      Range("newResizeBoundingBox", &SettingsValues::newResizeBoundingBox, 1, kMaxSide),
      Flag("newAutoConvert", &SettingsValues::newAutoConvert),
      Range("newConvertToFormat", &SettingsValues::newConvertToFormat, 0, kFormats),
      Flag("newAutoCreateThumbnails", &SettingsValues::newAutoCreateThumbnails),
      Range("newThumbnailBoundingBox", &SettingsValues::newThumbnailBoundingBox, 1, kMaxSide),
      Range("newThumbnailFormat", &SettingsValues::newThumbnailFormat, 0, kFormats),
      Range("newThumbnailOrientation", &SettingsValues::newThumbnailOrientation, 0, kOrientations),
      Range("newThumbnailsSaveToLocation", &SettingsValues::newThumbnailsSaveToLocation, 0, 1),
      Words("thumbnailsFolderName", &SettingsValues::thumbnailsFolderName, OptionKind::FolderName),
      Words("newThumbnailsExternalSaveTo", &SettingsValues::newThumbnailsExternalSaveTo),
      Flag("newThumbnailsExternalIncludeTitle", &SettingsValues::newThumbnailsExternalIncludeTitle),
      Flag("newAutoCreateMobile", &SettingsValues::newAutoCreateMobile),
      Range("newMobileBoundingBox", &SettingsValues::newMobileBoundingBox, 1, kMaxSide),
      Range("newMobileFormat", &SettingsValues::newMobileFormat, 0, kFormats),
      Range("newMobileOrientation", &SettingsValues::newMobileOrientation, 0, kOrientations),
      Range("newMobileSaveToLocation", &SettingsValues::newMobileSaveToLocation, 0, 1),
      Words("mobileFolderName", &SettingsValues::mobileFolderName, OptionKind::FolderName),
      Words("newMobileExternalSaveTo", &SettingsValues::newMobileExternalSaveTo),
      Flag("newMobileExternalIncludeTitle", &SettingsValues::newMobileExternalIncludeTitle),
      // Exchange
      Flag("exportIncludeInfo", &SettingsValues::exportIncludeInfo),
      Words("exporterName", &SettingsValues::exporterName),
      Words("exporterEmail", &SettingsValues::exporterEmail),
      Words("exporterWebsite", &SettingsValues::exporterWebsite),
      Flag("exportUseLogo", &SettingsValues::exportUseLogo),
      Words("importCategory", &SettingsValues::importCategory, OptionKind::Category),
      Flag("importUseProjectCategory", &SettingsValues::importUseProjectCategory),
      Choice("importDuplicateAction", &SettingsValues::importDuplicateAction, {2, 3}),
      // The user's profile
      ProfileNumber(
          "connectionsPerHost", 1, kMostConnectionsPerHost, [] { return ConnectionsPerHost(); },
          [](int n) { SetConnectionsPerHost(n); }),
      ProfileNumber(
          "keepScansOffLocalNetwork", 0, 1, [] { return KeepScansOffLocalNetwork() ? 1 : 0; },
          [](int n) { SetKeepScansOffLocalNetwork(n != 0); }),
      ProfileNumber(
          "allowHttpsToHttp", 0, 1, [] { return AllowHttpsToHttp() ? 1 : 0; },
          [](int n) { SetAllowHttpsToHttp(n != 0); }),
      ProfileNumber(
          "honourRobots", 0, 1, [] { return HonourRobots() ? 1 : 0; },
          [](int n) { SetHonourRobots(n != 0); }),
      ProfileNumber(
          "skipRememberedPhotos", 0, 1, [] { return SkipRememberedPhotos() ? 1 : 0; },
          [](int n) { SetSkipRememberedPhotos(n != 0); }),
      ProfileNumber(
          "hostPauseMs", 0, kLongestHostPauseMs, [] { return HostPauseMs(); },
          [](int n) { SetHostPauseMs(n); }),
      ProfilePath(
          "cookiesFile", [] { return CookiesFile(); },
          [](const std::string& path) { SetCookiesFile(path); }, &CookiesFileProblem),
  };
  return rules;
}

std::string ChoiceList(const std::vector<int>& choices) {
  std::string list;
  for (const int choice : choices) list += (list.empty() ? "" : ", ") + std::to_string(choice);
  return list;
}

}  // namespace

std::span<const OptionRule> OptionRules() {
  return Rules();
}

const OptionRule* FindOption(std::string_view name) {
  for (const OptionRule& rule : Rules()) {
    if (EqualsNoCase(rule.name, name)) return &rule;
  }
  return nullptr;
}

bool IsNumberOption(const OptionRule& rule) {
  return rule.number != nullptr || rule.flag != nullptr || rule.kind == OptionKind::Profile;
}

std::int64_t OptionNumber(const OptionRule& rule, const SettingsValues& values) {
  if (rule.kind == OptionKind::Profile) return rule.read();
  if (rule.flag != nullptr) return values.*rule.flag ? 1 : 0;
  return values.*rule.number;
}

void SetOptionNumber(const OptionRule& rule, SettingsValues& values, int value) {
  if (rule.flag != nullptr) values.*rule.flag = value == 1;
  if (rule.number != nullptr) values.*rule.number = value;
}

std::optional<std::string> NumberProblem(const OptionRule& rule, std::optional<int> value) {
  const std::string name(rule.name);
  if (rule.kind == OptionKind::Choice) {
    if (value &&
        std::find(rule.choices.begin(), rule.choices.end(), *value) != rule.choices.end()) {
      return std::nullopt;
    }
    return name + " takes one of " + ChoiceList(rule.choices);
  }
  if (value && *value >= rule.low && *value <= rule.high) return std::nullopt;
  if (rule.low == 0 && rule.high == 1) return name + " takes 0 or 1";
  return name + " takes a number from " + std::to_string(rule.low) + " to " +
         std::to_string(rule.high);
}

bool IsPlainFolderName(std::string_view name) {
  if (name.empty() || name.find_first_not_of('.') == std::string_view::npos) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
  });
}

std::optional<std::string> CheckOptionValues(const SettingsValues& values,
                                             const SettingsValues& before) {
  for (const OptionRule& rule : Rules()) {
    if (rule.kind == OptionKind::Profile || rule.kind == OptionKind::ProfileFile) continue;
    if (IsNumberOption(rule)) {
      const std::int64_t number = OptionNumber(rule, values);
      if (number == OptionNumber(rule, before)) continue;
      if (auto problem = NumberProblem(rule, static_cast<int>(number))) return problem;
    } else if (rule.kind == OptionKind::FolderName && values.*rule.text != before.*rule.text &&
               !IsPlainFolderName(values.*rule.text)) {
      return std::string(rule.name) + " must be one folder name, without '/'";
    }
  }
  if (values.customUserAgent && Trim(values.userAgent).empty()) return kNoCustomUserAgentMessage;
  return std::nullopt;
}

}  // namespace trawlix
