// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MetafileDC.h"

#include <functional>
#include <string_view>

namespace tessalune::metafile {

// Where a Windows metafile's records start and how its drawing is framed:
// the placeable header's box or, without one, the first window the records
// set. The box is in the file's logical units.
struct TWmfLayout {
  TMetafileInfo info;
  std::size_t recordsOffset = 0;
  QRectF window;
};

// Walks the records after the headers, passing each one and its length in
// bytes to visit after libuemf's safety check; stops after the end record.
// Raises an Exception at the first record that runs past the file.
void ForEachWmfRecord(std::string_view bytes, std::size_t recordsOffset,
                      const std::function<void(const char*, std::size_t)>& visit);

// Checks the headers and every record and works out the picture's size at 96
// pixels per inch: from the placeable box and its units per inch, or else
// from the window extent, one pixel per logical unit. A file with neither
// has the size 0 x 0.
TWmfLayout ReadWmf(std::string_view bytes);

}  // namespace tessalune::metafile
