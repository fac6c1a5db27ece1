// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextScanner.h"

#include <charconv>

#include "AsciiText.h"
#include "ObjectStream.h"

namespace tessalune {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsLetter(c) || IsDigit(c); }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool IsFractionChar(char c) {
  return IsDigit(c) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}
bool IsFloatSuffix(char c) {
  return c == 'c' || c == 'C' || c == 'd' || c == 'D' || c == 's' || c == 'S';
}
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// Codes beyond 16 bits are kept at the largest 16-bit unit; any code above 255
// already makes the token a wide string, which no gallery property accepts.
constexpr std::uint32_t kLargestCode = 0xFFFF;

}  // namespace

bool IsValidIdent(std::string_view name) {
  if (name.empty() || !IsLetter(name.front())) return false;
  for (const char c : name) {
    if (!IsIdentChar(c)) return false;
  }
  return true;
}

std::string WidenBytes(std::string_view bytes) {
  std::string units;
  units.reserve(bytes.size() * 2);
  for (const char b : bytes) {
    units.push_back(b);
    units.push_back('\0');
  }
  return units;
}

TTextScanner::TTextScanner(std::string_view text) : text_(text.substr(0, text.find('\0'))) {
  NextToken();
}

bool TTextScanner::NextBlock() {
  if (blockEnd_ >= text_.size()) return false;
  if (text_.size() - pos_ < kBlockSize) {
    blockEnd_ = text_.size();
    return true;
  }
  // A full block ends after its last line break; its first byte does not
  // count, so a block always moves forward.
  for (std::size_t i = pos_ + kBlockSize - 2; i > pos_; --i) {
    if (text_[i] == '\n') {
      blockEnd_ = i + 1;
      return true;
    }
  }
  RaiseCorrupted();
}

void TTextScanner::SkipBlanks() {
  for (;;) {
    if (pos_ >= blockEnd_) {
      if (!NextBlock()) return;
      continue;
    }
    if (static_cast<unsigned char>(text_[pos_]) > 32) return;
    ++pos_;
  }
}

TTextScanner::TToken TTextScanner::NextToken() {
  SkipBlanks();
  const std::size_t start = pos_;
  const char c = Peek();
  if (c == '\0') {
    token_ = toEOF;
  } else if (IsLetter(c)) {
    while (IsIdentChar(Peek())) ++pos_;
    token_ = toSymbol;
  } else if (c == '\'' || c == '#') {
    ScanString();
    token_ = toString;
  } else if (c == '$') {
    ++pos_;
    while (IsHexDigit(Peek())) ++pos_;
    token_ = toInteger;
  } else if (c == '-' || IsDigit(c)) {
    ScanNumber();
  } else {
    ++pos_;
    token_ = toChar;
  }
  tokenText_ = text_.substr(start, pos_ - start);
  return token_;
}

void TTextScanner::ScanNumber() {
  ++pos_;
  while (IsDigit(Peek())) ++pos_;
  token_ = toInteger;
  while (IsFractionChar(Peek())) {
    ++pos_;
    token_ = toFloat;
  }
  if (IsFloatSuffix(Peek())) {
    ++pos_;
    token_ = toFloat;
  }
}

void TTextScanner::ScanString() {
  bytes_.clear();
  wide_ = false;
  for (;;) {
    if (Peek() == '\'') {
      ++pos_;
      for (;;) {
        const char c = Peek();
        if (c == '\0' || c == '\r' || c == '\n') RaiseCorrupted();
        ++pos_;
        if (c == '\'') {
          if (Peek() != '\'') break;
          ++pos_;
        }
        AppendCode(static_cast<unsigned char>(c));
      }
    } else if (Peek() == '#') {
      ++pos_;
      std::uint32_t code = 0;
      while (IsDigit(Peek())) {
        code = std::min<std::uint32_t>(code * 10 + std::uint32_t(Peek() - '0'), kLargestCode + 1);
        ++pos_;
      }
      AppendCode(std::min(code, kLargestCode));
    } else {
      return;
    }
  }
}

void TTextScanner::AppendCode(std::uint32_t code) {
  if (!wide_ && code > 255) {
    bytes_ = WidenBytes(bytes_);
    wide_ = true;
  }
  bytes_.push_back(char(code & 0xFF));
  if (wide_) bytes_.push_back(char(code >> 8));
}

std::int64_t TTextScanner::TokenInt() const {
  CheckToken(toInteger);
  std::string_view digits = tokenText_;
  int base = 10;
  if (digits.front() == '$') {
    digits.remove_prefix(1);
    base = 16;
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    RaiseCorrupted();
  }
  return value;
}

long double TTextScanner::TokenFloat() const {
  CheckToken(toFloat);
  std::string_view number = tokenText_;
  if (IsFloatSuffix(number.back())) number.remove_suffix(1);
  long double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) RaiseCorrupted();
  return value;
}

void TTextScanner::HexToBinary(std::string& out) {
  SkipBlanks();
  while (Peek() != '}') {
    std::size_t pairs = 0;
    while (IsHexDigit(Peek()) && pos_ + 1 < blockEnd_ && IsHexDigit(text_[pos_ + 1])) {
      out.push_back(char(HexValue(text_[pos_]) * 16 + HexValue(text_[pos_ + 1])));
      pos_ += 2;
      ++pairs;
    }
    if (pairs == 0) RaiseCorrupted();
    SkipBlanks();
  }
  ++pos_;
  NextToken();
}

bool TTextScanner::SymbolIs(std::string_view keyword) const {
  return token_ == toSymbol && SameText(tokenText_, keyword);
}

void TTextScanner::CheckToken(TToken kind) const {
  if (token_ != kind) RaiseCorrupted();
}

void TTextScanner::CheckChar(char c) const {
  if (!IsChar(c)) RaiseCorrupted();
}

void TTextScanner::CheckSymbol(std::string_view keyword) const {
  if (!SymbolIs(keyword)) RaiseCorrupted();
}

}  // namespace tessalune
