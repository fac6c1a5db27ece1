// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessalune {

// The tag byte in front of every value of the binary component form.
enum TValueType : std::uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaWString = 18,
  vaInt64 = 19,
};

// The four bytes that open the binary form.
inline constexpr std::string_view kFilerSignature = "TPF0";

// The message of every rejected gallery file, whatever the cause.
inline constexpr const char* kCorruptedGallery = "The gallery file is corrupted";

// Appends the pieces of the binary component form to a byte string. Numbers
// are little-endian; an integer takes the smallest form that holds it.
class TBinaryWriter {
public:
  const std::string& Bytes() const { return bytes_; }
  std::string TakeBytes() { return std::move(bytes_); }

  void WriteByte(std::uint8_t value) { bytes_.push_back(char(value)); }
  void WriteValue(TValueType type) { WriteByte(type); }
  void WriteListEnd() { WriteByte(vaNull); }
  void WriteSignature() { bytes_.append(kFilerSignature); }
  void WriteRaw(std::string_view bytes) { bytes_.append(bytes); }
  // Little-endian, the lowest `size` bytes of value.
  void WriteNumber(std::uint64_t value, int size);
  // A length byte and at most 255 bytes; a longer text is cut.
  void WriteShortString(std::string_view text);
  void WriteInteger(std::int64_t value);
  void WriteString(std::string_view text);
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  // vaIdent with the name, except that True and False (any letter case)
  // become the Boolean tags.
  void WriteIdent(std::string_view name);

private:
  std::string bytes_;
};

// Reads the binary component form back. Every read is bounds-checked; running
// past the end or meeting a value of the wrong kind raises EReadError with
// the corrupted-file message.
class TBinaryReader {
public:
  explicit TBinaryReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  std::uint8_t ReadByte();
  // The tag of the next value, without consuming it.
  TValueType NextValue() const;
  TValueType ReadValue() { return TValueType(ReadByte()); }
  // True when the next byte closes a list; the byte stays unread.
  bool EndOfList() const { return NextValue() == vaNull; }
  void ReadListEnd();
  void ReadSignature();
  std::uint64_t ReadNumber(int size);
  std::string ReadShortString();
  std::string_view ReadBytes(std::size_t count);
  // An integer of any of the three 32-bit forms, or of the 64-bit form when
  // allowed.
  std::int64_t ReadInteger(bool allow64 = false);
  // A vaString or vaLString value.
  std::string ReadString();
  // A vaIdent value.
  std::string ReadIdent();
  // A vaFalse or vaTrue value.
  bool ReadBoolean();

private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// Raises EReadError with the corrupted-file message.
[[noreturn]] void RaiseCorrupted();

}  // namespace tessalune
