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

std::uint32_t Continuation(std::string_view text, std::size_t at) {
  if (at >= text.size()) return 0xFFFFFFFF;
  const auto byte = static_cast<unsigned char>(text[at]);
  return (byte & 0xC0) == 0x80 ? (byte & 0x3F) : 0xFFFFFFFF;
}

// The code point at pos, advancing pos past it; an invalid byte stands alone.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  int length = 0;
  std::uint32_t code = 0;
  std::uint32_t least = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, least = 0x10000;
  }
  for (int i = 1; i < length; ++i) {
    const std::uint32_t bits = Continuation(text, pos + std::size_t(i));
    if (bits > 0x3F) {
      length = 0;
      break;
    }
    code = (code << 6) | bits;
  }
  const bool valid = length > 0 && code >= least && code <= 0x10FFFF &&
                     !(code >= 0xD800 && code <= 0xDFFF);
  if (!valid) {
    ++pos;
    return kInvalidByteBase + lead;
  }
  pos += std::size_t(length);
  return code;
}

std::uint32_t Fold(std::uint32_t code) {
  const locale_t locale = UnicodeLocale();
  if (code >= kInvalidByteBase && code <= kInvalidByteBase + 0xFF) return code;
  if (locale == locale_t(nullptr)) {
    return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
  }
  return std::uint32_t(towlower_l(wint_t(code), locale));
}

}  // namespace

int AnsiCompareText(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t k = 0;
  while (i < a.size() && k < b.size()) {
    const std::uint32_t left = Fold(NextCodePoint(a, i));
    const std::uint32_t right = Fold(NextCodePoint(b, k));
    if (left != right) return left < right ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (k < b.size()) return -1;
  return 0;
}

}  // namespace tessalune
