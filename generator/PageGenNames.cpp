// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageGenNames.h"

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

bool FileExists(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace tessalune
