// SPDX-License-Identifier: GPL-3.0-or-later
#include "ObjectStream.h"

#include <limits>

#include "AsciiText.h"
#include "Errors.h"

namespace tessalune {

void RaiseCorrupted() { throw EReadError(kCorruptedGallery); }

void TBinaryWriter::WriteNumber(std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) WriteByte(std::uint8_t(value >> (8 * i)));
}

void TBinaryWriter::WriteShortString(std::string_view text) {
  const std::string_view kept = text.substr(0, 255);
  WriteByte(std::uint8_t(kept.size()));
  WriteRaw(kept);
}

void TBinaryWriter::WriteInteger(std::int64_t value) {
  if (value >= -128 && value <= 127) {
    WriteValue(vaInt8);
    WriteNumber(std::uint64_t(value), 1);
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(vaInt16);
    WriteNumber(std::uint64_t(value), 2);
  } else if (value >= std::numeric_limits<std::int32_t>::min() &&
             value <= std::numeric_limits<std::int32_t>::max()) {
    WriteValue(vaInt32);
    WriteNumber(std::uint64_t(value), 4);
  } else {
    WriteValue(vaInt64);
    WriteNumber(std::uint64_t(value), 8);
  }
}

void TBinaryWriter::WriteString(std::string_view text) {
  if (text.size() <= 255) {
    WriteValue(vaString);
    WriteNumber(text.size(), 1);
  } else {
    WriteValue(vaLString);
    WriteNumber(text.size(), 4);
  }
  WriteRaw(text);
}

void TBinaryWriter::WriteIdent(std::string_view name) {
  if (SameText(name, "False")) {
    WriteValue(vaFalse);
  } else if (SameText(name, "True")) {
    WriteValue(vaTrue);
  } else {
    WriteValue(vaIdent);
    WriteShortString(name);
  }
}

std::uint8_t TBinaryReader::ReadByte() {
  if (AtEnd()) RaiseCorrupted();
  return std::uint8_t(bytes_[pos_++]);
}

TValueType TBinaryReader::NextValue() const {
  if (AtEnd()) RaiseCorrupted();
  return TValueType(std::uint8_t(bytes_[pos_]));
}

void TBinaryReader::ReadListEnd() {
  if (ReadValue() != vaNull) RaiseCorrupted();
}

void TBinaryReader::ReadSignature() {
  if (ReadBytes(kFilerSignature.size()) != kFilerSignature) RaiseCorrupted();
}

std::uint64_t TBinaryReader::ReadNumber(int size) {
  const std::string_view raw = ReadBytes(std::size_t(size));
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(raw[std::size_t(i)]);
  return value;
}

std::string_view TBinaryReader::ReadBytes(std::size_t count) {
  if (count > bytes_.size() - pos_) RaiseCorrupted();
  const std::string_view raw = bytes_.substr(pos_, count);
  pos_ += count;
  return raw;
}

std::string TBinaryReader::ReadShortString() { return std::string(ReadBytes(ReadByte())); }

std::int64_t TBinaryReader::ReadInteger(bool allow64) {
  switch (ReadValue()) {
    case vaInt8: return std::int8_t(ReadNumber(1));
    case vaInt16: return std::int16_t(ReadNumber(2));
    case vaInt32: return std::int32_t(ReadNumber(4));
    case vaInt64:
      if (allow64) return std::int64_t(ReadNumber(8));
      break;
    default: break;
  }
  RaiseCorrupted();
}

std::string TBinaryReader::ReadString() {
  switch (ReadValue()) {
    case vaString: return std::string(ReadBytes(ReadNumber(1)));
    case vaLString: return std::string(ReadBytes(ReadNumber(4)));
    default: RaiseCorrupted();
  }
}

std::string TBinaryReader::ReadIdent() {
  if (ReadValue() != vaIdent) RaiseCorrupted();
  return ReadShortString();
}

bool TBinaryReader::ReadBoolean() {
  switch (ReadValue()) {
    case vaFalse: return false;
    case vaTrue: return true;
    default: RaiseCorrupted();
  }
}

}  // namespace tessalune
