// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegistryLib.h"

#include <atomic>

#include "ErrorDisplay.h"

namespace tessalune {
namespace {

// Whether a failure of optional settings was shown in this run.
std::atomic<bool> failureShown{false};

void ShowFailureOnce(const ERegistryException& error) {
  if (!failureShown.exchange(true)) ShowException(error);
}

template <typename T>
std::optional<T> ReadOptional(const TRegistry& reg, const std::string& name,
                              T (TRegistry::*read)(const std::string&) const) {
  if (!reg.ValueExists(name)) return std::nullopt;
  try {
    return (reg.*read)(name);
  } catch (const ERegistryException& error) {
    ShowFailureOnce(error);
    return std::nullopt;
  }
}

}  // namespace

std::unique_ptr<TRegistry> OpenRegistry(TRegistryRootKey Root, const std::string& Key) {
  auto registry = std::make_unique<TRegistry>();
  registry->SetRootKey(Root);
  registry->OpenKey(Key, true);
  return registry;
}

bool WriteOptionalSettings(const std::function<void()>& write) {
  try {
    write();
    return true;
  } catch (const ERegistryException& error) {
    ShowFailureOnce(error);
    return false;
  }
}

std::optional<std::string> ReadOptionalString(const TRegistry& Reg, const std::string& Name) {
  return ReadOptional(Reg, Name, &TRegistry::ReadString);
}

std::optional<std::int32_t> ReadOptionalInteger(const TRegistry& Reg, const std::string& Name) {
  return ReadOptional(Reg, Name, &TRegistry::ReadInteger);
}

std::optional<bool> ReadOptionalBool(const TRegistry& Reg, const std::string& Name) {
  return ReadOptional(Reg, Name, &TRegistry::ReadBool);
}

void ResetOptionalSettingsFailureShown() { failureShown = false; }

std::string TRegistryAddress::JoinKey(const std::string& Path, const std::string& SubKey) {
  if (!SubKey.empty() && SubKey[0] == '\\') return SubKey;
  const bool separate = !SubKey.empty() && (Path.empty() || Path.back() != '\\');
  return Path + (separate ? "\\" : "") + SubKey;
}

std::unique_ptr<TRegistry> TRegistryAddress::OpenKey(const std::string& SubKey) const {
  return OpenRegistry(Root, JoinKey(Path, SubKey));
}

}  // namespace tessalune
