// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessalune {

// The whole content of a file. "Cannot open file %s" (EFOpenError) when it
// cannot be opened or is not a regular file (a folder, a pipe, a device); a
// read that fails half-way, or a file of more than 1 GB, raises EReadError
// with the corrupted-gallery message.
std::string ReadWholeFile(const std::string& fileName);

}  // namespace tessalune
