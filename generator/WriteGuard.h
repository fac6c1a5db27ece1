// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <vector>

#include "FileLib.h"

namespace tessalune {

// Decides where the publisher may write: only inside the output folder, and
// never onto one of the files it reads (the gallery's pictures, its
// background image, the template's files), whatever names the gallery and
// the template bring along. Files are recognised by identity, so another
// spelling of a path, a symbolic link or a hard link to a protected file is
// protected too. The publisher's writes replace a symbolic link at the
// target's own name instead of writing through it (TFinalLink::Replace), so
// a target inside is a write inside; a sub-folder that is a link is the
// user's own way of placing it, and is written into.
class TWriteGuard {
public:
  // Starts a run: the output folder and the files that must stay untouched.
  void Reset(const std::string& outputFolder, const std::vector<std::string>& protectedFiles);

  // Whether target, taken as written (".." and "." resolved), lies below the
  // output folder.
  bool IsInside(const std::string& target) const;

  // Whether target exists and is one of the protected files.
  bool IsProtected(const std::string& target) const;

  // Raises EFCreateError "Cannot create file %s" unless target lies inside
  // the output folder.
  void CheckInside(const std::string& target) const;

  // Whether target is inside and not protected.
  bool MayWrite(const std::string& target) const {
    return IsInside(target) && !IsProtected(target);
  }

private:
  std::string outputFolder_;
  std::set<TFileId> protected_;
};

// Whether two paths name the same existing file.
bool IsSameFile(const std::string& a, const std::string& b);

}  // namespace tessalune
