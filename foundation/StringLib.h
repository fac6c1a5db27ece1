// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessalune {

// Removes from the front of s the text before the first occurrence of
// delimiter (an exact, case-sensitive match) together with the delimiter, and
// returns that text. A missing or empty delimiter returns all of s and leaves
// s empty.
std::string CutToken(const std::string& delimiter, std::string& s);

// text with the ASCII letters a to z in upper case; every other byte, those of
// multi-byte characters included, stays as it is, so positions are kept.
std::string AsciiUpperCase(std::string text);

// A whole number in text: leading blanks, then an optional sign, then
// decimal digits or a hexadecimal number after "$", "x" or "0x" (either
// letter case), and nothing after it. Decimal numbers must fit a signed
// 32-bit integer; hexadecimal ones may use all 32 bits ("$FFFFFFFF" is -1).
// False, leaving value alone, for anything else.
bool TryStrToInt(const std::string& text, int& value);

// TryStrToInt's number, or fallback when the text is none.
int StrToIntDef(const std::string& text, int fallback);

// The names for a message, one a line: at most shown of them, then a line
// "and <n> more" for the rest; empty for no names.
std::string NameLines(const std::vector<std::string>& names, std::size_t shown = 10);

}  // namespace tessalune
