// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileReplace.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <system_error>

#include "Errors.h"
#include "FileHandle.h"

namespace tessalune {
namespace {

// Writes the new content to a descriptor; false with errno set on failure.
using TContentWriter = std::function<bool(int fd)>;

[[noreturn]] void RaiseCreateError(const std::string& fileName) {
  throw EFCreateError(Format("Cannot create file %s", fileName.c_str()));
}

// The file system's own words for the failure in errno.
[[noreturn]] void RaiseWriteError(int error) {
  throw EWriteError(std::error_code(error ? error : EIO, std::system_category()).message());
}

// An existing file that nobody may write, or that this user may not write,
// is kept as a direct write would keep it: renaming over it would replace it
// regardless.
bool MayReplace(const std::string& target, const struct stat& status) {
  return (status.st_mode & 0222) != 0 && ::access(target.c_str(), W_OK) == 0;
}

// Creates a new, unused file in target's folder; returns its descriptor, or
// -1 with errno set. Its name is short of its own, so that a target name of
// the longest length the file system allows can still be replaced.
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

// Writes over the file itself. For a regular file the room is reserved before
// the first byte changes, and what lies beyond the new content is cut off at
// the end. O_NONBLOCK: a pipe without a reader fails at once.
void WriteInPlace(const std::string& target, const std::string& fileName, std::int64_t size,
                  const TContentWriter& write, TDurability durability, bool regular) {
  TFileHandle file(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) RaiseCreateError(fileName);
  if (regular && size > 0 && ::fallocate(file.Get(), 0, 0, size) != 0 && errno != EOPNOTSUPP) {
    RaiseWriteError(errno);
  }
  const auto cutAtEnd = [&] {
    const off_t end = ::lseek(file.Get(), 0, SEEK_CUR);
    return end >= 0 && ::ftruncate(file.Get(), end) == 0;
  };
  if (!write(file.Get()) || (regular && !cutAtEnd()) ||
      (durability == TDurability::Flushed && ::fsync(file.Get()) != 0)) {
    RaiseWriteError(errno);
  }
  if (!file.Close()) RaiseWriteError(errno);
}

// Whether a file is there to be replaced, and its status. A link that gives
// way itself is no file to keep but a name to take, as a missing file is.
bool StatTarget(const std::string& target, TFinalLink link, struct stat& status) {
  if (link == TFinalLink::Follow) return ::stat(target.c_str(), &status) == 0;
  return ::lstat(target.c_str(), &status) == 0 && !S_ISLNK(status.st_mode);
}

void ReplaceFileContent(const std::string& fileName, std::int64_t size, const TContentWriter& write,
                        TDurability durability, TFinalLink link) {
  const std::string target = link == TFinalLink::Follow ? ReplacementTarget(fileName) : fileName;
  struct stat previous {};
  const bool exists = StatTarget(target, link, previous);
  const bool regular = exists && S_ISREG(previous.st_mode);
  if (exists && !regular) return WriteInPlace(target, fileName, size, write, durability, false);
  if (exists && !MayReplace(target, previous)) RaiseCreateError(fileName);
  std::string temporary;
  TFileHandle file(CreateSibling(target, temporary));
  if (file.Get() < 0) {
    // A folder the user may not write, holding a file the user may (or no
    // folder at all, such as a file reached through /proc).
    if (exists) return WriteInPlace(target, fileName, size, write, durability, true);
    RaiseCreateError(fileName);
  }
  if (exists) ::fchmod(file.Get(), previous.st_mode & 07777);
  const bool written =
      write(file.Get()) && (durability == TDurability::Cached || ::fsync(file.Get()) == 0);
  const int error = errno;
  if (!file.Close() || !written) {
    const int closeError = written ? errno : error;
    ::unlink(temporary.c_str());
    RaiseWriteError(closeError);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    RaiseCreateError(fileName);
  }
}

}  // namespace

void ReplaceFileBytes(const std::string& fileName, std::string_view bytes, TDurability durability,
                      TFinalLink link) {
  ReplaceFileContent(
      fileName, std::int64_t(bytes.size()), [bytes](int fd) { return WriteAll(fd, bytes); },
      durability, link);
}

bool CanReplaceFile(const std::string& fileName) {
  const std::string target = ReplacementTarget(fileName);
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0) {
    // A missing file is made beside where it goes.
    const std::string folder = target.substr(0, target.rfind('/') + 1);
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
  }
  // A device or a pipe is written as it is; a folder never.
  if (!S_ISREG(status.st_mode))
    return !S_ISDIR(status.st_mode) && ::access(target.c_str(), W_OK) == 0;
  // A file this user may write is replaced beside it or, where the folder
  // takes no new file, written in place.
  return MayReplace(target, status);
}

void ReplaceFileByCopy(const std::string& source, const std::string& dest, TFinalLink link) {
  const TFileHandle input(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat status {};
  if (input.Get() < 0 || ::fstat(input.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    throw EFOpenError(Format("Cannot open file %s", source.c_str()));
  }
  const auto copy = [&input](int fd) {
    constexpr std::size_t kChunk = std::size_t(1) << 30;
    for (;;) {
      const ssize_t sent = ::sendfile(fd, input.Get(), nullptr, kChunk);
      if (sent == 0) return true;
      if (sent < 0 && errno != EINTR) return false;
    }
  };
  ReplaceFileContent(dest, std::int64_t(status.st_size), copy, TDurability::Cached, link);
}

}  // namespace tessalune
