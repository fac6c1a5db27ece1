// SPDX-License-Identifier: GPL-3.0-or-later
#include "TlRenameFiles.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FileLib.h"

namespace tessalune {
namespace {

TRenameResult Outcome(bool done) {
  if (done) return TRenameResult::Renamed;
  return errno == EEXIST ? TRenameResult::NameTaken : TRenameResult::Refused;
}

bool LacksNoReplace(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

// Renames without ever replacing: the kernel refuses a taken name atomically;
// where the file system cannot (some network file systems), a hard link
// under the new name does the same, and the old name goes after it.
TRenameResult RenameNoReplace(const std::string& from, const std::string& to) {
  const bool renamed =
      ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
  if (renamed || !LacksNoReplace(errno)) return Outcome(renamed);
  if (::link(from.c_str(), to.c_str()) != 0) return Outcome(false);
  if (::unlink(from.c_str()) == 0) return TRenameResult::Renamed;
  const int error = errno;
  ::unlink(to.c_str());  // the file is still under its old name
  errno = error;
  return TRenameResult::Refused;
}

}  // namespace

std::string ExtractFilePath(const std::string& path) {
  return path.substr(0, path.size() - FileNamePart(path).size());
}

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

std::optional<TEntryId> EntryIdOf(const std::string& path) {
  const std::string folder = ExtractFilePath(path);
  struct stat entry {};
  struct stat folderEntry {};
  if (::lstat(path.c_str(), &entry) != 0) return std::nullopt;
  if (::stat(folder.empty() ? "." : folder.c_str(), &folderEntry) != 0) return std::nullopt;
  return TEntryId{entry.st_dev, entry.st_ino, folderEntry.st_dev, folderEntry.st_ino};
}

bool HasOtherNames(const std::string& path) {
  struct stat entry {};
  return ::lstat(path.c_str(), &entry) == 0 && entry.st_nlink > 1;
}

bool FileEntryExists(const std::string& path) {
  struct stat entry {};
  return ::lstat(path.c_str(), &entry) == 0 && !S_ISDIR(entry.st_mode);
}

bool EntryExists(const std::string& path) {
  struct stat entry {};
  return ::lstat(path.c_str(), &entry) == 0;
}

TRenameResult RenameInFolder(const std::string& folder, const std::string& from,
                             const std::string& to, TReplace replace) {
  if (!IsPlainFileName(from) || !IsPlainFileName(to)) {
    errno = EINVAL;
    return TRenameResult::Refused;
  }
  const std::string oldPath = folder + from;
  const std::string newPath = folder + to;
  if (replace == TReplace::Never) return RenameNoReplace(oldPath, newPath);
  return ::rename(oldPath.c_str(), newPath.c_str()) == 0 ? TRenameResult::Renamed
                                                         : TRenameResult::Refused;
}

}  // namespace tessalune
