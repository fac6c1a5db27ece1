// SPDX-License-Identifier: GPL-3.0-or-later
#include "GalleryProp.h"

#include <algorithm>

#include "AsciiText.h"
#include "Errors.h"
#include "FileLib.h"
#include "TextCompare.h"
#include "UserPrompt.h"

namespace tessalune {

namespace {

constexpr TGallerySetting MakeSetting(const char* name, TSettingKind kind, TSettingFlags flags,
                                      std::string TPicGallery::*member, const char* value) {
  return {name, kind, flags, member, nullptr, nullptr, value, 0};
}

constexpr TGallerySetting MakeSetting(const char* name, TSettingKind kind, TSettingFlags flags,
                                      std::int32_t TPicGallery::*member, std::int32_t value) {
  return {name, kind, flags, nullptr, member, nullptr, nullptr, value};
}

constexpr TGallerySetting MakeSetting(const char* name, TSettingKind kind, TSettingFlags flags,
                                      bool TPicGallery::*member, bool value) {
  return {name, kind, flags, nullptr, nullptr, member, nullptr, value ? 1 : 0};
}

// The part of a path after its last "/".
std::string_view ExtractFileName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

int TImageFile::Index() const { return collection_->IndexOf(this); }

void TImageFile::SetIndex(int index) {
  const int current = Index();
  if (index >= 0 && index != current) collection_->Move(current, index);
}

TImageFile* TImageFiles::Add() {
  items_.push_back(std::unique_ptr<TImageFile>(new TImageFile(*this)));
  return items_.back().get();
}

TImageFile* TImageFiles::Items(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return items_[std::size_t(index)].get();
}

int TImageFiles::IndexOf(const TImageFile* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == item) return int(i);
  }
  return -1;
}

void TImageFiles::Delete(int index) {
  Items(index);
  items_.erase(items_.begin() + index);
}

void TImageFiles::Move(int from, int to) {
  Items(from);
  Items(to);
  std::unique_ptr<TImageFile> item = std::move(items_[std::size_t(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
}

const std::array<TGallerySetting, kGallerySettingCount>& TPicGallery::Settings() {
#define TESSALUNE_SETTING_ROW(Name, Kind, Default, Flags) \
  MakeSetting(#Name, TSettingKind::Kind, TSettingFlags::Flags, &TPicGallery::F##Name, Default),
  static constexpr std::array<TGallerySetting, kGallerySettingCount> settings{
      {TESSALUNE_GALLERY_SETTINGS(TESSALUNE_SETTING_ROW)}};
#undef TESSALUNE_SETTING_ROW
  return settings;
}

void TPicGallery::Clear() {
  imageFiles_.Clear();
  for (const TGallerySetting& setting : Settings()) {
    if (setting.Flags == TSettingFlags::FileOnly) continue;
    if (setting.Text) this->*setting.Text = StoredValue(setting.Flags, std::string(setting.DefaultText));
    if (setting.Number) this->*setting.Number = setting.DefaultNumber;
    if (setting.Flag) this->*setting.Flag = setting.DefaultNumber != 0;
  }
}

TImageFile* TPicGallery::FindFile(const std::string& fileName) const {
  std::int64_t size = -1;
  for (int i = 0; i < imageFiles_.Count(); ++i) {
    TImageFile* picture = imageFiles_.Items(i);
    if (SameText(picture->FileName, fileName)) return picture;
    if (!SameText(ExtractFileName(picture->FileName), ExtractFileName(fileName))) continue;
    if (size < 0) size = FileSizeOf(fileName);
    if (FileSizeOf(picture->FileName) == size) return picture;
  }
  return nullptr;
}

TImageFile* TPicGallery::AddFile(const std::string& fileName) {
  if (FDuplicateAnswer != mrYesToAll && FindFile(fileName) != nullptr) {
    if (FDuplicateAnswer != mrNoToAll) {
      FDuplicateAnswer = MessageDlg(
          "The file \"" + fileName + "\" already exists in gallery. Do you want to add copy?",
          TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel | mbNoToAll | mbYesToAll, 0);
    }
    if (FDuplicateAnswer != mrYes && FDuplicateAnswer != mrYesToAll) return nullptr;
  }
  TImageFile* picture = imageFiles_.Add();
  picture->FileName = fileName;
  return picture;
}

void TPicGallery::AddFiles(const std::vector<std::string>& fileNames) {
  FDuplicateAnswer = mrNone;
  std::vector<std::string> sorted = fileNames;
  // Names equal but for letter case keep a fixed order too, so the result
  // never depends on the order the caller gave.
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    const int order = AnsiCompareText(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  for (const std::string& fileName : sorted) {
    AddFile(fileName);
    if (FDuplicateAnswer == mrCancel) break;
  }
}

void TPicGallery::Import() {
  TFileDialogRequest request;
  request.Title = "Import";
  request.Filter = "Gallery Files|*.gmf|All Files|*.*";
  std::vector<std::string> files;
  if (!UserPrompt().OpenDialog(request, files) || files.empty()) return;
  FDuplicateAnswer = mrNone;
  TPicGallery imported;
  imported.LoadFromFile(files.front());
  for (int i = 0; i < imported.GetImageCount(); ++i) {
    const TImageFile* source = imported.GetImageFile(i);
    TImageFile* added = AddFile(source->FileName);
    if (FDuplicateAnswer == mrCancel) break;
    if (added != nullptr) added->Caption = source->Caption;
  }
}

}  // namespace tessalune
