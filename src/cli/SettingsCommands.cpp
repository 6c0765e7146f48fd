// The options by name: listing and changing the settings file's values with the options
// sheet's checks, and the scan options kept in the user's profile.
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
#include "operations/OptionsSchema.h"

namespace trawlix::cli {

namespace {

// Profile values are stored after every settings value has passed.
struct ProfileChanges {
  std::map<const OptionRule*, int> numbers;
  std::map<const OptionRule*, std::string> texts;
};

std::string TextOf(const OptionRule& rule, const SettingsValues& values) {
  if (rule.kind == OptionKind::ProfileFile) return rule.readText();
  return IsNumberOption(rule) ? std::to_string(OptionNumber(rule, values)) : values.*rule.text;
}

// Stores one NAME=VALUE into `values` (or `profile`) after the sheet's checks; false after
// saying why not.
bool Assign(CliContext& context, const OptionRule& rule, const std::string& value,
            SettingsValues& values, ProfileChanges& profile) {
  if (rule.kind == OptionKind::ProfileFile) {
    std::string path = Trim(value);
    // Kept whole, so that a scan started from another folder finds it.
    std::error_code ignored;
    if (!path.empty()) path = std::filesystem::absolute(path, ignored).string();
    if (const auto problem = rule.problem(path)) {
      context.Fail(*problem);
      return false;
    }
    profile.texts[&rule] = path;
    return true;
  }
  if (IsNumberOption(rule)) {
    const std::optional<int> number = ParseNumber(Trim(value));
    if (const auto problem = NumberProblem(rule, number)) {
      context.Fail(*problem);
      return false;
    }
    if (rule.kind == OptionKind::Profile) {
      profile.numbers[&rule] = *number;
    } else {
      SetOptionNumber(rule, values, *number);
    }
    return true;
  }
  std::string& target = values.*rule.text;
  switch (rule.kind) {
    case OptionKind::SaveTo: {
      const std::string folder = Trim(value);
      std::error_code error;
      if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
        context.messages().Show({kInvalidSaveToMessage});
        return false;
      }
      target = folder;
      return true;
    }
    case OptionKind::FolderName:
      if (!IsPlainFolderName(Trim(value))) {
        context.Fail(std::string(rule.name) + " must be one folder name, without '/'");
        return false;
      }
      target = Trim(value);
      return true;
    case OptionKind::Category: {
      const std::string name = Trim(value);
      if (rule.allowAll && EqualsNoCase(name, "All")) {
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
    case OptionKind::UserAgent: {
      const std::string agent = Trim(value);
      if (agent.empty()) {
        context.messages().Show({kNoCustomUserAgentMessage});
        return false;
      }
      const auto builtIn = context.settings().UserAgentByName(agent);
      values.customUserAgent = !builtIn;
      target = builtIn.value_or(agent);
      return true;
    }
    default:
      target = value;
      return true;
  }
}

void PrintSettings(CliContext& context, const std::vector<const OptionRule*>& shown, bool json) {
  const SettingsValues& values = context.settings().Values();
  if (json) {
    JsonObject object;
    for (const OptionRule* rule : shown) {
      const std::string name(rule->name);
      if (IsNumberOption(*rule)) {
        object.emplace_back(name, OptionNumber(*rule, values));
      } else {
        object.emplace_back(name, TextOf(*rule, values));
      }
    }
    WriteJsonObject(context.out(), object);
    return;
  }
  TextTable table({{"Name"}, {"Value"}});
  for (const OptionRule* rule : shown) {
    table.AddRow({std::string(rule->name), TextOf(*rule, values)});
  }
  table.Print(context.out());
}

int RunSettings(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  SettingsValues edited = context.settings().Values();
  ProfileChanges profile;
  std::vector<const OptionRule*> shown;
  bool changing = false;
  // Every change is checked before any is stored: a refused value changes nothing.
  for (const std::string& arg : args.positionals) {
    const std::size_t equals = arg.find('=');
    const std::string name = Trim(arg.substr(0, equals));
    const OptionRule* rule = FindOption(name);
    if (rule == nullptr) {
      context.Fail("unknown setting " + Quoted(name) + " (trawlix-cli settings lists them)");
      return kExitUsage;
    }
    if (equals != std::string::npos) {
      changing = true;
      if (!Assign(context, *rule, arg.substr(equals + 1), edited, profile)) return kExitFailure;
    }
    shown.push_back(rule);
  }
  if (changing) {
    const OptionsChange change = ApplyOptions(context.session(), edited, std::nullopt);
    if (!change.saved) {
      return context.Fail(change.failure.empty() ? "the settings file could not be written"
                                                 : change.failure);
    }
    for (const auto& [rule, value] : profile.numbers) rule->write(value);
    for (const auto& [rule, path] : profile.texts) rule->writeText(path);
  }
  if (args.positionals.empty()) {
    for (const OptionRule& rule : OptionRules()) shown.push_back(&rule);
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
