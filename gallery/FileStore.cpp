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

// An existing file that nobody may write, or that this user may not write,
// is kept as a direct write would keep it: renaming over it would replace it
// regardless.
bool MayReplace(const std::string& target, const struct stat& status) {
  return (status.st_mode & 0222) != 0 && ::access(target.c_str(), W_OK) == 0;
}

// Creates a new, unused file in target's folder; returns its descriptor or -1.
// Its name is short of its own, so that a target name of the longest length
// the file system allows can still be saved.
int CreateSibling(const std::string& target, std::string& siblingName) {
  const std::string folder = target.substr(0, target.rfind('/') + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    siblingName = folder + ".tessalune-" + std::to_string(::getpid()) + "-" +
                  std::to_string(attempt) + ".tmp";
    const int fd = ::open(siblingName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

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

void ReplaceFile(const std::string& fileName, std::string_view bytes) {
  const std::string target = ReplacementTarget(fileName);
  std::string temporary;
  const auto fail = [&](bool created) {
    if (created) ::unlink(temporary.c_str());
    throw EFCreateError(Format("Cannot create file %s", fileName.c_str()));
  };
  struct stat previous {};
  const bool exists = ::stat(target.c_str(), &previous) == 0;
  if (exists && !MayReplace(target, previous)) fail(false);
  TFileHandle file(CreateSibling(target, temporary));
  if (file.Get() < 0) fail(false);
  if (exists) ::fchmod(file.Get(), previous.st_mode & 07777);
  if (!WriteAll(file.Get(), bytes) || ::fsync(file.Get()) != 0 || !file.Close()) fail(true);
  if (::rename(temporary.c_str(), target.c_str()) != 0) fail(true);
}

}  // namespace tessalune
