// SPDX-License-Identifier: GPL-3.0-or-later
#include "WriteGuard.h"

#include <filesystem>

#include "Errors.h"

namespace tessalune {
void TWriteGuard::Reset(const std::string& outputFolder,
                        const std::vector<std::string>& protectedFiles) {
  outputFolder_ = outputFolder;
  protected_.clear();
  for (const std::string& file : protectedFiles) {
    if (const auto id = FileIdOf(file)) {
      protected_.insert(*id);
    }
  }
}

bool TWriteGuard::IsInside(const std::string& target) const {
  namespace fs = std::filesystem;
  const fs::path base = fs::path(outputFolder_).lexically_normal();
  const fs::path relative = fs::path(target).lexically_normal().lexically_relative(base);
  if (relative.empty() || relative == ".") {
    return false;
  }
  return *relative.begin() != "..";
}

bool TWriteGuard::IsProtected(const std::string& target) const {
  const auto id = FileIdOf(target);
  return id && protected_.count(*id) != 0;
}

void TWriteGuard::CheckInside(const std::string& target) const {
  if (!IsInside(target)) {
    throw EFCreateError(Format("Cannot create file %s", target.c_str()));
  }
}

bool IsSameFile(const std::string& a, const std::string& b) {
  const auto idA = FileIdOf(a);
  return idA && idA == FileIdOf(b);
}

}  // namespace tessalune
