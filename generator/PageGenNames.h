// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessalune {

// Name rules of the published output, shared by the generator's files.

// The part of a path after its last "/".
std::string FileNamePart(const std::string& path);

// The path with the extension of its file-name part (from its last ".")
// replaced by extension, or extension appended when there is none.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// Whether a file (anything but a folder) exists at path.
bool FileExists(const std::string& path);

}  // namespace tessalune
