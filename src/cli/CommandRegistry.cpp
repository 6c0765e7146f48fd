#include "cli/CommandRegistry.h"

#include <algorithm>
#include <stdexcept>

namespace trawlix::cli {

namespace {

std::size_t WordCount(const std::string& name) {
  return static_cast<std::size_t>(std::count(name.begin(), name.end(), ' ')) + 1;
}

std::string JoinWords(const std::vector<std::string>& args, std::size_t count) {
  std::string joined;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) joined += ' ';
    joined += args[i];
  }
  return joined;
}

}  // namespace

OptionSpec JsonOption() {
  return OptionSpec{"--json", false, {}};
}

void CommandRegistry::Add(Command command) {
  const bool taken = std::any_of(commands_.begin(), commands_.end(),
                                 [&](const Command& c) { return c.name == command.name; });
  if (taken) throw std::logic_error("command registered twice: " + command.name);
  commands_.push_back(std::move(command));
}

const Command* CommandRegistry::Match(const std::vector<std::string>& args,
                                      std::size_t& wordsUsed) const {
  const Command* best = nullptr;
  for (const auto& command : commands_) {
    const std::size_t words = WordCount(command.name);
    if (words > args.size() || JoinWords(args, words) != command.name) continue;
    if (best == nullptr || words > wordsUsed) {
      best = &command;
      wordsUsed = words;
    }
  }
  return best;
}

bool CommandRegistry::IsGroup(const std::string& word) const {
  return std::any_of(commands_.begin(), commands_.end(),
                     [&](const Command& c) { return c.name.starts_with(word + " "); });
}

void CommandRegistry::PrintUsage(std::ostream& out, const std::string& prefix) const {
  out << "usage: trawlix-cli [--data-dir DIR] COMMAND [ARGS...]\n\ncommands:\n";
  for (const auto& command : commands_) {
    if (!prefix.empty() && !command.name.starts_with(prefix)) continue;
    out << "  " << command.name;
    if (!command.arguments.empty()) out << ' ' << command.arguments;
    out << "\n      " << command.summary << '\n';
  }
  out << "\nglobal options:\n"
         "  --data-dir DIR  use DIR as the data folder (default: the documents folder's\n"
         "                  \"My Trawlix() PRO\")\n"
         "  --help          show this help, or a command's help after its name\n";
}

void CommandRegistry::PrintCommandUsage(std::ostream& out, const Command& command) {
  out << "usage: trawlix-cli [--data-dir DIR] " << command.name;
  if (!command.arguments.empty()) out << ' ' << command.arguments;
  out << "\n\n" << command.summary << '\n';
}

}  // namespace trawlix::cli
