// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessalune {

// The byte-string rules of the gallery: letter case counts only for A to Z,
// every other byte compares as it is.

// True when a and b are equal with the letters A to Z and a to z matched in
// either case.
bool SameText(std::string_view a, std::string_view b);

// Text with the characters of codes 0 to 32 removed from both ends.
std::string Trim(std::string_view text);

}  // namespace tessalune
