// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessalune::metafile {

// The character set of a logical font whose text the Symbol font's own
// encoding gives meaning to.
inline constexpr std::uint8_t kSymbolCharset = 2;

// 8-bit text turned into UTF-16. ends[i] is one past the last byte of the
// character that unit i belongs to, so a character's bytes run from the end
// of the unit before it; the second unit of a surrogate pair owns no bytes.
struct TDecodedText {
  QString text;
  std::vector<std::size_t> ends;
};

// Reads the 8-bit text of metafile records as the drawing's author saw it:
// through the Windows code page of the font's character set (by iconv), or
// through the Symbol font's mapping to Unicode. A byte sequence that is no
// character of its code page becomes U+FFFD.
class TCharsetDecoder {
public:
  TCharsetDecoder();
  ~TCharsetDecoder();
  TCharsetDecoder(const TCharsetDecoder&) = delete;
  TCharsetDecoder& operator=(const TCharsetDecoder&) = delete;

  TDecodedText Decode(std::uint8_t charset, std::string_view bytes);
  // A font's face name: by the character set's code page; the Symbol set
  // names its fonts in Windows-1252.
  QString DecodeName(std::uint8_t charset, std::string_view bytes);

private:
  class TConverter;
  TDecodedText DecodeCodePage(const char* codePage, std::string_view bytes);

  // Opened on first use; a code page that iconv cannot open maps to null and
  // its text is read as Latin-1.
  std::map<std::string, std::unique_ptr<TConverter>> converters_;
};

// Wide text in a font of the Symbol character set: the codes 0x20 to 0xFF,
// and their private-use forms U+F020 to U+F0FF that Windows gives symbol
// fonts, become the Symbol font's characters; other characters stay.
QString SymbolToUnicode(const QString& text);

}  // namespace tessalune::metafile
