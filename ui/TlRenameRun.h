// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "TlRenameFiles.h"
#include "TlRenameNames.h"

namespace tessalune {

class TImageFile;
class TPassFiles;
class TPicGallery;

// One run of the batch rename: renames the picture files of a gallery on
// disk and writes their new names into the gallery.
//
// Whatever fails on the way, every picture file ends under a name that the
// gallery holds for it, and no file is lost: names are taken only when free
// (a name taken meanwhile makes that rename fail), an existing file gives
// way only after the user said so, and then in one step with the rename, and
// every rename stays inside the picture's own folder. A rename that fails is
// not reported; with "Change the file name" on, the picture goes back to its
// name before the run, or stays under its temporary name where that is
// refused. Pictures that name the same file (a picture added twice) move
// together. Pictures whose names reach one file through different entries
// (a symbolic link and the picture it leads to) keep their names, so every
// picture still opens the file it opened.
class TRenameRun {
public:
  TRenameRun(TPicGallery& Gallery, TRenameOptions Options);

  // The whole run. With "Change the file name" on, every picture first gets a
  // temporary name (its earlier name kept in WorkFileName), so that a new
  // name may be the earlier name of another picture. Then each picture in
  // gallery order gets its new name, asking before an existing file is
  // replaced; Cancel there stops before the next picture. An exception while
  // one picture is handled is shown as a warning and the run goes on.
  void RenameFiles();

  // The last answer to the overwrite question in this run; 0 for none.
  int OverwriteAnswer = 0;

private:
  // Finds the pictures that keep their names and holds their files.
  void KeepSharedFiles();
  void RenameToTemporary();
  void GiveTemporaryName(TImageFile& Picture);
  bool GiveNewName(TImageFile& Picture, int Index, TPassFiles& Pass);
  TReplace ReplaceMode(const std::string& Old, const std::string& Target,
                       std::optional<TEntryId>& Replaced);
  void RollBack(TImageFile& Picture);
  // Asks whether the file Target may be replaced; true without a question
  // when there is none, or after Yes to All.
  bool ConfirmOverwrite(const std::string& Target);

  TPicGallery& gallery_;
  TRenameOptions options_;
  // Whether each picture keeps its name, its name and another picture's
  // reaching one file.
  std::vector<bool> kept_;
  // The files no rename of this run may replace: a picture's file under its
  // temporary name (the picture still to be renamed) and the file of a
  // picture that keeps its name.
  std::set<TEntryId> held_;
};

}  // namespace tessalune
