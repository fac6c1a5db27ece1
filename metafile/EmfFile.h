// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MetafileDC.h"

#include <functional>
#include <string_view>

namespace tessalune::metafile {

// Walks the records of an enhanced metafile, passing each one to visit after
// libuemf's safety check; stops after the end-of-file record. Raises an
// Exception at the first record that is cut short or fails its check.
void ForEachEmfRecord(std::string_view bytes, const std::function<void(const char*)>& visit);

// Checks every record and reads the header: the frame in hundredths of a
// millimetre gives the size at 96 pixels per inch and, through the reference
// device, the part of device space that is drawn.
TMetafileInfo ReadEmf(std::string_view bytes);

}  // namespace tessalune::metafile
