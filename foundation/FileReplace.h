// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessalune {

// Whether new content is forced to the disk before it takes the old one's
// place: the user's own documents are, files that can be made again are not.
enum class TDurability { Cached, Flushed };

// What a symbolic link at the file's name gives way to. A document saved
// through a link replaces the file that the link leads to, and the link
// stays (Follow). A file written into a folder of generated files takes the
// place of the link itself, so that it never reaches a file elsewhere, and
// the file that the link led to stays as it was (Replace).
enum class TFinalLink { Follow, Replace };

// Replaces the content of fileName without ever leaving it half written: the
// bytes go to a new file in the same folder, which then takes the old one's
// place and its permissions. A symbolic link at fileName is followed or
// replaced itself as link says; a dangling one is always replaced itself.
// When no new file can be made beside it (a folder the user may not write)
// but the file may be written, it is written in place, with room for the new
// content reserved first, so that a full disk still finds the old content
// whole; a link to be replaced never is. Anything that is not a regular file
// (a device, a pipe) is written as it is.
//
// Raises EFCreateError "Cannot create file %s" when the file cannot be
// created or may not be written (an existing file nobody may write is kept),
// and EWriteError with the file system's own message ("No space left on
// device") when writing fails part-way. Either way the old content stays.
void ReplaceFileBytes(const std::string& fileName, std::string_view bytes, TDurability durability,
                      TFinalLink link);

// Whether ReplaceFileBytes could replace fileName, following a link, by its
// own rules: an existing regular file only when someone and this user may
// write it (then in place if need be); a missing one only in a folder where a
// new file can be made; anything else only when this user may write it. A
// disk that turns out full is not foreseen.
bool CanReplaceFile(const std::string& fileName);

// Copies the regular file source over dest the same way. Raises EFOpenError
// "Cannot open file %s" when source cannot be read, and the errors of
// ReplaceFileBytes.
void ReplaceFileByCopy(const std::string& source, const std::string& dest, TFinalLink link);

}  // namespace tessalune
