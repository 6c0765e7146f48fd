#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsValues.h"

namespace trawlix {

// The options both front ends edit: the settings file's values by name, and the scan options
// kept in the user's profile. The options sheet takes its limits from here, the command line
// lists and checks through it, and ApplyOptions refuses what it does not allow.

inline constexpr const char* kInvalidSaveToMessage =
    "The default 'Save To' location is invalid.\n\nPlease choose again.";
inline constexpr const char* kNoCustomUserAgentMessage =
    "Please type in a custom USER-AGENT String.";

enum class OptionKind {
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

struct OptionRule {
  std::string_view name;
  OptionKind kind;
  std::int32_t SettingsValues::*number = nullptr;
  bool SettingsValues::*flag = nullptr;
  std::string SettingsValues::*text = nullptr;
  int low = 0;
  int high = 1;
  std::vector<int> choices = {};
  bool allowAll = false;
  int (*read)() = nullptr;                                              // Profile only
  void (*write)(int) = nullptr;                                         // Profile only
  std::string (*readText)() = nullptr;                                  // ProfileFile only
  void (*writeText)(const std::string&) = nullptr;                      // ProfileFile only
  std::optional<std::string> (*problem)(const std::string&) = nullptr;  // ProfileFile only
};

// Every option, in the options sheet's page order, then the profile's.
std::span<const OptionRule> OptionRules();

// The option of that name (ASCII case-insensitive), or nullptr.
const OptionRule* FindOption(std::string_view name);

// True for options held as numbers (flags, ranges, choices, profile values).
bool IsNumberOption(const OptionRule& rule);

// A number option's value; profile values come from the user's profile.
std::int64_t OptionNumber(const OptionRule& rule, const SettingsValues& values);
// Stores a number option's value that NumberProblem accepted (not for profile values).
void SetOptionNumber(const OptionRule& rule, SettingsValues& values, int value);

// Why a number does not fit the option, or nothing when it does; no number at all (text
// that is not one) never fits.
std::optional<std::string> NumberProblem(const OptionRule& rule, std::optional<int> value);

// One plain folder name: not empty, not only dots, without '/', '\' or control characters.
bool IsPlainFolderName(std::string_view name);

// The first changed value the rules refuse, with the reason: numbers out of range, folder
// names that are not one plain name, an empty custom user agent. Values left as they were
// stay, whatever an older file holds. Folders and categories are checked where they are
// chosen, since they may come and go on their own.
std::optional<std::string> CheckOptionValues(const SettingsValues& values,
                                             const SettingsValues& before);

}  // namespace trawlix
