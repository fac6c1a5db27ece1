// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegistryFormat.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <utility>

namespace tessalune {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kDword = "dword:";
constexpr std::size_t kMaxKeyPart = 255;

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
  return lower;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Backslash and quote are escaped as in a registry export; control bytes,
// which an export cannot carry, as \xHH so that every string survives.
std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (IsControl(static_cast<unsigned char>(c))) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out + '"';
}

// Reads a quoted string starting at line[pos] == '"'; leaves pos after the
// closing quote.
bool Unquote(std::string_view line, std::size_t& pos, std::string& text) {
  if (pos >= line.size() || line[pos] != '"') return false;
  text.clear();
  for (++pos; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++pos >= line.size()) return false;
    const char e = line[pos];
    if (e == '\\' || e == '"') {
      text += e;
    } else if (e == 'x' && pos + 2 < line.size() && HexDigit(line[pos + 1]) >= 0 &&
               HexDigit(line[pos + 2]) >= 0) {
      text += static_cast<char>(HexDigit(line[pos + 1]) * 16 + HexDigit(line[pos + 2]));
      pos += 2;
    } else {
      return false;
    }
  }
  return false;
}

bool ParseDword(std::string_view digits, std::int32_t& number) {
  if (digits.empty() || digits.size() > 8) return false;
  std::uint32_t value = 0;
  for (const char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  number = static_cast<std::int32_t>(value);
  return true;
}

bool ParseValueLine(std::string_view line, TRegKey& key) {
  TRegValue value;
  std::size_t pos = 0;
  if (line[0] == '@') {
    pos = 1;
  } else if (!Unquote(line, pos, value.Name)) {
    return false;
  }
  if (pos >= line.size() || line[pos] != '=') return false;
  const std::string_view data = line.substr(pos + 1);
  if (data.starts_with(kDword)) {
    value.Type = TRegDataType::rdInteger;
    if (!ParseDword(data.substr(kDword.size()), value.Number)) return false;
  } else {
    std::size_t at = 0;
    if (!Unquote(data, at, value.Text) || at != data.size()) return false;
  }
  key.SetValue(value);
  return true;
}

TRegKey* ParseKeyLine(std::string_view line, std::string_view rootName, TRegistryData& data) {
  if (line.back() != ']') return nullptr;
  const std::string_view inner = line.substr(1, line.size() - 2);
  if (!inner.starts_with(rootName)) return nullptr;
  std::string_view rest = inner.substr(rootName.size());
  if (!rest.empty() && rest[0] != '\\') return nullptr;
  std::string path;
  if (!NormaliseKeyPath(rest, path)) return nullptr;
  if (!rest.empty() && rest.substr(1) != path) return nullptr;  // an empty part
  return &data.CreateKey(path);
}

// Appends one value's line. Here and in FormatRegistryText every piece goes
// straight into text: a string literal plus a temporary string would make gcc
// 12 warn of overlapping copies (-Wrestrict) that cannot occur.
void AppendValueLine(std::string& text, const TRegValue& value) {
  if (value.Name.empty())
    text += '@';
  else
    text += Quote(value.Name);
  text += '=';
  if (value.Type == TRegDataType::rdInteger) {
    char number[16];
    std::snprintf(number, sizeof number, "%08x", static_cast<std::uint32_t>(value.Number));
    text.append(kDword).append(number);
  } else {
    text += Quote(value.Text);
  }
  text += '\n';
}

std::string_view TrimLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
    line.remove_suffix(1);
  return line;
}

}  // namespace

const TRegValue* TRegKey::FindValue(const std::string& name) const {
  const auto it = index_.find(name);
  return it == index_.end() ? nullptr : &values_[it->second];
}

bool TRegKey::SetValue(const TRegValue& value) {
  const auto [it, added] = index_.try_emplace(value.Name, values_.size());
  if (added) {
    values_.push_back(value);
    return true;
  }
  if (values_[it->second] == value) return false;
  values_[it->second] = value;
  return true;
}

bool TRegKey::DeleteValue(const std::string& name) {
  const auto it = index_.find(name);
  if (it == index_.end()) return false;
  values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(it->second));
  index_.clear();
  for (std::size_t i = 0; i < values_.size(); ++i) index_.emplace(values_[i].Name, i);
  return true;
}

TRegistryData::TRegistryData() : keys_{TRegKey("")}, index_{{"", 0}} {}

const TRegKey* TRegistryData::FindKey(std::string_view path) const {
  const auto it = index_.find(LowerAscii(path));
  return it == index_.end() ? nullptr : &keys_[it->second];
}

TRegKey* TRegistryData::FindKey(std::string_view path) {
  return const_cast<TRegKey*>(std::as_const(*this).FindKey(path));
}

TRegKey& TRegistryData::CreateKey(std::string_view path) {
  std::size_t end = 0;
  while (true) {
    end = path.find('\\', end + 1);
    const std::string_view prefix = path.substr(0, end);
    if (index_.try_emplace(LowerAscii(prefix), keys_.size()).second)
      keys_.emplace_back(std::string(prefix));
    if (end == std::string_view::npos) return *FindKey(path);
  }
}

bool NormaliseKeyPath(std::string_view path, std::string& normalised) {
  normalised.clear();
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part.size() > kMaxKeyPart) return false;
    if (std::any_of(part.begin(), part.end(),
                    [](char c) { return IsControl(static_cast<unsigned char>(c)); }))
      return false;
    if (!part.empty()) {
      if (!normalised.empty()) normalised += '\\';
      normalised += part;
    }
    start = end + 1;
  }
  return true;
}

bool ParseRegistryText(std::string_view text, std::string_view rootName, TRegistryData& data) {
  data = TRegistryData();
  bool headerSeen = false;
  TRegKey* key = nullptr;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    const std::string_view line = TrimLineEnd(text.substr(0, newline));
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    if (line.empty() || line[0] == ';') continue;
    if (!headerSeen) {
      if (line != kHeader) return false;
      headerSeen = true;
    } else if (line[0] == '[') {
      if (!(key = ParseKeyLine(line, rootName, data))) return false;
    } else if (line[0] == '"' || line[0] == '@') {
      if (!key || !ParseValueLine(line, *key)) return false;
    } else {
      return false;
    }
  }
  return true;  // a file without any line is an empty store
}

std::string FormatRegistryText(const TRegistryData& data, std::string_view rootName) {
  std::string text(kHeader);
  text += '\n';
  for (const TRegKey& key : data.Keys()) {
    if (key.Path().empty() && key.Values().empty()) continue;
    text.append("\n[").append(rootName);
    if (!key.Path().empty()) text.append("\\").append(key.Path());
    text += "]\n";
    for (const TRegValue& value : key.Values()) AppendValueLine(text, value);
  }
  return text;
}

}  // namespace tessalune
