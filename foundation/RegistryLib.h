// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
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
