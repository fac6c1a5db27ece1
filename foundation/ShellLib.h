// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessalune {

// The user's own folders as the desktop names them: the home folder, the
// configuration folder of the XDG base directories and the user directories
// of user-dirs.dirs (documents, pictures, ...).

// $HOME, else the home folder of the password database; empty when neither
// names one.
std::string GetUserHomeFolder();

// $XDG_CONFIG_HOME when it is an absolute path, else the home folder plus
// "/.config"; empty when there is no home folder.
std::string GetUserConfigFolder();

// The user directory that the shell folder Name stands for ("Personal" is
// the documents folder, also "Desktop", "My Pictures", "My Music", "My Video"
// and "Templates"); empty when Name is none of these or user-dirs.dirs does
// not name that folder.
std::string GetShellFolder(const std::string& Name);

// GetShellFolder(Name) when it names an existing folder, else the home
// folder, as the desktop itself does; empty only when there is neither.
std::string GetShellFolderOrHome(const std::string& Name);

// The user's documents folder (XDG_DOCUMENTS_DIR) when it exists, else the
// home folder; empty only when there is neither.
std::string GetPersonalFolder();

// The path with a leading "~" standing alone or before "/" replaced by the
// home folder, as a shell reads it; any other path, and every path when
// there is no home folder, unchanged.
std::string ExpandHomeFolder(const std::string& path);

}  // namespace tessalune
