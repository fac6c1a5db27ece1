// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessalune {

// Case-insensitive comparison of UTF-8 text for sorting names the way people
// read them: each character is folded with the simple Unicode case folding
// (from the C.UTF-8 locale's case mappings, whatever the user's locale) and
// the characters are compared by code point. A byte that is not part of valid UTF-8 compares as if it were
// the code point U+DC00 plus the byte, a value no valid character has, so
// every input has one fixed place in the order. Returns a negative number, 0
// or a positive number.
int AnsiCompareText(std::string_view a, std::string_view b);

// The character of UTF-8 text that starts at pos (pos < text.size()), folded
// as AnsiCompareText folds it; pos moves past it. A byte that is not part of
// valid UTF-8 comes back as U+DC00 plus the byte.
std::uint32_t NextFoldedCharacter(std::string_view text, std::size_t& pos);

}  // namespace tessalune
