// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessalune {

// What a batch rename does to each picture file's name, as the rename
// dialog's controls set it. The three parts combine freely.
struct TRenameOptions {
  // "Convert the file name to lowercase": the whole new name, A to Z only.
  bool LowerCase = false;
  // "Change the file name": Prefix, then Index + Start padded with zeros to
  // Digits, then the file's own extension.
  bool Rename = false;
  std::string Prefix = "image";
  int Digits = 3;
  int Start = 1;
  // "Change the file ext": an extension "." + OldExt (letter case of A to Z
  // ignored) becomes "." + NewExt; a NewExt of blanks only changes nothing.
  bool ChangeExt = false;
  std::string OldExt{};
  std::string NewExt{};
};

// The widest running number: no file name is longer, so more zeros could
// only make a name that every folder refuses.
constexpr int kMaxRenameDigits = 255;

// The new name, without a folder, for the picture file Name (with or without
// its folder; only the name and its extension count) at gallery position
// Index. The result may be no usable file name (a prefix holding "/", say);
// the rename run refuses such a name.
std::string MakeNewName(const TRenameOptions& Options, const std::string& Name, int Index);

// The extension of the file-name part of path: from its last "." on, the dot
// included; empty when the name has no dot.
std::string ExtractFileExt(const std::string& path);

}  // namespace tessalune
