// SPDX-License-Identifier: GPL-3.0-or-later
#include "ObjectParser.h"

#include <cstring>

#include "ObjectStream.h"
#include "TextScanner.h"

namespace tessalune {

namespace {

// Nested objects, lists and collections deeper than this are rejected, so that
// a hostile text cannot exhaust the stack. The gallery itself nests two deep.
constexpr int kMaxNesting = 64;

// Flags of the optional prefix byte ($F0 or the flags) before a class name.
enum : std::uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

// Longest class name kept in the binary form.
constexpr std::size_t kLongestClassName = 0xEF;

// Bytes of the x87 extended format, the binary form of a fraction.
constexpr int kExtendedSize = 10;

class TObjectParser {
public:
  explicit TObjectParser(std::string_view text) : scanner_(text) {}

  std::string Convert() {
    writer_.WriteSignature();
    ConvertObject(0);
    return writer_.TakeBytes();
  }

private:
  static void CheckNesting(int depth) {
    if (depth > kMaxNesting) RaiseCorrupted();
  }

  bool AtEntriesEnd() const {
    return scanner_.SymbolIs("end") || scanner_.SymbolIs("object") ||
           scanner_.SymbolIs("inherited") || scanner_.SymbolIs("inline");
  }

  void ConvertObject(int depth) {
    CheckNesting(depth);
    std::uint8_t flags = 0;
    if (scanner_.SymbolIs("inherited")) {
      flags = ffInherited;
    } else if (scanner_.SymbolIs("inline")) {
      flags = ffInline;
    } else {
      scanner_.CheckSymbol("object");
    }
    scanner_.NextToken();
    ConvertHeader(flags);
    while (!AtEntriesEnd()) ConvertProperty(depth);
    writer_.WriteListEnd();
    while (!scanner_.SymbolIs("end")) ConvertObject(depth + 1);
    writer_.WriteListEnd();
    scanner_.NextToken();
  }

  void ConvertHeader(std::uint8_t flags) {
    scanner_.CheckToken(TTextScanner::toSymbol);
    std::string className(scanner_.TokenString());
    std::string objectName;
    scanner_.NextToken();
    if (scanner_.IsChar(':')) {
      scanner_.NextToken();
      scanner_.CheckToken(TTextScanner::toSymbol);
      objectName = std::move(className);
      className = scanner_.TokenString();
      scanner_.NextToken();
    }
    std::int64_t position = 0;
    if (ConvertOrderModifier(position)) flags |= ffChildPos;
    if (flags != 0) {
      writer_.WriteByte(0xF0 | flags);
      if (flags & ffChildPos) writer_.WriteInteger(position);
    }
    // The class name is never looked at; cut short, its length byte can never
    // be taken for a prefix byte ($F0 and above).
    writer_.WriteShortString(std::string_view(className).substr(0, kLongestClassName));
    writer_.WriteShortString(objectName);
  }

  // An optional "[" integer "]".
  bool ConvertOrderModifier(std::int64_t& position) {
    if (!scanner_.IsChar('[')) return false;
    scanner_.NextToken();
    position = scanner_.TokenInt();
    scanner_.NextToken();
    scanner_.CheckChar(']');
    scanner_.NextToken();
    return true;
  }

  void ConvertProperty(int depth) {
    scanner_.CheckToken(TTextScanner::toSymbol);
    std::string name(scanner_.TokenString());
    scanner_.NextToken();
    while (scanner_.IsChar('.')) {
      scanner_.NextToken();
      scanner_.CheckToken(TTextScanner::toSymbol);
      name += '.';
      name += scanner_.TokenString();
      scanner_.NextToken();
    }
    writer_.WriteShortString(name);
    scanner_.CheckChar('=');
    scanner_.NextToken();
    ConvertValue(depth);
  }

  void ConvertValue(int depth) {
    switch (scanner_.Token()) {
      case TTextScanner::toString: return ConvertString();
      case TTextScanner::toInteger: writer_.WriteInteger(scanner_.TokenInt()); break;
      case TTextScanner::toFloat: ConvertFloat(); break;
      case TTextScanner::toSymbol: writer_.WriteIdent(scanner_.TokenString()); break;
      case TTextScanner::toChar: return ConvertBracketed(depth);
      case TTextScanner::toEOF: RaiseCorrupted();
    }
    scanner_.NextToken();
  }

  // One string token, or several joined by "+".
  void ConvertString() {
    std::string bytes = scanner_.TokenBytes();
    bool wide = scanner_.TokenIsWide();
    while (scanner_.NextToken() == TTextScanner::toChar && scanner_.IsChar('+')) {
      scanner_.NextToken();
      scanner_.CheckToken(TTextScanner::toString);
      AppendPiece(bytes, wide, scanner_.TokenBytes(), scanner_.TokenIsWide());
    }
    if (wide) {
      writer_.WriteValue(vaWString);
      writer_.WriteNumber(bytes.size() / 2, 4);
      writer_.WriteRaw(bytes);
    } else {
      writer_.WriteString(bytes);
    }
  }

  static void AppendPiece(std::string& bytes, bool& wide, const std::string& piece, bool pieceWide) {
    if (wide == pieceWide) {
      bytes += piece;
    } else if (wide) {
      bytes += WidenBytes(piece);
    } else {
      bytes = WidenBytes(bytes) + piece;
      wide = true;
    }
  }

  void ConvertFloat() {
    const long double value = scanner_.TokenFloat();
    char raw[sizeof(long double)] = {};
    std::memcpy(raw, &value, sizeof value);
    writer_.WriteValue(vaExtended);
    writer_.WriteRaw(std::string_view(raw, kExtendedSize));
  }

  void ConvertBracketed(int depth) {
    if (scanner_.IsChar('[')) return ConvertSet();
    if (scanner_.IsChar('(')) return ConvertList(depth + 1);
    if (scanner_.IsChar('<')) return ConvertCollection(depth + 1);
    if (scanner_.IsChar('{')) return ConvertBinary();
    RaiseCorrupted();
  }

  void ConvertSet() {
    scanner_.NextToken();
    writer_.WriteValue(vaSet);
    if (!scanner_.IsChar(']')) {
      for (;;) {
        if (scanner_.Token() != TTextScanner::toSymbol) scanner_.CheckToken(TTextScanner::toInteger);
        writer_.WriteShortString(scanner_.TokenString());
        scanner_.NextToken();
        if (scanner_.IsChar(']')) break;
        scanner_.CheckChar(',');
        scanner_.NextToken();
      }
    }
    writer_.WriteShortString("");
    scanner_.NextToken();
  }

  void ConvertList(int depth) {
    CheckNesting(depth);
    scanner_.NextToken();
    writer_.WriteValue(vaList);
    while (!scanner_.IsChar(')')) ConvertValue(depth);
    scanner_.NextToken();
    writer_.WriteListEnd();
  }

  void ConvertCollection(int depth) {
    CheckNesting(depth);
    scanner_.NextToken();
    writer_.WriteValue(vaCollection);
    while (!scanner_.IsChar('>')) {
      scanner_.CheckSymbol("item");
      scanner_.NextToken();
      std::int64_t index = 0;
      if (ConvertOrderModifier(index)) writer_.WriteInteger(index);
      writer_.WriteValue(vaList);
      while (!scanner_.SymbolIs("end")) ConvertProperty(depth);
      writer_.WriteListEnd();
      scanner_.NextToken();
    }
    writer_.WriteListEnd();
    scanner_.NextToken();
  }

  void ConvertBinary() {
    std::string bytes;
    scanner_.HexToBinary(bytes);
    writer_.WriteValue(vaBinary);
    writer_.WriteNumber(bytes.size(), 4);
    writer_.WriteRaw(bytes);
  }

  TTextScanner scanner_;
  TBinaryWriter writer_;
};

}  // namespace

std::string ObjectTextToBinary(std::string_view text) { return TObjectParser(text).Convert(); }

}  // namespace tessalune
