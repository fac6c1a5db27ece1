// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessalune {

// Small file-system routines. Failures become neutral results (a size of 0,
// an empty listing); only a bad list index raises.

// Path with "/" appended, unless its last character already is "/".
std::string AddBackslash(const std::string& path);

// Url with "/" appended, unless its last character already is "/".
std::string AddSlash(const std::string& url);

// The part of a path after its last "/".
std::string FileNamePart(const std::string& path);

// The path with the extension of its file-name part (from its last ".")
// replaced by extension, or extension appended when there is none.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// Whether a file (anything but a folder) exists at path, links followed.
bool FileExists(const std::string& path);

// Whether path names a folder, links followed.
bool IsFolder(const std::string& path);

// The size of a regular file in bytes, 64 bits wide so that files of 2 GB and
// more report their true size and totals over many files do not overflow.
// 0 when the file cannot be opened for reading, is not a regular file, or
// cannot be measured.
std::int64_t FileSizeOf(const std::string& fileName);

// The identity of a file itself, whatever names reach it.
struct TFileId {
  unsigned long long Device;
  unsigned long long Inode;
  auto operator<=>(const TFileId&) const = default;
};

// The file that path reaches, symbolic links followed; none when it reaches
// nothing.
std::optional<TFileId> FileIdOf(const std::string& path);

// A size for people: below 1000 "<n> byte", up to 999999 in KB (size / 1024),
// above that in MB (size / 1048576), with at most two decimals rounded half
// away from zero, no trailing zeros and the user's DecimalSeparator()
// (Globals.h).
std::string FormatFileSize(std::int64_t size);

// All bytes of a regular file. A file that cannot be opened or read, and
// anything that is no regular file (a folder, a pipe, a device), raises
// EFOpenError "Cannot open file %s" with the file name.
std::string ReadFileBytes(const std::string& fileName);

// Writes the bytes as the file's whole content, nothing added, replacing the
// old content only once the new one is complete (ReplaceFileBytes,
// FileReplace.h). A file that cannot be created raises EFCreateError "Cannot
// create file %s" with the file name, a write that fails part-way EWriteError
// with the file system's message; the old content then stays.
void WriteFileBytes(const std::string& fileName, const std::string& bytes);

// Which entries a folder listing keeps. A hidden entry is one whose name
// begins with ".".
enum TFileKinds : unsigned {
  fkFiles = 1,
  fkFolders = 2,
  fkHidden = 4,
};

constexpr TFileKinds operator|(TFileKinds a, TFileKinds b) {
  return TFileKinds(unsigned(a) | unsigned(b));
}

// The full paths of the entries of one folder, in the order in which the file
// system enumerates them; "." and ".." never appear. A folder that cannot be
// read gives no entries.
class TFileFolder {
public:
  TFileFolder(const std::string& folder, TFileKinds kinds);

  // Remembers folder and appends its selected entries; the list is not
  // cleared first.
  void Scan(const std::string& folder, TFileKinds kinds);

  // The folder last scanned, as the caller passed it.
  const std::string& Folder() const { return folder_; }

  int Count() const { return int(strings_.size()); }
  // The full path of the entry at index; the list-index error outside the list.
  const std::string& Strings(int index) const;
  // The entry at index without the AddBackslash(Folder()) part.
  std::string GetFileName(int index) const;

  std::vector<std::string>::const_iterator begin() const { return strings_.begin(); }
  std::vector<std::string>::const_iterator end() const { return strings_.end(); }

private:
  std::string folder_;
  std::vector<std::string> strings_;
};

// Appends to list the full paths of the entries of folder whose names match
// mask (files when `files`, folders when `folders`), then, when `recursive`,
// those of every sub-folder that is not hidden, depth-first, a folder's own
// matches first. The mask knows "*" and "?"; "*.*" matches every name.
// Symbolic links to folders are listed but not entered, so a link cycle
// cannot make the search endless.
void FindFiles(std::vector<std::string>& list, const std::string& folder, const std::string& mask,
               bool recursive, bool files, bool folders);

}  // namespace tessalune
