// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Errors.h"
#include "RegistryFormat.h"
#include "RegistryStore.h"

namespace tessalune {

// The roots of the settings store, in their stored order.
enum TRegistryRootKey { hkeyCurrentUser, hkeyLocalMachine, hkeyClassesRoot };

// "HKEY_CURRENT_USER" and so on: the store's file name and its key lines.
const char* RootKeyName(TRegistryRootKey root);

// A failed read or write of a settings value; the message names the value.
class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

// Access to the settings store, one key at a time: a root, then a current key
// opened (and created) by path, then its values. Paths use "\" as their
// separator; one that begins with "\" counts from the root, any other from
// the current key. Every write goes to the store file at once; reads see the
// key as it stood when it was opened or last written through this object.
class TRegistry {
public:
  TRegistry();  // root HKEY_CURRENT_USER, no current key

  TRegistryRootKey RootKey() const { return root_; }
  // Selects the root and closes the current key.
  void SetRootKey(TRegistryRootKey root);

  // Opens Key (creating it and the keys above it when CanCreate) and makes it
  // the current key. False, with the current key unchanged, when the key is
  // missing and may not be created, or cannot be created.
  bool OpenKey(const std::string& Key, bool CanCreate);
  void CloseKey();
  bool HasCurrentKey() const { return currentPath_.has_value(); }
  // The current key's path below the root, without a leading "\".
  std::string CurrentPath() const { return currentPath_.value_or(""); }

  bool ValueExists(const std::string& Name) const;
  // The names of the current key's values in the order they were created.
  std::vector<std::string> GetValueNames() const;
  // Empty for a missing value; "Invalid data type for '%s'" for an integer.
  std::string ReadString(const std::string& Name) const;
  // "Failed to get data for '%s'" for a missing value, "Invalid data type for
  // '%s'" for a string.
  std::int32_t ReadInteger(const std::string& Name) const;
  bool ReadBool(const std::string& Name) const;  // an integer, true when not 0

  // Each raises "Failed to set data for '%s'" when there is no current key or
  // the store cannot be written.
  void WriteString(const std::string& Name, const std::string& Value);
  void WriteInteger(const std::string& Name, std::int32_t Value);
  void WriteBool(const std::string& Name, bool Value);  // the integer 0 or 1
  // Answers whether the value existed.
  bool DeleteValue(const std::string& Name);

private:
  const TRegValue* Find(const std::string& name) const;
  void Write(const TRegValue& value);
  void TakeKey(const TRegistryData& data);

  TRegistryRootKey root_ = hkeyCurrentUser;
  TRegistryStore store_;
  std::optional<std::string> currentPath_;
  std::optional<TRegKey> current_;  // the current key as last seen
};

}  // namespace tessalune
