// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringLib.h"

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

}  // namespace tessalune
