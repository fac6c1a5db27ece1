// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace tessalune {

// The desktop's "open" verb: a page or folder in the browser or file manager,
// a web address in the browser, a mail address in the mail client. Everything
// the program hands to the desktop goes through here, so tests can record it
// instead of starting programs.

// Opens a local file or folder with the desktop's application for it.
// Returns false when the desktop could not open it.
bool ShellOpenFile(const std::string& path);

// Opens an address such as "https://..." or "mailto:...".
bool ShellOpenUrl(const std::string& url);

// What ShellOpenFile and ShellOpenUrl hand their target to: the address as a
// URL (local files as "file://" URLs). The default asks QDesktopServices.
using TShellOpenHandler = std::function<bool(const std::string& url)>;

// Installs a handler (an empty one restores the desktop) and returns the one
// it replaces.
TShellOpenHandler SetShellOpenHandler(TShellOpenHandler handler);

}  // namespace tessalune
