// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "GallerySettings.h"

namespace tessalune {

class TBinaryReader;
class TImageFiles;

// One picture of a gallery: its file, its description and the file that
// published pages link to (never saved).
class TImageFile {
public:
  TImageFile(const TImageFile&) = delete;
  TImageFile& operator=(const TImageFile&) = delete;

  std::string FileName;
  std::string Caption;
  std::string WorkFileName;

  // The position in the gallery order.
  int Index() const;
  // Moves the picture to position index; a negative index is ignored, one
  // beyond the last raises the list-index error.
  void SetIndex(int index);

private:
  friend class TImageFiles;
  explicit TImageFile(TImageFiles& collection) : collection_(&collection) {}
  TImageFiles* collection_;
};

// The gallery's pictures in gallery order; owns its items.
class TImageFiles {
public:
  TImageFiles() = default;
  TImageFiles(const TImageFiles&) = delete;
  TImageFiles& operator=(const TImageFiles&) = delete;

  // Appends a picture with empty fields and returns it.
  TImageFile* Add();
  int Count() const { return int(items_.size()); }
  // The picture at index; the list-index error outside 0 to Count() - 1.
  TImageFile* Items(int index) const;
  int IndexOf(const TImageFile* item) const;
  // Frees the picture at index.
  void Delete(int index);
  void Move(int from, int to);
  void Clear() { items_.clear(); }

private:
  std::vector<std::unique_ptr<TImageFile>> items_;
};

// The gallery document: the pictures with their descriptions and every
// publishing setting, the defaults of a new gallery, duplicate detection when
// pictures are added, import from another gallery file, the gallery file
// itself and the change checksum.
class TPicGallery {
public:
  // Every setting False, 0 or empty; no pictures. Clear gives the defaults.
  TPicGallery() = default;
  virtual ~TPicGallery() = default;
  TPicGallery(const TPicGallery&) = delete;
  TPicGallery& operator=(const TPicGallery&) = delete;

  // Empties the pictures and gives every setting its default, except the
  // file-only settings.
  void Clear();

  // Reads a gallery file into this gallery. Settings the file leaves out keep
  // their values. "Cannot open file %s" (EFOpenError) when it cannot be
  // opened, "The gallery file is corrupted" (EReadError) for any fault in it;
  // entries applied before the fault stay.
  void LoadFromFile(const std::string& fileName);
  // Writes the gallery file. The previous file is replaced only once the new
  // one is complete (written in place when only the file, not its folder,
  // may be written); a failure raises EFCreateError, or EWriteError with the
  // file system's message for a write that fails part-way, and leaves the
  // previous file intact.
  void SaveToFile(const std::string& fileName) const;
  // The wrapping sum of the little-endian 32-bit words of the binary form.
  std::int32_t GetCheckSum() const;
  // The binary component form of the gallery.
  std::string WriteBinary() const;

  // The first picture that counts as the same file as fileName: the same path
  // (letter case of A to Z ignored), or the same file name and the same size.
  TImageFile* FindFile(const std::string& fileName) const;
  // Appends one picture, asking first when it is already in the gallery;
  // returns nullptr when it was not added.
  TImageFile* AddFile(const std::string& fileName);
  // Adds a batch in case-insensitive order of the full paths; stops at Cancel.
  void AddFiles(const std::vector<std::string>& fileNames);
  // Asks for another gallery file and adds its pictures with their
  // descriptions; its settings are not taken over.
  void Import();

  TImageFile* GetImageFile(int index) const { return imageFiles_.Items(index); }
  int GetImageCount() const { return imageFiles_.Count(); }
  TImageFiles& ImageFiles() { return imageFiles_; }
  const TImageFiles& ImageFiles() const { return imageFiles_; }

  // The answer to the last duplicate question (a TModalResult; 0 for none).
  int FDuplicateAnswer = 0;

  // The component name a loaded file gave; written back by the next save.
  const std::string& Name() const { return name_; }
  std::int32_t Tag() const { return tag_; }

  // Each setting X of the list has X() and SetX(); the setters of the
  // trimmed settings strip codes 0 to 32 from both ends.
#define TESSALUNE_SETTING_ACCESSORS(Name, Kind, Default, Flags)                      \
  TSettingArg<TSettingKind::Kind> Name() const { return F##Name; }                   \
  void Set##Name(TSettingArg<TSettingKind::Kind> value) {                            \
    F##Name = StoredValue(TSettingFlags::Flags, value);                              \
  }
  TESSALUNE_GALLERY_SETTINGS(TESSALUNE_SETTING_ACCESSORS)
#undef TESSALUNE_SETTING_ACCESSORS

  // Every setting, in file order, for the code that walks all of them. Its
  // member pointers reach the stored values directly: whoever assigns through
  // them passes the value through StoredValue, as the setters do.
  static const std::array<TGallerySetting, kGallerySettingCount>& Settings();

private:
  void ReadBinary(std::string_view binary);
  void ReadProperty(TBinaryReader& reader);
  void ReadSetting(const TGallerySetting& setting, TBinaryReader& reader);
  void ReadImageFiles(TBinaryReader& reader);
  void SetName(const std::string& name);

  TImageFiles imageFiles_;
  std::string name_;
  std::int32_t tag_ = 0;
  // The component's design position, kept in 16 bits each.
  std::uint16_t left_ = 0;
  std::uint16_t top_ = 0;

#define TESSALUNE_SETTING_FIELD(Name, Kind, Default, Flags) TSettingType<TSettingKind::Kind> F##Name{};
  TESSALUNE_GALLERY_SETTINGS(TESSALUNE_SETTING_FIELD)
#undef TESSALUNE_SETTING_FIELD
};

}  // namespace tessalune
