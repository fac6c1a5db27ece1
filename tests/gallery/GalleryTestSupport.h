// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>

#include "GalleryProp.h"
#include "TestNames.h"

namespace tessalune::test {

// The lines joined, each ending in CR LF, as the gallery file holds them.
inline std::string CrLfLines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The text a gallery writes, by way of a file in the sandbox.
std::string SavedText(const TPicGallery& gallery);

// The gallery of the documented example: the defaults, an output folder, a
// long title and two pictures, the first with a two-line description.
void FillExampleGallery(TPicGallery& gallery);

// The 70 lines that the example gallery is written as.
std::string ExampleGalleryText();

}  // namespace tessalune::test
