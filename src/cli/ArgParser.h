#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace trawlix::cli {

// One option a command accepts: "--json" (a flag) or "--title" (takes a value).
struct OptionSpec {
  std::string name;
  bool takesValue = false;
  std::string valueName;  // shown in the help, e.g. "NAME"
};

// A command's words after the command name, split into options and plain arguments.
class ParsedArgs {
 public:
  std::vector<std::string> positionals;

  bool Has(std::string_view option) const;
  std::optional<std::string> Value(std::string_view option) const;

  void SetFlag(const std::string& option) { flags_.insert(option); }
  void SetValue(const std::string& option, const std::string& value) { values_[option] = value; }

 private:
  std::set<std::string, std::less<>> flags_;
  std::map<std::string, std::string, std::less<>> values_;
};

// Splits args by the given option specs. Accepts "--name value" and "--name=value"; "--" ends
// the options. Unknown options, missing values and repeated options are errors: returns
// nothing and sets error to a one-line explanation.
std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args,
                                    const std::vector<OptionSpec>& specs, std::string& error);

}  // namespace trawlix::cli
