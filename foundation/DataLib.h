// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tessalune {

// One name/value pair of a TProperties list.
class TPropertiesItem {
public:
  explicit TPropertiesItem(std::string name, std::string value = {})
      : Name(std::move(name)), Value(std::move(value)) {}

  const std::string& GetValue() const { return Value; }
  void SetValue(const std::string& value) { Value = value; }
  // Stores the decimal text of the number (-5, 0, 150).
  void SetAsInteger(int value) { Value = std::to_string(value); }

  std::string Name;  // letter case of the call that created the entry
  std::string Value;
};

// An ordered list of name/value strings; names are found without regard to
// the case of the ASCII letters a to z (every other byte must match exactly).
// Invariant kept by IndexOf, ItemByName and SetValue: no two names are equal
// after that folding. New entries always come last; the list owns them, and
// an entry stays at the same address until it is deleted or the list cleared.
class TProperties {
public:
  int Count() const { return int(items_.size()); }
  void Clear() { items_.clear(); }
  void Delete(int index);

  // Position of the entry called name, or -1.
  int IndexOf(const std::string& name) const;
  // The entry called name; a missing one is appended with an empty value.
  TPropertiesItem& ItemByName(const std::string& name);
  // Sets the value of the entry called name, appending it when missing.
  void SetValue(const std::string& name, const std::string& value);

  // By position; an index outside the list raises the list-index error.
  void SetValueAt(int index, const std::string& value);
  const std::string& GetName(int index) const;
  const std::string& GetValue(int index) const;

private:
  TPropertiesItem& At(int index) const;

  std::vector<std::unique_ptr<TPropertiesItem>> items_;
};

}  // namespace tessalune
