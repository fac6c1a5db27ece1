// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessalune {

// The 16-bit units of bytes taken as codes 0 to 255, each low byte first:
// the form of a wide string.
std::string WidenBytes(std::string_view bytes);

// True for an identifier: a letter or underscore followed by letters, digits
// and underscores.
bool IsValidIdent(std::string_view name);

// Cuts the gallery text into tokens. Bytes 1 to 32 separate tokens; a zero
// byte ends the text. The text is worked through in blocks of kBlockSize
// bytes that end at a line start, so a line that does not fit into a block
// is rejected unless it and everything after it fit. Every error raises
// EReadError with the corrupted-file message.
class TTextScanner {
public:
  enum TToken { toEOF, toSymbol, toString, toInteger, toFloat, toChar };

  static constexpr std::size_t kBlockSize = 4096;

  explicit TTextScanner(std::string_view text);

  // Moves to the next token and returns its kind.
  TToken NextToken();

  TToken Token() const { return token_; }
  // The token's own text (an identifier, a number, the single character).
  std::string_view TokenString() const { return tokenText_; }
  // A string token's bytes; for a wide string each 16-bit unit as two bytes,
  // low byte first.
  const std::string& TokenBytes() const { return bytes_; }
  // True for a string token that holds a code of 256 or more.
  bool TokenIsWide() const { return wide_; }
  std::int64_t TokenInt() const;
  long double TokenFloat() const;

  bool IsChar(char c) const { return token_ == toChar && tokenText_[0] == c; }
  // An identifier equal to keyword in any letter case.
  bool SymbolIs(std::string_view keyword) const;
  void CheckToken(TToken kind) const;
  void CheckChar(char c) const;
  void CheckSymbol(std::string_view keyword) const;

  // Reads the pairs of hexadecimal digits (blanks allowed between pairs) up to
  // the "}" that follows a "{" token, appends their bytes to out, and moves to
  // the token after the "}".
  void HexToBinary(std::string& out);

private:
  char Peek() const { return pos_ < blockEnd_ ? text_[pos_] : '\0'; }
  void SkipBlanks();
  bool NextBlock();
  void ScanString();
  void AppendCode(std::uint32_t code);
  void ScanNumber();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t blockEnd_ = 0;
  TToken token_ = toEOF;
  std::string_view tokenText_;
  std::string bytes_;
  bool wide_ = false;
};

}  // namespace tessalune
