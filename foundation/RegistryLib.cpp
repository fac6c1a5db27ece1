// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegistryLib.h"

#include <atomic>

#include "ErrorDisplay.h"

namespace tessalune {

std::unique_ptr<TRegistry> OpenRegistry(TRegistryRootKey Root, const std::string& Key) {
  auto registry = std::make_unique<TRegistry>();
  registry->SetRootKey(Root);
  registry->OpenKey(Key, true);
  return registry;
}

bool WriteOptionalSettings(const std::function<void()>& write) {
  static std::atomic<bool> failureShown{false};
  try {
    write();
    return true;
  } catch (const ERegistryException& error) {
    if (!failureShown.exchange(true)) ShowException(error);
    return false;
  }
}

std::string TRegistryAddress::JoinKey(const std::string& Path, const std::string& SubKey) {
  if (!SubKey.empty() && SubKey[0] == '\\') return SubKey;
  const bool separate = !SubKey.empty() && (Path.empty() || Path.back() != '\\');
  return Path + (separate ? "\\" : "") + SubKey;
}

std::unique_ptr<TRegistry> TRegistryAddress::OpenKey(const std::string& SubKey) const {
  return OpenRegistry(Root, JoinKey(Path, SubKey));
}

}  // namespace tessalune
