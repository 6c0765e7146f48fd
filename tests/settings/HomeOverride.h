#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace trawlix::testing {

// Points HOME (and so the pictures folder) at a given folder while it lives.
class HomeOverride {
 public:
  explicit HomeOverride(const std::string& home) {
    Save("HOME", home_);
    Save("XDG_CONFIG_HOME", config_);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  }
  ~HomeOverride() {
    Restore("HOME", home_);
    Restore("XDG_CONFIG_HOME", config_);
  }
  HomeOverride(const HomeOverride&) = delete;
  HomeOverride& operator=(const HomeOverride&) = delete;

 private:
  static void Save(const char* name, std::optional<std::string>& slot) {
    if (const char* value = std::getenv(name)) slot = value;
  }
  static void Restore(const char* name, const std::optional<std::string>& slot) {
    if (slot) {
      setenv(name, slot->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  std::optional<std::string> home_, config_;
};

}  // namespace trawlix::testing
