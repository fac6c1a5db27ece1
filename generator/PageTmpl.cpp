// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageTmpl.h"

#include <vector>

#include <QChar>

#include "FileLib.h"
#include "Globals.h"
#include "Random.h"
#include "StringLib.h"

namespace tessalune {
namespace {

// A byte that starts no valid UTF-8 character is compared as itself: it maps
// to a value above every code point.
constexpr char32_t kRawByte = 0x110000;

struct Character {
  char32_t code;
  size_t length;  // bytes
};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The character that starts at `at` (at < text.size()); invalid, overlong and
// surrogate sequences give their first byte as a raw byte of length 1.
Character DecodeAt(const std::string& text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || text.size() - at < length) return {kRawByte + lead, 1};
  char32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if (!IsContinuation(byte)) return {kRawByte + lead, 1};
    code = (code << 6) | (byte & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {kRawByte + lead, 1};
  return {code, length};
}

char32_t Fold(char32_t code) {
  if (code < 0x80) return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
  return code < kRawByte ? QChar::toCaseFolded(code) : code;
}

std::vector<char32_t> Folded(const std::string& text) {
  std::vector<char32_t> codes;
  for (size_t at = 0; at < text.size();) {
    const Character c = DecodeAt(text, at);
    codes.push_back(Fold(c.code));
    at += c.length;
  }
  return codes;
}

// The length in bytes of the match of pattern at `at`, or 0 when there is none.
size_t MatchAt(const std::string& text, size_t at, const std::vector<char32_t>& pattern) {
  const size_t start = at;
  for (const char32_t wanted : pattern) {
    if (at >= text.size()) return 0;
    const Character c = DecodeAt(text, at);
    if (Fold(c.code) != wanted) return 0;
    at += c.length;
  }
  return at - start;
}

// Every occurrence of "{" name "}" in text, in any letter case, replaced by
// value, left to right without overlap; inserted text is not searched again.
std::string ReplacePlaceholder(const std::string& text, const std::string& name, const std::string& value) {
  const std::vector<char32_t> pattern = Folded("{" + name + "}");
  std::string result;
  size_t copied = 0;
  // "{" is ASCII, so a match can only start at a "{" byte, which is never
  // part of a multi-byte character.
  for (size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at)) {
    const size_t length = MatchAt(text, at, pattern);
    if (length == 0) {
      ++at;
      continue;
    }
    result.append(text, copied, at - copied).append(value);
    at += length;
    copied = at;
  }
  if (copied == 0) return text;
  return result.append(text, copied, std::string::npos);
}

std::string Banner() {
  const int before = Random(5);
  const int after = Random(5);
  return std::string("<!-- Banner --><div style=\"") +
         "margin-top: 40px; text-align: center; color: #909090; font-size: 8pt; font-family: Verdana;" +
         "\"><hr width=400>Created by " + std::string(size_t(before), ' ') +
         "<a style=\"color: #909090;\" href=\"" + kProductWebPage + "\">Tessalune</a> " +
         std::string(size_t(after), ' ') + "</div>";
}

}  // namespace

void TPageTemplate::LoadFromFile(const std::string& fileName) {
  std::string rest = ReadFileBytes(fileName);
  std::array<std::string, 5> cut;
  cut[tsHead] = CutToken("{begin_row}", rest);
  cut[tsRowStart] = CutToken("{begin_cell}", rest);
  cut[tsCell] = CutToken("{end_cell}", rest);
  cut[tsRowEnd] = CutToken("{end_row}", rest);
  cut[tsTail] = std::move(rest);
  sections_ = std::move(cut);
}

void TPageTemplate::AddSection(TTemplateSection section) {
  std::string text = sections_.at(size_t(section));
  if (text.empty()) return;
  for (int i = 0; i < properties_.Count(); ++i) {
    text = ReplacePlaceholder(text, properties_.GetName(i), properties_.GetValue(i));
  }
  output_ += text;
}

void TPageTemplate::SaveToFile(const std::string& fileName, bool withBanner) {
  if (withBanner) InsertBanner();
  WriteFileBytes(fileName, output_);
}

void TPageTemplate::InsertBanner() {
  const std::string::size_type body = AsciiUpperCase(output_).find("</BODY");
  output_.insert(body == std::string::npos ? output_.size() : body, Banner());
}

}  // namespace tessalune
