// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Registry.h"

namespace tessalune {

// Creates a registry object on Root, opens Key (creating missing keys) and
// returns the object whether or not the key could be opened; without a
// current key its reads find nothing and its writes fail.
std::unique_ptr<TRegistry> OpenRegistry(TRegistryRootKey Root, const std::string& Key);

// Runs write, which stores settings the program can do without (the reopen
// list, a window's state). When the store refuses them (ERegistryException),
// the default error display shows the store's message the first time in the
// program's run and never again, so that a store that cannot be written (a
// full disk, a read-only home) is told once and stops nothing. Answers
// whether write ran to its end; other exceptions pass.
bool WriteOptionalSettings(const std::function<void()>& write);

// Reads of such settings: the value Name of Reg, or nothing when Reg does not
// hold it or holds it in another type (a file edited by hand or written by
// another version), so that the caller keeps its default. Such a value is
// shown as a refused write is, and the one showing in a run serves both.
std::optional<std::string> ReadOptionalString(const TRegistry& Reg, const std::string& Name);
std::optional<std::int32_t> ReadOptionalInteger(const TRegistry& Reg, const std::string& Name);
std::optional<bool> ReadOptionalBool(const TRegistry& Reg, const std::string& Name);

// Lets the next failure of optional settings be shown again, as in a new
// run: each test stands for a run of its own.
void ResetOptionalSettingsFailureShown();

// Names a place in the settings store, a root and a key path below it, and
// opens keys relative to that place.
class TRegistryAddress {
public:
  TRegistryRootKey Root = hkeyCurrentUser;
  std::string Path;  // normally with a leading "\", "\Software\Quembler\Tessalune"

  // SubKey beginning with "\" counts from the root and ignores Path;
  // otherwise Path, one "\" when Path does not end in one and SubKey is not
  // empty, then SubKey.
  static std::string JoinKey(const std::string& Path, const std::string& SubKey);

  std::unique_ptr<TRegistry> OpenKey(const std::string& SubKey) const;
};

}  // namespace tessalune
