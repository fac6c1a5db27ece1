// SPDX-License-Identifier: GPL-3.0-or-later
#include "ObjectText.h"

#include "ObjectStream.h"

namespace tessalune {

namespace {

// Bytes of a string written on one line before it is continued with " +".
constexpr std::size_t kLineLength = 64;

bool IsQuotable(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 32 && code != '\'';
}

// Walks the binary form and writes its text; one instance per conversion.
class TTextConverter {
public:
  explicit TTextConverter(std::string_view binary) : reader_(binary) {}

  std::string Convert() {
    reader_.ReadSignature();
    ConvertObject();
    return std::move(text_);
  }

private:
  void Write(std::string_view s) { text_.append(s); }
  void WriteIndent() { text_.append(std::size_t(2 * level_), ' '); }
  void NewLine() {
    Write("\r\n");
    WriteIndent();
  }

  void ConvertObject() {
    const std::string className = reader_.ReadShortString();
    const std::string objectName = reader_.ReadShortString();
    WriteIndent();
    Write("object ");
    if (!objectName.empty()) {
      Write(objectName);
      Write(": ");
    }
    Write(className);
    Write("\r\n");
    ++level_;
    while (!reader_.EndOfList()) ConvertProperty();
    reader_.ReadListEnd();
    while (!reader_.EndOfList()) ConvertObject();
    reader_.ReadListEnd();
    --level_;
    WriteIndent();
    Write("end\r\n");
  }

  void ConvertProperty() {
    WriteIndent();
    Write(reader_.ReadShortString());
    Write(" = ");
    ConvertValue();
    Write("\r\n");
  }

  void ConvertValue() {
    switch (reader_.NextValue()) {
      case vaInt8:
      case vaInt16:
      case vaInt32:
        Write(std::to_string(reader_.ReadInteger()));
        break;
      case vaString:
      case vaLString:
        ConvertString(reader_.ReadString());
        break;
      case vaIdent:
        Write(reader_.ReadIdent());
        break;
      case vaFalse:
      case vaTrue:
        Write(reader_.ReadBoolean() ? "True" : "False");
        break;
      case vaCollection:
        ConvertCollection();
        break;
      default:
        RaiseCorrupted();
    }
  }

  // Quoted runs of printable bytes, #codes for the rest; after every
  // kLineLength bytes of the string the line ends with " +" while bytes remain.
  void ConvertString(const std::string& s) {
    if (s.empty()) {
      Write("''");
      return;
    }
    ++level_;
    if (s.size() > kLineLength) NewLine();
    std::size_t i = 0;
    std::size_t lineStart = 0;
    while (i < s.size()) {
      if (IsQuotable(s[i])) {
        const std::size_t runStart = i;
        do {
          ++i;
        } while (i < s.size() && IsQuotable(s[i]) && i - lineStart < kLineLength);
        Write("'");
        Write(std::string_view(s).substr(runStart, i - runStart));
        Write("'");
      } else {
        Write("#");
        Write(std::to_string(static_cast<unsigned char>(s[i])));
        ++i;
      }
      if (i - lineStart >= kLineLength && i < s.size()) {
        Write(" +");
        NewLine();
        lineStart = i;
      }
    }
    --level_;
  }

  void ConvertCollection() {
    reader_.ReadValue();
    Write("<");
    ++level_;
    while (!reader_.EndOfList()) {
      NewLine();
      Write("item");
      if (reader_.ReadValue() != vaList) RaiseCorrupted();
      Write("\r\n");
      ++level_;
      while (!reader_.EndOfList()) ConvertProperty();
      reader_.ReadListEnd();
      --level_;
      WriteIndent();
      Write("end");
    }
    reader_.ReadListEnd();
    --level_;
    Write(">");
  }

  TBinaryReader reader_;
  std::string text_;
  int level_ = 0;
};

}  // namespace

std::string ObjectBinaryToText(std::string_view binary) { return TTextConverter(binary).Convert(); }

}  // namespace tessalune
