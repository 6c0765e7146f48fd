#include "app/StartArguments.h"

namespace trawlix::app {

namespace {

const std::string kDataDirOption = "--data-dir";

}  // namespace

const std::string& StartArguments::FirstFile() const {
  static const std::string kNone;
  return files.empty() ? kNone : files.front();
}

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
  StartArguments result;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      result.files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--nosplash") {
      result.splash = false;
    } else if (arg == "--help" || arg == "-h") {
      result.help = true;
    } else if (arg == kDataDirOption) {
      if (i + 1 >= arguments.size()) {
        result.error = "option --data-dir needs a value";
        return result;
      }
      result.dataDir = arguments[++i];
    } else if (arg.starts_with(kDataDirOption + "=")) {
      result.dataDir = arg.substr(kDataDirOption.size() + 1);
    } else {
      result.error = "unknown option " + arg;
      return result;
    }
  }
  return result;
}

std::string StartUsage() {
  return "Usage: trawlix [--data-dir DIR] [--nosplash] [FILE.txexport]\n"
         "\n"
         "Starts the Trawlix() PRO desktop program. A running copy is brought to the front\n"
         "instead, and opens the import of an exported projects file when one is named.\n"
         "\n"
         "  --data-dir DIR  use DIR as the data folder instead of the documents folder's\n"
         "                  \"My Trawlix() PRO\"\n"
         "  --nosplash      start without the splash screen\n"
         "  --help          show this text\n"
         "\n"
         "Without a display, use the command line: trawlix-cli help\n";
}

}  // namespace trawlix::app
