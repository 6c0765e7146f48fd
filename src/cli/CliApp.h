#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace trawlix::cli {

class CommandRegistry;

// Runs one command line (without the program name); returns the process exit code.
int RunCli(const std::vector<std::string>& args);

// The same with the output streams given, so tests can run commands in-process.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Parses global options, finds the command in the registry and runs it.
int RunCommandLine(const CommandRegistry& registry, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);

}  // namespace trawlix::cli
