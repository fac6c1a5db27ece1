// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestNames.h"

#include <cstdio>

namespace tessalune::test {
namespace {

bool IsLetterOrDigit(char ch) {
  return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

std::string Spelled(char ch) {
  switch (ch) {
    case ' ': return "blank";
    case '\t': return "tab";
    case '\r': return "CR";
    case '\n': return "LF";
    case '/': return "slash";
    case '\\': return "backslash";
    case '.': return "dot";
    case '+': return "plus";
    case '-': return "minus";
    case '$': return "dollar";
    default: break;
  }
  char code[4];
  std::snprintf(code, sizeof code, "x%02X", static_cast<unsigned char>(ch));
  return code;
}

}  // namespace

std::string TestName(std::string_view text) {
  std::string name;
  bool gap = false;
  for (const char ch : text) {
    if (!IsLetterOrDigit(ch)) {
      gap = !name.empty();
      continue;
    }
    if (gap) name += '_';
    gap = false;
    name += ch;
  }
  return name.empty() ? "empty" : name;
}

std::string SpelledName(std::string_view text) {
  std::string name;
  bool inWord = false;
  for (const char ch : text) {
    const bool letterOrDigit = IsLetterOrDigit(ch);
    if (!name.empty() && !(letterOrDigit && inWord)) name += '_';
    name += letterOrDigit ? std::string(1, ch) : Spelled(ch);
    inWord = letterOrDigit;
  }
  return name.empty() ? "empty" : name;
}

}  // namespace tessalune::test
