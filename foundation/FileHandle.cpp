// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileHandle.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace tessalune {

TFileHandle::~TFileHandle() {
  if (fd_ >= 0) ::close(fd_);
}

bool TFileHandle::Close() {
  const int fd = fd_;
  fd_ = -1;
  return fd >= 0 && ::close(fd) == 0;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string ReplacementTarget(const std::string& fileName) {
  std::error_code error;
  if (std::filesystem::is_symlink(fileName, error)) {
    const std::filesystem::path target = std::filesystem::canonical(fileName, error);
    if (!error) return target.string();
  }
  return fileName;
}

}  // namespace tessalune
