// SPDX-License-Identifier: GPL-3.0-or-later
#include "HtmlText.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "Colors.h"
#include "TextCompare.h"

namespace tessalune {
namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

bool NeedsPercent(unsigned char c, bool firstSegment) {
  if (c < 0x20 || c == 0x7F) return true;
  if (c == ':') return firstSegment;
  return std::string_view(" \"#%&<>?\\`{}").find(char(c)) != std::string_view::npos;
}

void AppendPercent(std::string& url, unsigned char c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  url += '%';
  url += kHex[c >> 4];
  url += kHex[c & 0xF];
}

// Whether the character at `at` is a byte that is not part of valid UTF-8;
// `next` moves past the character.
bool IsStrayByte(const std::string& text, std::size_t at, std::size_t& next) {
  next = at;
  const std::uint32_t code = NextFoldedCharacter(text, next);
  // Valid text never folds to a surrogate; a stray byte comes back as one.
  return (code & 0xFFFFFF00u) == 0xDC00u && static_cast<unsigned char>(text[at]) >= 0x80;
}

}  // namespace

std::string NameToHtml(const std::string& text) {
  std::string html;
  html.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': html += "&amp;"; break;
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '"': html += "&quot;"; break;
      case '\'': html += "&#39;"; break;
      case '{': html += "&#123;"; break;
      default: html += c;
    }
  }
  return html;
}

std::string PathToUrl(const std::string& path) {
  std::string url;
  url.reserve(path.size());
  bool firstSegment = true;
  for (std::size_t at = 0; at < path.size();) {
    const auto c = static_cast<unsigned char>(path[at]);
    std::size_t next = at + 1;
    if (c >= 0x80 && IsStrayByte(path, at, next)) {
      AppendPercent(url, c);
    } else if (c < 0x80 && NeedsPercent(c, firstSegment)) {
      AppendPercent(url, c);
    } else {
      url.append(path, at, next - at);
    }
    firstSegment = firstSegment && c != '/';
    at = next;
  }
  return url;
}

std::string TextToHtml(const std::string& text) {
  std::string html = text;
  ReplaceAll(html, "&", "&amp;");
  ReplaceAll(html, "<", "&lt;");
  ReplaceAll(html, ">", "&gt;");
  ReplaceAll(html, "\r\n", "<br>");
  return html;
}

std::string ColorToHtml(std::int32_t color) {
  const std::uint32_t rgb = ColorToRGB(color);
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02X%02X%02X", rgb & 0xFFu, (rgb >> 8) & 0xFFu,
                (rgb >> 16) & 0xFFu);
  return digits;
}

}  // namespace tessalune
