// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessalune {

// Removes from the front of s the text before the first occurrence of
// delimiter (an exact, case-sensitive match) together with the delimiter, and
// returns that text. A missing or empty delimiter returns all of s and leaves
// s empty.
std::string CutToken(const std::string& delimiter, std::string& s);

// text with the ASCII letters a to z in upper case; every other byte, those of
// multi-byte characters included, stays as it is, so positions are kept.
std::string AsciiUpperCase(std::string text);

}  // namespace tessalune
