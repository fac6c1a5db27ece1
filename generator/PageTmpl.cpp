// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageTmpl.h"

#include <vector>

#include "FileLib.h"
#include "FileReplace.h"
#include "Globals.h"
#include "Random.h"
#include "StringLib.h"
#include "TextCompare.h"

namespace tessalune {
namespace {

// The characters of text, each folded to its case-insensitive form.
std::vector<std::uint32_t> Folded(const std::string& text) {
  std::vector<std::uint32_t> codes;
  for (size_t at = 0; at < text.size();) codes.push_back(NextFoldedCharacter(text, at));
  return codes;
}

// The length in bytes of the match of pattern at `at`, or 0 when there is none.
size_t MatchAt(const std::string& text, size_t at, const std::vector<std::uint32_t>& pattern) {
  const size_t start = at;
  for (const std::uint32_t wanted : pattern) {
    if (at >= text.size() || NextFoldedCharacter(text, at) != wanted) return 0;
  }
  return at - start;
}

// Every occurrence of "{" name "}" in text, in any letter case, replaced by
// value, left to right without overlap; inserted text is not searched again.
std::string ReplacePlaceholder(const std::string& text, const std::string& name, const std::string& value) {
  const std::vector<std::uint32_t> pattern = Folded("{" + name + "}");
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
  ReplaceFileBytes(fileName, output_, TDurability::Cached, TFinalLink::Replace);
}

void TPageTemplate::InsertBanner() {
  const std::string::size_type body = AsciiUpperCase(output_).find("</BODY");
  output_.insert(body == std::string::npos ? output_.size() : body, Banner());
}

}  // namespace tessalune
