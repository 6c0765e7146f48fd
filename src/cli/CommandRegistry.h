#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "cli/ArgParser.h"

namespace trawlix::cli {

class CliContext;

// kExitNothingFetched: a scan whose start page, or every page and photo, could not be
// downloaded.
enum ExitCode : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitNothingFetched = 3 };

inline constexpr std::size_t kAnyCount = std::numeric_limits<std::size_t>::max();

// One command of the tool: its words ("project add"), what it accepts and what it runs.
struct Command {
  std::string name;
  std::string arguments;  // usage after the name, e.g. "ID|TITLE [--json]"
  std::string summary;
  std::vector<OptionSpec> options;
  std::size_t minPositionals = 0;
  std::size_t maxPositionals = 0;
  std::function<int(CliContext&, const ParsedArgs&)> run;
};

// The "--json" flag every listing offers.
OptionSpec JsonOption();

class CommandRegistry {
 public:
  void Add(Command command);

  // The command named by the first one or two words of args (the longest match), or null.
  // wordsUsed receives how many words the name took.
  const Command* Match(const std::vector<std::string>& args, std::size_t& wordsUsed) const;

  // True when some command's name starts with this word ("project" for "project add").
  bool IsGroup(const std::string& word) const;

  void PrintUsage(std::ostream& out, const std::string& prefix = {}) const;
  static void PrintCommandUsage(std::ostream& out, const Command& command);

 private:
  std::vector<Command> commands_;
};

}  // namespace trawlix::cli
