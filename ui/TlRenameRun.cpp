// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRenameRun.h"

#include <exception>
#include <map>
#include <utility>
#include <vector>

#include "AsciiText.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "StringLib.h"
#include "UserPrompt.h"

namespace tessalune {

// The files one pass has handled. A picture that names a file handled
// before it in the pass (a picture added twice) is not renamed again: it
// takes the name that file has now. Files are told apart by their identity
// before the pass, so a picture whose file moved away still finds it.
class TPassFiles {
public:
  explicit TPassFiles(const TPicGallery& Gallery) {
    for (int i = 0; i < Gallery.GetImageCount(); ++i)
      ids_.push_back(EntryIdOf(Gallery.GetImageFile(i)->FileName));
  }

  // Gives the picture at Index the name of its file when that file was
  // handled already; true when it did, and the picture is settled.
  bool Follow(TImageFile& Picture, int Index) const {
    const auto settled = ids_[Index] ? settled_.find(*ids_[Index]) : settled_.end();
    if (settled == settled_.end()) return false;
    Picture.FileName = settled->second;
    return true;
  }

  // The picture at Index was handled: its file is at FileName now.
  void Handled(int Index, const std::string& FileName) {
    if (ids_[Index]) settled_.emplace(*ids_[Index], FileName);
  }

private:
  std::vector<std::optional<TEntryId>> ids_;
  // The name each handled file has now.
  std::map<TEntryId, std::string> settled_;
};

namespace {

// How many "_temp" numbers a picture tries before it keeps its name; bounds
// the search in a folder that never says a name is free.
constexpr int kMaxTemporaryTries = 100000;

// Runs one picture's step; an exception is shown as a warning and the run
// goes on with the next picture.
template <typename Step>
void Warned(Step&& step) {
  try {
    step();
  } catch (const std::exception& error) {
    MessageDlg(error.what(), TMsgDlgType::mtWarning, mbOK, 0);
  }
}

// The file that a name is itself, a symbolic link not followed.
TFileId FileOfEntry(const TEntryId& entry) { return TFileId{entry.Device, entry.Inode}; }

}  // namespace

TRenameRun::TRenameRun(TPicGallery& Gallery, TRenameOptions Options)
    : gallery_(Gallery), options_(std::move(Options)) {}

void TRenameRun::RenameFiles() {
  NoteGalleryFiles();
  if (options_.Rename) RenameToTemporary();
  OverwriteAnswer = 0;
  TPassFiles pass(gallery_);
  const int count = gallery_.GetImageCount();
  int i = 0;
  for (; i < count && OverwriteAnswer != mrCancel; ++i) {
    TImageFile& picture = *gallery_.GetImageFile(i);
    Warned([&] {
      if (kept_[std::size_t(i)] || pass.Follow(picture, i)) return;
      if (!GiveNewName(picture, i) && options_.Rename) RollBack(picture);
      pass.Handled(i, picture.FileName);
    });
  }
  // Pictures after a Cancel are not renamed, but still follow their files.
  for (; i < count; ++i) pass.Follow(*gallery_.GetImageFile(i), i);
  ReportYielded();
}

// A picture keeps its name when its name and another picture's name reach
// one file through different entries: a symbolic link and the picture it
// leads to, or hard links in two folders. A picture listed twice, or under
// two spellings of one name, is one entry.
void TRenameRun::NoteGalleryFiles() {
  std::vector<std::optional<TFileId>> files;
  std::map<TFileId, std::set<TEntryId>> entries;
  kept_.clear();
  galleryFiles_.clear();
  yielded_.clear();
  for (int i = 0; i < gallery_.GetImageCount(); ++i) {
    const std::string& name = gallery_.GetImageFile(i)->FileName;
    files.push_back(FileIdOf(name));
    const auto entry = EntryIdOf(name);
    if (entry) galleryFiles_.insert(FileOfEntry(*entry));
    if (files.back()) galleryFiles_.insert(*files.back());
    if (files.back() && entry) entries[*files.back()].insert(*entry);
  }
  for (const auto& file : files) kept_.push_back(file && entries[*file].size() > 1);
}

void TRenameRun::RenameToTemporary() {
  TPassFiles pass(gallery_);
  for (int i = 0; i < gallery_.GetImageCount(); ++i) {
    TImageFile& picture = *gallery_.GetImageFile(i);
    Warned([&] {
      picture.WorkFileName = picture.FileName;
      if (kept_[std::size_t(i)] || pass.Follow(picture, i)) return;
      GiveTemporaryName(picture);
      pass.Handled(i, picture.FileName);
    });
  }
}

// The first free name of the base name + "_temp" + N + extension, from N = 0.
// A picture whose file cannot be renamed keeps its name.
void TRenameRun::GiveTemporaryName(TImageFile& Picture) {
  const std::string folder = ExtractFilePath(Picture.FileName);
  const std::string name = FileNamePart(Picture.FileName);
  const std::string extension = ExtractFileExt(name);
  const std::string base = name.substr(0, name.size() - extension.size());
  for (int n = 0; n < kMaxTemporaryTries; ++n) {
    const std::string temporary = base + "_temp" + std::to_string(n) + extension;
    const TRenameResult result = RenameInFolder(folder, name, temporary, TReplace::Never);
    if (result == TRenameResult::Refused) return;
    if (result == TRenameResult::Renamed) {
      Picture.FileName = folder + temporary;
      return;
    }
  }
}

// Renames the picture's file to its new name in the same folder; false when
// that fails, leaving file and picture as they were.
bool TRenameRun::GiveNewName(TImageFile& Picture, int Index) {
  const std::string folder = ExtractFilePath(Picture.FileName);
  const std::string name = FileNamePart(Picture.FileName);
  const std::string newName = MakeNewName(options_, Picture.FileName, Index);
  std::string target = folder + newName;
  if (newName == name) return EntryExists(Picture.FileName);
  if (IsOtherPictureFile(Picture.FileName, target)) {
    yielded_.push_back(Index);
    return false;
  }
  const TReplace replace = ReplaceMode(Picture.FileName, target);
  if (RenameInFolder(folder, name, newName, replace) != TRenameResult::Renamed) return false;
  Picture.FileName = std::move(target);
  return true;
}

bool TRenameRun::IsOtherPictureFile(const std::string& Old, const std::string& Target) const {
  const auto target = EntryIdOf(Target);
  return target && target != EntryIdOf(Old) && galleryFiles_.contains(FileOfEntry(*target));
}

// Whether the rename to Target may replace a file there; files of the
// gallery are ruled out before. Old's own entry under another spelling (a
// folder that ignores letter case) is renamed in place, unless the file has
// further names (a hard link): the rename would do nothing and leave the
// file under both. Another file whose name differs from Old's only in letter
// case stays; any other file is replaced only after the user's yes.
TReplace TRenameRun::ReplaceMode(const std::string& Old, const std::string& Target) {
  if (!FileEntryExists(Target)) return TReplace::Never;
  const auto target = EntryIdOf(Target);
  if (target && target == EntryIdOf(Old))
    return HasOtherNames(Target) ? TReplace::Never : TReplace::Existing;
  if (SameText(Target, Old) || !ConfirmOverwrite(Target)) return TReplace::Never;
  return TReplace::Existing;
}

// Puts the file back under the name it had before the run. Where that is
// refused (the name was taken meanwhile, the folder may not be written) the
// file stays under the name the gallery holds; a file that is gone altogether
// is listed under its earlier name again, unless that name holds another.
void TRenameRun::RollBack(TImageFile& Picture) {
  const std::string folder = ExtractFilePath(Picture.FileName);
  if (Picture.FileName == Picture.WorkFileName || ExtractFilePath(Picture.WorkFileName) != folder)
    return;
  const auto own = EntryIdOf(Picture.FileName);
  const TRenameResult result = RenameInFolder(folder, FileNamePart(Picture.FileName),
                                              FileNamePart(Picture.WorkFileName), TReplace::Never);
  if (result == TRenameResult::Renamed) {
    Picture.FileName = Picture.WorkFileName;
  } else if (!own && !EntryExists(Picture.WorkFileName)) {
    Picture.FileName = Picture.WorkFileName;
  }
}

bool TRenameRun::ConfirmOverwrite(const std::string& Target) {
  if (!FileEntryExists(Target)) return true;
  if (OverwriteAnswer == mrYesToAll) return true;
  OverwriteAnswer =
      MessageDlg("The file \"" + Target + "\" already exists. Override ?",
                 TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel | mbYesToAll, 0);
  return OverwriteAnswer == mrYes || OverwriteAnswer == mrYesToAll;
}

void TRenameRun::ReportYielded() const {
  if (yielded_.empty()) return;
  std::vector<std::string> names;
  for (const int i : yielded_) names.push_back(gallery_.GetImageFile(i)->FileName);
  MessageDlg("These pictures kept their names, because each new name is the file of another "
             "picture of the gallery:\n" + NameLines(names),
             TMsgDlgType::mtWarning, mbOK, 0);
}

}  // namespace tessalune
