// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Errors.h"
#include "FileHandle.h"
#include "ObjectStream.h"

namespace tessalune {

namespace {

// Far beyond any real gallery (100,000 pictures take about 10 MB); a larger
// file is refused rather than read into memory.
constexpr off_t kLargestFile = off_t(1) << 30;

}  // namespace

std::string ReadWholeFile(const std::string& fileName) {
  // Non-blocking, so that opening a pipe cannot hang; only regular files pass.
  TFileHandle file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat status {};
  if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    throw EFOpenError(Format("Cannot open file %s", fileName.c_str()));
  }
  if (status.st_size > kLargestFile) RaiseCorrupted();
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) RaiseCorrupted();
    if (count == 0) return bytes;
    bytes.append(buffer, std::size_t(count));
    if (bytes.size() > std::size_t(kLargestFile)) RaiseCorrupted();
  }
}

}  // namespace tessalune
