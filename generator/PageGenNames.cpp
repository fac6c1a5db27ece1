// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageGenNames.h"

#include <algorithm>
#include <filesystem>

namespace tessalune {

std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  const std::size_t nameStart = path.size() - FileNamePart(path).size();
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) {
    return path + extension;
  }
  return path.substr(0, dot) + extension;
}

bool SameTextAscii(const std::string& a, const std::string& b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

bool FileExists(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace tessalune
