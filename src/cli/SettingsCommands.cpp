// The options by name: listing and changing the settings file's values with the options
// sheet's checks, and the scan options kept in the user's profile.
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>

#include "base/Text.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/Lookup.h"
#include "cli/TextTable.h"
#include "operations/OptionsOperations.h"
#include "operations/ScanPreferences.h"
#include "settings/ScanPriorityLevels.h"

namespace trawlix::cli {

namespace {

using NumberMember = std::int32_t SettingsValues::*;
using TextMember = std::string SettingsValues::*;

enum class Kind {
  Flag,         // 0 or 1
  Range,        // low to high
  Choice,       // one of `choices`
  Text,         // any text
  FolderName,   // one plain folder name below the project's folder
  SaveTo,       // an existing folder
  Category,     // an existing category ("All" too when allowAll)
  UserAgent,    // a built-in agent's name, or a custom string
  Profile,      // kept in the user's profile, a number from low to high
  ProfileFile,  // kept in the user's profile, a file path or nothing
};

struct Setting {
  const char* name;
  Kind kind;
  NumberMember number = nullptr;
  TextMember text = nullptr;
  int low = 0;
  int high = 1;
  std::vector<int> choices = {};
  bool allowAll = false;
  int (*read)() = nullptr;
  void (*write)(int) = nullptr;
  std::string (*readText)() = nullptr;
  void (*writeText)(const std::string&) = nullptr;
  std::optional<std::string> (*problem)(const std::string&) = nullptr;
};

constexpr int kMaxSide = 100000;
constexpr int kFormats = 4;       // JPEG, BMP, PNG, TIFF, GIF
constexpr int kOrientations = 2;  // any, landscape, portrait

Setting Flag(const char* name, NumberMember member) {
  return {name, Kind::Flag, member};
}
Setting Range(const char* name, NumberMember member, int low, int high) {
  return {name, Kind::Range, member, nullptr, low, high};
}
Setting Words(const char* name, TextMember member, Kind kind = Kind::Text) {
  return {name, kind, nullptr, member};
}

std::vector<int> PriorityChoices() {
  std::vector<int> values;
  for (const auto& level : ScanPriorityLevels()) values.push_back(level.value);
  return values;
}

// The values the options sheet edits, grouped by its pages, then the profile's.
const std::vector<Setting>& Settings() {
  static const std::vector<Setting> settings = {
      // General
      Words("defaultSaveTo", &SettingsValues::defaultSaveTo, Kind::SaveTo),
      Flag("useProjectNameForSaveTo", &SettingsValues::useProjectNameForSaveTo),
      Flag("autoCreateFolders", &SettingsValues::autoCreateFolders),
      Range("thumbnailView", &SettingsValues::thumbnailView, 0, 11),
      Range("viewerDoubleClick", &SettingsValues::viewerDoubleClick, 0, 3),
      Flag("showTooltips", &SettingsValues::showTooltips),
      Flag("viewerDropShadow", &SettingsValues::viewerDropShadow),
      Flag("reloadViewerAfterChanges", &SettingsValues::reloadViewerAfterChanges),
      Flag("autoFollow", &SettingsValues::autoFollow),
      {"startupCategory",
       Kind::Category,
       nullptr,
       &SettingsValues::startupCategory,
       0,
       1,
       {},
       true},
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
      Words("userAgent", &SettingsValues::userAgent, Kind::UserAgent),
      Range("connectionTimeout", &SettingsValues::connectionTimeout, 1, 300),
      Flag("noCachePhotos", &SettingsValues::noCachePhotos),
      {"scanPriority", Kind::Choice, &SettingsValues::scanPriority, nullptr, 0, 0,
       PriorityChoices()},
      Words("filesToIgnore", &SettingsValues::filesToIgnore),
      Flag("twoPassScanning", &SettingsValues::twoPassScanning),
      Flag("historyOnlySuccessfulScans", &SettingsValues::historyOnlySuccessfulScans),
      Range("jpegQuality", &SettingsValues::jpegQuality, 1, 100),
      Flag("setPhotoDpi", &SettingsValues::setPhotoDpi),
      Range("photoDpi", &SettingsValues::photoDpi, 1, 2400),
      Flag("deleteDerivedOnRescan", &SettingsValues::deleteDerivedOnRescan),
      Range("duplicateNameAction", &SettingsValues::duplicateNameAction, 0, 3),
      // New projects
      Words("newProjectCategory", &SettingsValues::newProjectCategory, Kind::Category),
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
      Flag("newThumbnailsSaveToLocation", &SettingsValues::newThumbnailsSaveToLocation),
      Words("thumbnailsFolderName", &SettingsValues::thumbnailsFolderName, Kind::FolderName),
      Words("newThumbnailsExternalSaveTo", &SettingsValues::newThumbnailsExternalSaveTo),
      Flag("newThumbnailsExternalIncludeTitle", &SettingsValues::newThumbnailsExternalIncludeTitle),
      Flag("newAutoCreateMobile", &SettingsValues::newAutoCreateMobile),
      Range("newMobileBoundingBox", &SettingsValues::newMobileBoundingBox, 1, kMaxSide),
      Range("newMobileFormat", &SettingsValues::newMobileFormat, 0, kFormats),
      Range("newMobileOrientation", &SettingsValues::newMobileOrientation, 0, kOrientations),
      Flag("newMobileSaveToLocation", &SettingsValues::newMobileSaveToLocation),
      Words("mobileFolderName", &SettingsValues::mobileFolderName, Kind::FolderName),
      Words("newMobileExternalSaveTo", &SettingsValues::newMobileExternalSaveTo),
      Flag("newMobileExternalIncludeTitle", &SettingsValues::newMobileExternalIncludeTitle),
      // Exchange
      Flag("exportIncludeInfo", &SettingsValues::exportIncludeInfo),
      Words("exporterName", &SettingsValues::exporterName),
      Words("exporterEmail", &SettingsValues::exporterEmail),
      Words("exporterWebsite", &SettingsValues::exporterWebsite),
      Flag("exportUseLogo", &SettingsValues::exportUseLogo),
      Words("importCategory", &SettingsValues::importCategory, Kind::Category),
      Flag("importUseProjectCategory", &SettingsValues::importUseProjectCategory),
      {"importDuplicateAction",
       Kind::Choice,
       &SettingsValues::importDuplicateAction,
       nullptr,
       0,
       0,
       {2, 3}},
      // The user's profile
      {"connectionsPerHost",
       Kind::Profile,
       nullptr,
       nullptr,
       1,
       kMostConnectionsPerHost,
       {},
       false,
       [] { return ConnectionsPerHost(); },
       [](int n) { SetConnectionsPerHost(n); }},
      {"keepScansOffLocalNetwork",
       Kind::Profile,
       nullptr,
       nullptr,
       0,
       1,
       {},
       false,
       [] { return KeepScansOffLocalNetwork() ? 1 : 0; },
       [](int n) { SetKeepScansOffLocalNetwork(n != 0); }},
      {"allowHttpsToHttp",
       Kind::Profile,
       nullptr,
       nullptr,
       0,
       1,
       {},
       false,
       [] { return AllowHttpsToHttp() ? 1 : 0; },
       [](int n) { SetAllowHttpsToHttp(n != 0); }},
      {"honourRobots",
       Kind::Profile,
       nullptr,
       nullptr,
       0,
       1,
       {},
       false,
       [] { return HonourRobots() ? 1 : 0; },
       [](int n) { SetHonourRobots(n != 0); }},
      {"skipRememberedPhotos",
       Kind::Profile,
       nullptr,
       nullptr,
       0,
       1,
       {},
       false,
       [] { return SkipRememberedPhotos() ? 1 : 0; },
       [](int n) { SetSkipRememberedPhotos(n != 0); }},
      {"hostPauseMs",
       Kind::Profile,
       nullptr,
       nullptr,
       0,
       kLongestHostPauseMs,
       {},
       false,
       [] { return HostPauseMs(); },
       [](int n) { SetHostPauseMs(n); }},
      {"cookiesFile",
       Kind::ProfileFile,
       nullptr,
       nullptr,
       0,
       0,
       {},
       false,
       nullptr,
       nullptr,
       [] { return CookiesFile(); },
       [](const std::string& path) { SetCookiesFile(path); },
       &CookiesFileProblem},
  };
  return settings;
}

const Setting* FindSetting(const std::string& name) {
  for (const Setting& setting : Settings()) {
    if (EqualsNoCase(setting.name, name)) return &setting;
  }
  return nullptr;
}

bool IsNumber(const Setting& setting) {
  return setting.number != nullptr || setting.kind == Kind::Profile;
}

std::int64_t NumberOf(const Setting& setting, const SettingsValues& values) {
  return setting.kind == Kind::Profile ? setting.read() : values.*setting.number;
}

std::string TextOf(const Setting& setting, const SettingsValues& values) {
  if (setting.kind == Kind::ProfileFile) return setting.readText();
  return IsNumber(setting) ? std::to_string(NumberOf(setting, values)) : values.*setting.text;
}

std::optional<int> ParseNumber(const std::string& text) {
  const std::string trimmed = Trim(text);
  int value = 0;
  const char* end = trimmed.data() + trimmed.size();
  const auto [stop, error] = std::from_chars(trimmed.data(), end, value);
  if (trimmed.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string ChoiceList(const std::vector<int>& choices) {
  std::string list;
  for (const int choice : choices) list += (list.empty() ? "" : ", ") + std::to_string(choice);
  return list;
}

// Why a number does not fit the setting, or nothing when it does.
std::optional<std::string> NumberProblem(const Setting& setting, std::optional<int> value) {
  const std::string name = setting.name;
  if (setting.kind == Kind::Choice) {
    if (value && std::find(setting.choices.begin(), setting.choices.end(), *value) !=
                     setting.choices.end()) {
      return std::nullopt;
    }
    return name + " takes one of " + ChoiceList(setting.choices);
  }
  if (value && *value >= setting.low && *value <= setting.high) return std::nullopt;
  if (setting.low == 0 && setting.high == 1) return name + " takes 0 or 1";
  return name + " takes a number from " + std::to_string(setting.low) + " to " +
         std::to_string(setting.high);
}

bool IsPlainFolderName(const std::string& name) {
  if (name.empty() || name.find_first_not_of('.') == std::string::npos) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
  });
}

// The values kept in the user's profile, stored once every change has passed its checks.
struct ProfileChanges {
  std::map<const Setting*, int> numbers;
  std::map<const Setting*, std::string> texts;
};

// Stores one NAME=VALUE into `values` (or `profile`) after the sheet's checks; false after
// saying why not.
bool Assign(CliContext& context, const Setting& setting, const std::string& value,
            SettingsValues& values, ProfileChanges& profile) {
  if (setting.kind == Kind::ProfileFile) {
    std::string path = Trim(value);
    // Kept whole, so that a scan started from another folder finds it.
    std::error_code ignored;
    if (!path.empty()) path = std::filesystem::absolute(path, ignored).string();
    if (const auto problem = setting.problem(path)) {
      context.Fail(*problem);
      return false;
    }
    profile.texts[&setting] = path;
    return true;
  }
  if (IsNumber(setting)) {
    const std::optional<int> number = ParseNumber(value);
    if (const auto problem = NumberProblem(setting, number)) {
      context.Fail(*problem);
      return false;
    }
    if (setting.kind == Kind::Profile) {
      profile.numbers[&setting] = *number;
    } else {
      values.*setting.number = *number;
    }
    return true;
  }
  std::string& target = values.*setting.text;
  switch (setting.kind) {
    case Kind::SaveTo: {
      const std::string folder = Trim(value);
      std::error_code error;
      if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
        context.messages().Show(
            {"The default 'Save To' location is invalid.\n\nPlease choose again."});
        return false;
      }
      target = folder;
      return true;
    }
    case Kind::FolderName:
      if (!IsPlainFolderName(Trim(value))) {
        context.Fail(std::string(setting.name) + " must be one folder name, without '/'");
        return false;
      }
      target = Trim(value);
      return true;
    case Kind::Category: {
      const std::string name = Trim(value);
      if (setting.allowAll && EqualsNoCase(name, "All")) {
        target = "All";
        return true;
      }
      const auto categories = AllCategories(context);
      if (!categories) return false;
      for (const auto& category : *categories) {
        if (EqualsNoCase(category.name, name)) {
          target = category.name;
          return true;
        }
      }
      context.Fail("there is no category " + Quoted(name));
      return false;
    }
    case Kind::UserAgent: {
      const std::string agent = Trim(value);
      if (agent.empty()) {
        context.messages().Show({"Please type in a custom USER-AGENT String."});
        return false;
      }
      const auto builtIn = context.settings().UserAgentByName(agent);
      values.customUserAgent = builtIn ? 0 : 1;
      target = builtIn.value_or(agent);
      return true;
    }
    default:
      target = value;
      return true;
  }
}

void PrintSettings(CliContext& context, const std::vector<const Setting*>& shown, bool json) {
  const SettingsValues& values = context.settings().Values();
  if (json) {
    JsonObject object;
    for (const Setting* setting : shown) {
      if (IsNumber(*setting)) {
        object.emplace_back(setting->name, NumberOf(*setting, values));
      } else {
        object.emplace_back(setting->name, TextOf(*setting, values));
      }
    }
    WriteJsonObject(context.out(), object);
    return;
  }
  TextTable table({{"Name"}, {"Value"}});
  for (const Setting* setting : shown) table.AddRow({setting->name, TextOf(*setting, values)});
  table.Print(context.out());
}

int RunSettings(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  SettingsValues edited = context.settings().Values();
  ProfileChanges profile;
  std::vector<const Setting*> shown;
  bool changing = false;
  // Every change is checked before any is stored: a refused value changes nothing.
  for (const std::string& arg : args.positionals) {
    const std::size_t equals = arg.find('=');
    const std::string name = Trim(arg.substr(0, equals));
    const Setting* setting = FindSetting(name);
    if (setting == nullptr) {
      context.Fail("unknown setting " + Quoted(name) + " (trawlix-cli settings lists them)");
      return kExitUsage;
    }
    if (equals != std::string::npos) {
      changing = true;
      if (!Assign(context, *setting, arg.substr(equals + 1), edited, profile)) return kExitFailure;
    }
    shown.push_back(setting);
  }
  if (changing) {
    const OptionsChange change = ApplyOptions(context.session(), edited, std::nullopt);
    if (!change.saved) {
      return context.Fail(change.failure.empty() ? "the settings file could not be written"
                                                 : change.failure);
    }
    for (const auto& [setting, value] : profile.numbers) setting->write(value);
    for (const auto& [setting, path] : profile.texts) setting->writeText(path);
  }
  if (args.positionals.empty()) {
    for (const Setting& setting : Settings()) shown.push_back(&setting);
  }
  PrintSettings(context, shown, args.Has("--json"));
  return kExitOk;
}

}  // namespace

void RegisterSettingsCommands(CommandRegistry& registry) {
  registry.Add({"settings",
                "[NAME[=VALUE] ...] [--json]",
                "List the options, show some by name, or change them with NAME=VALUE.",
                {JsonOption()},
                0,
                kAnyCount,
                RunSettings});
}

}  // namespace trawlix::cli
