// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <optional>
#include <string>

#include <sys/types.h>

namespace tessalune {

// The file-system steps of the batch rename. Each renames one name of a
// folder to another name of the same folder, so no step can reach outside
// the picture's own folder; none deletes a file.

// The identity of one name in one folder: the file (or link) it names and
// the folder it is in. Two spellings of the same name (through a linked
// folder, or differing in letter case on a folder that ignores it) have the
// same identity.
struct TEntryId {
  dev_t Device;
  ino_t Inode;
  dev_t FolderDevice;
  ino_t FolderInode;
  auto operator<=>(const TEntryId&) const = default;
};

// The folder part of path with its trailing "/"; empty for a bare name.
std::string ExtractFilePath(const std::string& path);

// A name that a folder can hold: not empty, not "." or "..", no "/", no NUL.
bool IsPlainFileName(const std::string& name);

// The identity of the name path (a final symbolic link is not followed);
// none when nothing has that name or it cannot be looked at.
std::optional<TEntryId> EntryIdOf(const std::string& path);

// Whether the file that the name path stands for (a final symbolic link not
// followed) has further names: hard links, here or in other folders.
bool HasOtherNames(const std::string& path);

// Whether path names something other than a folder; a symbolic link counts,
// also one whose target is gone.
bool FileEntryExists(const std::string& path);

// Whether path names anything at all.
bool EntryExists(const std::string& path);

enum class TReplace {
  // Fails when the new name is taken, however late it was taken.
  Never,
  // Puts the file in place of one that holds the new name, in one step: the
  // other file is gone only once this one is there.
  Existing,
};

enum class TRenameResult {
  Renamed,
  // Something else has the new name (TReplace::Never only).
  NameTaken,
  // The file system refused (no such file, no right to write the folder, a
  // name too long), or either name is no plain file name.
  Refused,
};

// Renames folder + from to folder + to; when it does not, errno says why.
TRenameResult RenameInFolder(const std::string& folder, const std::string& from,
                             const std::string& to, TReplace replace);

}  // namespace tessalune
