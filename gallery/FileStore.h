// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessalune {

// The whole content of a file. "Cannot open file %s" (EFOpenError) when it
// cannot be opened or is not a regular file (a folder, a pipe, a device); a
// read that fails half-way, or a file of more than 1 GB, raises EReadError
// with the corrupted-gallery message.
std::string ReadWholeFile(const std::string& fileName);

// Replaces the content of fileName by bytes without ever leaving it half
// written: the bytes go to a new file in the same folder, which then takes
// the old one's place (and its permissions). Raises "Cannot create file %s"
// (EFCreateError) and leaves the old file as it was when any step fails or
// the old file may not be written.
void ReplaceFile(const std::string& fileName, std::string_view bytes);

}  // namespace tessalune
