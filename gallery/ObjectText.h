// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessalune {

// The text form of a binary component stream, as the gallery file holds it:
// the object line, one entry per line indented two blanks per level, strings
// as quoted pieces and #codes cut after every 64 bytes, collections between
// "<" and ">", every line ending in CR LF. Raises EReadError when the binary
// form is malformed.
std::string ObjectBinaryToText(std::string_view binary);

}  // namespace tessalune
