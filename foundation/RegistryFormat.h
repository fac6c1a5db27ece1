// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessalune {

// The contents of one root of the settings store and their text form, the
// registry export layout:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Quembler\Tessalune\Projects]
//   "File_000"="/home/ann/Trip.gmf"
//   "IconWidth"=dword:00000032
//
// Key paths are held without the root and without a leading backslash, their
// parts joined by "\" ("Software\Quembler"); the root itself is "". Key names
// compare without regard to ASCII letter case, value names exactly. Keys and
// values keep the order in which they were created.

enum class TRegDataType { rdString, rdInteger };

struct TRegValue {
  std::string Name;
  TRegDataType Type = TRegDataType::rdString;
  std::string Text;
  std::int32_t Number = 0;
  bool operator==(const TRegValue&) const = default;
};

// One key with its values, indexed by name so that a large hostile file
// still loads in linear time.
class TRegKey {
public:
  explicit TRegKey(std::string path) : path_(std::move(path)) {}
  bool operator==(const TRegKey& other) const {
    return path_ == other.path_ && values_ == other.values_;
  }

  const std::string& Path() const { return path_; }
  const std::vector<TRegValue>& Values() const { return values_; }
  const TRegValue* FindValue(const std::string& name) const;
  // Replaces the data of an existing value in place or appends a new one;
  // answers whether anything changed.
  bool SetValue(const TRegValue& value);
  bool DeleteValue(const std::string& name);

private:
  std::string path_;
  std::vector<TRegValue> values_;
  std::unordered_map<std::string, std::size_t> index_;
};

class TRegistryData {
public:
  TRegistryData();  // holds the root key only
  bool operator==(const TRegistryData& other) const { return keys_ == other.keys_; }

  const std::vector<TRegKey>& Keys() const { return keys_; }
  const TRegKey* FindKey(std::string_view path) const;
  TRegKey* FindKey(std::string_view path);
  // The key of a normalised path, created with every missing key above it.
  TRegKey& CreateKey(std::string_view path);

private:
  std::vector<TRegKey> keys_;
  std::unordered_map<std::string, std::size_t> index_;  // ASCII lower-case path
};

// Turns a key path as callers write it into the stored form: no leading or
// trailing "\", no empty parts. False for a name the store cannot hold (a
// control character, a part longer than 255 bytes).
bool NormaliseKeyPath(std::string_view path, std::string& normalised);

// Reads the text of a store file of the root rootName; a text without lines
// is an empty store. Any deviation from the layout answers false; the text is
// untrusted.
bool ParseRegistryText(std::string_view text, std::string_view rootName, TRegistryData& data);

std::string FormatRegistryText(const TRegistryData& data, std::string_view rootName);

}  // namespace tessalune
