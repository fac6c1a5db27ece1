// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <vector>

#include "FileLib.h"
#include "TlRenameFiles.h"
#include "TlRenameNames.h"

namespace tessalune {

class TImageFile;
class TPicGallery;

// One run of the batch rename: renames the picture files of a gallery on
// disk and writes their new names into the gallery.
//
// Whatever fails on the way, every picture file ends under a name that the
// gallery holds for it, and no file is lost: names are taken only when free
// (a name taken meanwhile makes that rename fail), an existing file gives
// way only after the user said so, and then in one step with the rename, and
// every rename stays inside the picture's own folder. A file of the gallery
// (one that a picture names when the run starts, directly or through a link)
// never gives way, whatever the answers: no question is asked for it, and
// the picture whose new name it holds keeps its name; one warning at the end
// names such pictures. Any other rename that fails is not reported; with
// "Change the file name" on, the picture goes back to its name before the
// run, or stays under its temporary name where that is refused. Pictures
// that name the same file (a picture added twice) move together. Pictures
// whose names reach one file through different entries (a symbolic link and
// the picture it leads to) keep their names, so every picture still opens
// the file it opened.
class TRenameRun {
public:
  TRenameRun(TPicGallery& Gallery, TRenameOptions Options);

  // The whole run. With "Change the file name" on, every picture first gets a
  // temporary name (its earlier name kept in WorkFileName), so that a new
  // name may be the earlier name of another picture. Then each picture in
  // gallery order gets its new name, asking before an existing file is
  // replaced; Cancel there stops before the next picture. An exception while
  // one picture is handled is shown as a warning and the run goes on.
  // Pictures that kept their names because each new name is the file of
  // another picture are named in one warning at the end.
  void RenameFiles();

  // The last answer to the overwrite question in this run; 0 for none.
  int OverwriteAnswer = 0;

private:
  // Notes the gallery's files, and the pictures that keep their names
  // because another picture reaches their file through another entry.
  void NoteGalleryFiles();
  void RenameToTemporary();
  void GiveTemporaryName(TImageFile& Picture);
  bool GiveNewName(TImageFile& Picture, int Index);
  // Whether Target is a file of the gallery other than Old's own entry.
  bool IsOtherPictureFile(const std::string& Old, const std::string& Target) const;
  TReplace ReplaceMode(const std::string& Old, const std::string& Target);
  void RollBack(TImageFile& Picture);
  // Asks whether the file Target may be replaced; true without a question
  // when there is none, or after Yes to All.
  bool ConfirmOverwrite(const std::string& Target);
  void ReportYielded() const;

  TPicGallery& gallery_;
  TRenameOptions options_;
  // Whether each picture keeps its name, its name and another picture's
  // reaching one file.
  std::vector<bool> kept_;
  // Every file a picture names when the run starts, as the name itself and
  // as the file it leads to. No rename of the run replaces one of them:
  // renames keep a file's identity, so this also covers every name the run
  // gives.
  std::set<TFileId> galleryFiles_;
  // The positions of the pictures whose new name was another picture's file.
  std::vector<int> yielded_;
};

}  // namespace tessalune
