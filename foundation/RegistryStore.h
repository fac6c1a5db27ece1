// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "RegistryFormat.h"

namespace tessalune {

// One root of the settings store, the file "<root>.reg" in the program's
// folder below the user's configuration folder.
//
// Readers only ever see whole files: a write replaces the file by renaming a
// complete temporary file over it. Writers take an flock on "<root>.lock" and
// re-read the file under it, so that two running programs add to each other's
// values instead of overwriting them. A file that cannot be read or parsed
// reads as empty; the next write first moves it aside to "<root>.reg.corrupt"
// (or ".corrupt.1", ...) and never overwrites it.
class TRegistryStore {
public:
  explicit TRegistryStore(std::string rootName);

  const std::string& RootName() const { return rootName_; }
  // Empty when the user has no configuration folder.
  const std::string& FileName() const { return fileName_; }

  TRegistryData Load() const;

  // Applies change to the current contents under the lock and writes them
  // when change answers true. Answers the contents as they now stand; raises
  // EFCreateError when the file cannot be written.
  TRegistryData Update(const std::function<bool(TRegistryData&)>& change) const;

private:
  std::string rootName_;
  std::string folder_;
  std::string fileName_;
};

}  // namespace tessalune
