// SPDX-License-Identifier: GPL-3.0-or-later
#include "HtmlText.h"

#include <cstdint>
#include <cstdio>

#include "Colors.h"

namespace tessalune {
namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

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
