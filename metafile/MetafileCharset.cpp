// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileCharset.h"

#include "Errors.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessalune::metafile {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
// The longest character of the Windows code pages read here.
constexpr std::size_t kMaxCharacterBytes = 2;

// The Symbol font's characters for the codes 0x20 to 0xFF. Codes the font
// leaves empty keep the private-use form Windows gives them, which no font
// here draws; the arrow extenders become box-drawing lines, which join as
// they do.
constexpr char16_t kSymbolCharacters[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B,  // 0x20
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 0x30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,  // 0x40
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,  // 0x50
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,  // 0x60
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,  // 0x70
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0xF07F,
    0xF080, 0xF081, 0xF082, 0xF083, 0xF084, 0xF085, 0xF086, 0xF087,  // 0x80
    0xF088, 0xF089, 0xF08A, 0xF08B, 0xF08C, 0xF08D, 0xF08E, 0xF08F,
    0xF090, 0xF091, 0xF092, 0xF093, 0xF094, 0xF095, 0xF096, 0xF097,  // 0x90
    0xF098, 0xF099, 0xF09A, 0xF09B, 0xF09C, 0xF09D, 0xF09E, 0xF09F,
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,  // 0xA0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,  // 0xB0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x2502, 0x2500, 0x21B5,
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,  // 0xC0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,  // 0xD0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    0x25CA, 0x27E8, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,  // 0xE0
    0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    0xF0F0, 0x27E9, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,  // 0xF0
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0xF0FF,
};

char16_t SymbolCharacter(char16_t code) {
  return code >= 0x20 && code <= 0xFF ? kSymbolCharacters[code - 0x20] : code;
}

// The Windows code page of a font character set; ANSI, DEFAULT and sets
// without a code page of their own read as Windows-1252.
const char* CodePageOf(std::uint8_t charset) {
  switch (charset) {
    case 128: return "CP932";   // SHIFTJIS
    case 129: return "CP949";   // HANGUL
    case 130: return "CP1361";  // JOHAB
    case 134: return "CP936";   // GB2312
    case 136: return "CP950";   // CHINESEBIG5
    case 161: return "CP1253";  // GREEK
    case 162: return "CP1254";  // TURKISH
    case 163: return "CP1258";  // VIETNAMESE
    case 177: return "CP1255";  // HEBREW
    case 178: return "CP1256";  // ARABIC
    case 186: return "CP1257";  // BALTIC
    case 204: return "CP1251";  // RUSSIAN
    case 222: return "CP874";   // THAI
    case 238: return "CP1250";  // EASTEUROPE
    case 255: return "CP437";   // OEM
    default: return "CP1252";
  }
}

}  // namespace

// One iconv conversion from a code page to UTF-16, owned for its lifetime.
class TCharsetDecoder::TConverter {
public:
  explicit TConverter(const char* codePage) : handle_(iconv_open("UTF-16LE", codePage)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1))
      throw Exception(Format("Cannot read text in code page %s", codePage));
  }
  ~TConverter() { iconv_close(handle_); }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;

  // Appends the first character of bytes to text and returns the number of
  // bytes it took; a byte that starts no character gives U+FFFD. Each
  // character starts from the initial state and is flushed on its own, so
  // code pages that compose (Windows-1258) keep one character per byte
  // sequence, as Windows draws them.
  std::size_t Next(std::string_view bytes, QString& text) {
    const std::size_t longest = std::min(bytes.size(), kMaxCharacterBytes);
    for (std::size_t length = 1; length <= longest; ++length) {
      char input[kMaxCharacterBytes];
      std::memcpy(input, bytes.data(), length);
      char16_t units[8];
      char* in = input;
      std::size_t inLeft = length;
      char* out = reinterpret_cast<char*>(units);
      std::size_t outLeft = sizeof units;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
      if (iconv(handle_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        if (errno == EINVAL) continue;  // the character goes on in the next byte
        break;
      }
      iconv(handle_, nullptr, nullptr, &out, &outLeft);
      const std::size_t count = (sizeof units - outLeft) / sizeof(char16_t);
      if (count == 0 || inLeft != 0) break;
      text.append(QStringView(units, static_cast<qsizetype>(count)));
      return length;
    }
    text.append(QChar(kReplacement));
    return 1;
  }

private:
  iconv_t handle_;
};

TCharsetDecoder::TCharsetDecoder() = default;
TCharsetDecoder::~TCharsetDecoder() = default;

TDecodedText TCharsetDecoder::Decode(std::uint8_t charset, std::string_view bytes) {
  if (charset != kSymbolCharset) return DecodeCodePage(CodePageOf(charset), bytes);
  TDecodedText decoded;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    decoded.text.append(QChar(SymbolCharacter(static_cast<unsigned char>(bytes[i]))));
    decoded.ends.push_back(i + 1);
  }
  return decoded;
}

QString TCharsetDecoder::DecodeName(std::uint8_t charset, std::string_view bytes) {
  return DecodeCodePage(CodePageOf(charset == kSymbolCharset ? 0 : charset), bytes).text;
}

TDecodedText TCharsetDecoder::DecodeCodePage(const char* codePage, std::string_view bytes) {
  auto found = converters_.find(codePage);
  if (found == converters_.end()) {
    std::unique_ptr<TConverter> converter;
    try {
      converter = std::make_unique<TConverter>(codePage);
    } catch (const Exception&) {
    }
    found = converters_.emplace(codePage, std::move(converter)).first;
  }
  TDecodedText decoded;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const qsizetype before = decoded.text.size();
    if (found->second) {
      at += found->second->Next(bytes.substr(at), decoded.text);
    } else {
      decoded.text.append(QChar(static_cast<unsigned char>(bytes[at])));
      ++at;
    }
    decoded.ends.insert(decoded.ends.end(), static_cast<std::size_t>(decoded.text.size() - before),
                        at);
  }
  return decoded;
}

QString SymbolToUnicode(const QString& text) {
  QString mapped = text;
  for (QChar& unit : mapped) {
    const char16_t code = unit.unicode();
    if (code >= 0xF020 && code <= 0xF0FF)
      unit = QChar(SymbolCharacter(code - 0xF000));
    else
      unit = QChar(SymbolCharacter(code));
  }
  return mapped;
}

}  // namespace tessalune::metafile
