// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "Registry.h"

namespace tessalune {

// Creates a registry object on Root, opens Key (creating missing keys) and
// returns the object whether or not the key could be opened; without a
// current key its reads find nothing and its writes fail.
std::unique_ptr<TRegistry> OpenRegistry(TRegistryRootKey Root, const std::string& Key);

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
