// SPDX-License-Identifier: GPL-3.0-or-later
#include "Registry.h"

namespace tessalune {
namespace {

[[noreturn]] void RaiseRegistryError(const char* pattern, const std::string& name) {
  throw ERegistryException(Format(pattern, name.c_str()));
}

}  // namespace

const char* RootKeyName(TRegistryRootKey root) {
  switch (root) {
    case hkeyLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case hkeyClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case hkeyCurrentUser:
      break;
  }
  return "HKEY_CURRENT_USER";
}

TRegistry::TRegistry() : store_(RootKeyName(hkeyCurrentUser)) {}

void TRegistry::SetRootKey(TRegistryRootKey root) {
  CloseKey();
  root_ = root;
  store_ = TRegistryStore(RootKeyName(root));
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  const bool relative = Key.empty() || Key[0] != '\\';
  std::string path;
  if (!NormaliseKeyPath(relative && currentPath_ ? *currentPath_ + "\\" + Key : Key, path))
    return false;
  TRegistryData data = store_.Load();
  if (!data.FindKey(path)) {
    if (!CanCreate) return false;
    try {
      data = store_.Update([&](TRegistryData& stored) {
        const bool missing = !stored.FindKey(path);
        stored.CreateKey(path);
        return missing;
      });
    } catch (const std::exception&) {
      return false;
    }
  }
  currentPath_ = path;
  TakeKey(data);
  return true;
}

void TRegistry::CloseKey() {
  currentPath_.reset();
  current_.reset();
}

void TRegistry::TakeKey(const TRegistryData& data) {
  const TRegKey* key = data.FindKey(*currentPath_);
  current_ = key ? *key : TRegKey(*currentPath_);
}

const TRegValue* TRegistry::Find(const std::string& name) const {
  return current_ ? current_->FindValue(name) : nullptr;
}

bool TRegistry::ValueExists(const std::string& Name) const { return Find(Name) != nullptr; }

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  if (current_)
    for (const TRegValue& value : current_->Values()) names.push_back(value.Name);
  return names;
}

std::string TRegistry::ReadString(const std::string& Name) const {
  const TRegValue* value = Find(Name);
  if (!value) return {};
  if (value->Type != TRegDataType::rdString) RaiseRegistryError("Invalid data type for '%s'", Name);
  return value->Text;
}

std::int32_t TRegistry::ReadInteger(const std::string& Name) const {
  const TRegValue* value = Find(Name);
  if (!value) RaiseRegistryError("Failed to get data for '%s'", Name);
  if (value->Type != TRegDataType::rdInteger) RaiseRegistryError("Invalid data type for '%s'", Name);
  return value->Number;
}

bool TRegistry::ReadBool(const std::string& Name) const { return ReadInteger(Name) != 0; }

void TRegistry::Write(const TRegValue& value) {
  if (!currentPath_) RaiseRegistryError("Failed to set data for '%s'", value.Name);
  try {
    TakeKey(store_.Update(
        [&](TRegistryData& stored) { return stored.CreateKey(*currentPath_).SetValue(value); }));
  } catch (const std::exception&) {
    RaiseRegistryError("Failed to set data for '%s'", value.Name);
  }
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) {
  Write(TRegValue{Name, TRegDataType::rdString, Value, 0});
}

void TRegistry::WriteInteger(const std::string& Name, std::int32_t Value) {
  Write(TRegValue{Name, TRegDataType::rdInteger, {}, Value});
}

void TRegistry::WriteBool(const std::string& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

bool TRegistry::DeleteValue(const std::string& Name) {
  if (!currentPath_) return false;
  bool existed = false;
  try {
    TakeKey(store_.Update([&](TRegistryData& stored) {
      TRegKey* key = stored.FindKey(*currentPath_);
      existed = key && key->DeleteValue(Name);
      return existed;
    }));
  } catch (const std::exception&) {
    return false;
  }
  return existed;
}

}  // namespace tessalune
