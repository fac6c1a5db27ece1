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

// Holds the exclusive writer lock of a store for its lifetime.
class TStoreLock {
public:
  explicit TStoreLock(const std::string& lockName)
      : file_(::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (file_.Get() < 0) RaiseCreateError(lockName);
    while (::flock(file_.Get(), LOCK_EX) != 0)
      if (errno != EINTR) RaiseCreateError(lockName);
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

void ReplaceFile(const std::string& fileName, std::string_view text) {
  // A store too large to be read back must not replace a readable one.
  if (text.size() > static_cast<std::size_t>(kMaxStoreBytes)) RaiseCreateError(fileName);
  const std::string target = ReplacementTarget(fileName);
  std::string tempName = target + ".XXXXXX";
  TFileHandle temp(::mkostemp(tempName.data(), O_CLOEXEC));
  if (temp.Get() < 0) RaiseCreateError(fileName);
  const bool written = WriteAll(temp.Get(), text) && ::fsync(temp.Get()) == 0;
  if (!temp.Close() || !written || ::rename(tempName.c_str(), target.c_str()) != 0) {
    ::unlink(tempName.c_str());
    RaiseCreateError(fileName);
  }
}

}  // namespace

TRegistryStore::TRegistryStore(std::string rootName) : rootName_(std::move(rootName)) {
  const std::string config = GetUserConfigFolder();
  if (config.empty()) return;
  folder_ = config + "/tessalune";
  fileName_ = folder_ + "/" + rootName_ + ".reg";
}

TRegistryData TRegistryStore::Load() const {
  TRegistryData data;
  ReadStoreFile(fileName_, rootName_, data);
  return data;
}

TRegistryData TRegistryStore::Update(const std::function<bool(TRegistryData&)>& change) const {
  if (fileName_.empty()) RaiseCreateError(rootName_ + ".reg");
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) RaiseCreateError(fileName_);
  TStoreLock lock(folder_ + "/" + rootName_ + ".lock");
  TRegistryData data;
  const TFileState state = ReadStoreFile(fileName_, rootName_, data);
  if (state == TFileState::fsBusy) RaiseCreateError(fileName_);
  if (!change(data)) return data;
  if (state == TFileState::fsBad) MoveAside(fileName_);
  ReplaceFile(fileName_, FormatRegistryText(data, rootName_));
  return data;
}

}  // namespace tessalune
