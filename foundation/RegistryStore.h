// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "RegistryFormat.h"

namespace tessalune {

// One root of the settings store, the file "<root>.reg" in the program's
// folder below the user's configuration folder.
//
// Files are written by the one atomic writer (ReplaceFileBytes): a complete
// new file takes the old one's place, or, in a folder that takes no new file,
// the old one is overwritten in place. Writers take an exclusive flock on
// "<root>.lock" and re-read the file under it, so that two running programs
// add to each other's values instead of overwriting them; readers share that
// lock, so that they only ever see whole files. A folder that cannot gain
// the lock file cannot gain a writer either, so a reader without one reads
// unlocked. A file that cannot be read or parsed reads as empty; the next
// write first moves it aside to "<root>.reg.corrupt" (or ".corrupt.1", ...)
// and never overwrites it.
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
  std::string LockName() const;

  std::string rootName_;
  std::string folder_;
  std::string fileName_;
};

}  // namespace tessalune
