// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "RegistryLib.h"
#include "TestSupport.h"

namespace tessalune::test {

// Points $XDG_CONFIG_HOME (and $HOME) at a fresh sandbox for its lifetime, so
// that the settings store and user-dirs.dirs of a test start empty, and the
// store's first failure is shown again, as in a new run.
class ConfigSandbox {
public:
  ConfigSandbox() : config_(Save("XDG_CONFIG_HOME")), home_(Save("HOME")) {
    setenv("XDG_CONFIG_HOME", sandbox_.File("config").c_str(), 1);
    setenv("HOME", sandbox_.File("home").c_str(), 1);
    ResetOptionalSettingsFailureShown();
  }
  ~ConfigSandbox() {
    Restore("XDG_CONFIG_HOME", config_);
    Restore("HOME", home_);
  }
  ConfigSandbox(const ConfigSandbox&) = delete;
  ConfigSandbox& operator=(const ConfigSandbox&) = delete;

  const Sandbox& Files() const { return sandbox_; }
  // The store file of a root, "HKEY_CURRENT_USER" and so on.
  std::string StoreFile(const std::string& root) const {
    return sandbox_.File("config/tessalune/" + root + ".reg");
  }
  std::string StoreText(const std::string& root = "HKEY_CURRENT_USER") const {
    return ReadBytes(StoreFile(root));
  }
  void WriteStore(const std::string& text, const std::string& root = "HKEY_CURRENT_USER") const {
    sandbox_.Write("config/tessalune/" + root + ".reg", text);
  }

private:
  static std::optional<std::string> Save(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }

  Sandbox sandbox_;
  std::optional<std::string> config_;
  std::optional<std::string> home_;
};

}  // namespace tessalune::test
