#include "cli/CliApp.h"

#include <exception>
#include <iostream>
#include <optional>

#include "cli/CliContext.h"
#include "cli/Commands.h"

namespace trawlix::cli {

// One line per command group.
void RegisterAllCommands(CommandRegistry& registry) {
  RegisterListCommands(registry);
  RegisterProjectCommands(registry);
  RegisterCategoryCommands(registry);
  RegisterExchangeCommands(registry);
  RegisterScanCommands(registry);
  RegisterSettingsCommands(registry);
  RegisterToolCommands(registry);
}

namespace {

const std::string kDataDirOption = "--data-dir";

// Reads the global options in front of the command; returns the index of the command word,
// or nothing after printing a usage error.
std::optional<std::size_t> ReadGlobalOptions(const std::vector<std::string>& args,
                                             CliContext& context, bool& helpWanted) {
  std::size_t i = 0;
  for (; i < args.size() && args[i].starts_with("-"); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      helpWanted = true;
    } else if (arg == kDataDirOption && i + 1 < args.size()) {
      context.SetDataDir(args[++i]);
    } else if (arg.starts_with(kDataDirOption + "=")) {
      context.SetDataDir(arg.substr(kDataDirOption.size() + 1));
    } else if (arg == kDataDirOption) {
      context.Fail("option --data-dir needs a value");
      return std::nullopt;
    } else {
      context.Fail("unknown option " + arg);
      return std::nullopt;
    }
  }
  return i;
}

int RunCommand(const Command& command, const std::vector<std::string>& words, CliContext& context) {
  std::vector<OptionSpec> specs = command.options;
  specs.push_back({kDataDirOption, true, "DIR"});
  specs.push_back({"--help", false, {}});
  std::string error;
  const auto parsed = ParseArgs(words, specs, error);
  if (!parsed) {
    context.Fail(command.name + ": " + error + " (see: trawlix-cli " + command.name + " --help)");
    return kExitUsage;
  }
  if (parsed->Has("--help")) {
    CommandRegistry::PrintCommandUsage(context.out(), command);
    return kExitOk;
  }
  if (const auto dir = parsed->Value(kDataDirOption)) context.SetDataDir(*dir);
  const std::size_t count = parsed->positionals.size();
  if (count < command.minPositionals || count > command.maxPositionals) {
    context.Fail(command.name + ": " + (count < command.minPositionals ? "missing" : "too many") +
                 " arguments (usage: trawlix-cli " + command.name + ' ' + command.arguments + ')');
    return kExitUsage;
  }
  try {
    return command.run(context, *parsed);
  } catch (const std::exception& e) {
    return context.Fail(command.name + ": " + e.what());
  }
}

}  // namespace

int RunCli(const std::vector<std::string>& args) {
  return RunCli(args, std::cout, std::cerr);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CommandRegistry registry;
  RegisterAllCommands(registry);
  return RunCommandLine(registry, args, out, err);
}

int RunCommandLine(const CommandRegistry& registry, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
  CliContext context(out, err);
  bool helpWanted = false;
  const auto first = ReadGlobalOptions(args, context, helpWanted);
  if (!first) return kExitUsage;
  if (helpWanted) {
    registry.PrintUsage(out);
    return kExitOk;
  }
  if (*first == args.size()) {
    registry.PrintUsage(err);
    return kExitUsage;
  }
  const std::vector<std::string> words(args.begin() + static_cast<std::ptrdiff_t>(*first),
                                       args.end());
  if (words[0] == "help") {
    registry.PrintUsage(out, words.size() > 1 ? words[1] : std::string());
    return kExitOk;
  }
  std::size_t wordsUsed = 0;
  const Command* command = registry.Match(words, wordsUsed);
  if (command == nullptr && words.size() > 1 && registry.IsGroup(words[0]) &&
      (words[1] == "--help" || words[1] == "-h")) {
    registry.PrintUsage(out, words[0] + " ");
    return kExitOk;
  }
  if (command == nullptr) {
    const bool group = registry.IsGroup(words[0]);
    context.Fail(group ? words[0] + ": unknown or missing subcommand"
                       : "unknown command '" + words[0] + "'");
    registry.PrintUsage(err, group ? words[0] + " " : std::string());
    return kExitUsage;
  }
  return RunCommand(
      *command,
      std::vector<std::string>(words.begin() + static_cast<std::ptrdiff_t>(wordsUsed), words.end()),
      context);
}

}  // namespace trawlix::cli
