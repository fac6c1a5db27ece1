// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "Errors.h"
#include "ObjectStream.h"

namespace tessalune {

namespace {

// Owns one POSIX file descriptor.
class TFileHandle {
public:
  explicit TFileHandle(int fd) : fd_(fd) {}
  ~TFileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;

  int Get() const { return fd_; }
  // Closes now and tells whether the close succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(std::size_t(written));
  }
  return true;
}

// The file that a save really replaces: the target of a symbolic link, so
// that the link itself survives.
std::string ResolvedTarget(const std::string& fileName) {
  std::error_code error;
  if (std::filesystem::is_symlink(fileName, error)) {
    const std::filesystem::path target = std::filesystem::canonical(fileName, error);
    if (!error) return target.string();
  }
  return fileName;
}

// Creates a new, unused file beside target; returns its descriptor or -1.
int CreateSibling(const std::string& target, std::string& siblingName) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    siblingName = target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(attempt);
    const int fd = ::open(siblingName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string ReadWholeFile(const std::string& fileName) {
  TFileHandle file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || S_ISDIR(status.st_mode)) {
    throw EFOpenError(Format("Cannot open file %s", fileName.c_str()));
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) RaiseCorrupted();
    if (count == 0) return bytes;
    bytes.append(buffer, std::size_t(count));
  }
}

void ReplaceFile(const std::string& fileName, std::string_view bytes) {
  const std::string target = ResolvedTarget(fileName);
  std::string temporary;
  TFileHandle file(CreateSibling(target, temporary));
  const auto fail = [&](bool created) {
    if (created) ::unlink(temporary.c_str());
    throw EFCreateError(Format("Cannot create file %s", fileName.c_str()));
  };
  if (file.Get() < 0) fail(false);
  struct stat previous {};
  if (::stat(target.c_str(), &previous) == 0) ::fchmod(file.Get(), previous.st_mode & 07777);
  if (!WriteAll(file.Get(), bytes) || ::fsync(file.Get()) != 0 || !file.Close()) fail(true);
  if (::rename(temporary.c_str(), target.c_str()) != 0) fail(true);
}

}  // namespace tessalune
