// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegistryStore.h"

#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Errors.h"
#include "FileHandle.h"
#include "FileReplace.h"
#include "ShellLib.h"

namespace tessalune {
namespace {

// Settings take a few kilobytes; a larger file is not one of ours.
constexpr off_t kMaxStoreBytes = 4 * 1024 * 1024;
constexpr int kMaxAsideNames = 1000;

// fsBusy: the system could not open the file just now (out of descriptors or
// memory); the file itself may be fine and must not be moved aside.
enum class TFileState { fsMissing, fsGood, fsBad, fsBusy };

TFileState OpenFailure(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return TFileState::fsMissing;
    case EMFILE:
    case ENFILE:
    case ENOMEM:
    case EINTR:
    case EAGAIN:
      return TFileState::fsBusy;
    default:
      return TFileState::fsBad;
  }
}

bool ReadAll(int fd, off_t size, std::string& text) {
  text.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  char extra;
  return ::read(fd, &extra, 1) == 0;  // the file did not grow while read
}

TFileState ReadStoreFile(const std::string& fileName, std::string_view rootName,
                         TRegistryData& data) {
  data = TRegistryData();
  if (fileName.empty()) return TFileState::fsMissing;
  // O_NONBLOCK: a FIFO put in the file's place must not hang the program.
  TFileHandle file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.Get() < 0) return OpenFailure(errno);
  struct stat info {};
  std::string text;
  if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxStoreBytes ||
      !ReadAll(file.Get(), info.st_size, text) || !ParseRegistryText(text, rootName, data)) {
    data = TRegistryData();
    return TFileState::fsBad;
  }
  return TFileState::fsGood;
}

[[noreturn]] void RaiseCreateError(const std::string& fileName) {
  throw EFCreateError(Format("Cannot create file %s", fileName.c_str()));
}

bool LockFile(int fd, int operation) {
  while (::flock(fd, operation) != 0)
    if (errno != EINTR) return false;
  return true;
}

// Holds the exclusive writer lock of a store for its lifetime.
class TStoreLock {
public:
  explicit TStoreLock(const std::string& lockName)
      : file_(::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (file_.Get() < 0 || !LockFile(file_.Get(), LOCK_EX)) RaiseCreateError(lockName);
  }

private:
  TFileHandle file_;
};

void MoveAside(const std::string& fileName) {
  for (int n = 0; n < kMaxAsideNames; ++n) {
    std::string aside = fileName + ".corrupt";
    if (n) aside.append(".").append(std::to_string(n));
    struct stat info {};
    if (::lstat(aside.c_str(), &info) == 0 || errno != ENOENT) continue;
    if (::rename(fileName.c_str(), aside.c_str()) == 0) return;
    break;
  }
  RaiseCreateError(fileName);
}

void WriteStoreFile(const std::string& fileName, std::string_view text) {
  // A store too large to be read back must not replace a readable one.
  if (text.size() > static_cast<std::size_t>(kMaxStoreBytes)) RaiseCreateError(fileName);
  try {
    ReplaceFileBytes(fileName, text, TDurability::Flushed, TFinalLink::Follow);
  } catch (const EFCreateError&) {
    RaiseCreateError(fileName);  // also for a write that failed part-way
  }
}

}  // namespace

TRegistryStore::TRegistryStore(std::string rootName) : rootName_(std::move(rootName)) {
  const std::string config = GetUserConfigFolder();
  if (config.empty()) return;
  folder_ = config + "/tessalune";
  fileName_ = folder_ + "/" + rootName_ + ".reg";
}

std::string TRegistryStore::LockName() const { return folder_ + "/" + rootName_ + ".lock"; }

// Under the shared lock when there is a lock file, else unlocked (see the
// class comment); a lock that cannot be taken does not keep the settings
// from being read.
TRegistryData TRegistryStore::Load() const {
  const TFileHandle lock(
      fileName_.empty() ? -1 : ::open(LockName().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (lock.Get() >= 0) LockFile(lock.Get(), LOCK_SH);
  TRegistryData data;
  ReadStoreFile(fileName_, rootName_, data);
  return data;
}

TRegistryData TRegistryStore::Update(const std::function<bool(TRegistryData&)>& change) const {
  if (fileName_.empty()) RaiseCreateError(rootName_ + ".reg");
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) RaiseCreateError(fileName_);
  TStoreLock lock(LockName());
  TRegistryData data;
  const TFileState state = ReadStoreFile(fileName_, rootName_, data);
  if (state == TFileState::fsBusy) RaiseCreateError(fileName_);
  if (!change(data)) return data;
  if (state == TFileState::fsBad) MoveAside(fileName_);
  WriteStoreFile(fileName_, FormatRegistryText(data, rootName_));
  return data;
}

}  // namespace tessalune
