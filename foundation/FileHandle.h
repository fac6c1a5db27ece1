// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessalune {

// Small pieces for reading and writing files through POSIX descriptors.

// Owns one POSIX file descriptor and closes it once.
class TFileHandle {
public:
  explicit TFileHandle(int fd) : fd_(fd) {}
  ~TFileHandle();
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;

  int Get() const { return fd_; }
  // Closes now and answers whether everything written reached the file.
  bool Close();

private:
  int fd_;
};

// Writes all bytes, resuming after short writes and interruptions; false on
// any failure.
bool WriteAll(int fd, std::string_view bytes);

// The file that replacing fileName by renaming a new file over it must
// target: the end of a symbolic link, so that the link survives; fileName
// itself when it is no link or its target cannot be resolved.
std::string ReplacementTarget(const std::string& fileName);

}  // namespace tessalune
