// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringLib.h"

#include <cstdint>
#include <utility>

namespace tessalune {

std::string CutToken(const std::string& delimiter, std::string& s) {
  const std::string::size_type at = delimiter.empty() ? std::string::npos : s.find(delimiter);
  if (at == std::string::npos) return std::exchange(s, std::string());
  std::string token = s.substr(0, at);
  s.erase(0, at + delimiter.size());
  return token;
}

std::string AsciiUpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return text;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The digits from at to the end in the given base; false when there are none,
// when one is no digit, or when the magnitude passes limit.
bool ParseMagnitude(const std::string& text, std::size_t at, int base, std::uint64_t limit,
                    std::uint64_t& magnitude) {
  if (at >= text.size()) return false;
  magnitude = 0;
  for (; at < text.size(); ++at) {
    const int digit = HexDigit(text[at]);
    if (digit < 0 || digit >= base) return false;
    magnitude = magnitude * std::uint64_t(base) + std::uint64_t(digit);
    if (magnitude > limit) return false;
  }
  return true;
}

}  // namespace

bool TryStrToInt(const std::string& text, int& value) {
  std::size_t at = text.find_first_not_of(' ');
  if (at == std::string::npos) return false;
  const bool negative = text[at] == '-';
  if (text[at] == '-' || text[at] == '+') ++at;
  int base = 10;
  if (at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X')) {
    base = 16;
    at += 1;
  } else if (text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0) {
    base = 16;
    at += 2;
  }
  // Decimal: up to 2^31 - 1, or 2^31 with a minus sign. Hexadecimal: any 32 bits.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  std::uint64_t magnitude = 0;
  if (!ParseMagnitude(text, at, base, limit, magnitude)) return false;
  const auto bits = std::uint32_t(negative ? 0u - magnitude : magnitude);
  value = static_cast<int>(bits);
  return true;
}

int StrToIntDef(const std::string& text, int fallback) {
  int value = fallback;
  return TryStrToInt(text, value) ? value : fallback;
}

std::string NameLines(const std::vector<std::string>& names, std::size_t shown) {
  std::string lines;
  for (std::size_t i = 0; i < names.size() && i < shown; ++i) lines += (i ? "\n" : "") + names[i];
  if (names.size() > shown)
    lines += (lines.empty() ? "and " : "\nand ") + std::to_string(names.size() - shown) + " more";
  return lines;
}

}  // namespace tessalune
