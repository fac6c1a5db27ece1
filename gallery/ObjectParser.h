// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessalune {

// Parses the text form of a component stream ("object ... end") and returns
// its binary form. The whole text is checked before anything is applied; any
// error raises EReadError with the corrupted-file message. After the "end" of
// the object one more token is scanned and the rest of the text is ignored.
std::string ObjectTextToBinary(std::string_view text);

}  // namespace tessalune
