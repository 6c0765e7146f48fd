#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace trawlix::testing {

// Points HOME at a folder, and XDG_CONFIG_HOME at its ".config", while it lives, so that
// no test reads or writes the user's own folders.
class HomeOverride {
 public:
  explicit HomeOverride(const std::string& home) {
    for (auto& [name, value] : saved_) {
      if (const char* v = std::getenv(name)) value = v;
    }
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  }
  ~HomeOverride() {
    for (const auto& [name, value] : saved_) {
      value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
  }
  HomeOverride(const HomeOverride&) = delete;
  HomeOverride& operator=(const HomeOverride&) = delete;

 private:
  std::pair<const char*, std::optional<std::string>> saved_[2] = {{"HOME", {}},
                                                                  {"XDG_CONFIG_HOME", {}}};
};

}  // namespace trawlix::testing
