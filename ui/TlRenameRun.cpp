// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRenameRun.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <optional>
#include <utility>

#include "AsciiText.h"
#include "GalleryProp.h"
#include "StringLib.h"
#include "UserPrompt.h"

namespace tessalune {
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

// Why the last file-system call failed, in the system's words.
std::string SystemReason() { return std::strerror(errno); }

}  // namespace

TRenameRun::TRenameRun(TPicGallery& Gallery, TRenameOptions Options, const std::string& GalleryFile)
    : gallery_(Gallery), options_(std::move(Options)), galleryFile_(GalleryFile) {}

void TRenameRun::RenameFiles() {
  NoteGalleryFiles();
  OverwriteAnswer = 0;
  const int count = gallery_.GetImageCount();
  for (int i = 0; i < count && OverwriteAnswer != mrCancel; ++i) Warned([&] { PlanNewName(i); });
  SettleBlocked();
  MoveFiles();
  for (int i = 0; i < count; ++i) {
    if (Step(i).Fate == TFate::Follows)
      gallery_.GetImageFile(i)->FileName = gallery_.GetImageFile(Step(i).Other)->FileName;
  }
  if (OnRenamed) OnRenamed();
  ReportUnrenamed();
}

// Notes every picture's name, the files of the gallery and of the gallery
// itself, the first picture of each entry, and the pictures whose names and
// another picture's name reach one file through different entries: a
// symbolic link and the picture it leads to, or hard links in two folders. A
// picture listed twice, or under two spellings of one name, is one entry.
void TRenameRun::NoteGalleryFiles() {
  const int count = gallery_.GetImageCount();
  steps_.assign(std::size_t(count), TStep{});
  std::vector<std::optional<TFileId>> files;
  std::map<TFileId, std::set<TEntryId>> entries;
  for (int i = 0; i < count; ++i) {
    TImageFile& picture = *gallery_.GetImageFile(i);
    TStep& step = Step(i);
    step.Name = picture.FileName;
    if (options_.Rename) picture.WorkFileName = picture.FileName;
    files.push_back(FileIdOf(step.Name));
    const auto entry = EntryIdOf(step.Name);
    if (entry) {
      galleryFiles_.insert(FileOfEntry(*entry));
      const auto [owner, first] = owners_.emplace(*entry, i);
      if (!first) {
        step.Fate = TFate::Follows;
        step.Other = owner->second;
      }
    }
    if (files.back()) galleryFiles_.insert(*files.back());
    if (files.back() && entry) entries[*files.back()].insert(*entry);
  }
  for (int i = 0; i < count; ++i) {
    const auto& file = files[std::size_t(i)];
    Step(i).SharesFile = file && entries[*file].size() > 1;
  }
  if (galleryFile_.empty()) return;
  if (const auto entry = EntryIdOf(galleryFile_)) ownFile_.insert(FileOfEntry(*entry));
  if (const auto file = FileIdOf(galleryFile_)) ownFile_.insert(*file);
}

// Decides the picture's new name, asking before an existing file that
// belongs to no picture is replaced. A new name that a picture holds now is
// taken only once that picture has moved away (Other).
void TRenameRun::PlanNewName(int Index) {
  TStep& step = Step(Index);
  if (step.Fate == TFate::Follows) return;
  step.NewName = MakeNewName(options_, step.Name, Index);
  if (step.NewName == FileNamePart(step.Name)) return;
  if (step.SharesFile) {
    step.Fate = TFate::Shared;
    return;
  }
  if (!IsPlainFileName(step.NewName)) return Fail(Index, std::strerror(EINVAL));
  step.Target = ExtractFilePath(step.Name) + step.NewName;
  const auto target = EntryIdOf(step.Target);
  if (claimed_.contains(step.Target)) {
    step.Fate = TFate::Yields;
    return;
  }
  if (target && target == EntryIdOf(step.Name)) {
    // The picture's own entry under another spelling (a folder that ignores
    // letter case) is renamed in place, unless the file has further names (a
    // hard link): the rename would do nothing and leave the file under both.
    step.Replace = HasOtherNames(step.Target) ? TReplace::Never : TReplace::Existing;
  } else if (target && ownFile_.contains(FileOfEntry(*target))) {
    step.Fate = TFate::GalleryFile;
    return;
  } else if (target && galleryFiles_.contains(FileOfEntry(*target))) {
    const auto owner = owners_.find(*target);
    if (owner == owners_.end()) {
      step.Fate = TFate::Yields;
      return;
    }
    step.Other = owner->second;
  } else if (FileEntryExists(step.Target) && !SameText(step.Target, step.Name)) {
    if (!ConfirmOverwrite(step.Target)) return;
    step.Replace = TReplace::Existing;
  }
  claimed_.insert(step.Target);
  step.Fate = TFate::Moves;
}

void TRenameRun::SettleBlocked() {
  for (bool changed = true; changed;) {
    changed = false;
    for (TStep& step : steps_) {
      if (step.Fate != TFate::Moves || step.Other < 0) continue;
      if (Step(step.Other).Fate == TFate::Moves) continue;
      step.Fate = TFate::Yields;
      changed = true;
    }
  }
}

// Moves each picture whose new name is free; a picture waits while the
// picture whose name it takes has not moved away. When every picture left
// waits, they trade names in a ring: the picture the first one waits for
// goes to a temporary name, which frees its name for the next.
void TRenameRun::MoveFiles() {
  std::vector<int> pending;
  for (int i = 0; i < int(steps_.size()); ++i)
    if (Step(i).Fate == TFate::Moves) pending.push_back(i);
  const auto waits = [this](int i) {
    const int other = Step(i).Other;
    return other >= 0 && Step(other).Fate == TFate::Moves && !Step(other).Away;
  };
  const auto settled = [this](int Index, auto&& step) {
    try {
      step();
    } catch (const std::exception& error) {
      Fail(Index, error.what());
    }
  };
  while (!pending.empty()) {
    const auto ready = std::stable_partition(pending.begin(), pending.end(), waits);
    if (ready == pending.end()) {
      const int freed = Step(pending.front()).Other;
      settled(freed, [&] { MoveToTemporary(freed); });
      std::erase_if(pending, [this](int i) { return Step(i).Fate != TFate::Moves; });
      continue;
    }
    for (auto i = ready; i != pending.end(); ++i) settled(*i, [&] { Move(*i); });
    pending.erase(ready, pending.end());
  }
}

// Renames the picture's file to its new name; where that is refused, the
// file goes back to its name before the run, if it had left it.
void TRenameRun::Move(int Index) {
  TStep& step = Step(Index);
  TImageFile& picture = *gallery_.GetImageFile(Index);
  const TRenameResult result = RenameInFolder(ExtractFilePath(picture.FileName), FileNamePart(picture.FileName),
                                              step.NewName, step.Replace);
  if (result != TRenameResult::Renamed) {
    Fail(Index, SystemReason());
    RollBack(Index);
    return;
  }
  picture.FileName = step.Target;
  step.Away = true;
}

// The first free name of the base name + "_temp" + N + extension, from N = 0.
void TRenameRun::MoveToTemporary(int Index) {
  TImageFile& picture = *gallery_.GetImageFile(Index);
  const std::string folder = ExtractFilePath(picture.FileName);
  const std::string name = FileNamePart(picture.FileName);
  const std::string extension = ExtractFileExt(name);
  const std::string base = name.substr(0, name.size() - extension.size());
  for (int n = 0; n < kMaxTemporaryTries; ++n) {
    const std::string temporary = base + "_temp" + std::to_string(n) + extension;
    const TRenameResult result = RenameInFolder(folder, name, temporary, TReplace::Never);
    if (result == TRenameResult::Refused) return Fail(Index, SystemReason());
    if (result == TRenameResult::Renamed) {
      picture.FileName = folder + temporary;
      Step(Index).Away = true;
      return;
    }
  }
  Fail(Index, std::strerror(EEXIST));
}

void TRenameRun::Fail(int Index, const std::string& Reason) {
  Step(Index).Fate = TFate::Failed;
  Step(Index).Reason = Reason;
}

// Puts a file that went to a temporary name back under its name before the
// run; where that is refused too, it stays where it is, and the gallery
// lists it there.
void TRenameRun::RollBack(int Index) {
  const TStep& step = Step(Index);
  TImageFile& picture = *gallery_.GetImageFile(Index);
  if (picture.FileName == step.Name) return;
  if (RenameInFolder(ExtractFilePath(picture.FileName), FileNamePart(picture.FileName),
                     FileNamePart(step.Name), TReplace::Never) == TRenameResult::Renamed)
    picture.FileName = step.Name;
}

bool TRenameRun::ConfirmOverwrite(const std::string& Target) {
  if (!FileEntryExists(Target)) return true;
  if (OverwriteAnswer == mrYesToAll) return true;
  OverwriteAnswer =
      MessageDlg("The file \"" + Target + "\" already exists. Override ?",
                 TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel | mbYesToAll, 0);
  return OverwriteAnswer == mrYes || OverwriteAnswer == mrYesToAll;
}

void TRenameRun::ReportUnrenamed() const {
  std::string text;
  const auto add = [&](TFate fate, const char* why) {
    const std::vector<std::string> names = NamesOf(fate);
    if (!names.empty()) text += (text.empty() ? "" : "\n\n") + std::string(why) + "\n" + NameLines(names);
  };
  add(TFate::Yields, "These pictures kept their names, because each new name is the file of another "
                     "picture of the gallery:");
  add(TFate::GalleryFile, "These pictures kept their names, because each new name is the gallery's "
                          "own file:");
  add(TFate::Shared, "These pictures kept their names, because another picture of the gallery opens "
                     "the same file under another name:");
  add(TFate::Failed, "These pictures could not be renamed; each is listed under the name it has "
                     "now, with its new name and the reason:");
  if (!text.empty()) MessageDlg(text, TMsgDlgType::mtWarning, mbOK, 0);
}

// The present names of the pictures of one fate; a failed one with its new
// name and the reason.
std::vector<std::string> TRenameRun::NamesOf(TFate Fate) const {
  std::vector<std::string> names;
  for (int i = 0; i < int(steps_.size()); ++i) {
    const TStep& step = Step(i);
    if (step.Fate != Fate) continue;
    names.push_back(gallery_.GetImageFile(i)->FileName);
    if (Fate == TFate::Failed) names.back() += " (" + step.NewName + ": " + step.Reason + ")";
  }
  return names;
}

}  // namespace tessalune
