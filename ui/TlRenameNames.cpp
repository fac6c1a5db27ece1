// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRenameNames.h"

#include <algorithm>

#include "AsciiText.h"
#include "FileLib.h"

namespace tessalune {
namespace {

// Index + Start in decimal, never cut; zeros in front up to the digit count.
// The sum is taken in 64 bits, so the largest start number does not wrap.
std::string RunningNumber(int Index, int Start, int Digits) {
  std::string number = std::to_string(static_cast<long long>(Index) + Start);
  const std::size_t width = static_cast<std::size_t>(std::clamp(Digits, 0, kMaxRenameDigits));
  if (number.size() < width) number.insert(0, width - number.size(), '0');
  return number;
}

std::string AsciiLowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

std::string ExtractFileExt(const std::string& path) {
  const std::string name = FileNamePart(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string MakeNewName(const TRenameOptions& Options, const std::string& Name, int Index) {
  std::string result = Options.Rename
                           ? Options.Prefix + RunningNumber(Index, Options.Start, Options.Digits) +
                                 ExtractFileExt(Name)
                           : FileNamePart(Name);
  if (Options.ChangeExt && !Trim(Options.NewExt).empty() &&
      SameText(ExtractFileExt(Name), "." + Options.OldExt)) {
    result = ChangeFileExt(result, "." + Options.NewExt);
  }
  return Options.LowerCase ? AsciiLowerCase(std::move(result)) : result;
}

}  // namespace tessalune
