// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRenameRun.h"

#include <exception>
#include <map>
#include <utility>
#include <vector>

#include "AsciiText.h"
#include "FileLib.h"
#include "GalleryProp.h"
#include "UserPrompt.h"

namespace tessalune {

// The files one pass has handled. A picture that names a file handled
// before it in the pass (a picture added twice, or a file that another
// picture was put in place of) is not renamed again: it takes the name that
// file has now. Files are told apart by their identity before the pass, so
// a picture whose file moved away still finds it.
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
    if (settled->second) Picture.FileName = *settled->second;
    return true;
  }

  // The picture at Index was handled: its file is at FileName now.
  void Handled(int Index, const std::string& FileName) {
    if (ids_[Index]) settled_.emplace(*ids_[Index], FileName);
  }

  // The file Id gave way to another: pictures that named it keep their names,
  // which now name that other file.
  void Replaced(const TEntryId& Id) { settled_.emplace(Id, std::nullopt); }

private:
  std::vector<std::optional<TEntryId>> ids_;
  // The name each handled file has now; none for "keeps its name".
  std::map<TEntryId, std::optional<std::string>> settled_;
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

}  // namespace

TRenameRun::TRenameRun(TPicGallery& Gallery, TRenameOptions Options)
    : gallery_(Gallery), options_(std::move(Options)) {}

void TRenameRun::RenameFiles() {
  KeepSharedFiles();
  if (options_.Rename) RenameToTemporary();
  OverwriteAnswer = 0;
  TPassFiles pass(gallery_);
  const int count = gallery_.GetImageCount();
  int i = 0;
  for (; i < count && OverwriteAnswer != mrCancel; ++i) {
    TImageFile& picture = *gallery_.GetImageFile(i);
    Warned([&] {
      if (kept_[std::size_t(i)] || pass.Follow(picture, i)) return;
      if (!GiveNewName(picture, i, pass) && options_.Rename) RollBack(picture);
      pass.Handled(i, picture.FileName);
    });
  }
  // Pictures after a Cancel are not renamed, but still follow their files.
  for (; i < count; ++i) pass.Follow(*gallery_.GetImageFile(i), i);
}

// A picture keeps its name when its name and another picture's name reach
// one file through different entries: a symbolic link and the picture it
// leads to, or hard links in two folders. A picture listed twice, or under
// two spellings of one name, is one entry.
void TRenameRun::KeepSharedFiles() {
  std::vector<std::optional<TFileId>> files;
  std::map<TFileId, std::set<TEntryId>> entries;
  kept_.clear();
  for (int i = 0; i < gallery_.GetImageCount(); ++i) {
    const std::string& name = gallery_.GetImageFile(i)->FileName;
    files.push_back(FileIdOf(name));
    const auto entry = EntryIdOf(name);
    if (files.back() && entry) entries[*files.back()].insert(*entry);
  }
  for (const auto& file : files) kept_.push_back(file && entries[*file].size() > 1);
  for (const auto& [file, names] : entries)
    if (names.size() > 1) held_.insert(names.begin(), names.end());
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
      if (const auto id = EntryIdOf(Picture.FileName)) held_.insert(*id);
      return;
    }
  }
}

// Renames the picture's file to its new name in the same folder; false when
// that fails, leaving file and picture as they were.
bool TRenameRun::GiveNewName(TImageFile& Picture, int Index, TPassFiles& Pass) {
  const std::string folder = ExtractFilePath(Picture.FileName);
  const std::string name = FileNamePart(Picture.FileName);
  const std::string newName = MakeNewName(options_, Picture.FileName, Index);
  std::string target = folder + newName;
  if (newName == name) return EntryExists(Picture.FileName);
  const auto own = EntryIdOf(Picture.FileName);
  std::optional<TEntryId> replaced;
  const TReplace replace = ReplaceMode(Picture.FileName, target, replaced);
  if (RenameInFolder(folder, name, newName, replace) != TRenameResult::Renamed) return false;
  Picture.FileName = std::move(target);
  if (replaced) Pass.Replaced(*replaced);
  if (own) held_.erase(*own);
  return true;
}

// Whether the rename to Target may replace a file there. One that differs
// from Old beyond letter case is replaced only after the user's yes, and a
// file that the run holds for another picture never. One that differs only
// in letter case is replaced only when it is Old itself (a folder that
// ignores letter case); another file of that name stays. Another name of
// Old's own file (a hard link) is never replaced: the rename would do
// nothing and leave the file under both names.
TReplace TRenameRun::ReplaceMode(const std::string& Old, const std::string& Target,
                                 std::optional<TEntryId>& Replaced) {
  if (!FileEntryExists(Target)) return TReplace::Never;
  const auto target = EntryIdOf(Target);
  const bool ownFile = target && target == EntryIdOf(Old);
  if (ownFile && HasOtherNames(Target)) return TReplace::Never;
  if (SameText(Target, Old)) return ownFile ? TReplace::Existing : TReplace::Never;
  if (!ownFile && target && held_.contains(*target)) return TReplace::Never;
  if (!ConfirmOverwrite(Target)) return TReplace::Never;
  Replaced = target;
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
    if (own) held_.erase(*own);
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

}  // namespace tessalune
