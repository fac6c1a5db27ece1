// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataLib.h"

#include "Errors.h"
#include "StringLib.h"

namespace tessalune {

TPropertiesItem& TProperties::At(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return *items_[size_t(index)];
}

void TProperties::Delete(int index) {
  At(index);
  items_.erase(items_.begin() + index);
}

int TProperties::IndexOf(const std::string& name) const {
  const std::string wanted = AsciiUpperCase(name);
  for (int i = 0; i < Count(); ++i) {
    if (AsciiUpperCase(items_[size_t(i)]->Name) == wanted) return i;
  }
  return -1;
}

TPropertiesItem& TProperties::ItemByName(const std::string& name) {
  const int index = IndexOf(name);
  if (index >= 0) return At(index);
  items_.push_back(std::make_unique<TPropertiesItem>(name));
  return *items_.back();
}

void TProperties::SetValue(const std::string& name, const std::string& value) {
  const int index = IndexOf(name);
  if (index >= 0) {
    SetValueAt(index, value);
  } else {
    items_.push_back(std::make_unique<TPropertiesItem>(name, value));
  }
}

void TProperties::SetValueAt(int index, const std::string& value) { At(index).SetValue(value); }

const std::string& TProperties::GetName(int index) const { return At(index).Name; }

const std::string& TProperties::GetValue(int index) const { return At(index).Value; }

}  // namespace tessalune
