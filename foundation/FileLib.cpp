// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileLib.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <system_error>

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Errors.h"
#include "FileHandle.h"
#include "FileReplace.h"
#include "Globals.h"

namespace tessalune {
namespace {

// One entry of a folder as the listings see it.
struct FolderEntry {
  std::string name;
  bool isFolder = false;  // a folder, or a link to one
  bool isLink = false;
};

bool IsHidden(const std::string& name) { return !name.empty() && name.front() == '.'; }

// Calls visit for each entry of folder in enumeration order ("." and ".." are
// never reported); a folder that cannot be read reports nothing.
void ForEachEntry(const std::string& folder, const std::function<void(const FolderEntry&)>& visit) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator it(AddBackslash(folder), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    FolderEntry entry;
    entry.name = it->path().filename().string();
    std::error_code ignored;
    entry.isFolder = it->is_directory(ignored);
    entry.isLink = it->is_symlink(ignored);
    visit(entry);
  }
}

bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*.*" || mask == "*") return true;
  return fnmatch(mask.c_str(), name.c_str(), FNM_NOESCAPE) == 0;
}

// A non-negative count of hundredths in the pattern "0.##".
std::string FormatHundredths(std::int64_t hundredths) {
  std::string text = std::to_string(hundredths / 100);
  const int fraction = int(hundredths % 100);
  if (fraction == 0) return text;
  text += DecimalSeparator();
  text += char('0' + fraction / 10);
  if (fraction % 10 != 0) text += char('0' + fraction % 10);
  return text;
}

// size / divisor in hundredths, rounded half away from zero, computed exactly
// so that halves such as 1152 / 1024 = 1.125 round up as people expect.
std::int64_t DivideToHundredths(std::int64_t size, std::int64_t divisor) {
  const std::int64_t whole = size / divisor;
  const std::int64_t rest = size % divisor;
  return whole * 100 + (rest * 200 + divisor) / (2 * divisor);
}

}  // namespace

std::string AddBackslash(const std::string& path) {
  return !path.empty() && path.back() == '/' ? path : path + '/';
}

std::string AddSlash(const std::string& url) {
  return !url.empty() && url.back() == '/' ? url : url + '/';
}

std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  const std::size_t nameStart = path.size() - FileNamePart(path).size();
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return path + extension;
  return path.substr(0, dot) + extension;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

std::optional<TFileId> FileIdOf(const std::string& path) {
  struct stat file {};
  if (::stat(path.c_str(), &file) != 0) return std::nullopt;
  return TFileId{static_cast<unsigned long long>(file.st_dev), static_cast<unsigned long long>(file.st_ino)};
}

std::int64_t FileSizeOf(const std::string& fileName) {
  // O_NONBLOCK keeps a named pipe from blocking the open; it is no regular
  // file and measures 0 anyway.
  const TFileHandle file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return std::int64_t(info.st_size);
}

std::string ReadFileBytes(const std::string& fileName) {
  // Only a regular file has an end: a pipe would wait for a writer (O_NONBLOCK
  // keeps the open from waiting) and a device such as /dev/zero never ends.
  const TFileHandle file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    throw EFOpenError(Format("Cannot open file %s", fileName.c_str()));
  }
  std::string bytes;
  // The size is only a hint (the file may grow or shrink while it is read),
  // so it never limits the read, and a huge claim reserves nothing.
  constexpr off_t kLargestReserve = off_t(1) << 30;
  if (info.st_size > 0 && info.st_size <= kLargestReserve) {
    bytes.reserve(size_t(info.st_size));
  }
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
    if (got == 0) return bytes;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw EFOpenError(Format("Cannot open file %s", fileName.c_str()));
    bytes.append(buffer, size_t(got));
  }
}

void WriteFileBytes(const std::string& fileName, const std::string& bytes) {
  ReplaceFileBytes(fileName, bytes, TDurability::Cached, TFinalLink::Follow);
}

std::string FormatFileSize(std::int64_t size) {
  if (size < 1000) return std::to_string(size) + " byte";
  if (size <= 999999) return FormatHundredths(DivideToHundredths(size, 1024)) + " KB";
  return FormatHundredths(DivideToHundredths(size, 1048576)) + " MB";
}

TFileFolder::TFileFolder(const std::string& folder, TFileKinds kinds) { Scan(folder, kinds); }

void TFileFolder::Scan(const std::string& folder, TFileKinds kinds) {
  folder_ = folder;
  const std::string prefix = AddBackslash(folder);
  ForEachEntry(folder, [&](const FolderEntry& entry) {
    if (!entry.isFolder && !(kinds & fkFiles)) return;
    if (entry.isFolder && !(kinds & fkFolders)) return;
    if (IsHidden(entry.name) && !(kinds & fkHidden)) return;
    strings_.push_back(prefix + entry.name);
  });
}

const std::string& TFileFolder::Strings(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return strings_[size_t(index)];
}

std::string TFileFolder::GetFileName(int index) const {
  return Strings(index).substr(std::min(Strings(index).size(), AddBackslash(folder_).size()));
}

void FindFiles(std::vector<std::string>& list, const std::string& folder, const std::string& mask,
               bool recursive, bool files, bool folders) {
  const std::string prefix = AddBackslash(folder);
  ForEachEntry(folder, [&](const FolderEntry& entry) {
    if (!MatchesMask(entry.name, mask)) return;
    if ((entry.isFolder && folders) || (!entry.isFolder && files)) list.push_back(prefix + entry.name);
  });
  if (!recursive) return;
  std::vector<std::string> subFolders;
  ForEachEntry(folder, [&](const FolderEntry& entry) {
    if (entry.isFolder && !entry.isLink && !IsHidden(entry.name)) subFolders.push_back(prefix + entry.name);
  });
  for (const std::string& subFolder : subFolders) FindFiles(list, subFolder, mask, recursive, files, folders);
}

}  // namespace tessalune
