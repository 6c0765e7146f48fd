#include "cli/ArgParser.h"

#include <algorithm>

namespace trawlix::cli {

bool ParsedArgs::Has(std::string_view option) const {
  return flags_.contains(option) || values_.contains(option);
}

std::optional<std::string> ParsedArgs::Value(std::string_view option) const {
  auto it = values_.find(option);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

namespace {

const OptionSpec* FindSpec(const std::vector<OptionSpec>& specs, std::string_view name) {
  auto it = std::find_if(specs.begin(), specs.end(),
                         [name](const OptionSpec& spec) { return spec.name == name; });
  return it == specs.end() ? nullptr : &*it;
}

bool LooksLikeOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

}  // namespace

std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args,
                                    const std::vector<OptionSpec>& specs, std::string& error) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !LooksLikeOption(arg)) {
      parsed.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionSpec* spec = FindSpec(specs, name);
    if (spec == nullptr) {
      error = "unknown option " + name;
      return std::nullopt;
    }
    if (parsed.Has(name)) {
      error = "option " + name + " given twice";
      return std::nullopt;
    }
    if (!spec->takesValue) {
      if (equals != std::string::npos) {
        error = "option " + name + " takes no value";
        return std::nullopt;
      }
      parsed.SetFlag(name);
    } else if (equals != std::string::npos) {
      parsed.SetValue(name, arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
      parsed.SetValue(name, args[++i]);
    } else {
      error = "option " + name + " needs a value";
      return std::nullopt;
    }
  }
  return parsed;
}

}  // namespace trawlix::cli
