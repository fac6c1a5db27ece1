// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tessalune {

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

}  // namespace tessalune
