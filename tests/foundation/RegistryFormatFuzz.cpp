// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the settings-store parser. Whatever it accepts must
// survive being written and read again unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "RegistryFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  tessalune::TRegistryData parsed;
  if (!tessalune::ParseRegistryText(text, kRoot, parsed)) return 0;
  const std::string written = tessalune::FormatRegistryText(parsed, kRoot);
  tessalune::TRegistryData again;
  if (!tessalune::ParseRegistryText(written, kRoot, again) || !(again == parsed) ||
      tessalune::FormatRegistryText(again, kRoot) != written)
    std::abort();
  return 0;
}
