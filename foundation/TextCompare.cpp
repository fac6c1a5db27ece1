// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextCompare.h"

#include <locale.h>
#include <wctype.h>

#include <cstdint>

namespace tessalune {

namespace {

// Stands in for a byte that does not start a valid UTF-8 sequence.
constexpr std::uint32_t kInvalidByteBase = 0xDC00;

// The C.UTF-8 character classes, made once and never freed: they are
// process-wide and independent of the user's locale.
locale_t UnicodeLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
  return locale;
}

// What a lead byte of a multi-byte sequence announces: the sequence length,
// the bits it carries and the smallest code point that needs that length.
struct TLeadByte {
  int Length;
  std::uint32_t Bits;
  std::uint32_t Least;
};

TLeadByte DecodeLead(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return {2, lead & 0x1Fu, 0x80};
  if ((lead & 0xF0) == 0xE0) return {3, lead & 0x0Fu, 0x800};
  if ((lead & 0xF8) == 0xF0) return {4, lead & 0x07u, 0x10000};
  return {0, 0, 0};
}

// The code point at pos, advancing pos past it. A byte that does not start a
// complete, shortest, non-surrogate sequence stands alone.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  const TLeadByte sequence = DecodeLead(lead);
  bool valid = sequence.Length > 0 && pos + std::size_t(sequence.Length) <= text.size();
  std::uint32_t code = sequence.Bits;
  for (int i = 1; valid && i < sequence.Length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + std::size_t(i)]);
    valid = (next & 0xC0) == 0x80;
    code = (code << 6) | (next & 0x3Fu);
  }
  valid = valid && code >= sequence.Least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
  if (!valid) {
    ++pos;
    return kInvalidByteBase + lead;
  }
  pos += std::size_t(sequence.Length);
  return code;
}

// Simple Unicode case folding. The lowercase of the uppercase also joins the
// lowercase variants (final sigma, long s, micro sign) with their letters;
// the Turkic capital I with dot and small dotless i fold to themselves, and
// Cherokee folds to its capitals, as the Unicode folding table has it.
std::uint32_t Fold(std::uint32_t code) {
  const locale_t locale = UnicodeLocale();
  if (code >= kInvalidByteBase && code <= kInvalidByteBase + 0xFF) return code;
  if (locale == locale_t(nullptr)) {
    return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
  }
  if (code == 0x130 || code == 0x131) return code;
  const auto folded = std::uint32_t(towlower_l(towupper_l(wint_t(code), locale), locale));
  if (folded >= 0xAB70 && folded <= 0xABBF) return folded - 0xAB70 + 0x13A0;
  if (folded >= 0x13F8 && folded <= 0x13FD) return folded - 8;
  return folded;
}

}  // namespace

std::uint32_t NextFoldedCharacter(std::string_view text, std::size_t& pos) {
  return Fold(NextCodePoint(text, pos));
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t k = 0;
  while (i < a.size() && k < b.size()) {
    const std::uint32_t left = NextFoldedCharacter(a, i);
    const std::uint32_t right = NextFoldedCharacter(b, k);
    if (left != right) return left < right ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (k < b.size()) return -1;
  return 0;
}

}  // namespace tessalune
