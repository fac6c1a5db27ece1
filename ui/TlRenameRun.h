// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
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
// The run first decides every picture's new name and asks every question,
// before any file moves: while a question is open, every file is still
// under the name the gallery file on disk lists. Then it moves the files
// without a further question, each picture straight to its new name once
// that name is free; only pictures that trade names in a ring pass through
// a temporary name. Names are taken only when free (a name taken meanwhile
// makes that rename fail), an existing file gives way only after the user
// said so, and then in one step with the rename, and every rename stays
// inside the picture's own folder. A file of the gallery (one that a picture
// names when the run starts, directly or through a link) and the gallery's
// own file never give way, whatever the answers: no question is asked for
// them, and the picture whose new name one of them holds keeps its name.
// Pictures that name the same file (a picture added twice) move together.
// Pictures whose names reach one file through different entries (a
// symbolic link and the picture it leads to) keep their names, so every
// picture still opens the file it opened. One warning at the end says what
// each picture that did not get its new name is called now, and why;
// pictures the user kept with No or Cancel are not in it.
class TRenameRun {
public:
  // GalleryFile is the open gallery's own file; empty for an unsaved one.
  TRenameRun(TPicGallery& Gallery, TRenameOptions Options, const std::string& GalleryFile = {});

  // The whole run. The overwrite questions come in gallery order; Cancel
  // there stops before the next picture, and the pictures not reached keep
  // their names. An exception while one picture is decided is shown as a
  // warning at once, and that picture keeps its name. Once the files are
  // moved, OnRenamed runs, then the closing warning shows.
  void RenameFiles();

  // Runs once the files are moved, before the closing warning: the place to
  // save the gallery, so that no message waits while its file lists names
  // that are gone.
  std::function<void()> OnRenamed;

  // The last answer to the overwrite question in this run; 0 for none.
  int OverwriteAnswer = 0;

private:
  // What becomes of one picture.
  enum class TFate {
    Stays,        // its new name is its name, or the user kept it
    Moves,        // it is to get its new name
    Follows,      // it names the file of an earlier picture and takes its name
    Shared,       // another picture reaches its file through another entry
    Yields,       // its new name is the file of another picture
    GalleryFile,  // its new name is the gallery's own file
    Failed,       // the file system refused a step
  };
  struct TStep {
    TFate Fate = TFate::Stays;
    // The earlier picture of the same file (Follows); the picture whose
    // present name is this one's new name (Moves), or -1.
    int Other = -1;
    std::string Name;     // the full name at the start of the run
    std::string NewName;  // the new name, without the folder
    std::string Target;   // the full new name
    TReplace Replace = TReplace::Never;
    bool SharesFile = false;  // another picture's entry reaches its file
    bool Away = false;        // whether the file has left Name
    std::string Reason;  // why the file system refused (Failed)
  };

  TStep& Step(int Index) { return steps_[std::size_t(Index)]; }
  const TStep& Step(int Index) const { return steps_[std::size_t(Index)]; }
  void NoteGalleryFiles();
  void PlanNewName(int Index);
  // Pictures whose new name is held by a picture that keeps its own yield.
  void SettleBlocked();
  void MoveFiles();
  void Move(int Index);
  void MoveToTemporary(int Index);
  void Fail(int Index, const std::string& Reason);
  void RollBack(int Index);
  // Asks whether the file Target may be replaced; true without a question
  // when there is none, or after Yes to All.
  bool ConfirmOverwrite(const std::string& Target);
  void ReportUnrenamed() const;
  std::vector<std::string> NamesOf(TFate Fate) const;

  TPicGallery& gallery_;
  TRenameOptions options_;
  std::string galleryFile_;
  std::vector<TStep> steps_;
  // Every file a picture names when the run starts, as the name itself and
  // as the file it leads to.
  std::set<TFileId> galleryFiles_;
  // The gallery's own file, as its name and as the file it leads to.
  std::set<TFileId> ownFile_;
  // The first picture of each entry.
  std::map<TEntryId, int> owners_;
  // The new names given out so far.
  std::set<std::string> claimed_;
};

}  // namespace tessalune
