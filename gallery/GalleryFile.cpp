// SPDX-License-Identifier: GPL-3.0-or-later
// The gallery's binary component form, its change checksum and the gallery
// file: saving through the text writer, loading through the parser and then
// applying the entries one by one.
#include <exception>

#include "AsciiText.h"
#include "ColorNames.h"
#include "Errors.h"
#include "FileReplace.h"
#include "FileStore.h"
#include "GalleryProp.h"
#include "ObjectParser.h"
#include "ObjectStream.h"
#include "ObjectText.h"
#include "TextScanner.h"

namespace tessalune {

namespace {

constexpr const char* kClassName = "TPicGallery";

// A string entry, left out when the string is empty.
void WriteStringEntry(TBinaryWriter& writer, const char* name, const std::string& value) {
  if (value.empty()) return;
  writer.WriteShortString(name);
  writer.WriteString(value);
}

// One setting's entry: a colour by its name when it has one; an empty
// string setting has none.
void WriteSetting(TBinaryWriter& writer, const TPicGallery& gallery, const TGallerySetting& setting) {
  if (setting.Kind == TSettingKind::Text) {
    WriteStringEntry(writer, setting.Name, gallery.*setting.Text);
    return;
  }
  writer.WriteShortString(setting.Name);
  std::string colorName;
  if (setting.Kind == TSettingKind::Boolean) {
    writer.WriteBoolean(gallery.*setting.Flag);
  } else if (setting.Kind == TSettingKind::Color && ColorToIdent(gallery.*setting.Number, colorName)) {
    writer.WriteValue(vaIdent);
    writer.WriteShortString(colorName);
  } else {
    writer.WriteInteger(gallery.*setting.Number);
  }
}

void WriteImageFiles(TBinaryWriter& writer, const TImageFiles& pictures) {
  writer.WriteShortString("ImageFiles");
  writer.WriteValue(vaCollection);
  for (int i = 0; i < pictures.Count(); ++i) {
    writer.WriteValue(vaList);
    WriteStringEntry(writer, "FileName", pictures.Items(i)->FileName);
    WriteStringEntry(writer, "Caption", pictures.Items(i)->Caption);
    writer.WriteListEnd();
  }
  writer.WriteListEnd();
}

void WriteIntegerEntry(TBinaryWriter& writer, const char* name, std::int64_t value) {
  if (value == 0) return;
  writer.WriteShortString(name);
  writer.WriteInteger(value);
}

std::int32_t ReadInt32(TBinaryReader& reader) { return std::int32_t(reader.ReadInteger()); }

}  // namespace

std::string TPicGallery::WriteBinary() const {
  TBinaryWriter writer;
  writer.WriteSignature();
  writer.WriteShortString(kClassName);
  writer.WriteShortString(name_);
  WriteIntegerEntry(writer, "Tag", tag_);
  WriteImageFiles(writer, imageFiles_);
  for (const TGallerySetting& setting : Settings()) WriteSetting(writer, *this, setting);
  WriteIntegerEntry(writer, "Left", left_);
  WriteIntegerEntry(writer, "Top", top_);
  writer.WriteListEnd();
  writer.WriteListEnd();
  return writer.TakeBytes();
}

std::int32_t TPicGallery::GetCheckSum() const {
  const std::string binary = WriteBinary();
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < binary.size(); i += 4) {
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < 4 && i + k < binary.size(); ++k) {
      word |= std::uint32_t(static_cast<unsigned char>(binary[i + k])) << (8 * k);
    }
    sum += word;
  }
  return std::int32_t(sum);
}

void TPicGallery::SaveToFile(const std::string& fileName) const {
  ReplaceFileBytes(fileName, ObjectBinaryToText(WriteBinary()), TDurability::Flushed, TFinalLink::Follow);
}

void TPicGallery::LoadFromFile(const std::string& fileName) {
  imageFiles_.Clear();
  const std::string text = ReadWholeFile(fileName);
  try {
    ReadBinary(ObjectTextToBinary(text));
  } catch (const std::exception&) {
    throw EReadError(kCorruptedGallery);
  }
}

void TPicGallery::ReadBinary(std::string_view binary) {
  TBinaryReader reader(binary);
  reader.ReadSignature();
  // An optional prefix: $F0 or flags, then the position when it has one.
  if ((reader.NextValue() & 0xF0) == 0xF0 && (reader.ReadByte() & 0x02) != 0) reader.ReadInteger();
  reader.ReadShortString();
  SetName(reader.ReadShortString());
  while (!reader.EndOfList()) ReadProperty(reader);
  reader.ReadListEnd();
  // The gallery owns no other components: a nested object is a fault.
  reader.ReadListEnd();
}

void TPicGallery::SetName(const std::string& name) {
  if (!name.empty() && (!IsValidIdent(name) || name.size() > 255)) RaiseCorrupted();
  name_ = name;
}

void TPicGallery::ReadProperty(TBinaryReader& reader) {
  const std::string name = reader.ReadShortString();
  if (SameText(name, "ImageFiles")) return ReadImageFiles(reader);
  if (SameText(name, "Name")) return SetName(reader.ReadString());
  if (SameText(name, "Tag")) {
    tag_ = ReadInt32(reader);
    return;
  }
  if (SameText(name, "Left") || SameText(name, "Top")) {
    (SameText(name, "Left") ? left_ : top_) = std::uint16_t(ReadInt32(reader));
    return;
  }
  for (const TGallerySetting& setting : Settings()) {
    if (SameText(name, setting.Name)) return ReadSetting(setting, reader);
  }
  RaiseCorrupted();
}

void TPicGallery::ReadSetting(const TGallerySetting& setting, TBinaryReader& reader) {
  switch (setting.Kind) {
    case TSettingKind::Text:
      this->*setting.Text = StoredValue(setting.Flags, reader.ReadString());
      break;
    case TSettingKind::Integer:
      this->*setting.Number = ReadInt32(reader);
      break;
    case TSettingKind::Boolean:
      this->*setting.Flag = reader.ReadBoolean();
      break;
    case TSettingKind::Color:
      if (reader.NextValue() == vaIdent) {
        if (!IdentToColor(reader.ReadIdent(), this->*setting.Number)) RaiseCorrupted();
      } else {
        this->*setting.Number = ReadInt32(reader);
      }
      break;
  }
}

// A non-empty collection replaces the pictures read so far; each item adds a
// picture at the end.
void TPicGallery::ReadImageFiles(TBinaryReader& reader) {
  if (reader.ReadValue() != vaCollection) RaiseCorrupted();
  if (!reader.EndOfList()) imageFiles_.Clear();
  while (!reader.EndOfList()) {
    const TValueType next = reader.NextValue();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32 || next == vaInt64) {
      reader.ReadInteger(true);
    }
    TImageFile* picture = imageFiles_.Add();
    if (reader.ReadValue() != vaList) RaiseCorrupted();
    while (!reader.EndOfList()) {
      const std::string name = reader.ReadShortString();
      if (SameText(name, "FileName")) {
        picture->FileName = reader.ReadString();
      } else if (SameText(name, "Caption")) {
        picture->Caption = reader.ReadString();
      } else {
        RaiseCorrupted();
      }
    }
    reader.ReadListEnd();
  }
  reader.ReadListEnd();
}

}  // namespace tessalune
